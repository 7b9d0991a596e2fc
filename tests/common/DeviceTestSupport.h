#pragma once

#include "ConfigTemplate.h"
#include "DeviceConnection.h"
#include "DiagnosticsRecord.h"
#include "SampleConfigurations.h"
#include "ScriptedWindowSystem.h"
#include "TestFiles.h"

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

// Readable messages in test failures.
inline void PrintTo(const ScriptedWindowSystem::Message& message, std::ostream* out)
{
    *out << '[' << message.Caption << "] " << message.Text << " (icon " << static_cast<int>(message.Icon)
         << (message.IsQuestion ? ", question)" : ")");
}

// A scripted window system and the diagnostics dialogs shown.
class DeviceUi : public ScriptedWindowSystem {
public:
    std::vector<DiagnosticsRecord> Dialogs;
};

// The private temporary directory of the operations, moved into a directory
// of the test's own, so that what an operation leaves there can be seen.
class OwnTemporaryFiles {
public:
    OwnTemporaryFiles()
    {
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        had_ = old != nullptr;
        old_ = had_ ? old : "";
        ::setenv("XDG_RUNTIME_DIR", directory_.Path().c_str(), 1);
    }
    ~OwnTemporaryFiles()
    {
        if (had_) {
            ::setenv("XDG_RUNTIME_DIR", old_.c_str(), 1);
        } else {
            ::unsetenv("XDG_RUNTIME_DIR");
        }
    }
    std::string PrivateDirectory() const { return directory_.Path() + "/halvex"; }
    // No temporary file is left behind.
    bool Clean() const
    {
        std::error_code error;
        return !std::filesystem::exists(PrivateDirectory()) || std::filesystem::is_empty(PrivateDirectory(), error);
    }

private:
    TemporaryDirectory directory_;
    bool had_ = false;
    std::string old_;
};
