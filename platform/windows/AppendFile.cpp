#include "AppendFile.h"

#include "PathText.h"
#include "WideText.h"

#include <filesystem>

namespace {

AppendResult Failed(const std::string& path, DWORD error) { return {false, path + ": " + SystemErrorText(error)}; }

}  // namespace

// FILE_APPEND_DATA without FILE_WRITE_DATA: every write goes to the end of
// the file at the moment it is made, also with other processes appending.
AppendResult AppendWholeRecord(const std::string& path, std::string_view bytes)
{
    const std::filesystem::path target = PathFromUtf8(path);
    std::error_code ignored;
    if (target.has_parent_path()) {
        std::filesystem::create_directories(target.parent_path(), ignored);
    }
    const HANDLE file = ::CreateFileW(target.c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return Failed(path, ::GetLastError());
    }
    DWORD written = 0;
    const bool wrote = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0;
    const DWORD writeError = ::GetLastError();
    const bool flushed = wrote && ::FlushFileBuffers(file) != 0;
    const DWORD flushError = ::GetLastError();
    ::CloseHandle(file);
    if (!wrote) {
        return Failed(path, writeError);
    }
    if (written != bytes.size()) {
        return {false, path + ": only part of the record was written"};
    }
    if (!flushed) {
        return Failed(path, flushError);
    }
    return {true, {}};
}
