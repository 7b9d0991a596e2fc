#include "SimOptions.h"

#include "NumberText.h"

namespace {

// A whole decimal number within [low, high].
std::optional<int> WholeNumber(const std::string& text, int low, int high)
{
    const IntScan scan = ScanInt(text);
    if (!scan.Found || scan.Used != text.size() || text.front() == ' ' || scan.Value < low || scan.Value > high) {
        return std::nullopt;
    }
    return scan.Value;
}

bool ParseFirmware(const std::string& text, std::array<std::uint8_t, 3>& firmware)
{
    std::size_t start = 0;
    for (std::size_t part = 0; part < firmware.size(); ++part) {
        const std::size_t dot = part + 1 < firmware.size() ? text.find('.', start) : text.size();
        if (dot == std::string::npos) {
            return false;
        }
        const auto value = WholeNumber(text.substr(start, dot - start), 0, 255);
        if (!value) {
            return false;
        }
        firmware[part] = static_cast<std::uint8_t>(*value);
        start = dot + 1;
    }
    return true;
}

}  // namespace

std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& words, std::string& error)
{
    SimOptions options;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& name = words[i];
        if (name == "--help" || name == "-h") {
            options.Help = true;
            continue;
        }
        if (name == "--no-pty") {
            options.Terminal = false;
            continue;
        }
        if (i + 1 >= words.size()) {
            error = name.rfind("--", 0) == 0 ? "option " + name + " needs a value" : "unknown argument " + name;
            return std::nullopt;
        }
        const std::string& value = words[++i];
        if (name == "--link") {
            options.LinkPath = value;
        } else if (name == "--state") {
            options.StateDirectory = value;
        } else if (name == "--firmware") {
            if (!ParseFirmware(value, options.Settings.Firmware)) {
                error = "--firmware needs MAJOR.MINOR.BUILD, each 0 to 255";
                return std::nullopt;
            }
        } else if (name == "--reply-block") {
            const auto size = WholeNumber(value, 1, kMaxFrameData);
            if (!size) {
                error = "--reply-block needs a number from 1 to 1000";
                return std::nullopt;
            }
            options.Settings.ReplyBlock = *size;
        } else if (name == "--line-rate") {
            const auto rate = WholeNumber(value, 1, 4'000'000);
            if (!rate) {
                error = "--line-rate needs a baud rate";
                return std::nullopt;
            }
            options.LineRate = *rate;
        } else if (name == "--listen") {
            std::string reason;
            options.Listen = ParseHostPort(value, true, reason);
            if (!options.Listen) {
                error = "--listen needs HOST:PORT: " + reason;
                return std::nullopt;
            }
        } else if (name == "--fault") {
            if (!options.Faults.Add(value)) {
                error = "unknown fault " + value;
                return std::nullopt;
            }
        } else {
            error = "unknown option " + name;
            return std::nullopt;
        }
    }
    if (!options.Terminal && !options.Listen) {
        error = "--no-pty needs --listen";
        return std::nullopt;
    }
    return options;
}
