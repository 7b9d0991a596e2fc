#include "FieldText.h"

#include <gtest/gtest.h>

#include <clocale>

TEST(FieldTextTest, IntegerFieldTakesASignedWholeNumberAndNothingElse)
{
    EXPECT_EQ(ParseIntegerField("999999"), 999999);
    EXPECT_EQ(ParseIntegerField("  -12 "), -12);
    EXPECT_EQ(ParseIntegerField("+7"), 7);
    EXPECT_EQ(ParseIntegerField("2147483647"), 2147483647);
    for (const char* text : {"", " ", "12a", "1.5", "1 2", "+-3", "-", "0x10", "2147483648"}) {
        EXPECT_FALSE(ParseIntegerField(text)) << text;
    }
}

TEST(FieldTextTest, RealFieldUsesThePointWhateverTheLocaleAndRejectsNonFiniteValues)
{
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(ParseRealField("2.5"), 2.5f);
    EXPECT_EQ(ParseRealField(" -.5 "), -0.5f);
    EXPECT_EQ(ParseRealField("1e3"), 1000.0f);
    EXPECT_EQ(ParseRealField("+3."), 3.0f);
    for (const char* text : {"", "0,5", "inf", "nan", "1e39", "1e", "abc", "1.2.3"}) {
        EXPECT_FALSE(ParseRealField(text)) << text;
    }
    EXPECT_EQ(FormatRealField(0.5f), "0.5");
    std::setlocale(LC_NUMERIC, "C");
}

TEST(FieldTextTest, RealTextReadsBackAsTheSameValue)
{
    for (const float value : {1.0f, 0.1f, 123.456f, -2.5e-7f, 1.2345678f, 3.4e38f, 3.4028234e38f, -3.4028234e38f}) {
        const std::string text = FormatRealField(value);
        EXPECT_EQ(ParseRealField(text), value) << text;
    }
    EXPECT_EQ(FormatRealField(1.0f), "1");
    EXPECT_EQ(FormatRealField(0.1f), "0.1");
}
