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

// The options that mean the same with and without a pseudo-terminal.
constexpr const char* kEngineOptions =
    "  --firmware M.m.b     the firmware version it reports (default 1.5.12)\n"
    "  --reply-block N      data bytes per reply block, 1 to 1000 (default 292); a reply\n"
    "                       that needs more than 255 blocks is refused with the error bit\n"
    "  --line-rate BAUD     pace reading and replies like a serial line of that baud rate\n"
    "  --fault KIND[:COUNT] damage the next COUNT replies (default 1); faults apply in order:\n"
    "                       bad-crc silence error-bit retry-bit short oversize-length\n"
    "                       zero-block-count trailing-bytes\n"
    "  --state DIR          keep configuration, archive and diagnostics in DIR across runs\n";

}  // namespace

std::string SimUsage(bool hasTerminal)
{
    if (!hasTerminal) {
        return std::string(
                   "usage: halvex-gateway-sim --listen HOST:PORT [--firmware MAJOR.MINOR.BUILD] [--reply-block N]\n"
                   "                          [--line-rate BAUD] [--fault KIND[:COUNT]]... [--state DIR]\n"
                   "\n"
                   "Simulates the gateway for raw TCP clients, one at a time; prints socket://HOST:PORT on\n"
                   "the first line and serves until Ctrl-C. Windows has no pseudo-terminal, so --listen is\n"
                   "required.\n"
                   "  --listen HOST:PORT   serve raw TCP clients there ([::1]:PORT for IPv6, port 0 for any\n"
                   "                       free one)\n") +
               kEngineOptions;
    }
    return std::string("usage: halvex-gateway-sim [--link PATH] [--firmware MAJOR.MINOR.BUILD] [--reply-block N]\n"
                       "                          [--line-rate BAUD] [--fault KIND[:COUNT]]... [--state DIR]\n"
                       "                          [--listen HOST:PORT [--no-pty]]\n"
                       "\n"
                       "Simulates the gateway on a pseudo-terminal; prints the terminal's path on the first line.\n"
                       "  --link PATH          also make PATH a symbolic link to the terminal\n") +
           kEngineOptions +
           "  --listen HOST:PORT   also serve raw TCP clients there, one at a time ([::1]:PORT for\n"
           "                       IPv6, port 0 for any free one); prints socket://HOST:PORT on the\n"
           "                       line after the terminal's path\n"
           "  --no-pty             serve TCP alone, without a pseudo-terminal\n";
}

std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& words, std::string& error, bool hasTerminal)
{
    SimOptions options;
    options.Terminal = hasTerminal;
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
    if (!hasTerminal) {
        if (!options.Listen && !options.Help) {
            error = "--listen HOST:PORT is required: Windows has no pseudo-terminal, the simulator serves TCP only";
            return std::nullopt;
        }
        if (!options.LinkPath.empty()) {
            error = "--link needs a pseudo-terminal, which Windows does not have";
            return std::nullopt;
        }
    } else if (!options.Terminal && !options.Listen) {
        error = "--no-pty needs --listen";
        return std::nullopt;
    }
    return options;
}
