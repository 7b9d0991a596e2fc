#pragma once

#include <string>

// Where the per-user operations log lives. POSIX: $XDG_STATE_HOME/halvex/
// operations.jsonl, else ~/.local/state/halvex/operations.jsonl; empty when
// neither variable names an absolute directory. (Windows:
// %LOCALAPPDATA%\Halvex\operations.jsonl.)
std::string OperationsLogPath();

// The user's login name (from the password database, else $USER, else the
// user id) and the machine's host name.
std::string CurrentUserName();
std::string CurrentHostName();

// The /dev/serial/by-id link that leads to the same device as devicePath,
// which keeps naming the adapter whichever USB socket it is in; devicePath
// itself when it is such a link, empty when there is none.
std::string StableDevicePath(const std::string& devicePath, const std::string& byIdDirectory = "/dev/serial/by-id");
