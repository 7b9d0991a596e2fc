#include "CliCommand.h"

#include "ConfigFile.h"

#include <ostream>

std::unique_ptr<ConfigTemplate> LoadConfigurationOrReport(CliContext& context, const std::string& path)
{
    return LoadConfigurationOrReport(context.Ui, path);
}

std::unique_ptr<ConfigTemplate> LoadConfigurationOrReport(WindowSystem& ui, const std::string& path)
{
    auto config = std::make_unique<ConfigTemplate>();
    if (!ReadConfigFile(*config, path, ui)) {
        const std::string message = LoadFailureMessage(config->LoadError, path);
        if (!message.empty()) {
            ui.ErrorBox(kOpenErrorCaption, message);
        }
        return nullptr;
    }
    return config;
}

OperationLog CliOperationLog(CliContext& context)
{
    std::ostream& err = context.Err;
    return {"halvex-cli", context.OperationsLogPath,
            [&err](const std::string& warning) { err << "halvex-cli: " << warning << '\n'; }};
}

