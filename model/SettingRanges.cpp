#include "SettingRanges.h"

#include "NumberText.h"

#include <algorithm>
#include <iterator>

std::string SettingRangeMessage(const SettingRange& range)
{
    return "Please enter an integer between " + FormatInt(range.Minimum) + " and " + FormatInt(range.Maximum) + ".";
}

std::vector<SettingRefusal> SettingRefusals(const ConfigTemplate& config)
{
    std::vector<SettingRefusal> refusals;
    for (const SettingRange* range : kSettingRanges) {
        const int value = config.*(range->Value);
        if (value < range->Minimum || value > range->Maximum) {
            refusals.push_back({SettingRangeMessage(*range), std::string(range->Label) + " (" + range->Key +
                                                                 ") is " + FormatInt(value)});
        }
    }
    if (std::find(std::begin(kSpaBaudRates), std::end(kSpaBaudRates), config.SpaBaudRate) == std::end(kSpaBaudRates)) {
        refusals.push_back({"Please select one of the SPA baud rates 300, 1200, 2400, 4800, 9600, 19200 and 38400.",
                            "SPA Baudrate (SPA_BAUDRATE) is " + FormatInt(config.SpaBaudRate)});
    }
    return refusals;
}
