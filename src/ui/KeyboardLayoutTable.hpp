#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace ostrovik::ui {

/// What a key of the on-screen keyboard does when clicked.
enum class KeyAction : std::uint8_t {
    None,      ///< no effect
    Character, ///< types the PC key of a character
    Code,      ///< types a fixed PC key
    Matrix,    ///< holds a key of the machine's matrix for one run
    TestText,  ///< types the test sentence
};

/// One button over the keyboard picture: where it lies in the window, the
/// legend the picture shows under it (Cyrillic above Latin or the shifted
/// sign, split by '\n'), its caption, and what it does.
struct KeyboardKey {
    int left;
    int top;
    int width;
    std::string_view legend;
    KeyAction action = KeyAction::None;
    /// The character, the virtual key or the matrix code.
    std::uint16_t value = 0;
    std::string_view caption = {};
};

inline constexpr int kKeyHeight = 36;
inline constexpr int kKeyCount = 79;

/// The keys of the picture, row by row: the buttons 1 … 79 of the window.
extern const std::array<KeyboardKey, kKeyCount> kKeyboardKeys;

} // namespace ostrovik::ui
