#pragma once

#include "platform/VirtualKeys.hpp"

#include <QEvent>
#include <Qt>

#include <cstdint>

class QKeyEvent;

namespace ostrovik::platform {

/// Which of a pair of keys was pressed (Ctrl, Shift, Alt, the logo keys);
/// None for every other key.
enum class KeySide : std::uint8_t { None, Left, Right };

/// A key event of our windows in the desktop's terms: the virtual key the
/// machine's tables use (0 for a key we have no code for) and the side.
struct KeyStroke {
    std::uint16_t vk = 0;
    KeySide side = KeySide::None;

    friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};

/// What a key event tells about its key. The native codes are read as the
/// Linux desktops report them: the scan code is the xkb keycode (37 left
/// Ctrl, 105 right Ctrl), the virtual key the key symbol (0xffe3 left Ctrl,
/// 0xffe4 right Ctrl); 0 where unknown, as in events made by a program.
struct KeyInput {
    int key = 0; // Qt::Key
    Qt::KeyboardModifiers modifiers;
    std::uint32_t nativeScanCode = 0;
    std::uint32_t nativeVirtualKey = 0;
};

/// The one table from our key events to virtual keys:
/// - keypad keys (with the keypad modifier) to VK_NUMPAD0 … 9, VK_MULTIPLY,
///   VK_ADD, VK_SUBTRACT, VK_DECIMAL, VK_DIVIDE, and Enter to VK_RETURN;
/// - Ctrl, Shift, Alt (AltGr as the right Alt) to VK_CONTROL, VK_SHIFT,
///   VK_MENU with their side from the scan code, else from the key symbol,
///   else Left (a key that does not say is taken for the left one);
/// - Latin letters to their letter, whatever the desktop layout;
/// - the other character keys (digits, punctuation, and the Cyrillic letters
///   of a Russian desktop layout) by their position when the scan code
///   tells it, so that Shift and the layout do not change the code;
///   otherwise by the US legend of the character (Shift+1 "!" gives '1') or
///   by the key that carries the Cyrillic letter in the Russian layout;
/// - the function, editing and cursor keys to their codes (F1 … F24, Home,
///   Insert, Delete, Print Screen to VK_SNAPSHOT, Esc, Enter, Space,
///   Backspace, Tab, …).
KeyStroke mapKey(const KeyInput& input);

/// The same for a Qt key event.
KeyInput keyInputOf(const QKeyEvent& event);
KeyStroke virtualKeyOf(const QKeyEvent& event);

/// A PC key press or release made by the program (the on-screen keyboard),
/// delivered through the event queue as the desktop delivers its own.
class SynthesisedKeyEvent final : public QEvent {
public:
    static QEvent::Type type();
    SynthesisedKeyEvent(std::uint16_t vk, bool down) : QEvent(type()), vk(vk), down(down) {}
    const std::uint16_t vk;
    const bool down;
};

} // namespace ostrovik::platform
