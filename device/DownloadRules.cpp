#include "DownloadRules.h"

#include "DeviceImage.h"
#include "NumberText.h"
#include "SpaAddress.h"

#include <algorithm>

namespace {

int AnalogBytes(int size) { return size == 32 ? 4 : 2; }

// The first point at which the running byte count of an area passes its
// limit, with the area's whole count: analog points first, then digital
// points at one byte each, whatever their datatype.
struct AreaCount {
    int Bytes = 0;
    std::optional<PointReference> FirstBeyond;
};

template <typename AnalogList, typename DigitalList>
AreaCount CountArea(const ConfigTemplate& config, const AnalogList& analog, PointSection analogSection,
                    const DigitalList& digital, PointSection digitalSection, int limit)
{
    AreaCount count;
    const auto add = [&](int bytes, PointSection section, int index) {
        count.Bytes += bytes;
        if (count.Bytes > limit && !count.FirstBeyond) {
            count.FirstBeyond = ReferenceTo(config, section, index);
        }
    };
    for (int i = 0; i < analog.Count(); ++i) {
        add(AnalogBytes(analog[i].Size), analogSection, i);
    }
    for (int i = 0; i < digital.Count(); ++i) {
        add(1, digitalSection, i);
    }
    return count;
}

std::optional<DownloadRefusal> AreaRefusal(const AreaCount& count, int limit, const char* area, const char* message)
{
    if (!count.FirstBeyond) {
        return std::nullopt;
    }
    return DownloadRefusal{message,
                           FormatInt(count.Bytes) + " " + area + " bytes; the first point beyond " + FormatInt(limit) +
                               ": " + DescribePoint(*count.FirstBeyond),
                           count.FirstBeyond};
}

}  // namespace

std::string DownloadRefusal::Text() const { return Detail.empty() ? Message : Message + "\n" + Detail; }

std::vector<DownloadRefusal> LimitRefusals(const ConfigTemplate& config)
{
    std::vector<DownloadRefusal> refusals;
    const auto input = CountArea(config, config.AnalogInputs, PointSection::AnalogInput, config.DigitalInputs,
                                 PointSection::DigitalInput, kMaxDownloadInputBytes);
    if (auto refusal = AreaRefusal(input, kMaxDownloadInputBytes, "input",
                                   "Unable to download - configuration uses more than 242 bytes for input")) {
        refusals.push_back(std::move(*refusal));
    }
    const auto output = CountArea(config, config.AnalogOutputs, PointSection::AnalogOutput, config.DigitalOutputs,
                                  PointSection::DigitalOutput, kMaxDownloadOutputBytes);
    if (auto refusal = AreaRefusal(output, kMaxDownloadOutputBytes, "output",
                                   "Unable to download - configuration uses more than 244 bytes for ouput")) {
        refusals.push_back(std::move(*refusal));
    }
    const int messages = config.IndirectMessages.Count();
    if (messages > kMaxDownloadIndirectMessages) {
        const PointReference first = ReferenceTo(config, PointSection::IndirectMessage, kMaxDownloadIndirectMessages);
        refusals.push_back(
            {"Unable to download - more than 127 indirect SPA messages",
             FormatInt(messages) + " indirect SPA messages; the first beyond 127: " + DescribePoint(first), first});
    }
    const std::string& command = config.OnlinePollCommand;
    if (command.size() > kMaxOnlinePollCommandLength) {
        refusals.push_back({"Unable to download - Online Poll Command is more than 17 characters",
                            "Online poll command \"" + command + "\" has " +
                                FormatInt(static_cast<long long>(command.size())) + " characters",
                            std::nullopt});
    }
    return refusals;
}

bool IndirectAddressReadable(const std::string& address)
{
    return std::any_of(address.begin(), address.end(), IsAsciiLetter);
}

std::vector<DownloadRefusal> AddressRefusals(const ConfigTemplate& config)
{
    std::vector<DownloadRefusal> refusals;
    const auto refuse = [&](PointSection section, int index, const char* why) {
        const PointReference point = ReferenceTo(config, section, index);
        refusals.push_back({kIncorrectConfigurationMessage, DescribePoint(point) + ": " + why, point});
    };
    for (int i = 0; i < config.DigitalInputs.Count(); ++i) {
        if (!ParseRange(config.DigitalInputs[i].Address)) {
            refuse(PointSection::DigitalInput, i, "the address is not of the form FCh/LCh/Cat/FDno/LDno");
        }
    }
    for (int i = 0; i < config.IndirectMessages.Count(); ++i) {
        if (!IndirectAddressReadable(config.IndirectMessages[i].Address)) {
            refuse(PointSection::IndirectMessage, i, "the address has no category letter");
        }
    }
    return refusals;
}

std::optional<DownloadRefusal> SizeRefusal(int imageLength, std::size_t textLength)
{
    // The block holds the image, the text's 2-byte length and the text.
    const long long room = static_cast<long long>(kDeviceImageBufferSize) - imageLength - 2;
    if (static_cast<long long>(textLength) <= room) {
        return std::nullopt;
    }
    return DownloadRefusal{kConfigurationTooLargeMessage,
                           "The configuration text has " + FormatInt(static_cast<long long>(textLength)) + " bytes; " +
                               FormatInt(room) + " fit behind the device image",
                           std::nullopt};
}

std::optional<DownloadRefusal> NoSlavesRefusal(const SlaveAddressTable& slaves)
{
    if (SlaveCount(slaves) > 0) {
        return std::nullopt;
    }
    return DownloadRefusal{kNoSlavesNotice, "", std::nullopt};
}
