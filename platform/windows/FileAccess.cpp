#include "FileAccess.h"

#include "PathText.h"
#include "WideText.h"

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

namespace {

// Virus scanners and indexers open a new file for a moment; a save retries
// what they make fail for this long.
constexpr auto kSharingRetry = std::chrono::milliseconds(2000);
constexpr auto kRetryPause = std::chrono::milliseconds(50);

bool SharingViolation(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

// Runs the step until it succeeds, fails otherwise than by a sharing
// violation, or the retry time has passed.
template <typename Step>
bool RetryWhileShared(Step step)
{
    const auto giveUp = std::chrono::steady_clock::now() + kSharingRetry;
    for (;;) {
        if (step()) {
            return true;
        }
        if (!SharingViolation(::GetLastError()) || std::chrono::steady_clock::now() >= giveUp) {
            return false;
        }
        std::this_thread::sleep_for(kRetryPause);
    }
}

bool WriteAll(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

std::wstring UniqueSuffix()
{
    static const wchar_t kCharacters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kCharacters) - 2);
    std::wstring suffix;
    for (int i = 0; i < 6; ++i) {
        suffix += kCharacters[pick(random)];
    }
    return suffix;
}

thread_local std::string lastFileError;

// Keeps the system's words for the last error of this thread; false.
bool Failed(DWORD error)
{
    lastFileError = SystemErrorText(error);
    return false;
}

}  // namespace

std::optional<std::string> ReadFileBytes(const std::string& path, std::size_t maxBytes)
{
    const HANDLE file = ::CreateFileW(PathFromUtf8(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        Failed(::GetLastError());
        return std::nullopt;
    }
    lastFileError.clear();
    std::string bytes;
    char buffer[65536];
    bool ok = true;
    while (bytes.size() < maxBytes) {
        const DWORD want = static_cast<DWORD>(std::min(sizeof buffer, maxBytes - bytes.size()));
        DWORD got = 0;
        if (!::ReadFile(file, buffer, want, &got, nullptr)) {
            ok = Failed(::GetLastError());
            break;
        }
        if (got == 0) {
            break;
        }
        bytes.append(buffer, got);
    }
    ::CloseHandle(file);
    if (!ok) {
        return std::nullopt;
    }
    return bytes;
}

namespace {

bool ReplaceContents(const std::string& path, std::string_view bytes)
{
    namespace fs = std::filesystem;
    const fs::path target = PathFromUtf8(path);
    if (target.filename().empty()) {
        return Failed(ERROR_INVALID_NAME);
    }
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
    // A folder is no file; a read-only file is not written, although the
    // folder would let a rename replace it.
    if (existed && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        return Failed(ERROR_ACCESS_DENIED);
    }
    fs::path temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 16 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = target;
        temporary.replace_filename(L"." + target.filename().wstring() + L"." + UniqueSuffix());
        file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY, nullptr);
        if (file == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) {
            return Failed(::GetLastError());
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        return Failed(ERROR_FILE_EXISTS);
    }
    const bool written = WriteAll(file, bytes) && ::FlushFileBuffers(file);
    ::CloseHandle(file);
    bool ok = written && ::SetFileAttributesW(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (ok && existed) {
        // Keeps the old file's attributes and security; the new contents
        // take its place in one step.
        ok = RetryWhileShared([&] {
            return ::ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                                  nullptr) != 0;
        });
    } else if (ok) {
        ok = RetryWhileShared([&] {
            return ::MoveFileExW(temporary.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        });
    }
    if (!ok) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(temporary.c_str());
        return Failed(error);
    }
    return true;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view bytes)
{
    lastFileError.clear();
    return ReplaceContents(path, bytes);
}

std::string LastFileError() { return lastFileError; }

std::optional<FileIdentity> IdentifyFile(const std::string& path)
{
    const auto info = FileInformation(path);
    if (!info) {
        return std::nullopt;
    }
    const auto join = [](DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; };
    // 100-nanosecond intervals since 1601.
    const auto written = static_cast<std::int64_t>(
        join(info->ftLastWriteTime.dwHighDateTime, info->ftLastWriteTime.dwLowDateTime));
    return FileIdentity{info->dwVolumeSerialNumber, join(info->nFileIndexHigh, info->nFileIndexLow),
                        static_cast<std::int64_t>(join(info->nFileSizeHigh, info->nFileSizeLow)), written * 100};
}

// Windows has no file size signal: a write beyond a limit fails by itself.
void IgnoreFileSizeSignal() {}
