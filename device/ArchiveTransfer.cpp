#include "ArchiveTransfer.h"

#include "ArchiveBlock.h"
#include "FileAccess.h"

#include <vector>

namespace {

bool Fail(DeviceConnection& connection, const char* message)
{
    connection.Ui.ErrorBox(kErrorCaption, message);
    return false;
}

// The last part of a path: the name a file has in its directory.
std::string BaseName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

}  // namespace

bool DownloadArchive(DeviceConnection& connection)
{
    WindowSystem& ui = connection.Ui;
    const auto path = ui.ChooseFileToOpen({"ZIP Archive (*.zip)|*.zip|All files (*.*)|*.*||", "ZIP", "", false});
    if (!path) {
        return false;
    }
    const auto bytes = ReadFileBytes(*path, kMaxArchiveSize + 1);
    if (!bytes) {
        return Fail(connection, "Unable to load archive file");
    }
    if (bytes->size() > kMaxArchiveSize) {
        return Fail(connection, "Archive file must not be larger than 65275 bytes");
    }
    if (bytes->empty()) {
        return Fail(connection, "Unable to download - incorrect file");
    }
    GatewaySession session(connection, kSendBlockSize);
    if (!session.IsOpen()) {
        return false;
    }
    const std::vector<std::uint8_t> block =
        EncodeArchiveBlock(BaseName(*path), reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size());
    if (!session.Exchange("Downloading archive", kProgressSending, kCommandDownloadArchive, block.data(),
                          block.size())) {
        ReportExchangeFailure(connection, "Archive download failed!");
        EndTransfer(connection);
        return false;
    }
    ui.InfoBox(kSuccessCaption, "Archive download OK!");
    EndTransfer(connection);
    return true;
}

bool UploadArchive(DeviceConnection& connection)
{
    WindowSystem& ui = connection.Ui;
    GatewaySession session(connection, kReceiveBlockSize);
    if (!session.IsOpen()) {
        return false;
    }
    const auto data = session.Exchange("Uploading archive", kProgressReceiving, kCommandUploadArchive);
    constexpr std::size_t kShortestReply = 3;
    // The name or the bytes running beyond the reply make it no archive.
    const auto archive =
        data && data->size() >= kShortestReply ? DecodeArchiveBlock(data->data(), data->size()) : std::nullopt;
    if (!archive) {
        ReportExchangeFailure(connection, "Archive upload failed!");
        EndTransfer(connection);
        return false;
    }
    // The proposed name is a name only; a directory part from the gateway is dropped.
    const auto path = ui.ChooseFileToSave({"ZIP Archive (*.zip)|*.zip||", "ZIP", BaseName(archive->Name), false});
    if (!path) {
        // The transfer is over: the bytes are dropped, and the user is told.
        ui.Notice("Archive not saved");
        EndTransfer(connection);
        return false;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(archive->Bytes.data()), archive->Bytes.size());
    if (!ReplaceFileContents(*path, bytes)) {
        Fail(connection, "Unable to create file");
        EndTransfer(connection);
        return false;
    }
    ui.InfoBox(kSuccessCaption, "Archive upload OK!");
    EndTransfer(connection);
    return true;
}
