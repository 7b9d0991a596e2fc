#include "TemporaryFile.h"

#include "PathText.h"
#include "WideText.h"

#include <random>
#include <utility>

namespace {

HANDLE AsHandle(std::intptr_t file) { return reinterpret_cast<HANDLE>(file); }

std::string UniqueName()
{
    static const char kCharacters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kCharacters) - 2);
    std::string name = "hxc";
    for (int i = 0; i < 6; ++i) {
        name += kCharacters[pick(random)];
    }
    return name + ".tmp";
}

bool MakeDirectory(const std::wstring& path)
{
    return ::CreateDirectoryW(path.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace

std::optional<std::string> PrivateTemporaryDirectory()
{
    wchar_t* base = ::_wgetenv(L"LOCALAPPDATA");
    if (base == nullptr || *base == L'\0') {
        return std::nullopt;
    }
    const std::wstring halvex = std::wstring(base) + L"\\Halvex";
    const std::wstring directory = halvex + L"\\tmp";
    if (!MakeDirectory(halvex) || !MakeDirectory(directory)) {
        return std::nullopt;
    }
    const DWORD attributes = ::GetFileAttributesW(directory.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return std::nullopt;
    }
    return Utf8FromWide(directory);
}

std::optional<TemporaryFile> TemporaryFile::Create()
{
    const auto directory = PrivateTemporaryDirectory();
    if (!directory) {
        return std::nullopt;
    }
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string path = *directory + "\\" + UniqueName();
        const HANDLE file = ::CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            return TemporaryFile(std::move(path), reinterpret_cast<std::intptr_t>(file));
        }
        if (::GetLastError() != ERROR_FILE_EXISTS) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

void TemporaryFile::Remove()
{
    if (file_ != kNoFile) {
        // Closed first: Windows deletes no file that is open without sharing.
        ::CloseHandle(AsHandle(file_));
        ::DeleteFileW(WideFromUtf8(path_).c_str());
        file_ = kNoFile;
    }
}

bool TemporaryFile::Write(std::string_view bytes)
{
    const HANDLE file = AsHandle(file_);
    if (file_ == kNoFile || ::SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
        !::SetEndOfFile(file)) {
        return false;
    }
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

std::optional<std::string> TemporaryFile::Read(std::size_t maxBytes) const
{
    const HANDLE file = AsHandle(file_);
    if (file_ == kNoFile || ::SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    while (bytes.size() < maxBytes) {
        const DWORD want = static_cast<DWORD>(std::min(sizeof buffer, maxBytes - bytes.size()));
        DWORD got = 0;
        if (!::ReadFile(file, buffer, want, &got, nullptr)) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        bytes.append(buffer, got);
    }
    return bytes;
}
