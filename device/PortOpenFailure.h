#pragma once

#include "Transport.h"

#include <string>

inline constexpr const char* kUnableToOpenPortMessage = "Unable to open COM Port";

// The error box of a device operation whose port cannot be opened: "Unable
// to open COM Port", then a line with the device (or network address) and
// the system's reason,
// then where it helps what the user can do: for a permission refusal how to
// get access through the device's group, for a port without its UART that
// nothing answers there, for a busy port that another program has it.
std::string PortOpenFailureText(const std::string& devicePath, const OpenResult& result);
