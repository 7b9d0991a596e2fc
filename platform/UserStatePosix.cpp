#include "UserState.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace {

std::string AbsoluteVariable(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && value[0] == '/' ? std::string(value) : std::string();
}

}  // namespace

std::string OperationsLogPath()
{
    std::string state = AbsoluteVariable("XDG_STATE_HOME");
    if (state.empty()) {
        const std::string home = AbsoluteVariable("HOME");
        if (home.empty()) {
            return {};
        }
        state = home + "/.local/state";
    }
    return state + "/halvex/operations.jsonl";
}

std::string CurrentUserName()
{
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr) {
        return found->pw_name;
    }
    if (const char* user = std::getenv("USER"); user != nullptr && *user != '\0') {
        return user;
    }
    return std::to_string(::getuid());
}

std::string CurrentHostName()
{
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) {
        return {};
    }
    return name;
}

std::string StableDevicePath(const std::string& devicePath, const std::string& byIdDirectory)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path given(devicePath);
    if (given.parent_path() == fs::path(byIdDirectory)) {
        return devicePath;
    }
    const fs::path device = fs::canonical(given, error);
    if (error) {
        return {};
    }
    for (fs::directory_iterator it(byIdDirectory, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (fs::canonical(it->path(), ignored) == device && !ignored) {
            return it->path().string();
        }
    }
    return {};
}
