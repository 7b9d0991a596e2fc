#include "TextLines.h"

#include <gtest/gtest.h>

#include <chrono>

TEST(TextLines, ReadLineSkipsCommentsAndMarksEmptyLines)
{
    TextLineReader reader("; comment\r\nfirst\r\n\r\n;x\nlast");
    EXPECT_EQ(reader.ReadLine(), "first");
    EXPECT_EQ(reader.ReadLine(), " ");
    EXPECT_EQ(reader.ReadLine(), "last");
    EXPECT_EQ(reader.ReadLine(), "");
    EXPECT_EQ(reader.ReadLine(), "");
}

TEST(TextLines, LongLinesComeInPiecesOf1023Characters)
{
    TextLineReader reader(std::string(2050, 'a') + "\nb\n");
    std::string line;
    ASSERT_TRUE(reader.ReadAnyLine(line));
    EXPECT_EQ(line.size(), 1023u);
    ASSERT_TRUE(reader.ReadAnyLine(line));
    EXPECT_EQ(line.size(), 1023u);
    ASSERT_TRUE(reader.ReadAnyLine(line));
    EXPECT_EQ(line, "aaaa");
    ASSERT_TRUE(reader.ReadAnyLine(line));
    EXPECT_EQ(line, "b");
    EXPECT_FALSE(reader.ReadAnyLine(line));
}

TEST(TextLines, ReadAnyLineKeepsCommentsAndLoneCarriageReturns)
{
    TextLineReader reader(";first\na\rb\r\n");
    std::string line;
    ASSERT_TRUE(reader.ReadAnyLine(line));
    EXPECT_EQ(line, ";first");
    ASSERT_TRUE(reader.ReadAnyLine(line));
    EXPECT_EQ(line, "a\rb");
}

TEST(TextLines, GetField)
{
    EXPECT_EQ(GetField("a,b,c", 0, ","), "a");
    EXPECT_EQ(GetField("a,b,c", 1, ","), "b");
    EXPECT_EQ(GetField("a,b,c", 2, ","), "c");
    EXPECT_EQ(GetField("a,b,c", 3, ","), "");
    EXPECT_EQ(GetField("KEY = 5", 1, "="), " 5");
    EXPECT_EQ(GetField("KEY", 1, "="), "");
    EXPECT_EQ(GetField("a=b=c", 1, "="), "b");
    EXPECT_EQ(GetField("7", 0, ","), "7");
    EXPECT_EQ(GetField("x<>y<>z", 2, "<>"), "z");
}

// Reading a line in pieces looks no further than the piece for its end: a
// 16 MB line takes milliseconds, not the many seconds of a search to the end
// of the text for every piece.
TEST(TextLines, AVeryLongLineIsReadInLinearTime)
{
    const auto start = std::chrono::steady_clock::now();
    TextLineReader reader(std::string(16 << 20, 'x') + "\nlast\n");
    std::string_view line;
    std::size_t pieces = 0;
    while (reader.ReadAnyLine(line) && line != "last") {
        ++pieces;
    }
    EXPECT_EQ(line, "last");
    EXPECT_EQ(pieces, ((16u << 20) + 1022) / 1023);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}
