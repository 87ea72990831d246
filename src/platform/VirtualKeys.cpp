#include "platform/VirtualKeys.hpp"

#include <array>

namespace ostrovik::platform {

namespace {

struct Legend {
    char plain;
    char shifted; // 0 when the key has no shifted ASCII character
    std::uint16_t vk;
};

// The US keyboard's character keys besides the letters.
constexpr std::array<Legend, 26> kLegends = {{
    {'1', '!', '1'}, {'2', '@', '2'}, {'3', '#', '3'}, {'4', '$', '4'}, {'5', '%', '5'},
    {'6', '^', '6'}, {'7', '&', '7'}, {'8', '*', '8'}, {'9', '(', '9'}, {'0', ')', '0'},
    {';', ':', VK_OEM_1}, {'=', '+', VK_OEM_PLUS}, {',', '<', VK_OEM_COMMA},
    {'-', '_', VK_OEM_MINUS}, {'.', '>', VK_OEM_PERIOD}, {'/', '?', VK_OEM_2},
    {'`', '~', VK_OEM_3}, {'[', '{', VK_OEM_4}, {'\\', '|', VK_OEM_5}, {']', '}', VK_OEM_6},
    {'\'', '"', VK_OEM_7}, {' ', 0, VK_SPACE}, {'\r', 0, VK_RETURN}, {'\t', 0, VK_TAB},
    {'\b', 0, VK_BACK}, {'\x1b', 0, VK_ESCAPE},
}};

// Russian letters А … Я (U+0410 …) by the key that carries them.
constexpr std::array<std::uint16_t, 32> kRussianKeys = {
    'F', VK_OEM_COMMA, 'D', 'U', 'L', 'T', VK_OEM_1, 'P',       // А Б В Г Д Е Ж З
    'B', 'Q', 'R', 'K', 'V', 'Y', 'J', 'G',                     // И Й К Л М Н О П
    'H', 'C', 'N', 'E', 'A', VK_OEM_4, 'W', 'X',                // Р С Т У Ф Х Ц Ч
    'I', 'O', VK_OEM_6, 'S', 'M', VK_OEM_7, VK_OEM_PERIOD, 'Z', // Ш Щ Ъ Ы Ь Э Ю Я
};

// xkb keycodes 10 … 61 of the main block; 0 where the key is not a character key.
constexpr std::array<std::uint16_t, 52> kMainBlock = {
    '1', '2', '3', '4', '5', '6', '7', '8', '9', '0', VK_OEM_MINUS, VK_OEM_PLUS, // 10 … 21
    0, 0,                                                                       // Backspace, Tab
    'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', VK_OEM_4, VK_OEM_6,       // 24 … 35
    0, 0,                                                                       // Enter, left Ctrl
    'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', VK_OEM_1, VK_OEM_7, VK_OEM_3,  // 38 … 49
    0, VK_OEM_5,                                                                // left Shift, 51
    'Z', 'X', 'C', 'V', 'B', 'N', 'M', VK_OEM_COMMA, VK_OEM_PERIOD, VK_OEM_2,   // 52 … 61
};
constexpr std::uint32_t kMainBlockFirst = 10;
constexpr std::uint32_t kKeycodeOem102 = 94;

} // namespace

std::optional<KeyScan> vkKeyScanUs(char character)
{
    if (character >= 'a' && character <= 'z') {
        return KeyScan{static_cast<std::uint16_t>(character - 'a' + 'A'), false};
    }
    if (character >= 'A' && character <= 'Z') {
        return KeyScan{static_cast<std::uint16_t>(character), true};
    }
    for (const Legend& legend : kLegends) {
        if (legend.plain == character) {
            return KeyScan{legend.vk, false};
        }
        if (legend.shifted != 0 && legend.shifted == character) {
            return KeyScan{legend.vk, true};
        }
    }
    return std::nullopt;
}

std::uint16_t virtualKeyOfKeycode(std::uint32_t xkbKeycode)
{
    if (xkbKeycode == kKeycodeOem102) {
        return VK_OEM_102;
    }
    if (xkbKeycode < kMainBlockFirst || xkbKeycode >= kMainBlockFirst + kMainBlock.size()) {
        return 0;
    }
    return kMainBlock[xkbKeycode - kMainBlockFirst];
}

std::uint16_t virtualKeyOfRussianLetter(char32_t letter)
{
    if (letter == U'Ё' || letter == U'ё') {
        return VK_OEM_3;
    }
    if (letter >= U'а' && letter <= U'я') {
        letter -= U'а' - U'А';
    }
    if (letter >= U'А' && letter <= U'Я') {
        return kRussianKeys[letter - U'А'];
    }
    return 0;
}

} // namespace ostrovik::platform
