#pragma once

#include "NetworkPort.h"
#include "SerialPort.h"
#include "Transport.h"

// The gateway's port as the settings name it: a serial device path, or a
// network address ("socket://HOST:PORT", "rfc2217://HOST:PORT") of a serial
// device server. Open picks the transport from the text; the other calls go
// to the one opened.
class PortOpener final : public Transport {
public:
    OpenResult Open(const std::string& port, int baudRate) override;
    void Close() override { active_->Close(); }
    bool IsOpen() const override { return active_->IsOpen(); }

    void Write(const std::uint8_t* bytes, std::size_t count) override { active_->Write(bytes, count); }
    std::size_t BufferedCount() const override { return active_->BufferedCount(); }
    std::size_t Read(std::uint8_t* buffer, std::size_t maxCount) override { return active_->Read(buffer, maxCount); }
    void DiscardInput() override { active_->DiscardInput(); }
    bool WaitForInput(int milliseconds) override { return active_->WaitForInput(milliseconds); }
    bool IsConnection() const override { return active_->IsConnection(); }
    bool ConnectionLost() const override { return active_->ConnectionLost(); }

private:
    SerialPort serial_;
    NetworkPort network_;
    Transport* active_ = &serial_;
};
