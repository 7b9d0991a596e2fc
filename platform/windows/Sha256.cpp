#include "Sha256.h"

#include <windows.h>

#include <bcrypt.h>

#include <array>

// Windows' own cryptographic library (CNG).
std::string Sha256Hex(std::string_view bytes)
{
    std::array<unsigned char, 32> digest{};
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (::BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0) {
        return {};
    }
    const NTSTATUS status =
        ::BCryptHash(algorithm, nullptr, 0, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                     static_cast<ULONG>(bytes.size()), digest.data(), static_cast<ULONG>(digest.size()));
    ::BCryptCloseAlgorithmProvider(algorithm, 0);
    if (status != 0) {
        return {};
    }
    static const char kHex[] = "0123456789abcdef";
    std::string text;
    for (const unsigned char value : digest) {
        text += kHex[value >> 4];
        text += kHex[value & 15];
    }
    return text;
}
