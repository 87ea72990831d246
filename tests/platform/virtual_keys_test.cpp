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
    const auto scan = [](char c) { return VkKeyScanUS(c).value_or(KeyScan{0xFFFF, false}); };
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
    EXPECT_FALSE(VkKeyScanUS('\xD1').has_value());
    EXPECT_FALSE(VkKeyScanUS('\0').has_value());
}

TEST(VirtualKeys, KeycodesGiveTheKeyOfTheirPosition)
{
    for (const auto& [first, row] : kUsRows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            const auto code = first + static_cast<std::uint32_t>(i);
            EXPECT_EQ(VirtualKeyOfKeycode(code), VkKeyScanUS(row[i])->vk) << "keycode " << code;
        }
    }
    EXPECT_EQ(VirtualKeyOfKeycode(94), VK_OEM_102);
    for (const std::uint32_t notACharacter : {0u, 9u, 22u, 23u, 36u, 37u, 50u, 62u, 65u, 105u, 0xFFFFFFFFu}) {
        EXPECT_EQ(VirtualKeyOfKeycode(notACharacter), 0) << "keycode " << notACharacter;
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
            EXPECT_EQ(VirtualKeyOfRussianLetter(upper), VirtualKeyOfKeycode(code)) << "keycode " << code;
            EXPECT_EQ(VirtualKeyOfRussianLetter(lower), VirtualKeyOfKeycode(code)) << "keycode " << code;
            ++letters;
        }
    }
    EXPECT_EQ(letters, 33);
    EXPECT_EQ(VirtualKeyOfRussianLetter(U'Ф'), 'A');
    EXPECT_EQ(VirtualKeyOfRussianLetter(U'A'), 0); // Latin
    EXPECT_EQ(VirtualKeyOfRussianLetter(U'Ї'), 0);
}

TEST(KeyboardLayoutState, SwitchesBetweenTheTwoLayouts)
{
    KeyboardLayout layout;
    EXPECT_EQ(layout.Name(), "00000409");
    EXPECT_TRUE(layout.Load("00000419"));
    EXPECT_EQ(layout.Name(), "00000419");
    EXPECT_FALSE(layout.Load("00000407"));
    EXPECT_FALSE(layout.Load(""));
    EXPECT_EQ(layout.Name(), "00000419");
    EXPECT_TRUE(layout.Load(kLayoutUS));
    EXPECT_EQ(layout.Name(), kLayoutUS);

    EXPECT_EQ(&ActiveKeyboardLayout(), &ActiveKeyboardLayout());
}
