#include "DiagnosticsTransfer.h"

#include <vector>

std::optional<DiagnosticsRecord> UploadDiagnostics(DeviceConnection& connection)
{
    WindowSystem& ui = connection.Ui;
    if (!OpenGatewayPort(connection, kReceiveBlockSize)) {
        return std::nullopt;
    }
    SettleAfterOpen();
    PrepareTransfer(connection, kProgressReceiving);
    ui.SetStatusText("Uploading diagnostics");
    std::vector<std::uint8_t> data(kReplyCapacity);
    int length = kReplyCapacity;
    const bool received = connection.Link.Transact(kCommandUploadDiagnostics, 0, nullptr, length, data.data());
    connection.Link.Close();
    const auto record = received ? DecodeDiagnostics(data.data(), static_cast<std::size_t>(length)) : std::nullopt;
    if (!record) {
        ui.ErrorBox(kErrorCaption, "Unable to upload diagonstics");
        EndTransfer(connection);
        return std::nullopt;
    }
    if (connection.ShowDiagnostics) {
        connection.ShowDiagnostics(*record);
    }
    EndTransfer(connection);
    return record;
}

bool ClearDiagnostics(DeviceConnection& connection)
{
    WindowSystem& ui = connection.Ui;
    if (!OpenGatewayPort(connection, kReceiveBlockSize)) {
        return false;
    }
    SettleAfterOpen();
    PrepareTransfer(connection, kProgressReceiving);
    ui.SetStatusText("Clearing diagnostics");
    std::vector<std::uint8_t> data(kReplyCapacity);
    int length = kReplyCapacity;
    const bool cleared = connection.Link.Transact(kCommandClearDiagnostics, 0, nullptr, length, data.data());
    connection.Link.Close();
    if (cleared) {
        ui.InfoBox(kSuccessCaption, "Clear diagnostics OK!");
    } else {
        ui.ErrorBox(kErrorCaption, "Unable to clear diagonstics");
    }
    EndTransfer(connection);
    return cleared;
}
