#include "DeviceConnection.h"

#include "PortOpenFailure.h"

GatewaySession::GatewaySession(DeviceConnection& connection, int blockSize) : connection_(connection)
{
    constexpr int kSettleMilliseconds = 500;
    connection.Link.SetMaxBlockSize(blockSize);
    connection.Link.SetReplyTimeout(kDeviceReplyTimeout);
    const OpenResult opened = connection.Link.Open(connection.PortPath, kGatewayBaudRate);
    open_ = opened.Opened();
    if (!open_) {
        connection.Ui.ErrorBox(kErrorCaption, PortOpenFailureText(connection.PortPath, opened));
        return;
    }
    if (!connection.Link.Pause(kSettleMilliseconds)) {
        connection.Link.Close();
        open_ = false;
        connection.Ui.ShowMessage(kApplicationTitle, kCancelledMessage, MessageIcon::Warning);
    }
}

GatewaySession::~GatewaySession() { connection_.Link.Close(); }

std::optional<std::vector<std::uint8_t>> GatewaySession::Exchange(const char* status, int progressMode, int code,
                                                                  const std::uint8_t* data, std::size_t length)
{
    SerialLink& link = connection_.Link;
    link.ProgressPosition = 0;
    link.ProgressTotal = 0;
    link.ProgressMode = progressMode;
    link.ProgressControl = &connection_.Ui;
    connection_.Ui.SetStatusText(status);
    std::vector<std::uint8_t> reply(kReplyCapacity);
    int replyLength = kReplyCapacity;
    const bool received = link.Transact(code, static_cast<int>(length), data, replyLength, reply.data());
    link.Close();
    if (!received) {
        return std::nullopt;
    }
    reply.resize(static_cast<std::size_t>(replyLength));
    return reply;
}

void EndTransfer(DeviceConnection& connection)
{
    connection.Ui.SetStatusText(kReadyStatus);
    connection.Ui.SetProgress(0);
}

void ReportExchangeFailure(DeviceConnection& connection, const std::string& message)
{
    if (connection.Link.GetLastStatus() == kLinkCancelled) {
        connection.Ui.ShowMessage(kApplicationTitle, kCancelledMessage, MessageIcon::Warning);
    } else {
        connection.Ui.ErrorBox(kErrorCaption, message + "\n" + LinkFailureReason(connection.Link.LastFailure()));
    }
}
