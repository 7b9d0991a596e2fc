#include "AbsolutePath.h"

#include <filesystem>

std::string AbsolutePath(const std::string& path)
{
    if (path.empty()) {
        return path;
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) {
        return path;
    }
    return absolute.lexically_normal().string();
}
