#include "Rfc2217.h"

namespace {

constexpr std::uint8_t kIac = 255;
constexpr std::uint8_t kDont = 254;
constexpr std::uint8_t kDo = 253;
constexpr std::uint8_t kWont = 252;
constexpr std::uint8_t kWill = 251;
constexpr std::uint8_t kSb = 250;
constexpr std::uint8_t kSe = 240;

constexpr std::uint8_t kBinary = 0;
constexpr std::uint8_t kEcho = 1;
constexpr std::uint8_t kSuppressGoAhead = 3;
constexpr std::uint8_t kComPortOption = 44;

// COM Port Control commands of the client; the server answers each with the
// same number plus 100.
constexpr std::uint8_t kSetBaudRate = 1;
constexpr std::uint8_t kSetDataSize = 2;
constexpr std::uint8_t kSetParity = 3;
constexpr std::uint8_t kSetStopSize = 4;
constexpr std::uint8_t kPurgeData = 12;
constexpr std::uint8_t kServerOffset = 100;

constexpr std::uint8_t kParityNone = 1;
constexpr std::uint8_t kOneStopBit = 1;
constexpr std::uint8_t kPurgeReceiveBuffer = 1;

// A subnegotiation longer than any the option defines is cut here.
constexpr std::size_t kMaxSubnegotiation = 64;

void AppendCommand(std::vector<std::uint8_t>& out, std::uint8_t verb, std::uint8_t option)
{
    out.insert(out.end(), {kIac, verb, option});
}

void AppendComPortCommand(std::vector<std::uint8_t>& out, std::uint8_t command, const std::vector<std::uint8_t>& value)
{
    out.insert(out.end(), {kIac, kSb, kComPortOption, command});
    Rfc2217Session::EscapeData(value.data(), value.size(), out);
    out.insert(out.end(), {kIac, kSe});
}

// The options this client does itself, and those it lets the server do.
bool WeSupport(std::uint8_t option)
{
    return option == kBinary || option == kSuppressGoAhead || option == kComPortOption;
}

bool TheySupport(std::uint8_t option) { return option == kBinary || option == kSuppressGoAhead || option == kEcho; }

}  // namespace

std::vector<std::uint8_t> Rfc2217Session::Start()
{
    std::vector<std::uint8_t> out;
    for (const std::uint8_t option : {kComPortOption, kBinary, kSuppressGoAhead}) {
        ours_[option] = Side::Asked;
        AppendCommand(out, kWill, option);
    }
    for (const std::uint8_t option : {kBinary, kSuppressGoAhead}) {
        theirs_[option] = Side::Asked;
        AppendCommand(out, kDo, option);
    }
    comPort_ = ComPort::Asked;
    return out;
}

std::vector<std::uint8_t> Rfc2217Session::LineSettings(int baudRate)
{
    const auto baud = static_cast<std::uint32_t>(baudRate);
    std::vector<std::uint8_t> out;
    AppendComPortCommand(out, kSetBaudRate,
                         {static_cast<std::uint8_t>(baud >> 24), static_cast<std::uint8_t>(baud >> 16),
                          static_cast<std::uint8_t>(baud >> 8), static_cast<std::uint8_t>(baud)});
    AppendComPortCommand(out, kSetDataSize, {8});
    AppendComPortCommand(out, kSetParity, {kParityNone});
    AppendComPortCommand(out, kSetStopSize, {kOneStopBit});
    settingsSent_ = 4;
    settingsAnswered_ = 0;
    return out;
}

std::vector<std::uint8_t> Rfc2217Session::PurgeReceived() const
{
    std::vector<std::uint8_t> out;
    AppendComPortCommand(out, kPurgeData, {kPurgeReceiveBuffer});
    return out;
}

void Rfc2217Session::EscapeData(const std::uint8_t* bytes, std::size_t count, std::vector<std::uint8_t>& out)
{
    out.reserve(out.size() + count);
    for (std::size_t i = 0; i < count; ++i) {
        out.push_back(bytes[i]);
        if (bytes[i] == kIac) {
            out.push_back(kIac);
        }
    }
}

void Rfc2217Session::Receive(const std::uint8_t* bytes, std::size_t count, std::vector<std::uint8_t>& data,
                             std::vector<std::uint8_t>& answer)
{
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t byte = bytes[i];
        switch (state_) {
        case State::Data:
            if (byte == kIac) {
                state_ = State::Command;
            } else {
                data.push_back(byte);
            }
            break;
        case State::Command:
            if (byte == kIac) {
                data.push_back(kIac);
                state_ = State::Data;
            } else if (byte >= kWill && byte <= kDont) {
                verb_ = byte;
                state_ = State::Option;
            } else if (byte == kSb) {
                sub_.clear();
                state_ = State::Sub;
            } else {
                // NOP, data mark, break, go-ahead, a stray SE: nothing for the line.
                state_ = State::Data;
            }
            break;
        case State::Option:
            HandleOption(verb_, byte, answer);
            state_ = State::Data;
            break;
        case State::Sub:
            if (byte == kIac) {
                state_ = State::SubCommand;
            } else if (sub_.size() < kMaxSubnegotiation) {
                sub_.push_back(byte);
            }
            break;
        case State::SubCommand:
            if (byte == kIac) {
                if (sub_.size() < kMaxSubnegotiation) {
                    sub_.push_back(kIac);
                }
                state_ = State::Sub;
            } else {
                // SE ends it; any other command ends it as well and is read
                // as that command.
                HandleSubnegotiation();
                state_ = State::Data;
                if (byte != kSe) {
                    const std::uint8_t again[] = {kIac, byte};
                    Receive(again, sizeof again, data, answer);
                }
            }
            break;
        }
    }
}

// Agrees to what both sides want and refuses the rest, answering only when
// an option's state changes, so that two parties never loop on each other.
void Rfc2217Session::HandleOption(std::uint8_t verb, std::uint8_t option, std::vector<std::uint8_t>& answer)
{
    if (verb == kDo || verb == kDont) {
        Side& side = ours_[option];
        const bool wanted = verb == kDo && WeSupport(option);
        if (wanted && side != Side::On) {
            if (side == Side::Off) {
                AppendCommand(answer, kWill, option);
            }
            side = Side::On;
        } else if (!wanted && (side != Side::Off || verb == kDo)) {
            if (side == Side::On || verb == kDo) {
                AppendCommand(answer, kWont, option);
            }
            side = Side::Off;
        }
        if (option == kComPortOption) {
            comPort_ = wanted ? ComPort::Accepted : ComPort::Refused;
        }
        return;
    }
    Side& side = theirs_[option];
    const bool wanted = verb == kWill && TheySupport(option);
    if (wanted && side != Side::On) {
        if (side == Side::Off) {
            AppendCommand(answer, kDo, option);
        }
        side = Side::On;
    } else if (!wanted && (side != Side::Off || verb == kWill)) {
        if (side == Side::On || verb == kWill) {
            AppendCommand(answer, kDont, option);
        }
        side = Side::Off;
    }
}

void Rfc2217Session::HandleSubnegotiation()
{
    if (sub_.size() < 2 || sub_[0] != kComPortOption) {
        return;
    }
    const std::uint8_t command = sub_[1];
    if (command >= kServerOffset + kSetBaudRate && command <= kServerOffset + kSetStopSize) {
        ++settingsAnswered_;
        if (command == kServerOffset + kSetBaudRate && sub_.size() >= 6) {
            confirmedBaud_ = static_cast<int>((static_cast<std::uint32_t>(sub_[2]) << 24) |
                                              (static_cast<std::uint32_t>(sub_[3]) << 16) |
                                              (static_cast<std::uint32_t>(sub_[4]) << 8) | sub_[5]);
        }
    }
}
