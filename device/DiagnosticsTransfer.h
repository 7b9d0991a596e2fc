#pragma once

#include "DeviceConnection.h"
#include "DiagnosticsRecord.h"

#include <optional>

// Fetches the gateway's diagnostics (command 64) and shows them in the
// connection's diagnostics dialog; no value (after an error box) when the port cannot be
// opened, the transfer fails or the reply is neither 272 nor 276 bytes long.
std::optional<DiagnosticsRecord> UploadDiagnostics(DeviceConnection& connection);

// Clears the gateway's diagnostics (command 65); reports the outcome in a
// message box.
bool ClearDiagnostics(DeviceConnection& connection);
