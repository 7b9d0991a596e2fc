#include "DeviceConnection.h"

bool OpenGatewayPort(DeviceConnection& connection, int blockSize)
{
    connection.Link.SetMaxBlockSize(blockSize);
    connection.Link.SetReplyTimeout(kDeviceReplyTimeout);
    if (!connection.Link.Open(connection.PortPath, kGatewayBaudRate)) {
        connection.Ui.ErrorBox(kErrorCaption, "Unable to open COM Port");
        return false;
    }
    return true;
}

void SettleAfterOpen()
{
    constexpr int kSettleMilliseconds = 500;
    SleepMilliseconds(kSettleMilliseconds);
}

void PrepareTransfer(DeviceConnection& connection, int progressMode)
{
    connection.Link.ProgressPosition = 0;
    connection.Link.ProgressTotal = 0;
    connection.Link.ProgressMode = progressMode;
    connection.Link.ProgressControl = &connection.Ui;
}

void EndTransfer(DeviceConnection& connection)
{
    connection.Ui.SetStatusText(kReadyStatus);
    connection.Ui.SetProgress(0);
}
