#pragma once

#include <cstdint>
#include <optional>

namespace ostrovik::platform {

/// Windows virtual-key codes: the machine's key tables, the joystick keys
/// and the settings file speak in them. Letters and digits are their
/// upper-case ASCII codes ('A' = 65, '0' = 48).
enum VirtualKey : std::uint16_t {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_CLEAR = 0x0C,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12, // Alt
    VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21, // Page Up
    VK_NEXT = 0x22,  // Page Down
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_SELECT = 0x29,
    VK_PRINT = 0x2A,
    VK_EXECUTE = 0x2B,
    VK_SNAPSHOT = 0x2C, // Print Screen
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_HELP = 0x2F,
    VK_LWIN = 0x5B,
    VK_RWIN = 0x5C,
    VK_APPS = 0x5D,
    VK_SLEEP = 0x5F,
    VK_NUMPAD0 = 0x60, // … VK_NUMPAD9 = 0x69
    VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B,
    VK_SEPARATOR = 0x6C,
    VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E,
    VK_DIVIDE = 0x6F,
    VK_F1 = 0x70, // … VK_F24 = 0x87
    VK_F5 = 0x74,
    VK_F24 = 0x87,
    VK_NUMLOCK = 0x90,
    VK_SCROLL = 0x91,
    VK_OEM_1 = 0xBA,      // ; :
    VK_OEM_PLUS = 0xBB,   // = +
    VK_OEM_COMMA = 0xBC,  // , <
    VK_OEM_MINUS = 0xBD,  // - _
    VK_OEM_PERIOD = 0xBE, // . >
    VK_OEM_2 = 0xBF,      // / ?
    VK_OEM_3 = 0xC0,      // ` ~
    VK_OEM_4 = 0xDB,      // [ {
    VK_OEM_5 = 0xDC,      // \ |
    VK_OEM_6 = 0xDD,      // ] }
    VK_OEM_7 = 0xDE,      // ' "
    VK_OEM_102 = 0xE2,    // the extra key beside the left Shift of 102-key keyboards
};

/// The key that types an ASCII character on a US keyboard, and whether Shift
/// is needed for it (what the desktop's key-scan call reports for the US
/// layout). Space, Enter ('\r'), Tab, Backspace and Esc are included.
struct KeyScan {
    std::uint16_t vk = 0;
    bool shift = false;
};
std::optional<KeyScan> vkKeyScanUs(char character);

/// The virtual key of a key in the main block of a PC keyboard, found by its
/// position (an xkb keycode, as the Linux desktops report it: evdev code + 8),
/// with the US legends: digits, letters and the VK_OEM_* punctuation. Both
/// desktop layouts the machine knows, US and Russian, give these keys these
/// codes. 0 for keycodes outside that block.
std::uint16_t virtualKeyOfKeycode(std::uint32_t xkbKeycode);

/// The virtual key of the key that carries a Cyrillic letter (either case,
/// Ё included) in the Russian layout, e.g. Ф → 'A', Ж → VK_OEM_1. 0 for any
/// other character.
std::uint16_t virtualKeyOfRussianLetter(char32_t letter);

} // namespace ostrovik::platform
