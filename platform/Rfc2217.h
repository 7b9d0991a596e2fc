#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The Telnet side of a serial line reached through a device server with the
// COM Port Control option (RFC 2217): what the client sends to negotiate and
// set the line, and the reading of the server's stream into the line's data
// bytes and the server's commands. Pure byte logic, no system calls.
//
// Data bytes 0xFF (IAC) are doubled on the way out and undoubled on the way
// in; option negotiation (WILL, WONT, DO, DONT), subnegotiations (SB ... SE)
// and every other command are taken out of the stream, also when a read cuts
// them in two.
class Rfc2217Session {
public:
    // Where the server stands on the COM Port Control option.
    enum class ComPort { Asked, Accepted, Refused };

    // The opening requests: the client will do COM Port Control, and both
    // sides binary transmission and no go-ahead.
    std::vector<std::uint8_t> Start();

    // Sets the line: the baud rate, 8 data bits, no parity, 1 stop bit.
    std::vector<std::uint8_t> LineSettings(int baudRate);
    // Asks the server to drop what it has received from the line and not yet
    // sent on.
    std::vector<std::uint8_t> PurgeReceived() const;

    // Reads bytes from the server: data bytes are appended to `data`, the
    // answers the negotiation needs to `answer` (to be sent at once).
    void Receive(const std::uint8_t* bytes, std::size_t count, std::vector<std::uint8_t>& data,
                 std::vector<std::uint8_t>& answer);

    // Appends the data bytes to `out` with every 0xFF doubled.
    static void EscapeData(const std::uint8_t* bytes, std::size_t count, std::vector<std::uint8_t>& out);

    ComPort ComPortState() const { return comPort_; }
    // True when the server has answered every setting LineSettings sent.
    bool LineSettingsConfirmed() const { return settingsSent_ > 0 && settingsAnswered_ >= settingsSent_; }
    // The baud rate the server reported back; 0 before it did.
    int ConfirmedBaudRate() const { return confirmedBaud_; }

private:
    enum class State { Data, Command, Option, Sub, SubCommand };
    // Each option as one side of it stands: not wanted, asked for, agreed.
    enum class Side : std::uint8_t { Off, Asked, On };

    void HandleOption(std::uint8_t verb, std::uint8_t option, std::vector<std::uint8_t>& answer);
    void HandleSubnegotiation();

    State state_ = State::Data;
    std::uint8_t verb_ = 0;
    std::vector<std::uint8_t> sub_;
    Side ours_[256] = {};
    Side theirs_[256] = {};
    ComPort comPort_ = ComPort::Asked;
    int settingsSent_ = 0;
    int settingsAnswered_ = 0;
    int confirmedBaud_ = 0;
};
