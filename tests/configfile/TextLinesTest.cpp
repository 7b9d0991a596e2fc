#include "TextLines.h"

#include <gtest/gtest.h>

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
