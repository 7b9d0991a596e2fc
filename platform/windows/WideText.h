#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// UTF-8, the program's text, to UTF-16, the wide-character Win32 APIs' text,
// and back.
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

// The system's message for an error code (GetLastError), without the line
// end Windows appends.
std::string SystemErrorText(DWORD error);

// What the system keeps of a file or directory (volume, file index, size,
// times), read without opening its contents and without keeping others from
// it; no value when it cannot be read.
std::optional<BY_HANDLE_FILE_INFORMATION> FileInformation(const std::string& path);
