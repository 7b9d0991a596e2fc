#pragma once

#include "ConfigTemplate.h"
#include "DeviceConnection.h"
#include "DiagnosticsRecord.h"
#include "SampleConfigurations.h"
#include "ScriptedWindowSystem.h"
#include "TestFiles.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
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

