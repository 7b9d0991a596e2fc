// halvex-cli commands that talk to the gateway or build its device image.
#include "CliCommand.h"
#include "ConfigFile.h"
#include "DeviceImage.h"
#include "FileAccess.h"

#include <memory>
#include <optional>
#include <ostream>
#include <vector>

namespace {

std::unique_ptr<ConfigTemplate> LoadOrReport(CliContext& context, const std::string& path)
{
    auto config = std::make_unique<ConfigTemplate>();
    if (!ReadConfigFile(*config, path, context.Ui)) {
        const std::string message = LoadErrorMessage(config->LoadError);
        if (!message.empty()) {
            context.Ui.ErrorBox(kOpenErrorCaption, message);
        }
        return nullptr;
    }
    return config;
}

// "2.00" or "1.02" as a FormatVersion.
std::optional<int> ParseLayout(const std::string& text)
{
    if (text == "2.00") {
        return kFormatVersion200;
    }
    if (text == "1.02") {
        return kFormatVersion102;
    }
    return std::nullopt;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// A calendar date written YYYY-MM-DD.
std::optional<ImageDate> ParseDate(const std::string& text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
    }
    const ImageDate date{std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2)), std::stoi(text.substr(8, 2))};
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (date.Month < 1 || date.Month > 12) {
        return std::nullopt;
    }
    const int days = kDays[date.Month - 1] + (date.Month == 2 && IsLeapYear(date.Year) ? 1 : 0);
    if (date.Day < 1 || date.Day > days) {
        return std::nullopt;
    }
    return date;
}

int UsageError(CliContext& context, const std::string& command, const std::string& message)
{
    context.Err << "halvex-cli " << command << ": " << message << '\n';
    return kExitUsage;
}

int RunImage(CliContext& context)
{
    const auto layout = ParseLayout(context.Arguments.Option("layout").value_or("2.00"));
    if (!layout) {
        return UsageError(context, "image", "--layout takes 2.00 or 1.02");
    }
    std::optional<ImageDate> date = TodaysDate();
    if (const auto text = context.Arguments.Option("date")) {
        date = ParseDate(*text);
        if (!date) {
            return UsageError(context, "image", "--date takes a date as YYYY-MM-DD");
        }
    }
    const auto config = LoadOrReport(context, context.Arguments.Positional[0]);
    if (!config) {
        return kExitFailure;
    }
    std::vector<std::uint8_t> image(kDeviceImageBufferSize, 0);
    const int length = BuildDeviceImage(*config, image.data(), kDeviceImageBufferSize, *layout, *date, context.Ui);
    if (length <= 0) {
        context.Ui.ErrorBox("Error", "Unable to build the device image - incorrect configuration");
        return kExitFailure;
    }
    const std::string& out = context.Arguments.Positional[1];
    if (!ReplaceFileContents(out, std::string_view(reinterpret_cast<const char*>(image.data()),
                                                   static_cast<std::size_t>(length)))) {
        context.Ui.ErrorBox("Error", "Unable to write " + out);
        return kExitFailure;
    }
    context.Out << "Device image: " << length << " bytes\n";
    return kExitSuccess;
}

}  // namespace

std::vector<CliCommand> DeviceCommands()
{
    return {
        {"image", "IN OUT [--layout 2.00|1.02] [--date YYYY-MM-DD]", 2, RunImage},
    };
}
