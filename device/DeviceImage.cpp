#include "DeviceImage.h"

#include "LocalTime.h"

#include "DownloadRules.h"
#include "SpaAddress.h"

#include <algorithm>
#include <bit>
#include <ctime>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kOnlinePollCommandField = 17;

// Appends big-endian fields to the buffer and notices when one would go
// beyond the capacity; nothing is written from then on.
class ImageWriter {
public:
    ImageWriter(std::uint8_t* buffer, int capacity) : buffer_(buffer), capacity_(capacity) {}

    void Byte(unsigned value) { Bytes({static_cast<std::uint8_t>(value)}); }
    void Word(unsigned value) { Bytes({static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)}); }
    void Long(std::uint32_t value)
    {
        Bytes({static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
               static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)});
    }
    void Real(float value) { Long(std::bit_cast<std::uint32_t>(value)); }
    void Flag(bool value) { Byte(value ? 1 : 0); }
    void Letter(char value) { Byte(static_cast<unsigned char>(value)); }
    void PriorityLetter(bool priority) { Letter(priority ? 'P' : 'N'); }
    void FirstLetterOf(const std::string& text) { Letter(text.empty() ? '\0' : text[0]); }
    void Zeros(int count)
    {
        for (int i = 0; i < count; ++i) {
            Byte(0);
        }
    }
    // A list count and its zero byte.
    void Count(int count)
    {
        Byte(static_cast<unsigned>(count));
        Byte(0);
    }
    void Skip(int count)
    {
        if (!Fits(count)) {
            return;
        }
        length_ += count;
    }

    bool Overflowed() const { return overflowed_; }
    int Length() const { return length_; }

private:
    bool Fits(int count)
    {
        if (overflowed_ || length_ + count > capacity_) {
            overflowed_ = true;
            return false;
        }
        return true;
    }
    void Bytes(std::initializer_list<std::uint8_t> bytes)
    {
        if (!Fits(static_cast<int>(bytes.size()))) {
            return;
        }
        std::copy(bytes.begin(), bytes.end(), buffer_ + length_);
        length_ += static_cast<int>(bytes.size());
    }

    std::uint8_t* buffer_;
    int capacity_;
    int length_ = 0;
    bool overflowed_ = false;
};

unsigned Unsigned(int value) { return static_cast<unsigned>(value); }

void AnalogRecord(ImageWriter& out, int slaveAddress, const std::string& address, bool priority, float scale,
                  int size, bool inUse)
{
    const SpaAddress parts = ParseSingle(address);
    out.Word(Unsigned(slaveAddress));
    out.Word(Unsigned(parts.Channel));
    out.Letter(parts.Category);
    out.PriorityLetter(priority);
    out.Long(static_cast<std::uint32_t>(parts.DataNumber));
    out.Real(scale);
    out.Byte(Unsigned(size));
    out.Flag(inUse);
}

void DigitalInputRecord(ImageWriter& out, const DigitalInputPoint& point, const SpaAddressRange& range,
                        int formatVersion)
{
    out.Word(Unsigned(point.SlaveAddress));
    out.Word(Unsigned(range.FirstChannel));
    if (formatVersion == kFormatVersion200) {
        out.Word(Unsigned(range.LastChannel));
    }
    out.Letter(range.Category);
    out.PriorityLetter(point.Priority);
    out.Long(static_cast<std::uint32_t>(range.FirstDataNumber));
    if (formatVersion == kFormatVersion200) {
        out.Long(static_cast<std::uint32_t>(range.LastDataNumber));
    }
    out.FirstLetterOf(point.DataType);
    out.Flag(point.BitSwitch);
    if (formatVersion == kFormatVersion200) {
        out.Word(Unsigned(point.EventChannel));
    }
    out.Byte(Unsigned(point.EventStart));
    out.Byte(Unsigned(point.EventEnd));
    for (int value : point.EventValues) {
        out.Byte(Unsigned(value));
    }
    out.Flag(point.InUse);
    out.Byte(0);
}

void DigitalOutputRecord(ImageWriter& out, const DigitalOutputPoint& point)
{
    const SpaAddress parts = ParseSingle(point.Address);
    out.Word(Unsigned(point.SlaveAddress));
    out.Word(Unsigned(parts.Channel));
    out.Letter(parts.Category);
    out.PriorityLetter(point.Priority);
    out.Long(static_cast<std::uint32_t>(parts.DataNumber));
    out.FirstLetterOf(point.DataType);
    out.Flag(point.InUse);
}

void IndirectRecord(ImageWriter& out, const IndirectSpaMessage& message, int index)
{
    const SpaAddress parts = ParseSingle(message.Address);
    out.Word(Unsigned(message.SlaveAddress));
    out.Word(Unsigned(parts.Channel));
    out.Letter(parts.Category);
    out.Byte(Unsigned(index));
    out.Long(static_cast<std::uint32_t>(parts.DataNumber));
    out.Long(static_cast<std::uint32_t>(message.StaticData));
    out.Real(message.Scale);
    out.Letter(message.Write ? 'W' : 'R');
    out.Flag(message.InUse);
    out.Zeros(2);
}

void Header(ImageWriter& out, const ConfigTemplate& config, int formatVersion, const ImageDate& date)
{
    out.Skip(2);
    if (formatVersion == kFormatVersion200) {
        out.Byte(0x02);
        out.Byte(0x00);
    } else {
        out.Byte(0x01);
        out.Byte(0x03);
    }
    out.Word(Unsigned(date.Year));
    out.Byte(Unsigned(date.Month));
    out.Byte(Unsigned(date.Day));
    out.Zeros(2);
    out.Word(Unsigned(config.SpaBaudRate));
    out.Word(Unsigned(config.SpaReplyTimeout));
    out.Byte(Unsigned(config.SpaIdleTime));
    out.Byte(Unsigned(config.SpaRetryCount));
    out.Byte(Unsigned(config.ProfibusDefaultAddress));
    out.Byte(Unsigned(config.ProfibusDecimalPlace));
    out.Zeros(2);
}

}  // namespace

ImageDate TodaysDate()
{
    const std::time_t now = std::time(nullptr);
    const std::tm local = LocalTimeOf(now).value_or(std::tm{});
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

namespace {

// The builder; `ui` shows the unreadable digital input address, unless it is null.
int BuildImage(const ConfigTemplate& config, std::uint8_t* buffer, int capacity, int formatVersion,
               const ImageDate& date, WindowSystem* ui)
{
    ImageWriter out(buffer, capacity);
    Header(out, config, formatVersion, date);

    out.Count(config.AnalogInputs.Count());
    for (const AnalogInputPoint& point : config.AnalogInputs) {
        AnalogRecord(out, point.SlaveAddress, point.Address, point.Priority, point.Scale, point.Size, point.InUse);
        out.Zeros(2);
        if (out.Overflowed()) {
            return -1;
        }
    }

    out.Count(config.DigitalInputs.Count());
    for (const DigitalInputPoint& point : config.DigitalInputs) {
        const auto range = ParseRange(point.Address);
        if (!range) {
            if (ui != nullptr) {
                ui->ErrorBox("Error", "Error in Ch/Cat/Dno");
            }
            return -1;
        }
        DigitalInputRecord(out, point, *range, formatVersion);
        if (out.Overflowed()) {
            return -1;
        }
    }

    out.Count(config.AnalogOutputs.Count());
    for (const AnalogOutputPoint& point : config.AnalogOutputs) {
        AnalogRecord(out, point.SlaveAddress, point.Address, point.Priority, point.Scale, point.Size, point.InUse);
        if (out.Overflowed()) {
            return -1;
        }
    }

    out.Count(config.DigitalOutputs.Count());
    for (const DigitalOutputPoint& point : config.DigitalOutputs) {
        DigitalOutputRecord(out, point);
        if (out.Overflowed()) {
            return -1;
        }
    }

    out.Flag(config.TimeSync);
    out.Flag(config.DateSync);
    out.Flag(config.GlobalEventPoll);
    out.Byte(0);
    out.Word(Unsigned(config.GlobalEventPollPeriod));

    out.Count(config.IndirectMessages.Count());
    for (int i = 0; i < config.IndirectMessages.Count(); ++i) {
        const IndirectSpaMessage& message = config.IndirectMessages[i];
        if (!IndirectAddressReadable(message.Address)) {
            return -1;
        }
        IndirectRecord(out, message, i + 1);
        if (out.Overflowed()) {
            return -1;
        }
    }

    // The command's characters, cut to 17, then zero bytes up to 17.
    const std::string_view command(config.OnlinePollCommand.c_str());
    for (std::size_t i = 0; i < kOnlinePollCommandField; ++i) {
        out.Letter(i < command.size() ? command[i] : '\0');
    }
    out.Byte(0);
    return out.Overflowed() ? -1 : out.Length();
}

}  // namespace

int BuildDeviceImage(const ConfigTemplate& config, std::uint8_t* buffer, int capacity, int formatVersion,
                     const ImageDate& date, WindowSystem& ui)
{
    return BuildImage(config, buffer, capacity, formatVersion, date, &ui);
}

int DeviceImageLength(const ConfigTemplate& config, int formatVersion)
{
    std::vector<std::uint8_t> buffer(kDeviceImageBufferSize);
    return BuildImage(config, buffer.data(), kDeviceImageBufferSize, formatVersion, ImageDate{}, nullptr);
}
