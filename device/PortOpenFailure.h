#pragma once

#include "Transport.h"

#include <string>

inline constexpr const char* kUnableToOpenPortMessage = "Unable to open COM Port";

// The error box of a device operation whose port cannot be opened: "Unable
// to open COM Port", then a line with the device (or network address) and the
// system's reason,
// then, where the system's layer gave one, what the user can do about it.
std::string PortOpenFailureText(const std::string& devicePath, const OpenResult& result);
