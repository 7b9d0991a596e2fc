// halvex-cli ports: the serial devices present, as lines or as JSON.
#include "CliCommand.h"
#include "JsonOutput.h"
#include "PortDiscovery.h"

#include <algorithm>
#include <array>
#include <ostream>

namespace {

constexpr const char* kNoPortsMessage = "No serial ports found";

using Row = std::array<std::string, 7>;

std::string OrDash(const std::string& text) { return text.empty() ? "-" : text; }

Row RowOf(const SerialDeviceInfo& device)
{
    return {device.Path,          DeviceDescription(device), OrDash(device.Driver),
            OrDash(device.UsbId), OrDash(device.Group),      device.Accessible ? "access" : "no access",
            device.ById};
}

// One line a device, the columns padded to their widest entry; the by-id
// link, the longest, comes last.
void PrintTable(std::ostream& out, const std::vector<SerialDeviceInfo>& devices)
{
    std::vector<Row> rows;
    std::transform(devices.begin(), devices.end(), std::back_inserter(rows), RowOf);
    std::array<std::size_t, 7> widths{};
    for (const Row& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    for (const Row& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size()) {
                line += std::string(widths[i] - row[i].size() + 2, ' ');
            }
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << '\n';
    }
}

nlohmann::json TextOrNull(const std::string& text) { return text.empty() ? nlohmann::json() : nlohmann::json(text); }

nlohmann::json JsonOf(const SerialDeviceInfo& device)
{
    return {
        {"path", device.Path},
        {"by_id", TextOrNull(device.ById)},
        {"driver", TextOrNull(device.Driver)},
        {"usb_id", TextOrNull(device.UsbId)},
        {"manufacturer", TextOrNull(device.Manufacturer)},
        {"product", TextOrNull(device.Product)},
        {"serial_number", TextOrNull(device.SerialNumber)},
        {"description", DeviceDescription(device)},
        {"accessible", device.Accessible},
        {"group", TextOrNull(device.Group)},
    };
}

int RunPorts(CliContext& context)
{
    const std::vector<SerialDeviceInfo> devices = DiscoverSerialDevices(context.SystemRoot);
    if (context.Arguments.Flag("json")) {
        nlohmann::json list = nlohmann::json::array();
        for (const SerialDeviceInfo& device : devices) {
            list.push_back(JsonOf(device));
        }
        // A device's strings are not always UTF-8; PrintJson replaces what is not.
        PrintJson(context.Out, list);
    } else {
        PrintTable(context.Out, devices);
    }
    if (devices.empty()) {
        context.Err << kNoPortsMessage << '\n';
    }
    return kExitSuccess;
}

}  // namespace

std::vector<CliCommand> PortCommands()
{
    return {
        {"ports", "[--json]", 0, RunPorts, "the serial devices present and whether you may open them (network ports: socket://HOST:PORT, rfc2217://HOST:PORT)", {}, {"json"}},
    };
}
