#pragma once

#include <optional>
#include <string>

// How a network port reaches the gateway's serial line.
enum class NetworkScheme {
    RawTcp,   // socket://HOST:PORT, the bytes of the line as they are
    Rfc2217,  // rfc2217://HOST:PORT, Telnet with the COM Port Control option
};

// A port named by a network address instead of a serial device.
struct NetworkAddress {
    NetworkScheme Scheme = NetworkScheme::RawTcp;
    std::string Host;  // a name, an IPv4 address, or an IPv6 address without its brackets
    int Port = 0;
};

// True when the text starts as a network address ("socket://" or
// "rfc2217://", any letter case), well formed or not: such a text is never
// a device path.
bool LooksLikeNetworkAddress(const std::string& text);

// Reads "socket://HOST:PORT" or "rfc2217://HOST:PORT"; HOST is a name, an
// IPv4 address or a bracketed IPv6 address ("[::1]"), PORT 1 to 65535. No
// value, and the reason in `error`, for anything else.
std::optional<NetworkAddress> ParseNetworkAddress(const std::string& text, std::string& error);

// HOST:PORT without a scheme, as the simulator's --listen takes it; PORT may
// be 0 there (any free port).
std::optional<NetworkAddress> ParseHostPort(const std::string& text, bool allowPortZero, std::string& error);

// The address written back as the user names it: scheme, host (IPv6 in
// brackets) and port.
std::string FormatNetworkAddress(const NetworkAddress& address);
