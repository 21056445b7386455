// String helpers: trimming, file-name cleaning, cutting, finding and replacing, empty patterns.
#include "foundation/StringUtils.h"

#include <gtest/gtest.h>

TEST(StringUtils, TrimRemovesWhiteThenControlCharacters)
{
    EXPECT_EQ(Trim_Str(QStringLiteral("  \n\t abc d \r\n")), QStringLiteral("abc d"));
    EXPECT_EQ(Trim_Str(QStringLiteral(" \n \u2028 ")), QStringLiteral(""));
    EXPECT_FALSE(Trim_Str(QStringLiteral("  ")).isNull());
    // Two passes in order: white space first, then control characters, so white space that sat
    // inside the control characters stays.
    EXPECT_EQ(Trim_Str(QStringLiteral("\x01 abc \x02")), QStringLiteral(" abc "));
    EXPECT_EQ(Trim_Str(QStringLiteral(" \x01"
                                      "abc\u200b ")),
              QStringLiteral("abc"));
    EXPECT_TRUE(Trim_Str(QString()).isNull());
    EXPECT_EQ(Replace_Char_For_valid(QStringLiteral(" x ")), QStringLiteral("x"));
}

TEST(StringUtils, ReservedCharactersOnlyAtTheEnds)
{
    EXPECT_EQ(Remove_Reserve_Char_In_File_Name(QStringLiteral("*my/list?")), QStringLiteral("my/list"));
    EXPECT_EQ(Remove_Reserve_Char_In_File_Name(QStringLiteral("<\"|%names\\>")), QStringLiteral("names"));
    EXPECT_EQ(Remove_Reserve_Char_In_File_Name(QStringLiteral("/ names /")), QStringLiteral("names"));
    EXPECT_EQ(Remove_Reserve_Char_In_File_Name(QStringLiteral("???")), QStringLiteral(""));
}

TEST(StringUtils, CuttingWithOutOfRangeCounts)
{
    const QString s = QStringLiteral("abcdef");
    EXPECT_EQ(Left_Str_substringToIndex(s, -1), QStringLiteral(""));
    EXPECT_EQ(Left_Str_substringToIndex(s, 2), QStringLiteral("ab"));
    EXPECT_EQ(Left_Str_substringToIndex(s, 99), s);
    EXPECT_EQ(Right_Str_substringFromIndex(s, 2), QStringLiteral("ef"));
    EXPECT_EQ(Right_Str_substringFromIndex(s, -5), QStringLiteral(""));
    EXPECT_EQ(Right_Str_substringFromIndex(s, 6), s);
    const QString t = QStringLiteral("abc");
    EXPECT_EQ(Read_Str_FromIndex(t, 1), QStringLiteral("bc"));
    EXPECT_EQ(Read_Str_FromIndex(t, 0), t);
    for (int i : {3, 4, -1, INT_MIN})
        EXPECT_EQ(Read_Str_FromIndex(t, i), QStringLiteral("")) << i;
}

TEST(StringUtils, FindAndReplace)
{
    EXPECT_TRUE(Find_Str(QStringLiteral("Hello World"), QStringLiteral("World")));
    EXPECT_FALSE(Find_Str(QStringLiteral("Hello World"), QStringLiteral("world")));
    EXPECT_FALSE(Find_Str(QStringLiteral("Hello"), QString()));
    EXPECT_FALSE(Find_Str(QStringLiteral("Hello"), QStringLiteral("")));
    EXPECT_FALSE(Find_Str(QString(), QStringLiteral("a")));
    EXPECT_EQ(Replace_char_in_string(QStringLiteral("a,b,,c"), QStringLiteral(","), QStringLiteral(";")),
              QStringLiteral("a;b;;c"));
    EXPECT_EQ(Replace_char_in_string(QStringLiteral("aXbxc"), QStringLiteral("x"), QString()),
              QStringLiteral("aXbc"));
    // An empty pattern changes nothing (it would otherwise insert between every character).
    EXPECT_EQ(Replace_char_in_string(QStringLiteral("abc"), QString(), QStringLiteral("-")),
              QStringLiteral("abc"));
}
