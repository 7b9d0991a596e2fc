#include "AbsolutePath.h"

#include "PathText.h"

#include <filesystem>

std::string AbsolutePath(const std::string& path)
{
    if (path.empty()) {
        return path;
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(PathFromUtf8(path), error);
    if (error) {
        return path;
    }
    return Utf8FromPath(absolute.lexically_normal());
}
