#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// UTF-8, the program's text, to UTF-16, the wide-character Win32 APIs' text,
// and back.
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

// The system's message for an error code (GetLastError), without the line
// end Windows appends.
std::string SystemErrorText(DWORD error);
