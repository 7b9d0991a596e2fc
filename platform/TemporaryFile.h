#pragma once

#include <optional>
#include <string>

// The one fixed temporary file name that the download, the upload and the
// printed report reuse on every run ("hxc" and the number 123456 in hex).
inline constexpr const char* kTemporaryFileName = "hxc1E240.tmp";

// The per-user private directory for temporary files, created with mode 0700
// when missing: $XDG_RUNTIME_DIR/halvex, else $XDG_CACHE_HOME/halvex, else
// ~/.cache/halvex. No value when it cannot be created or is not private to
// this user (owned by another user, or open to others).
std::optional<std::string> PrivateTemporaryDirectory();

// The full path of the fixed temporary file inside that directory.
std::optional<std::string> TemporaryFilePath();
