#include "PointList.h"
#include "SampleConfigurations.h"

#include <gtest/gtest.h>

namespace {


std::vector<std::string> Texts(const PointListContents& contents)
{
    std::vector<std::string> texts;
    for (const PointListLine& line : contents.Lines) {
        texts.push_back(line.Text);
    }
    return texts;
}

TEST(PointList, ShowsEveryLineOfTheSelectedSlaveWithOffsetsOverAllSlaves)
{
    const PointListContents contents = BuildPointList(SampleConfiguration(), 5, false);
    EXPECT_EQ(Texts(contents), SampleSlaveFiveLines());
    // Inputs: 4 + analog 4, 2, 4, 4 + digital 1, 2, 2, 2 (a size outside the
    // table takes that of the point before it); outputs: 2, 4, 1, 1.
    EXPECT_EQ(contents.InputBytes, 25);
    EXPECT_EQ(contents.OutputBytes, 8);
}

TEST(PointList, NumbersCarryKindAndIndexInTheirList)
{
    const PointListContents contents = BuildPointList(SampleConfiguration(), 5, false);
    std::vector<std::pair<LineKind, int>> numbers;
    for (const PointListLine& line : contents.Lines) {
        numbers.emplace_back(KindOfLineNumber(line.Number), IndexOfLineNumber(line.Number));
    }
    using K = LineKind;
    const std::vector<std::pair<LineKind, int>> expected{
        {K::Heading, 0},        {K::Heading, 0},         {K::AnalogInput, 1},   {K::AnalogInput, 2},
        {K::AnalogInput, 3},    {K::Heading, 0},         {K::Heading, 0},       {K::DigitalInput, 0},
        {K::DigitalInput, 2},   {K::DigitalInput, 3},    {K::Heading, 0},       {K::Heading, 0},
        {K::AnalogOutput, 0},   {K::Heading, 0},         {K::Heading, 0},       {K::DigitalOutput, 0},
        {K::DigitalOutput, 1},  {K::Heading, 0},         {K::Heading, 0},       {K::IndirectMessage, 0},
        {K::IndirectMessage, 2},
    };
    EXPECT_EQ(numbers, expected);
    EXPECT_EQ(contents.Lines[2].Number, (1u << 16) | 1u);
}

TEST(PointList, OtherSlaveShowsItsOwnPointsAtTheirRealOffsets)
{
    const PointListContents contents = BuildPointList(SampleConfiguration(), 1, false);
    ASSERT_EQ(contents.Lines.size(), 14u);
    EXPECT_EQ(contents.Lines[2].Text.substr(0, 22), "004 Slave one current ");
    EXPECT_EQ(contents.Lines[5].Text.substr(0, 10), "019 Other ");
    EXPECT_EQ(contents.Lines[8].Text.substr(0, 6), "002 x ");
    EXPECT_EQ(contents.Lines[13].Text.substr(0, 13), "    Elsewhere");
    EXPECT_EQ(contents.InputBytes, 25);
}

TEST(PointList, NoSlavesGivesAnEmptyListAndZeroCounts)
{
    const PointListContents contents = BuildPointList(SampleConfiguration(), -1, true);
    EXPECT_TRUE(contents.Lines.empty());
    EXPECT_EQ(contents.InputBytes, 0);
    EXPECT_EQ(contents.OutputBytes, 0);
}

TEST(PointList, SlaveWithoutPointsShowsTheBannersAndTheStatusBytes)
{
    const PointListContents contents = BuildPointList(ConfigTemplate(), 3, false);
    EXPECT_EQ(contents.Lines.size(), 10u);
    EXPECT_EQ(contents.InputBytes, 4);
    EXPECT_EQ(contents.OutputBytes, 0);
}

TEST(PointList, ChangingADigitalInputFromSToPShiftsTheLaterOffsetsByOne)
{
    ConfigTemplate config = SampleConfiguration();
    config.DigitalInputs[0].DataType = "P";
    const PointListContents contents = BuildPointList(config, 5, false);
    EXPECT_EQ(contents.InputBytes, 26);
    EXPECT_EQ(contents.Lines[7].Text.substr(0, 4), "018 ");
    EXPECT_EQ(contents.Lines[8].Text.substr(0, 4), "022 ");
    EXPECT_EQ(contents.Lines[9].Text.substr(0, 4), "024 ");
}

}  // namespace
