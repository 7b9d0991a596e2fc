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

// An environment variable naming a directory of the test's own while the
// object lives; the old value comes back afterwards.
class OwnDirectoryVariable {
public:
    explicit OwnDirectoryVariable(const char* name) : name_(name)
    {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        old_ = had_ ? old : "";
        ::setenv(name, directory_.Path().c_str(), 1);
    }
    ~OwnDirectoryVariable()
    {
        if (had_) {
            ::setenv(name_, old_.c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    OwnDirectoryVariable(const OwnDirectoryVariable&) = delete;
    OwnDirectoryVariable& operator=(const OwnDirectoryVariable&) = delete;

protected:
    TemporaryDirectory directory_;

private:
    const char* name_;
    bool had_ = false;
    std::string old_;
};

// The operations log in a directory of the test's own ($XDG_STATE_HOME).
class OwnOperationsLog : public OwnDirectoryVariable {
public:
    OwnOperationsLog() : OwnDirectoryVariable("XDG_STATE_HOME") {}
    std::string Path() const { return directory_.Path() + "/halvex/operations.jsonl"; }
};

// The private temporary directory of the operations, moved into a directory
// of the test's own, so that what an operation leaves there can be seen.
class OwnTemporaryFiles : public OwnDirectoryVariable {
public:
    OwnTemporaryFiles() : OwnDirectoryVariable("XDG_RUNTIME_DIR") {}
    std::string PrivateDirectory() const { return directory_.Path() + "/halvex"; }
    // No temporary file is left behind.
    bool Clean() const
    {
        std::error_code error;
        return !std::filesystem::exists(PrivateDirectory()) || std::filesystem::is_empty(PrivateDirectory(), error);
    }
};
