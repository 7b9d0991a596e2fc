#include "ConfigurationBackup.h"

#include "FileAccess.h"
#include "UploadReply.h"

#include <filesystem>

namespace {

constexpr const char* kBackupCaption = "Backup";

std::string UnusedPath(const std::string& directory, const std::string& fileName)
{
    namespace fs = std::filesystem;
    const fs::path first = fs::path(directory) / fileName;
    fs::path candidate = first;
    for (int copy = 2; fs::exists(candidate); ++copy) {
        candidate = first.parent_path() / (first.stem().string() + "-" + std::to_string(copy) + ".hxc");
    }
    return candidate.string();
}

BackupResult Fail(DeviceConnection& connection, const std::string& message)
{
    ReportExchangeFailure(connection, message);
    EndTransfer(connection);
    return {};
}

}  // namespace

std::string BackupFileName(const std::string& name, std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return name + "-" + stamp + ".hxc";
}

std::string BackupNameOf(const std::string& configurationPath)
{
    const std::string stem = std::filesystem::path(configurationPath).stem().string();
    return stem.empty() ? "Untitled" : stem;
}

BackupResult BackupConfiguration(DeviceConnection& connection, const std::string& directory,
                                 const std::string& name)
{
    std::error_code error;
    if (!std::filesystem::is_directory(directory, error)) {
        connection.Ui.ErrorBox(kErrorCaption, "Unable to back up the configuration\n" + directory +
                                                  ": not a folder that can be written");
        return {};
    }
    GatewaySession session(connection, kReceiveBlockSize);
    if (!session.IsOpen()) {
        return {};
    }
    const auto data = session.Exchange("Backing up configuration", kProgressReceiving, kCommandUploadConfiguration);
    if (!data && connection.Link.GetLastStatus() == kLinkDeviceError) {
        connection.Ui.ShowMessage(kBackupCaption, "The gateway holds no configuration yet: nothing to back up",
                                  MessageIcon::Information);
        EndTransfer(connection);
        return {BackupOutcome::GatewayEmpty, {}, {}};
    }
    const auto reply = data ? DecodeUploadReply(data->data(), data->size()) : std::nullopt;
    if (!reply) {
        return Fail(connection, "Unable to back up the configuration: the upload failed");
    }
    const std::string path = UnusedPath(directory, BackupFileName(name, std::time(nullptr)));
    if (!ReplaceFileContents(path, reply->Text)) {
        return Fail(connection, "Unable to back up the configuration: " + path + " cannot be written");
    }
    connection.Ui.ShowMessage(kBackupCaption, "Configuration backed up to " + path, MessageIcon::Information);
    EndTransfer(connection);
    return {BackupOutcome::Saved, path, reply->Text};
}
