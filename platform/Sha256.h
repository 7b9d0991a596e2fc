#pragma once

#include <string>
#include <string_view>

// The SHA-256 digest of the bytes as 64 lower-case hex digits. Each system
// has its implementation from the system's own cryptographic library
// (libcrypto on Linux); no value is ever computed by code of our own.
std::string Sha256Hex(std::string_view bytes);
