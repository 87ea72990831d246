#include "platform/qt/KeyMap.hpp"

#include <QKeyEvent>

#include <array>
#include <utility>

namespace ostrovik::platform {

namespace {

// xkb keycodes and key symbols of the keys that come in pairs.
struct PairCodes {
    std::uint32_t leftKeycode, rightKeycode, leftSym, rightSym;
};
constexpr PairCodes kCtrlCodes{37, 105, 0xffe3, 0xffe4};
constexpr PairCodes kShiftCodes{50, 62, 0xffe1, 0xffe2};
constexpr PairCodes kAltCodes{64, 108, 0xffe9, 0xffea};
constexpr PairCodes kLogoCodes{133, 134, 0xffeb, 0xffec};
constexpr std::uint32_t kLevel3ShiftSym = 0xfe03; // AltGr

KeySide sideOf(const KeyInput& in, const PairCodes& codes)
{
    if (in.nativeScanCode == codes.leftKeycode) {
        return KeySide::Left;
    }
    if (in.nativeScanCode == codes.rightKeycode) {
        return KeySide::Right;
    }
    if (in.nativeVirtualKey == codes.leftSym) {
        return KeySide::Left;
    }
    if (in.nativeVirtualKey == codes.rightSym || in.nativeVirtualKey == kLevel3ShiftSym) {
        return KeySide::Right;
    }
    return KeySide::Left;
}

std::uint16_t keypadKey(int key)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return static_cast<std::uint16_t>(VK_NUMPAD0 + (key - Qt::Key_0));
    }
    switch (key) {
    case Qt::Key_Asterisk: return VK_MULTIPLY;
    case Qt::Key_Plus: return VK_ADD;
    case Qt::Key_Minus: return VK_SUBTRACT;
    case Qt::Key_Period:
    case Qt::Key_Comma: return VK_DECIMAL;
    case Qt::Key_Slash: return VK_DIVIDE;
    case Qt::Key_Enter: return VK_RETURN;
    default: return 0;
    }
}

constexpr std::array<std::pair<int, std::uint16_t>, 30> kSpecialKeys = {{
    {Qt::Key_Backspace, VK_BACK},  {Qt::Key_Tab, VK_TAB},         {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Clear, VK_CLEAR},     {Qt::Key_Return, VK_RETURN},   {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Pause, VK_PAUSE},     {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},     {Qt::Key_PageUp, VK_PRIOR},    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},         {Qt::Key_Home, VK_HOME},       {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},           {Qt::Key_Right, VK_RIGHT},     {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Select, VK_SELECT},   {Qt::Key_Printer, VK_PRINT},   {Qt::Key_Execute, VK_EXECUTE},
    {Qt::Key_Print, VK_SNAPSHOT},  {Qt::Key_SysReq, VK_SNAPSHOT}, {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},   {Qt::Key_Help, VK_HELP},       {Qt::Key_Menu, VK_APPS},
    {Qt::Key_Sleep, VK_SLEEP},     {Qt::Key_NumLock, VK_NUMLOCK}, {Qt::Key_ScrollLock, VK_SCROLL},
}};

std::uint16_t specialKey(int key)
{
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return static_cast<std::uint16_t>(VK_F1 + (key - Qt::Key_F1));
    }
    for (const auto& [qtKey, vk] : kSpecialKeys) {
        if (qtKey == key) {
            return vk;
        }
    }
    return 0;
}

} // namespace

KeyStroke mapKey(const KeyInput& in)
{
    const int key = in.key;

    if (in.modifiers.testFlag(Qt::KeypadModifier)) {
        if (const auto vk = keypadKey(key)) {
            return {vk};
        }
    }

    switch (key) {
    case Qt::Key_Control: return {VK_CONTROL, sideOf(in, kCtrlCodes)};
    case Qt::Key_Shift: return {VK_SHIFT, sideOf(in, kShiftCodes)};
    case Qt::Key_Alt: return {VK_MENU, sideOf(in, kAltCodes)};
    case Qt::Key_AltGr: return {VK_MENU, KeySide::Right};
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R: {
        const KeySide side = key == Qt::Key_Super_R ? KeySide::Right : sideOf(in, kLogoCodes);
        return {side == KeySide::Right ? std::uint16_t{VK_RWIN} : std::uint16_t{VK_LWIN}, side};
    }
    default: break;
    }

    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return {static_cast<std::uint16_t>(key)};
    }
    if (const auto vk = virtualKeyOfKeycode(in.nativeScanCode)) {
        return {vk};
    }
    if (key > 0 && key < 0x80) {
        if (const auto scan = vkKeyScanUs(static_cast<char>(key))) {
            return {scan->vk};
        }
    }
    if (key >= 0x0400 && key < 0x0500) {
        if (const auto vk = virtualKeyOfRussianLetter(static_cast<char32_t>(key))) {
            return {vk};
        }
    }
    return {specialKey(key)};
}

KeyInput keyInputOf(const QKeyEvent& event)
{
    return {event.key(), event.modifiers(), event.nativeScanCode(), event.nativeVirtualKey()};
}

KeyStroke virtualKeyOf(const QKeyEvent& event)
{
    return mapKey(keyInputOf(event));
}

QEvent::Type SynthesisedKeyEvent::type()
{
    static const auto registered = static_cast<QEvent::Type>(QEvent::registerEventType());
    return registered;
}

} // namespace ostrovik::platform
