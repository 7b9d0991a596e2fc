#pragma once

#include "DiagnosticsRecord.h"
#include "SerialLink.h"
#include "WindowSystem.h"

#include <functional>
#include <string>

// What every device operation works with: the document's serial link, the
// device path of its COM port and the window system. ShowDiagnostics is the
// window program's diagnostics dialog; empty, nothing is shown.
struct DeviceConnection {
    SerialLink& Link;
    std::string PortPath;
    WindowSystem& Ui;
    std::function<void(const DiagnosticsRecord&)> ShowDiagnostics = {};
};

inline constexpr int kGatewayBaudRate = 38400;
// Data bytes per frame: commands that carry data, and those that do not.
inline constexpr int kSendBlockSize = 290;
inline constexpr int kReceiveBlockSize = 292;
inline constexpr int kDeviceReplyTimeout = 5000;
// Room for the reply data of every operation.
inline constexpr int kReplyCapacity = 65536;

// Progress modes of the link.
inline constexpr int kProgressSending = 0;
inline constexpr int kProgressReceiving = 1;

inline constexpr const char* kErrorCaption = "Error";
inline constexpr const char* kSuccessCaption = "Success";
inline constexpr const char* kReadyStatus = "Ready";

// Sets the block size and the reply time-out and opens the port; shows
// "Unable to open COM Port" when it cannot be opened.
bool OpenGatewayPort(DeviceConnection& connection, int blockSize);

// The pause between opening the port and the first frame.
void SettleAfterOpen();

// Resets the progress fields for a transfer shown on the window system's bar.
void PrepareTransfer(DeviceConnection& connection, int progressMode);

// The status line back to "Ready" and the progress bar to 0.
void EndTransfer(DeviceConnection& connection);
