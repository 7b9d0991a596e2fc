#include "AreaLayout.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

AnalogInputPoint Analog(int size)
{
    AnalogInputPoint point;
    point.Size = size;
    return point;
}

DigitalInputPoint DigitalIn(const std::string& type)
{
    DigitalInputPoint point;
    point.DataType = type;
    return point;
}

}  // namespace

TEST(AreaLayout, InputsFollowTheStatusBlockAndSizesFollowTheTable)
{
    auto config = std::make_unique<ConfigTemplate>();
    config->AnalogInputs.Append(Analog(32));
    config->AnalogInputs.Append(Analog(16));
    config->DigitalInputs.Append(DigitalIn("S"));
    config->DigitalInputs.Append(DigitalIn("P"));
    const AreaLayout layout = ComputeAreaLayout(*config);
    EXPECT_EQ(layout.AnalogInputs[0].Offset, 4);
    EXPECT_EQ(layout.AnalogInputs[0].DataSize, 4);
    EXPECT_EQ(layout.AnalogInputs[1].Offset, 8);
    EXPECT_EQ(layout.AnalogInputs[1].DataSize, 2);
    EXPECT_EQ(layout.DigitalInputs[0].Offset, 10);
    EXPECT_EQ(layout.DigitalInputs[0].DataSize, 1);
    EXPECT_EQ(layout.DigitalInputs[1].Offset, 11);
    EXPECT_EQ(layout.DigitalInputs[1].DataSize, 2);
    EXPECT_EQ(layout.InputArea, 13);
    EXPECT_EQ(layout.OutputArea, 0);
}

TEST(AreaLayout, EmptyAreasAndOutputsStartingAtZero)
{
    auto config = std::make_unique<ConfigTemplate>();
    EXPECT_EQ(ComputeAreaLayout(*config).InputArea, 4);
    EXPECT_EQ(ComputeAreaLayout(*config).OutputArea, 0);

    config->AnalogInputs.Append(Analog(32));
    AnalogOutputPoint output;
    output.Size = 32;
    config->AnalogOutputs.Append(output);
    DigitalOutputPoint digital;
    digital.DataType = "B";
    config->DigitalOutputs.Append(digital);
    const AreaLayout layout = ComputeAreaLayout(*config);
    EXPECT_EQ(layout.AnalogOutputs[0].Offset, 0);
    EXPECT_EQ(layout.DigitalOutputs[0].Offset, 4);
    EXPECT_EQ(layout.OutputArea, 5);
}

TEST(AreaLayout, InUsePriorityAndSlaveDoNotChangeTheLayout)
{
    auto config = std::make_unique<ConfigTemplate>();
    AnalogInputPoint unused = Analog(16);
    unused.InUse = false;
    unused.SlaveAddress = 3;
    config->AnalogInputs.Append(unused);
    config->AnalogInputs.Append(Analog(16));
    EXPECT_EQ(ComputeAreaLayout(*config).AnalogInputs[1].Offset, 6);
}

TEST(AreaLayout, PointOutsideTheTableTakesThePreviousDataSizeAcrossAreas)
{
    auto config = std::make_unique<ConfigTemplate>();
    config->AnalogInputs.Append(Analog(7));  // first of the pass: 0
    config->AnalogInputs.Append(Analog(32));
    config->DigitalInputs.Append(DigitalIn("X"));  // carries 4
    AnalogOutputPoint output;
    output.Size = 12;  // carried over from the input pass: 4
    config->AnalogOutputs.Append(output);
    DigitalOutputPoint digital;
    digital.DataType = "";  // still 4
    config->DigitalOutputs.Append(digital);
    const AreaLayout layout = ComputeAreaLayout(*config);
    EXPECT_EQ(layout.AnalogInputs[0].DataSize, 0);
    EXPECT_EQ(layout.AnalogInputs[1].Offset, 4);
    EXPECT_EQ(layout.DigitalInputs[0].Offset, 8);
    EXPECT_EQ(layout.DigitalInputs[0].DataSize, 4);
    EXPECT_EQ(layout.InputArea, 12);
    EXPECT_EQ(layout.AnalogOutputs[0].DataSize, 4);
    EXPECT_EQ(layout.DigitalOutputs[0].Offset, 4);
    EXPECT_EQ(layout.OutputArea, 8);
}

TEST(AreaLayout, HundredTwentyOneAnalogInputsLayOutTo246Bytes)
{
    auto config = std::make_unique<ConfigTemplate>();
    for (int i = 0; i < 121; ++i) {
        config->AnalogInputs.Append(Analog(16));
    }
    EXPECT_EQ(ComputeAreaLayout(*config).InputArea, 246);
}
