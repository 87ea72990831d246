#include "platform/Cp1251.hpp"

#include <gtest/gtest.h>

using namespace ostrovik::platform;

TEST(Cp1251, EveryByteSurvivesATripThroughUtf8)
{
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const std::string utf8 = cp1251ToUtf8(all);
    EXPECT_EQ(utf8ToCp1251(utf8), all);
    EXPECT_EQ(utf8ToCp1251Exact(utf8), all);
}

TEST(Cp1251, KnownCharacters)
{
    // The settings key ends in the Cyrillic capital Es, not the Latin C.
    EXPECT_EQ(utf8ToCp1251("h058С"), "h058\xD1");
    EXPECT_EQ(cp1251ToUtf8("\xC0\xFF\xA8\xB8\xB9\x88\x96"), "АяЁё№€–");
    EXPECT_EQ(cp1251ToUnicode(0xD1), U'С');
    EXPECT_EQ(cp1251ToUnicode(0xF1), U'с');
    EXPECT_EQ(cp1251ToUnicode(0xA5), U'Ґ');
    EXPECT_EQ(cp1251ToUnicode(0xA0), U'\u00A0');
    EXPECT_EQ(unicodeToCp1251(U'ї'), 0xBF);
    EXPECT_EQ(unicodeToCp1251(U'™'), 0x99);
    EXPECT_FALSE(unicodeToCp1251(U'é').has_value());
    const std::string caption = "Пропатчить адрес h058С (XRA A)";
    EXPECT_EQ(cp1251ToUtf8(utf8ToCp1251(caption)), caption);
}

TEST(Cp1251, CharactersOutsideTheCodePageAndBrokenUtf8)
{
    EXPECT_EQ(utf8ToCp1251("a日本b"), "a??b");
    EXPECT_EQ(utf8ToCp1251("x\xD1"), "x?");              // truncated sequence
    EXPECT_EQ(utf8ToCp1251("\xC0\x80"), "?");           // overlong zero
    EXPECT_EQ(utf8ToCp1251("\xED\xA0\x80"), "?");       // surrogate
    EXPECT_EQ(utf8ToCp1251("\xE2\x82"), "?");           // cut short at the end
    EXPECT_EQ(utf8ToCp1251("\xD1" "a"), "?a");           // lead byte without its follower
    EXPECT_EQ(utf8ToCp1251("\xF4\x90\x80\x80z"), "?z"); // past U+10FFFF
    EXPECT_EQ(utf8ToCp1251("\xF0\x9F\x98\x80"), "?");   // an emoji is one character
    EXPECT_FALSE(utf8ToCp1251Exact("a日").has_value());
    EXPECT_FALSE(utf8ToCp1251Exact("\xFF").has_value());
    EXPECT_EQ(utf8ToCp1251Exact(""), "");
}
