#include "NetworkAddress.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr const char* kRawPrefix = "socket://";
constexpr const char* kRfc2217Prefix = "rfc2217://";

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

std::optional<int> PortNumber(const std::string& text, int low)
{
    if (text.empty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; })) {
        return std::nullopt;
    }
    const int value = std::stoi(text);
    if (value < low || value > 65535) {
        return std::nullopt;
    }
    return value;
}

// A host name or IPv4 address: letters, digits, dots, hyphens, underscores.
bool IsHostName(const std::string& host)
{
    return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '.' || c == '-' || c == '_';
    });
}

bool IsIpv6Text(const std::string& host)
{
    return host.find(':') != std::string::npos && std::all_of(host.begin(), host.end(), [](char c) {
               return std::isxdigit(static_cast<unsigned char>(c)) != 0 || c == ':' || c == '.' || c == '%';
           });
}

}  // namespace

bool LooksLikeNetworkAddress(const std::string& text)
{
    return StartsWithNoCase(text, kRawPrefix) || StartsWithNoCase(text, kRfc2217Prefix);
}

std::optional<NetworkAddress> ParseHostPort(const std::string& text, bool allowPortZero, std::string& error)
{
    NetworkAddress address;
    std::string portText;
    if (!text.empty() && text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string::npos || close + 1 >= text.size() || text[close + 1] != ':') {
            error = "an IPv6 address is written in brackets and followed by :PORT, as in [::1]:4001";
            return std::nullopt;
        }
        address.Host = text.substr(1, close - 1);
        portText = text.substr(close + 2);
        if (!IsIpv6Text(address.Host)) {
            error = "\"" + address.Host + "\" is not an IPv6 address";
            return std::nullopt;
        }
    } else {
        const std::size_t colon = text.rfind(':');
        if (colon == std::string::npos) {
            error = "the address needs HOST:PORT";
            return std::nullopt;
        }
        address.Host = text.substr(0, colon);
        portText = text.substr(colon + 1);
        if (address.Host.find(':') != std::string::npos) {
            error = "an IPv6 address is written in brackets, as in [::1]:4001";
            return std::nullopt;
        }
        if (!IsHostName(address.Host)) {
            error = address.Host.empty() ? "the address has no host" : "\"" + address.Host + "\" is not a host name";
            return std::nullopt;
        }
    }
    const auto port = PortNumber(portText, allowPortZero ? 0 : 1);
    if (!port) {
        error = "\"" + portText + "\" is not a TCP port number (" + (allowPortZero ? "0" : "1") + " to 65535)";
        return std::nullopt;
    }
    address.Port = *port;
    return address;
}

std::optional<NetworkAddress> ParseNetworkAddress(const std::string& text, std::string& error)
{
    NetworkScheme scheme = NetworkScheme::RawTcp;
    std::string rest;
    if (StartsWithNoCase(text, kRawPrefix)) {
        rest = text.substr(std::string(kRawPrefix).size());
    } else if (StartsWithNoCase(text, kRfc2217Prefix)) {
        scheme = NetworkScheme::Rfc2217;
        rest = text.substr(std::string(kRfc2217Prefix).size());
    } else {
        error = "a network port starts with socket:// or rfc2217://";
        return std::nullopt;
    }
    auto address = ParseHostPort(rest, false, error);
    if (address) {
        address->Scheme = scheme;
    }
    return address;
}

std::string FormatNetworkAddress(const NetworkAddress& address)
{
    const std::string host = address.Host.find(':') != std::string::npos ? "[" + address.Host + "]" : address.Host;
    return std::string(address.Scheme == NetworkScheme::Rfc2217 ? kRfc2217Prefix : kRawPrefix) + host + ":" +
           std::to_string(address.Port);
}
