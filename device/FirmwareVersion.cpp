#include "FirmwareVersion.h"

#include <cstdio>
#include <vector>

std::string FirmwareVersionText(int major, int minor, int build)
{
    char text[64];
    std::snprintf(text, sizeof text, "Firmware version : %d.%02d build %d", major, minor, build);
    return text;
}

std::optional<std::string> GetFirmwareVersion(DeviceConnection& connection)
{
    WindowSystem& ui = connection.Ui;
    if (!OpenGatewayPort(connection, kReceiveBlockSize)) {
        return std::nullopt;
    }
    SettleAfterOpen();
    PrepareTransfer(connection, kProgressReceiving);
    ui.SetStatusText("Getting firmware version");
    std::vector<std::uint8_t> data(kReplyCapacity);
    int length = kReplyCapacity;
    const bool received = connection.Link.Transact(kCommandFirmwareVersion, 0, nullptr, length, data.data());
    connection.Link.Close();
    constexpr int kVersionBytes = 3;
    if (!received || length < kVersionBytes) {
        ui.ErrorBox(kErrorCaption, "Unable to get firmware version");
        EndTransfer(connection);
        return std::nullopt;
    }
    // The status line keeps its text and the bar its position after a success.
    std::string text = FirmwareVersionText(data[0], data[1], data[2]);
    ui.InfoBox("Firmware", text);
    return text;
}
