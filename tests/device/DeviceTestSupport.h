#pragma once

#include "ConfigTemplate.h"
#include "DeviceConnection.h"
#include "DiagnosticsRecord.h"
#include "ScriptedWindowSystem.h"
#include "TestFiles.h"

#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

// Readable messages in test failures.
inline void PrintTo(const ScriptedWindowSystem::Message& message, std::ostream* out)
{
    *out << '[' << message.Caption << "] " << message.Text << " (icon " << static_cast<int>(message.Icon)
         << (message.IsQuestion ? ", question)" : ")");
}

// A scripted window system that also records the diagnostics dialogs shown.
class DeviceUi : public ScriptedWindowSystem {
public:
    void ShowDiagnostics(const DiagnosticsRecord& record) override { Dialogs.push_back(record); }
    std::vector<DiagnosticsRecord> Dialogs;
};

// The private temporary directory of the operations, moved into a directory
// of the test's own so that parallel tests do not share the fixed file name.
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
    std::string TemporaryFile() const { return directory_.Path() + "/halvex/hxc1E240.tmp"; }

private:
    TemporaryDirectory directory_;
    bool had_ = false;
    std::string old_;
};

// A configuration with points of every kind on two slaves.
inline ConfigTemplate SampleConfiguration()
{
    ConfigTemplate config;
    config.TemplateName = "Feeder";
    config.SpaBaudRate = 19200;
    for (int i = 0; i < 4; ++i) {
        AnalogInputPoint point;
        point.Address = "0I" + std::to_string(i + 1);
        point.Description = "Current " + std::to_string(i);
        point.SlaveAddress = 5;
        point.Size = i == 0 ? 32 : 16;
        point.InUse = i != 2;
        config.AnalogInputs.Append(point);
    }
    DigitalInputPoint digital;
    digital.Address = "1/8E10/17";
    digital.DataType = "S";
    digital.SlaveAddress = 9;
    config.DigitalInputs.Append(digital);
    AnalogOutputPoint output;
    output.Address = "2O7";
    output.SlaveAddress = 9;
    config.AnalogOutputs.Append(output);
    DigitalOutputPoint command;
    command.Address = "1O1";
    command.DataType = "B";
    command.SlaveAddress = 5;
    command.InUse = false;
    config.DigitalOutputs.Append(command);
    IndirectSpaMessage message;
    message.Address = "1V5";
    message.SlaveAddress = 9;
    config.IndirectMessages.Append(message);
    return config;
}
