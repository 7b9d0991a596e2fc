#include "NumberText.h"
#include "TextCut.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>

TEST(NumberText, ReadIntFollowsTheAtoiRule)
{
    EXPECT_EQ(ReadInt("42"), 42);
    EXPECT_EQ(ReadInt("  -17xyz"), -17);
    EXPECT_EQ(ReadInt("+8"), 8);
    EXPECT_EQ(ReadInt("abc"), 0);
    EXPECT_EQ(ReadInt(""), 0);
    EXPECT_EQ(ReadInt("- 5"), 0);
    EXPECT_EQ(ReadInt("007"), 7);
}

TEST(NumberText, ReadIntSaturatesBeyondThirtyTwoBits)
{
    EXPECT_EQ(ReadInt("2147483647"), INT_MAX);
    EXPECT_EQ(ReadInt("2147483648"), INT_MAX);
    EXPECT_EQ(ReadInt("99999999999999999999999"), INT_MAX);
    EXPECT_EQ(ReadInt("-2147483648"), INT_MIN);
    EXPECT_EQ(ReadInt("-2147483649"), INT_MIN);
}

TEST(NumberText, ScanIntReportsWhatItUsed)
{
    const IntScan scan = ScanInt(" -12/3");
    EXPECT_TRUE(scan.Found);
    EXPECT_EQ(scan.Value, -12);
    EXPECT_EQ(scan.Used, 4u);
    EXPECT_FALSE(ScanInt("/3").Found);
}

TEST(NumberText, RealsAreReadAndWrittenWithAPointUnderACommaLocale)
{
    const char* previous = std::setlocale(LC_ALL, CommaLocaleName());
    ASSERT_NE(previous, nullptr) << "the set-up step generates de_DE.UTF-8";
    EXPECT_DOUBLE_EQ(ReadReal("2.5"), 2.5);
    EXPECT_DOUBLE_EQ(ReadReal("  -0.125e1 rest"), -1.25);
    EXPECT_DOUBLE_EQ(ReadReal("x1"), 0.0);
    EXPECT_DOUBLE_EQ(ReadReal(""), 0.0);
    EXPECT_EQ(FormatFixed(1.0f), "1.000000");
    EXPECT_EQ(FormatFixed(0.1f), "0.100000");
    EXPECT_EQ(FormatFixed(-2.5, 2), "-2.50");
    std::setlocale(LC_ALL, "C");
}

TEST(TextCut, CutsAndTrims)
{
    EXPECT_EQ(Trim("  a b \t\r\n"), "a b");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(CutBeforeAny("12 ;x", " ;"), "12");
    EXPECT_EQ(CutBeforeAny("12", " ;"), "12");
    EXPECT_EQ(AfterFirst("a=b=c", "="), "b=c");
    EXPECT_EQ(AfterFirst("abc", "="), "");
    EXPECT_EQ(ReplaceAll("a;b;;c", ";", "<>"), "a<>b<><>c");
    EXPECT_EQ(CutTo("abcdef", 3), "abc");
    EXPECT_EQ(PadTo("ab", 4), "ab  ");
    EXPECT_EQ(PadLeft("7", 3), "  7");
}
