#include "CliCommand.h"

#include "ConfigFile.h"

std::unique_ptr<ConfigTemplate> LoadConfigurationOrReport(CliContext& context, const std::string& path)
{
    auto config = std::make_unique<ConfigTemplate>();
    if (!ReadConfigFile(*config, path, context.Ui)) {
        const std::string message = LoadFailureMessage(config->LoadError, path);
        if (!message.empty()) {
            context.Ui.ErrorBox(kOpenErrorCaption, message);
        }
        return nullptr;
    }
    return config;
}
