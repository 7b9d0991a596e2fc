// The serial link and the device operations over the in-memory transport on
// a virtual clock, with the input playing the gateway: every request frame is
// answered by the next piece of the input. Invariants: every operation ends
// (time-outs pass on the virtual clock), closes the port on every path, keeps
// the progress bar within 0..100, and a transaction never collects more than
// the room it was given.
#include "ArchiveTransfer.h"
#include "Checksum.h"
#include "ConfigurationDownload.h"
#include "ConfigurationUpload.h"
#include "DeviceImage.h"
#include "DiagnosticsTransfer.h"
#include "FirmwareVersion.h"
#include "FuzzSupport.h"
#include "InMemoryTransport.h"
#include "LinkFrame.h"
#include "SerialLink.h"
#include "VirtualClock.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <vector>

namespace {

using Frame = InMemoryTransport::Frame;

// A reply frame with the request's command code, its length field and its
// checksum right, so that the pieces reach the decoders behind the link.
Frame SealedReply(FuzzInput& input, const Frame& request)
{
    LinkMessage message;
    message.Command = static_cast<std::uint16_t>(input.Byte() << 8 | request[3]);
    message.BlockCount = input.Byte();
    message.BlockNumber = input.Byte();
    const std::string_view data = input.Take(input.Word() % (kMaxFrameData + 1));
    message.DataLength = static_cast<std::uint16_t>(data.size());
    std::copy(data.begin(), data.end(), message.Data.begin());
    Frame frame(kMaxFrameLength);
    frame.resize(static_cast<std::size_t>(EncodeFrame(message, frame.data())));
    return frame;
}

// The next piece: a sealed reply, raw bytes, silence, or a sealed reply with
// one byte damaged.
Frame NextReply(FuzzInput& input, const Frame& request)
{
    if (input.Empty()) {
        return {};
    }
    switch (input.Byte() % 4) {
    case 0:
        return SealedReply(input, request);
    case 1: {
        const std::string_view bytes = input.Take(input.Byte());
        return Frame(bytes.begin(), bytes.end());
    }
    case 2:
        return {};
    default: {
        Frame frame = SealedReply(input, request);
        frame[input.Word() % frame.size()] ^= static_cast<std::uint8_t>(input.Byte() | 1);
        return frame;
    }
    }
}

class FuzzUploadTarget : public ConfigurationUploadTarget {
public:
    ConfigTemplate& NewConfiguration() override
    {
        config_.TemplateName.clear();
        return config_;
    }
    void ConfigurationLoaded() override {}

private:
    ConfigTemplate config_;
};

const ConfigTemplate& DownloadedConfiguration()
{
    static const ConfigTemplate config = [] {
        ConfigTemplate made;
        for (int i = 0; i < 3; ++i) {
            AnalogInputPoint input;
            input.SlaveAddress = 5 + i;
            input.Description = "Current " + std::to_string(i);
            input.Address = "0I" + std::to_string(i + 1);
            made.AnalogInputs.Append(input);
            DigitalOutputPoint output;
            output.SlaveAddress = 5;
            output.Address = "1O" + std::to_string(i);
            output.DataType = "B";
            made.DigitalOutputs.Append(output);
        }
        return made;
    }();
    return config;
}

// A private place for the runs' files, in memory where the machine has a
// tmpfs: the temporary files of the downloads and uploads and the archive that
// is sent.
const std::string& ArchiveFile()
{
    static const std::string path = [] {
        std::string directory = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm/halvex-fuzz-XXXXXX" : "/tmp/halvex-fuzz-XXXXXX";
        static std::string base;
        base = ::mkdtemp(directory.data()) != nullptr ? directory : "/tmp";
        if (base != "/tmp") {
            std::atexit([] {
                std::error_code ignored;
                std::filesystem::remove_all(base, ignored);
            });
        }
        ::setenv("XDG_RUNTIME_DIR", base.c_str(), 1);
        const std::string file = base + "/site.zip";
        std::ofstream(file, std::ios::binary) << std::string(700, 'z');
        return file;
    }();
    return path;
}

void RawTransaction(SerialLink& link, FuzzInput& input)
{
    link.SetMaxBlockSize(input.Between(1, 1000));
    link.SetReplyTimeout(input.Between(0, 5000));
    const int code = input.Byte();
    const std::vector<std::uint8_t> data(static_cast<std::size_t>(input.Between(0, 3000)), 0x5A);
    const int capacity = input.Between(0, 4096);
    std::vector<std::uint8_t> reply(static_cast<std::size_t>(capacity));
    int length = capacity;
    if (!link.Open("gateway", kGatewayBaudRate)) {
        return;
    }
    const bool ok = link.Transact(code, static_cast<int>(data.size()), data.data(), length,
                                  reply.empty() ? nullptr : reply.data());
    FUZZ_CHECK(!ok || (length >= 0 && length <= capacity));
    link.Close();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static FuzzWindowSystem ui;
    static FuzzUploadTarget target;
    ui.FileToOpen = ArchiveFile();
    ui.FileToSave = "/dev/null";
    FuzzInput input(data, size);
    const int operation = input.Byte() % 9;
    ui.Answers = input.Byte();

    VirtualClock clock;
    InMemoryTransport transport(clock);
    SerialLink link(transport, clock);
    transport.SetResponder([&input](const Frame& request, int) { return NextReply(input, request); });
    DeviceConnection connection{link, "gateway", ui, [](const DiagnosticsRecord&) {}};
    switch (operation) {
    case 0:
        GetFirmwareVersion(connection);
        break;
    case 1:
        UploadDiagnostics(connection);
        break;
    case 2:
        ClearDiagnostics(connection);
        break;
    case 3:
        UploadConfiguration(connection, target);
        break;
    case 4:
        DownloadConfiguration(connection, DownloadedConfiguration(), kFormatVersion200);
        break;
    case 5:
        DownloadConfiguration(connection, DownloadedConfiguration(), kFormatVersion102);
        break;
    case 6:
        UploadArchive(connection);
        break;
    case 7:
        DownloadArchive(connection);
        break;
    default:
        RawTransaction(link, input);
        break;
    }
    FUZZ_CHECK(!link.IsOpen());
    return 0;
}
