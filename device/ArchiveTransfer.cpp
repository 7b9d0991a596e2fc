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
    if (!OpenGatewayPort(connection, kSendBlockSize)) {
        return false;
    }
    SettleAfterOpen();
    const std::vector<std::uint8_t> block =
        EncodeArchiveBlock(BaseName(*path), reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size());
    PrepareTransfer(connection, kProgressSending);
    ui.SetStatusText("Downloading archive");
    std::vector<std::uint8_t> reply(kReplyCapacity);
    int replyLength = kReplyCapacity;
    if (!connection.Link.Transact(kCommandDownloadArchive, static_cast<int>(block.size()), block.data(), replyLength,
                                  reply.data())) {
        ui.ErrorBox(kErrorCaption, "Archive download failed!");
        connection.Link.Close();
        EndTransfer(connection);
        return false;
    }
    connection.Link.Close();
    ui.InfoBox(kSuccessCaption, "Archive download OK!");
    EndTransfer(connection);
    return true;
}

bool UploadArchive(DeviceConnection& connection)
{
    WindowSystem& ui = connection.Ui;
    if (!OpenGatewayPort(connection, kReceiveBlockSize)) {
        return false;
    }
    SettleAfterOpen();
    PrepareTransfer(connection, kProgressReceiving);
    ui.SetStatusText("Uploading archive");
    std::vector<std::uint8_t> data(kReplyCapacity);
    int length = kReplyCapacity;
    const bool received = connection.Link.Transact(kCommandUploadArchive, 0, nullptr, length, data.data());
    connection.Link.Close();
    constexpr int kShortestReply = 3;
    // The name or the bytes running beyond the reply make it no archive.
    const auto archive = received && length >= kShortestReply
                             ? DecodeArchiveBlock(data.data(), static_cast<std::size_t>(length))
                             : std::nullopt;
    if (!archive) {
        Fail(connection, "Archive upload failed!");
        EndTransfer(connection);
        return false;
    }
    // The proposed name is a name only; a directory part from the gateway is dropped.
    const auto path = ui.ChooseFileToSave({"ZIP Archive (*.zip)|*.zip||", "ZIP", BaseName(archive->Name), false});
    if (!path) {
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
