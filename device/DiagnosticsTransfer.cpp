#include "DiagnosticsTransfer.h"

std::optional<DiagnosticsRecord> UploadDiagnostics(DeviceConnection& connection)
{
    GatewaySession session(connection, kReceiveBlockSize);
    if (!session.IsOpen()) {
        return std::nullopt;
    }
    const auto data = session.Exchange("Uploading diagnostics", kProgressReceiving, kCommandUploadDiagnostics);
    const auto record = data ? DecodeDiagnostics(data->data(), data->size()) : std::nullopt;
    if (!record) {
        ReportExchangeFailure(connection, "Unable to upload diagonstics");
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
    GatewaySession session(connection, kReceiveBlockSize);
    if (!session.IsOpen()) {
        return false;
    }
    const bool cleared =
        session.Exchange("Clearing diagnostics", kProgressReceiving, kCommandClearDiagnostics).has_value();
    if (cleared) {
        ui.InfoBox(kSuccessCaption, "Clear diagnostics OK!");
    } else {
        ReportExchangeFailure(connection, "Unable to clear diagonstics");
    }
    EndTransfer(connection);
    return cleared;
}
