#pragma once

#include "ConfigTemplate.h"

#include <string>
#include <vector>

// The values the main form accepts for the numeric settings, in the order
// the form checks them, and the baud rates it offers. The form refuses
// anything else, and so does every other way to the gateway (check,
// halvex-cli download), so that a file from elsewhere is held to the same
// ranges as one made in the window.
struct SettingRange {
    const char* Key;    // the key in the configuration file
    const char* Label;  // the form's label, without its colon
    int Minimum;
    int Maximum;
    int ConfigTemplate::*Value;
};

inline constexpr SettingRange kReplyTimeoutRange{"SPA_REPLYTIMEOUT", "SPA Reply Timeout", 5, 500,
                                                 &ConfigTemplate::SpaReplyTimeout};
inline constexpr SettingRange kDecimalPlaceRange{"PROFI_DECIMAL_PLACE", "Decimal Place", 0, 6,
                                                 &ConfigTemplate::ProfibusDecimalPlace};
inline constexpr SettingRange kProfibusAddressRange{"PROFI_DFLTADDR", "Default Profibus Adr.", 1, 126,
                                                    &ConfigTemplate::ProfibusDefaultAddress};
inline constexpr SettingRange kIdleTimeRange{"SPA_IDLETIME", "SPA Idle Time", 5, 10, &ConfigTemplate::SpaIdleTime};
inline constexpr SettingRange kRetryCountRange{"SPA_COM_RETRY_COUNT", "SPA Com Retrycount", 1, 32,
                                               &ConfigTemplate::SpaRetryCount};
inline constexpr SettingRange kGlobalPollIntervalRange{"PERIOD", "Global Poll Interval", 100, 10000,
                                                       &ConfigTemplate::GlobalEventPollPeriod};

inline constexpr const SettingRange* kSettingRanges[] = {&kReplyTimeoutRange, &kDecimalPlaceRange,
                                                         &kProfibusAddressRange, &kIdleTimeRange,
                                                         &kRetryCountRange, &kGlobalPollIntervalRange};

// The form's baud list, index 0..6.
inline constexpr int kSpaBaudRates[] = {300, 1200, 2400, 4800, 9600, 19200, 38400};

// The form's message for a value outside the range:
// "Please enter an integer between 5 and 10."
std::string SettingRangeMessage(const SettingRange& range);

// One setting of the configuration that the form would not accept: the
// form's message and a line naming the setting and its value.
struct SettingRefusal {
    std::string Message;
    std::string Detail;

    // The message, and the detail on a second line.
    std::string Text() const { return Message + "\n" + Detail; }
};

// Every setting outside its range, in the form's order, then a baud rate the
// form does not offer.
std::vector<SettingRefusal> SettingRefusals(const ConfigTemplate& config);
