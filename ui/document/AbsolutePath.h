#pragma once

#include <string>

// The path as an absolute one, taken from the current directory when it is
// relative, "." and ".." steps and doubled slashes removed. Every path the
// document keeps (its own, the watched one, the recent files) is absolute, so
// that it means the same file from any working directory. An empty path stays
// empty.
std::string AbsolutePath(const std::string& path);
