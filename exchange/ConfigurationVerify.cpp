#include "ConfigurationVerify.h"

#include "ConfigFile.h"
#include "ConfigurationUpload.h"
#include "NumberText.h"

#include <memory>

std::optional<TextDifference> VerifyConfiguration(DeviceConnection& connection, const ConfigTemplate& config)
{
    const auto reply = FetchConfiguration(connection);
    if (!reply) {
        return std::nullopt;
    }
    EndTransfer(connection);
    return CompareTextLines(ConfigFileText(config, false), reply->Text);
}

std::unique_ptr<ConfigTemplate> UploadForComparison(DeviceConnection& connection)
{
    const auto reply = FetchConfiguration(connection);
    if (!reply) {
        return nullptr;
    }
    EndTransfer(connection);
    auto gateway = std::make_unique<ConfigTemplate>();
    if (!ReadConfigText(*gateway, reply->Text, connection.Ui)) {
        connection.Ui.ErrorBox(kErrorCaption, "Unable to upload configuration");
        return nullptr;
    }
    return gateway;
}

std::string VerifyResultText(const TextDifference& difference)
{
    if (difference.Equal()) {
        return "Configuration verify OK! The gateway holds this configuration.";
    }
    const auto shown = [](const std::optional<std::string>& line) { return line ? *line : "(no such line)"; };
    const int count = difference.DifferingLines;
    return "Configuration verify failed! The gateway's configuration differs in " + FormatInt(count) +
           (count == 1 ? " line." : " lines.") + "\nFirst difference, line " + FormatInt(difference.FirstLine) +
           ":\ngateway:  " + shown(difference.ActualLine) + "\nexpected: " + shown(difference.ExpectedLine);
}

void ReportVerifyResult(WindowSystem& ui, const TextDifference& difference)
{
    if (difference.Equal()) {
        ui.InfoBox(kSuccessCaption, VerifyResultText(difference));
    } else {
        ui.ErrorBox(kErrorCaption, VerifyResultText(difference));
    }
}
