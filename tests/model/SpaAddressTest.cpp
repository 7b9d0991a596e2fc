#include "SpaAddress.h"

#include <gtest/gtest.h>

TEST(SpaAddress, SingleFormRoundTrips)
{
    const SpaAddress address = ParseSingle("12E345");
    EXPECT_EQ(address.Channel, 12);
    EXPECT_EQ(address.Category, 'E');
    EXPECT_EQ(address.DataNumber, 345);
    EXPECT_EQ(FormatSingle(address), "12E345");

    const SpaAddress zero = ParseSingle("0I0");
    EXPECT_EQ(zero.Channel, 0);
    EXPECT_EQ(zero.Category, 'I');
    EXPECT_EQ(zero.DataNumber, 0);
    EXPECT_EQ(FormatSingle(7, 'O', 12), "7O12");
    EXPECT_EQ(FormatSingle(ParseSingle("007V3")), "7V3");
}

TEST(SpaAddress, SingleWithoutLetterIsCategoryA)
{
    const SpaAddress address = ParseSingle("15");
    EXPECT_EQ(address.Channel, 0);
    EXPECT_EQ(address.Category, 'A');
    EXPECT_EQ(address.DataNumber, 15);
    EXPECT_EQ(FormatSingle(address), "0A15");
    EXPECT_EQ(ParseSingle("2i3").Category, 'i');
    EXPECT_EQ(ParseSingle("").DataNumber, 0);
}

TEST(SpaAddress, RangeScanTakesTheNextCharacterAsCategory)
{
    const auto range = ParseRange("1/8E10/17");
    ASSERT_TRUE(range);
    EXPECT_EQ(range->FirstChannel, 1);
    EXPECT_EQ(range->LastChannel, 8);
    EXPECT_EQ(range->Category, 'E');
    EXPECT_EQ(range->FirstDataNumber, 10);
    EXPECT_EQ(range->LastDataNumber, 17);
    EXPECT_EQ(FormatRange(*range), "1/8E10/17");

    EXPECT_FALSE(ParseRange("1/8 E10/17"));
    EXPECT_FALSE(ParseRange("5E3"));
    EXPECT_FALSE(ParseRange("1/8E10"));
    EXPECT_FALSE(ParseRange("1/8E10/"));
    EXPECT_FALSE(ParseRange(""));
    const auto digitCategory = ParseRange("1/23/4/5");
    ASSERT_TRUE(digitCategory) << "the character after the second number is the category, whatever it is";
    EXPECT_EQ(digitCategory->LastChannel, 23);
    EXPECT_EQ(digitCategory->Category, '/');
    EXPECT_EQ(digitCategory->FirstDataNumber, 4);

    // The text ends at a zero byte: no zero category that formatting would drop.
    EXPECT_FALSE(ParseRange(std::string_view("1/4\0" "1/4", 7)));
    EXPECT_EQ(FormatSingle(ParseSingle(std::string_view("1\0I5", 4))), "0A1");
}

TEST(SpaAddress, RangeScanSkipsWhiteSpaceBeforeNumbers)
{
    const auto range = ParseRange(" 3/ 3I 10/ 10");
    ASSERT_TRUE(range);
    EXPECT_EQ(range->LastChannel, 3);
    EXPECT_EQ(range->FirstDataNumber, 10);
    EXPECT_EQ(range->LastDataNumber, 10);
}

TEST(SpaAddress, SingleToRange)
{
    const auto conversion = SingleToRange("4B17");
    ASSERT_TRUE(conversion);
    EXPECT_EQ(conversion->Text, "4/4B17/17");
    EXPECT_EQ(conversion->Channel, 4);
    EXPECT_FALSE(SingleToRange("417"));
    EXPECT_EQ(SingleToRange("3I7")->Text, "3/3I7/7");
}

TEST(SpaAddress, SalvageReadsWhatAnUnreadableRangeHolds)
{
    auto salvaged = [](const char* text) { return FormatRange(SalvageRange(text)); };
    EXPECT_EQ(salvaged("1/8 E10/17"), "1/8E10/17") << "a blank before the category";
    EXPECT_EQ(salvaged("10I5"), "10/10I5/5") << "a single address";
    EXPECT_EQ(salvaged("417"), "0/0417/417") << "no letter: no category, the number is a data number";
    EXPECT_EQ(SalvageRange("417").Category, '\0');
    EXPECT_EQ(salvaged(""), "0/00/0");
    EXPECT_EQ(salvaged("I"), "0/0I0/0");
    EXPECT_EQ(SalvageRange("99999999999I1").FirstChannel, 2147483647) << "saturates";
}
