#include "FirmwareVersion.h"

#include <cstdio>

std::string FirmwareVersionText(int major, int minor, int build)
{
    char text[64];
    std::snprintf(text, sizeof text, "Firmware version : %d.%02d build %d", major, minor, build);
    return text;
}

std::optional<FirmwareVersion> QueryFirmwareVersion(DeviceConnection& connection)
{
    WindowSystem& ui = connection.Ui;
    GatewaySession session(connection, kReceiveBlockSize);
    if (!session.IsOpen()) {
        return std::nullopt;
    }
    const auto data = session.Exchange("Getting firmware version", kProgressReceiving, kCommandFirmwareVersion);
    constexpr std::size_t kVersionBytes = 3;
    if (!data || data->size() < kVersionBytes) {
        ReportExchangeFailure(connection, "Unable to get firmware version");
        EndTransfer(connection);
        return std::nullopt;
    }
    // The status line keeps its text and the bar its position after a success.
    const FirmwareVersion version{(*data)[0], (*data)[1], (*data)[2]};
    ui.InfoBox("Firmware", FirmwareVersionText(version.Major, version.Minor, version.Build));
    return version;
}

std::optional<std::string> GetFirmwareVersion(DeviceConnection& connection)
{
    const auto version = QueryFirmwareVersion(connection);
    if (!version) {
        return std::nullopt;
    }
    return FirmwareVersionText(version->Major, version->Minor, version->Build);
}
