#include <gtest/gtest.h>

#include "settings/SettingsSchema.hpp"

using namespace ostrovik::settings;

TEST(SettingsSchema, StoredNumbersAreDecimalIntegersOnly)
{
    EXPECT_EQ(parseDecimal("0"), 0);
    EXPECT_EQ(parseDecimal("500"), 500);
    EXPECT_EQ(parseDecimal("-1"), -1);
    EXPECT_EQ(parseDecimal("+7"), 7);
    EXPECT_EQ(parseDecimal(" 42\t"), 42);
    EXPECT_EQ(parseDecimal("2147483647"), 2147483647);
    EXPECT_EQ(parseDecimal("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", " ", "abc", "1e3", "0x10", "$10", "12abc", "1 2", "+", "-", "+-1", "2147483648",
                            "99999999999999999999", "1.5"})
        EXPECT_EQ(parseDecimal(bad), std::nullopt) << bad;
    EXPECT_EQ(decimalOr("junk", 1000), 1000);
}

TEST(SettingsSchema, KeyNames)
{
    const std::pair<std::uint16_t, const char*> named[] = {
        {9, "TAB"},   {13, "ENTER"}, {16, "SHIFT"}, {17, "CTRL"},  {18, "ALT"},
        {32, "SPACE"}, {37, "LEFT"}, {38, "UP"},    {39, "RIGHT"}, {40, "DOWN"}};
    for (const auto& [code, name] : named)
        EXPECT_EQ(keyNameOf(code), name) << code;
    EXPECT_EQ(keyNameOf(70), "F");
    EXPECT_EQ(keyNameOf(71), "G");
    // The low byte only, as a Windows-1251 character.
    EXPECT_EQ(keyNameOf(0x0146), "F");
    EXPECT_EQ(keyNameOf(0xC0), "А"); // Cyrillic A
    EXPECT_EQ(keyNameOf(0xD1), "С");
}

TEST(SettingsSchema, JoystickWordsNeverStayZero)
{
    EXPECT_EQ(joyKeyFromText("0", 32), 32);
    EXPECT_EQ(joyKeyFromText("70", 32), 70);
    // Truncated to 16 bits; a result of 0 takes the default too.
    EXPECT_EQ(joyKeyFromText("65606", 32), 70);
    EXPECT_EQ(joyKeyFromText("65536", 32), 32);
    EXPECT_EQ(joyKeyFromText("-1", 32), 0xFFFF);
    EXPECT_EQ(joyKeyFromText("space", 32), 32);

    // The defaults of the table: arrows, F, space, Enter, G.
    const std::uint16_t defaults[] = {38, 40, 37, 39, 70, 32, 13, 71};
    for (std::size_t i = 0; i < kJoyKeys.size(); ++i)
        EXPECT_EQ(kJoyKeys[i].defaultCode, defaults[i]);
}
