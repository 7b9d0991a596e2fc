#include "DeviceImage.h"
#include "DeviceTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr ImageDate kTenthOfMay2005{2005, 5, 10};

struct Built {
    int Length = 0;
    Bytes Image;
    ScriptedWindowSystem Ui;
};

// Builds into a buffer pre-filled with 0xAA, so that untouched bytes show.
Built Build(const ConfigTemplate& config, int formatVersion = kFormatVersion200, int capacity = 65536)
{
    Built built;
    built.Image.assign(static_cast<std::size_t>(capacity) + 16, 0xAA);
    built.Length = BuildDeviceImage(config, built.Image.data(), capacity, formatVersion, kTenthOfMay2005, built.Ui);
    return built;
}

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t count)
{
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                 bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
}

// The defaults' header and trailer after the two checksum bytes.
const Bytes kDefaultImage200 = [] {
    Bytes bytes{0x02, 0x00, 0x07, 0xD5, 0x05, 0x0A, 0x00, 0x00, 0x25, 0x80, 0x00, 0x32, 0x0A, 0x02, 0x7D, 0x01, 0x00, 0x00,
                0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0B, 0xB8, 0x00, 0x00, 0x52, 0x46};
    bytes.resize(bytes.size() + 16, 0x00);
    return bytes;
}();

}  // namespace

TEST(DeviceImage, DefaultConfigurationInBothLayouts)
{
    const ConfigTemplate config;
    const Built v200 = Build(config);
    ASSERT_EQ(v200.Length, 54);
    EXPECT_EQ(v200.Image[0], 0xAA) << "the checksum field is left to the download";
    EXPECT_EQ(v200.Image[1], 0xAA);
    EXPECT_EQ(Slice(v200.Image, 2, 52), kDefaultImage200);
    EXPECT_EQ(v200.Image[54], 0xAA);

    const Built v102 = Build(config, kFormatVersion102);
    ASSERT_EQ(v102.Length, 54);
    Bytes expected = kDefaultImage200;
    expected[0] = 0x01;
    expected[1] = 0x03;
    EXPECT_EQ(Slice(v102.Image, 2, 52), expected);
}

TEST(DeviceImage, PointRecords)
{
    ConfigTemplate config;
    AnalogInputPoint input;
    input.Address = "12I345";
    input.SlaveAddress = 5;
    input.Scale = 1.0f;
    input.Size = 32;
    input.Priority = true;
    input.InUse = true;
    config.AnalogInputs.Append(input);

    DigitalInputPoint digital;
    digital.Address = "1/8E10/17";
    digital.SlaveAddress = 0x0102;
    digital.DataType = "D";
    digital.BitSwitch = true;
    digital.EventChannel = 0x0304;
    digital.EventStart = 5;
    digital.EventEnd = 6;
    digital.EventValues = {7, 8, 9, 10};
    digital.InUse = false;
    config.DigitalInputs.Append(digital);

    AnalogOutputPoint output;
    output.Address = "3O4";
    output.SlaveAddress = 9;
    output.Scale = -2.5f;
    output.Size = 16;
    config.AnalogOutputs.Append(output);

    DigitalOutputPoint switchPoint;
    switchPoint.Address = "2O70000";
    switchPoint.SlaveAddress = 7;
    switchPoint.Priority = true;
    config.DigitalOutputs.Append(switchPoint);

    const Built built = Build(config);
    ASSERT_EQ(built.Length, 54 + 18 + 28 + 16 + 12);
    EXPECT_EQ(Slice(built.Image, 20, 2), (Bytes{1, 0}));
    EXPECT_EQ(Slice(built.Image, 22, 18), (Bytes{0x00, 0x05, 0x00, 0x0C, 0x49, 0x50, 0x00, 0x00, 0x01, 0x59, 0x3F,
                                                 0x80, 0x00, 0x00, 0x20, 0x01, 0x00, 0x00}));
    EXPECT_EQ(Slice(built.Image, 40, 2), (Bytes{1, 0}));
    EXPECT_EQ(Slice(built.Image, 42, 28), (Bytes{0x01, 0x02, 0x00, 0x01, 0x00, 0x08, 'E', 'N', 0, 0, 0, 10, 0, 0,
                                                 0, 17, 'D', 1, 0x03, 0x04, 5, 6, 7, 8, 9, 10, 0, 0}));
    EXPECT_EQ(Slice(built.Image, 70, 18), (Bytes{1, 0, 0x00, 0x09, 0x00, 0x03, 'O', 'N', 0, 0, 0, 4, 0xC0, 0x20,
                                                 0x00, 0x00, 16, 1}));
    EXPECT_EQ(Slice(built.Image, 88, 14), (Bytes{1, 0, 0x00, 0x07, 0x00, 0x02, 'O', 'P', 0x00, 0x01, 0x11, 0x70, 0, 1}));

    // The 1.02 layout drops the last channel, last data number and event channel.
    const Built old = Build(config, kFormatVersion102);
    ASSERT_EQ(old.Length, 54 + 18 + 20 + 16 + 12);
    EXPECT_EQ(Slice(old.Image, 42, 20),
              (Bytes{0x01, 0x02, 0x00, 0x01, 'E', 'N', 0, 0, 0, 10, 'D', 1, 5, 6, 7, 8, 9, 10, 0, 0}));
}

TEST(DeviceImage, IndirectMessagesAndOnlinePollCommand)
{
    ConfigTemplate config;
    for (int i = 0; i < 3; ++i) {
        IndirectSpaMessage message;
        message.Address = "1V" + std::to_string(200 + i);
        message.SlaveAddress = 4;
        message.StaticData = -2;
        message.Scale = 1.0f;
        message.Write = i == 1;
        message.InUse = i != 2;
        config.IndirectMessages.Append(message);
    }
    config.OnlinePollCommand = "RF";
    const Built built = Build(config);
    ASSERT_EQ(built.Length, 54 + 3 * 22);
    EXPECT_EQ(Slice(built.Image, 34, 2), (Bytes{3, 0}));
    EXPECT_EQ(Slice(built.Image, 36, 22), (Bytes{0x00, 0x04, 0x00, 0x01, 'V', 1, 0, 0, 0, 200, 0xFF, 0xFF, 0xFF, 0xFE,
                                                 0x3F, 0x80, 0x00, 0x00, 'R', 1, 0, 0}));
    EXPECT_EQ(built.Image[36 + 22 + 5], 2);
    EXPECT_EQ(built.Image[36 + 22 + 18], 'W');
    EXPECT_EQ(built.Image[36 + 44 + 5], 3);
    EXPECT_EQ(built.Image[36 + 44 + 19], 0);
    EXPECT_EQ(Slice(built.Image, 102, 18), (Bytes{'R', 'F', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

    config.OnlinePollCommand = "ABCDEFGHIJKLMNOPQ";  // 17: fills the field
    EXPECT_EQ(Slice(Build(config).Image, 102, 18),
              (Bytes{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P', 'Q', 0}));
    config.OnlinePollCommand = "ABCDEFGHIJKLMNOPQRST";  // longer: cut to 17
    const Built cut = Build(config);
    EXPECT_EQ(cut.Length, 54 + 3 * 22);
    EXPECT_EQ(cut.Image[102 + 16], 'Q');
    EXPECT_EQ(cut.Image[102 + 17], 0);
}

TEST(DeviceImage, AddressesThatCannotBeTakenApart)
{
    ConfigTemplate config;
    DigitalInputPoint digital;
    digital.Address = "1E10";  // single form where a range is needed
    config.DigitalInputs.Append(digital);
    Built built = Build(config);
    EXPECT_EQ(built.Length, -1);
    EXPECT_EQ(built.Ui.Messages, (std::vector{ErrorMessage("Error", "Error in Ch/Cat/Dno")}));

    ConfigTemplate indirect;
    IndirectSpaMessage message;
    message.Address = "12345";
    indirect.IndirectMessages.Append(message);
    built = Build(indirect);
    EXPECT_EQ(built.Length, -1);
    EXPECT_TRUE(built.Ui.Messages.empty());
}

TEST(DeviceImage, NeverWritesBeyondTheCapacity)
{
    ConfigTemplate config;
    for (int i = 0; i < 5; ++i) {
        config.AnalogInputs.Append(AnalogInputPoint{});
    }
    const int length = 54 + 5 * 18;
    EXPECT_EQ(Build(config, kFormatVersion200, length).Length, length);
    for (const int capacity : {length - 1, 50, 30, 10}) {
        const Built built = Build(config, kFormatVersion200, capacity);
        EXPECT_EQ(built.Length, -1) << capacity;
        for (std::size_t i = static_cast<std::size_t>(capacity); i < built.Image.size(); ++i) {
            ASSERT_EQ(built.Image[i], 0xAA) << "byte " << i << " beyond capacity " << capacity;
        }
    }

    // Every list filled to its capacity still fits the download buffer.
    ConfigTemplate full;
    while (!full.DigitalInputs.Full()) {
        DigitalInputPoint point;
        point.Address = "1/1E1/1";
        full.DigitalInputs.Append(point);
        full.AnalogInputs.Append(AnalogInputPoint{});
        full.AnalogOutputs.Append(AnalogOutputPoint{});
        full.DigitalOutputs.Append(DigitalOutputPoint{});
        full.IndirectMessages.Append(IndirectSpaMessage{});
    }
    EXPECT_EQ(Build(full).Length, 54 + 256 * (18 + 28 + 16 + 12 + 22));
}
