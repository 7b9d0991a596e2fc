#pragma once

#include "Environment.h"
#include "FileAccess.h"

#include <filesystem>
#include <optional>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <chrono>
#include <cstdint>
#include <clocale>
#include <csignal>
#include <ctime>
#include <random>

#ifdef _WIN32
#include <stdlib.h>
#else
#include <sys/resource.h>
#include <unistd.h>
#endif

// A fresh directory below the system's temporary directory, removed with
// everything in it when the object goes.
class TemporaryDirectory {
public:
    TemporaryDirectory()
    {
        std::random_device seed;
        std::mt19937_64 random(seed() ^ static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
        for (;;) {
            path_ = std::filesystem::temp_directory_path() / ("halvex-test-" + std::to_string(random() % 1000000000));
            if (std::filesystem::create_directory(path_)) {
                break;
            }
        }
    }
    ~TemporaryDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    std::string Path() const { return path_.string(); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// An environment variable naming a directory of the test's own while the
// object lives; the old value comes back afterwards.
class OwnDirectoryVariable {
public:
    explicit OwnDirectoryVariable(const char* name) : name_(name), old_(EnvironmentValue(name))
    {
        SetEnvironmentValue(name_, directory_.Path());
    }
    ~OwnDirectoryVariable() { SetEnvironmentValue(name_, old_.value_or("")); }
    OwnDirectoryVariable(const OwnDirectoryVariable&) = delete;
    OwnDirectoryVariable& operator=(const OwnDirectoryVariable&) = delete;

protected:
    TemporaryDirectory directory_;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Where the system keeps the user's files of the program: the operations
// log and the private directory of the temporary files.
#ifdef _WIN32
inline constexpr const char* kStateVariable = "LOCALAPPDATA";
inline constexpr const char* kOperationsLogBelowState = "\\Halvex\\operations.jsonl";
inline constexpr const char* kTemporaryVariable = "LOCALAPPDATA";
inline constexpr const char* kTemporaryBelowBase = "\\Halvex\\tmp";
#else
inline constexpr const char* kStateVariable = "XDG_STATE_HOME";
inline constexpr const char* kOperationsLogBelowState = "/halvex/operations.jsonl";
inline constexpr const char* kTemporaryVariable = "XDG_RUNTIME_DIR";
inline constexpr const char* kTemporaryBelowBase = "/halvex";
#endif

// The operations log in a directory of the test's own.
class OwnOperationsLog : public OwnDirectoryVariable {
public:
    OwnOperationsLog() : OwnDirectoryVariable(kStateVariable) {}
    std::string Path() const { return directory_.Path() + kOperationsLogBelowState; }
};

// The private temporary directory of the operations, moved into a directory
// of the test's own, so that what an operation leaves there can be seen.
class OwnTemporaryFiles : public OwnDirectoryVariable {
public:
    OwnTemporaryFiles() : OwnDirectoryVariable(kTemporaryVariable) {}
    std::string PrivateDirectory() const { return directory_.Path() + kTemporaryBelowBase; }
    // No temporary file is left behind.
    bool Clean() const
    {
        std::error_code error;
        return !std::filesystem::exists(PrivateDirectory()) || std::filesystem::is_empty(PrivateDirectory(), error);
    }
};

inline void WriteTextFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// The system's words for a file that is not there, as the platform reports
// them ("No such file or directory" on POSIX).
inline std::string MissingFileReason()
{
    ReadFileBytes((std::filesystem::temp_directory_path() / "halvex-test-no-such-file").string());
    return LastFileError();
}

// A path that cannot be written: on POSIX a device that is always full, on
// Windows a name below a plain file of the directory.
inline std::string UnwritablePath(const TemporaryDirectory& directory)
{
#ifdef _WIN32
    WriteTextFile(directory.File("plain"), "");
    return directory.File("plain") + "\\x";
#else
    (void)directory;
    return "/dev/full";
#endif
}

// The platform's words for why a write to the path fails.
inline std::string WriteFailureReason(const std::string& path)
{
    ReplaceFileContents(path, "x");
    return LastFileError();
}

inline std::string ReadTextFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The lines of a text, without their line ends.
inline std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Joins lines with CR LF after each, as the tool's text files are written.
template <typename... Lines>
std::string CrLfLines(const Lines&... lines)
{
    std::string text;
    ((text += std::string(lines) + "\r\n"), ...);
    return text;
}

// A locale whose decimal separator is a comma (Windows' C runtime knows it
// without the encoding), and the time zone and calendar of the tests.
inline const char* CommaLocaleName()
{
#ifdef _WIN32
    return "de_DE";
#else
    return "de_DE.UTF-8";
#endif
}

inline void UseUtcTimeZone()
{
#ifdef _WIN32
    ::_putenv_s("TZ", "UTC0");
    ::_tzset();
#else
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
#endif
}

inline std::time_t UtcTime(std::tm time)
{
#ifdef _WIN32
    return ::_mkgmtime(&time);
#else
    return ::timegm(&time);
#endif
}

#ifndef _WIN32
// Every file written while it lives is cut off after `bytes` bytes: the write
// beyond fails (SIGXFSZ is ignored meanwhile).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = SIG_DFL;
};
#endif
