#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Paths travel through the program as UTF-8 text. These convert at the
// boundary to the system's path type, which on Windows holds UTF-16, so that
// names outside ASCII ("Müller") survive both ways.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const std::filesystem::path& path);

// The last part of a path ("b.hxc" of "a/b.hxc", and of "a\\b.hxc" on Windows).
std::string FileNameOf(const std::string& path);
// The folder part of a path with its separator ("a/" of "a/b.hxc"); empty
// for a bare name.
std::string FolderOf(const std::string& path);
