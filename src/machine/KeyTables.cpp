#include "machine/KeyTables.hpp"

#include <array>

#include "machine/Machine.hpp"

namespace ostrovik::machine {

namespace {

constexpr KeyMask none = KEYMASK_NONE;

struct KeyRow {
    std::uint16_t vk;
    KeyMask latin;
    KeyMask cyrillic;
};

// By Windows virtual key. A Cyrillic entry is the DU-01 key that carries the
// letter the PC key shows in the Russian layout (PC key A, Russian Ф, types
// the key the Latin table gives for F). Only F1-F5, Home and the arrows are on
// the extra matrix. VK 58, 59 and 64 are no PC keys: they are the ASCII codes
// of ':', ';' and '@', so that pasted text can use a character as its own key.
constexpr KeyRow kRows[] = {
    {  8, 0x23FF, 0x23FF}, // Backspace
    { 13, 0x13FF, 0x13FF}, // Enter
    { 16, 0x70FF, 0x70FF}, // Shift
    { 27, 0x40FF, 0x40FF}, // Esc
    { 32, 0x30FF, 0x30FF}, // Space
    { 36, 0xFF20, 0xFF20}, // Home
    { 37, 0xFF32, 0xFF32}, // Left
    { 38, 0xFF31, 0xFF31}, // Up
    { 39, 0xFF30, 0xFF30}, // Right
    { 40, 0xFF33, 0xFF33}, // Down
    { 44, 0x37FF, none},   // VK_SNAPSHOT (Print Screen)
    { 45, 0x05FF, none},   // Insert
    { 46, 0x24FF, none},   // Delete
    { 47, 0x36FF, none},   // VK_HELP
    { 48, 0x06FF, 0x06FF}, // 0
    { 49, 0x47FF, 0x47FF}, // 1
    { 50, 0x46FF, 0x46FF}, // 2
    { 51, 0x45FF, 0x45FF}, // 3
    { 52, 0x44FF, 0x44FF}, // 4
    { 53, 0x43FF, 0x43FF}, // 5
    { 54, 0x00FF, 0x00FF}, // 6
    { 55, 0x01FF, 0x01FF}, // 7
    { 56, 0x02FF, 0x02FF}, // 8
    { 57, 0x07FF, 0x07FF}, // 9
    { 58, 0x15FF, none},   // no PC key: ASCII ":"
    { 59, 0x60FF, none},   // no PC key: ASCII ";"
    { 64, 0x32FF, none},   // no PC key: ASCII "@"
    { 65, 0x64FF, 0x67FF}, // A
    { 66, 0x31FF, 0x75FF}, // B
    { 67, 0x57FF, 0x77FF}, // C
    { 68, 0x27FF, 0x65FF}, // D
    { 69, 0x54FF, 0x56FF}, // E
    { 70, 0x67FF, 0x64FF}, // F
    { 71, 0x10FF, 0x63FF}, // G
    { 72, 0x16FF, 0x20FF}, // H
    { 73, 0x75FF, 0x11FF}, // I
    { 74, 0x52FF, 0x21FF}, // J
    { 75, 0x55FF, 0x22FF}, // K
    { 76, 0x22FF, 0x27FF}, // L
    { 77, 0x76FF, 0x73FF}, // M
    { 78, 0x53FF, 0x74FF}, // N
    { 79, 0x21FF, 0x12FF}, // O
    { 80, 0x63FF, 0x17FF}, // P
    { 81, 0x71FF, 0x52FF}, // Q
    { 82, 0x20FF, 0x55FF}, // R
    { 83, 0x77FF, 0x66FF}, // S
    { 84, 0x74FF, 0x54FF}, // T
    { 85, 0x56FF, 0x10FF}, // U
    { 86, 0x26FF, 0x76FF}, // V
    { 87, 0x65FF, 0x57FF}, // W
    { 88, 0x73FF, 0x72FF}, // X
    { 89, 0x66FF, 0x53FF}, // Y
    { 90, 0x17FF, 0x71FF}, // Z
    {106, 0x15FF, none},   // numeric *
    {107, 0x05FF, 0x05FF}, // numeric +
    {109, 0x05FF, 0x05FF}, // numeric -
    {112, 0xFF12, 0xFF12}, // F1
    {113, 0xFF13, 0xFF13}, // F2
    {114, 0xFF23, 0xFF23}, // F3
    {115, 0xFF22, 0xFF22}, // F4
    {116, 0xFF21, 0xFF21}, // F5
    {186, 0x32FF, 0x26FF}, // VK_OEM_1 ( ; )
    {188, 0x37FF, 0x31FF}, // VK_OEM_COMMA ( , )
    {189, 0x05FF, 0x05FF}, // VK_OEM_MINUS ( - )
    {190, 0x24FF, 0x32FF}, // VK_OEM_PERIOD ( . )
    {191, 0x36FF, none},   // VK_OEM_2 ( / )
    {192, 0x60FF, none},   // VK_OEM_3 (grave accent)
    {219, 0x11FF, 0x16FF}, // VK_OEM_4 ( [ )
    {220, 0x34FF, none},   // VK_OEM_5 ( \ )
    {221, 0x12FF, none},   // VK_OEM_6 ( ] )
    {222, none,   0x25FF}, // VK_OEM_7 ( ' )
};

constexpr int kLatinLast = 221;
constexpr int kCyrillicLast = 222;
constexpr int kFirst = 8;

template <bool Cyrillic>
constexpr std::array<KeyMask, kCyrillicLast + 1> buildTable()
{
    std::array<KeyMask, kCyrillicLast + 1> t{};
    t.fill(KEYMASK_NONE);
    for (const KeyRow& r : kRows)
        t[r.vk] = Cyrillic ? r.cyrillic : r.latin;
    return t;
}

constexpr auto kLatin = buildTable<false>();
constexpr auto kCyrillic = buildTable<true>();

} // namespace

KeyMask keyMaskOf(std::uint16_t virtualKey, std::uint8_t rusLayout)
{
    if (rusLayout == 0)
        return virtualKey >= kFirst && virtualKey <= kLatinLast ? kLatin[virtualKey] : KEYMASK_NONE;
    return virtualKey >= kFirst && virtualKey <= kCyrillicLast ? kCyrillic[virtualKey] : KEYMASK_NONE;
}

KeyMask Machine::keyMaskOf(std::uint16_t virtualKey) const
{
    return machine::keyMaskOf(virtualKey, cyrillicLayout);
}

} // namespace ostrovik::machine
