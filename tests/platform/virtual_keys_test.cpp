#include "platform/KeyboardLayout.hpp"
#include "platform/VirtualKeys.hpp"

#include <gtest/gtest.h>

#include <string>
#include <utility>

using namespace ostrovik::platform;

namespace {

// The rows of a US keyboard's main block, unshifted, with the xkb keycode of
// each row's first key.
const std::pair<std::uint32_t, std::string> kUsRows[] = {
    {10, "1234567890-="},
    {24, "qwertyuiop[]"},
    {38, "asdfghjkl;'`"},
    {51, "\\zxcvbnm,./"},
};

} // namespace

TEST(VirtualKeys, KeyScanOfTheUsLegends)
{
    const auto scan = [](char c) { return vkKeyScanUs(c).value_or(KeyScan{0xFFFF, false}); };
    EXPECT_EQ(scan('a').vk, 'A');
    EXPECT_FALSE(scan('a').shift);
    EXPECT_EQ(scan('Z').vk, 'Z');
    EXPECT_TRUE(scan('Z').shift);
    EXPECT_EQ(scan('0').vk, '0');
    // The characters the on-screen keyboard types, each on its unshifted key.
    EXPECT_EQ(scan('^').vk, '6');
    EXPECT_EQ(scan('@').vk, '2');
    EXPECT_EQ(scan('>').vk, VK_OEM_PERIOD);
    EXPECT_EQ(scan('<').vk, VK_OEM_COMMA);
    EXPECT_EQ(scan('?').vk, VK_OEM_2);
    EXPECT_TRUE(scan('?').shift);
    EXPECT_EQ(scan('[').vk, VK_OEM_4);
    EXPECT_EQ(scan('\\').vk, VK_OEM_5);
    EXPECT_EQ(scan('"').vk, VK_OEM_7);
    EXPECT_EQ(scan('~').vk, VK_OEM_3);
    EXPECT_EQ(scan(' ').vk, VK_SPACE);
    EXPECT_EQ(scan('\r').vk, VK_RETURN);
    EXPECT_FALSE(vkKeyScanUs('\xD1').has_value());
    EXPECT_FALSE(vkKeyScanUs('\0').has_value());
}

TEST(VirtualKeys, KeycodesGiveTheKeyOfTheirPosition)
{
    for (const auto& [first, row] : kUsRows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            const auto code = first + static_cast<std::uint32_t>(i);
            EXPECT_EQ(virtualKeyOfKeycode(code), vkKeyScanUs(row[i])->vk) << "keycode " << code;
        }
    }
    EXPECT_EQ(virtualKeyOfKeycode(94), VK_OEM_102);
    for (const std::uint32_t notACharacter : {0u, 9u, 22u, 23u, 36u, 37u, 50u, 62u, 65u, 105u, 0xFFFFFFFFu}) {
        EXPECT_EQ(virtualKeyOfKeycode(notACharacter), 0) << "keycode " << notACharacter;
    }
}

TEST(VirtualKeys, RussianLettersSitOnTheKeysOfTheRussianLayout)
{
    const std::pair<std::uint32_t, std::u32string> russianRows[] = {
        {24, U"ЙЦУКЕНГШЩЗХЪ"},
        {38, U"ФЫВАПРОЛДЖЭЁ"},
        {52, U"ЯЧСМИТЬБЮ"},
    };
    int letters = 0;
    for (const auto& [first, row] : russianRows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            const auto code = first + static_cast<std::uint32_t>(i);
            const char32_t upper = row[i];
            const char32_t lower = upper == U'Ё' ? U'ё' : upper + (U'а' - U'А');
            EXPECT_EQ(virtualKeyOfRussianLetter(upper), virtualKeyOfKeycode(code)) << "keycode " << code;
            EXPECT_EQ(virtualKeyOfRussianLetter(lower), virtualKeyOfKeycode(code)) << "keycode " << code;
            ++letters;
        }
    }
    EXPECT_EQ(letters, 33);
    EXPECT_EQ(virtualKeyOfRussianLetter(U'Ф'), 'A');
    EXPECT_EQ(virtualKeyOfRussianLetter(U'A'), 0); // Latin
    EXPECT_EQ(virtualKeyOfRussianLetter(U'Ї'), 0);
}

TEST(KeyboardLayoutState, SwitchesBetweenTheTwoLayouts)
{
    KeyboardLayout layout;
    EXPECT_EQ(layout.name(), "00000409");
    EXPECT_TRUE(layout.load("00000419"));
    EXPECT_EQ(layout.name(), "00000419");
    EXPECT_FALSE(layout.load("00000407"));
    EXPECT_FALSE(layout.load(""));
    EXPECT_EQ(layout.name(), "00000419");
    EXPECT_TRUE(layout.load(kLayoutUS));
    EXPECT_EQ(layout.name(), kLayoutUS);

    EXPECT_EQ(&activeKeyboardLayout(), &activeKeyboardLayout());
}
