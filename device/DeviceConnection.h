#pragma once

#include "DiagnosticsRecord.h"
#include "SerialLink.h"
#include "WindowSystem.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

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
// Shown, with the application title and a warning icon, when the user
// cancelled the operation.
inline constexpr const char* kCancelledMessage = "Operation cancelled";

// One device operation's use of the gateway's port. The constructor sets the
// block size and the reply time-out, opens the port (an error box "Unable to
// open COM Port" with the device and the reason when it cannot be opened; a
// device that is not there fails at once) and waits the pause between
// opening and the first frame. The port is closed when the session ends, on
// every path out of the operation. A cancel during the pause closes the port
// again and says "Operation cancelled".
class GatewaySession {
public:
    GatewaySession(DeviceConnection& connection, int blockSize);
    ~GatewaySession();
    GatewaySession(const GatewaySession&) = delete;
    GatewaySession& operator=(const GatewaySession&) = delete;

    bool IsOpen() const { return open_; }

    // Shows the status text, starts the progress bar in the mode, sends the
    // command with its data and closes the port. The reply data, or no value
    // when the exchange failed.
    std::optional<std::vector<std::uint8_t>> Exchange(const char* status, int progressMode, int code,
                                                      const std::uint8_t* data = nullptr, std::size_t length = 0);

private:
    DeviceConnection& connection_;
    bool open_ = false;
};

// The status line back to "Ready" and the progress bar to 0.
void EndTransfer(DeviceConnection& connection);

// After a failed exchange, or a reply the operation cannot use: "Operation
// cancelled" when the user cancelled it, else the operation's error box with
// the message and, on a second line, why (LinkFailureReason).
void ReportExchangeFailure(DeviceConnection& connection, const std::string& message);
