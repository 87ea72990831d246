#include <gtest/gtest.h>

#include "TableText.hpp"

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "KeyRecorder.hpp"
#include "machine/KeyTables.hpp"

namespace ostrovik::testing {
namespace {

using machine::KEYMASK_LAT;
using machine::KEYMASK_NONE;
using machine::KEYMASK_RUS;
using machine::keyMaskOf;

// The two key tables as the keyboard's documentation lists them, row by row
// (– = no key). Parsed here, independently of the code's own table.
constexpr const char* kTableText = R"TABLE(
| 8 | Backspace | 0x23FF | 0x23FF |
| 13 | Enter | 0x13FF | 0x13FF |
| 16 | Shift | 0x70FF | 0x70FF |
| 27 | Esc | 0x40FF | 0x40FF |
| 32 | Space | 0x30FF | 0x30FF |
| 36 | Home | 0xFF20 | 0xFF20 |
| 37 | Left | 0xFF32 | 0xFF32 |
| 38 | Up | 0xFF31 | 0xFF31 |
| 39 | Right | 0xFF30 | 0xFF30 |
| 40 | Down | 0xFF33 | 0xFF33 |
| 44 | VK_SNAPSHOT (Print Screen) | 0x37FF | – |
| 45 | Insert | 0x05FF | – |
| 46 | Delete | 0x24FF | – |
| 47 | VK_HELP | 0x36FF | – |
| 48 | 0 | 0x06FF | 0x06FF |
| 49 | 1 | 0x47FF | 0x47FF |
| 50 | 2 | 0x46FF | 0x46FF |
| 51 | 3 | 0x45FF | 0x45FF |
| 52 | 4 | 0x44FF | 0x44FF |
| 53 | 5 | 0x43FF | 0x43FF |
| 54 | 6 | 0x00FF | 0x00FF |
| 55 | 7 | 0x01FF | 0x01FF |
| 56 | 8 | 0x02FF | 0x02FF |
| 57 | 9 | 0x07FF | 0x07FF |
| 58 | (no key; the ASCII code of the colon) | 0x15FF | – |
| 59 | (no key; the ASCII code of the semicolon) | 0x60FF | – |
| 64 | (no key; the ASCII code of the commercial at) | 0x32FF | – |
| 65 | A | 0x64FF | 0x67FF |
| 66 | B | 0x31FF | 0x75FF |
| 67 | C | 0x57FF | 0x77FF |
| 68 | D | 0x27FF | 0x65FF |
| 69 | E | 0x54FF | 0x56FF |
| 70 | F | 0x67FF | 0x64FF |
| 71 | G | 0x10FF | 0x63FF |
| 72 | H | 0x16FF | 0x20FF |
| 73 | I | 0x75FF | 0x11FF |
| 74 | J | 0x52FF | 0x21FF |
| 75 | K | 0x55FF | 0x22FF |
| 76 | L | 0x22FF | 0x27FF |
| 77 | M | 0x76FF | 0x73FF |
| 78 | N | 0x53FF | 0x74FF |
| 79 | O | 0x21FF | 0x12FF |
| 80 | P | 0x63FF | 0x17FF |
| 81 | Q | 0x71FF | 0x52FF |
| 82 | R | 0x20FF | 0x55FF |
| 83 | S | 0x77FF | 0x66FF |
| 84 | T | 0x74FF | 0x54FF |
| 85 | U | 0x56FF | 0x10FF |
| 86 | V | 0x26FF | 0x76FF |
| 87 | W | 0x65FF | 0x57FF |
| 88 | X | 0x73FF | 0x72FF |
| 89 | Y | 0x66FF | 0x53FF |
| 90 | Z | 0x17FF | 0x71FF |
| 106 | numeric * | 0x15FF | – |
| 107 | numeric + | 0x05FF | 0x05FF |
| 109 | numeric − | 0x05FF | 0x05FF |
| 112 | F1 | 0xFF12 | 0xFF12 |
| 113 | F2 | 0xFF13 | 0xFF13 |
| 114 | F3 | 0xFF23 | 0xFF23 |
| 115 | F4 | 0xFF22 | 0xFF22 |
| 116 | F5 | 0xFF21 | 0xFF21 |
| 186 | VK_OEM_1 ( ; ) | 0x32FF | 0x26FF |
| 188 | VK_OEM_COMMA ( , ) | 0x37FF | 0x31FF |
| 189 | VK_OEM_MINUS ( - ) | 0x05FF | 0x05FF |
| 190 | VK_OEM_PERIOD ( . ) | 0x24FF | 0x32FF |
| 191 | VK_OEM_2 ( / ) | 0x36FF | – |
| 192 | VK_OEM_3 (grave accent) | 0x60FF | – |
| 219 | VK_OEM_4 ( [ ) | 0x11FF | 0x16FF |
| 220 | VK_OEM_5 ( \ ) | 0x34FF | – |
| 221 | VK_OEM_6 ( ] ) | 0x12FF | – |
| 222 | VK_OEM_7 ( ' ) | – | 0x25FF |
)TABLE";

struct TableEntry {
    KeyMask latin;
    KeyMask cyrillic;
};

std::string trim(const std::string& s)
{
    const auto b = s.find_first_not_of(' ');
    const auto e = s.find_last_not_of(' ');
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

KeyMask parseCode(const std::string& field)
{
    const std::string f = trim(field);
    if (f == "–")
        return KEYMASK_NONE;
    return static_cast<KeyMask>(std::stoul(f, nullptr, 16));
}

std::map<int, TableEntry> documentedTable()
{
    std::map<int, TableEntry> table;
    // "", VK, PC key, latin, cyrillic
    for (const auto& fields : tableRows(kTableText))
        table[std::stoi(fields.at(1))] = {parseCode(fields.at(3)), parseCode(fields.at(4))};
    return table;
}

class KeyboardTest : public ::testing::Test {
protected:
    EventLog log;
    test::TestHost host = captionLoggingHost(log);
    Machine m{host};
    RecordingKeyboard keyboard{m, log};
    RecordingLayout layout{log};

    bool held(KeyMask code) const { return heldKeys(m).find(hex4(code)) != std::string::npos; }
};

TEST(KeyTables, EveryVirtualKeyMatchesTheDocumentedTables)
{
    const auto table = documentedTable();
    ASSERT_EQ(table.size(), 71u);
    for (int vk = 0; vk <= 0xFFFF; ++vk) {
        const auto it = table.find(vk);
        const KeyMask latin = it == table.end() ? KEYMASK_NONE : it->second.latin;
        const KeyMask cyrillic = it == table.end() ? KEYMASK_NONE : it->second.cyrillic;
        const auto key = static_cast<std::uint16_t>(vk);
        ASSERT_EQ(keyMaskOf(key, 0), latin) << "latin VK " << vk;
        ASSERT_EQ(keyMaskOf(key, 1), cyrillic) << "cyrillic VK " << vk;
        // Any non-zero layout flag picks the Cyrillic table.
        ASSERT_EQ(keyMaskOf(key, 0xFF), cyrillic) << "cyrillic VK " << vk;
    }
}

TEST(KeyTables, RangeEdgesAndModeKeys)
{
    for (int vk = 0; vk < 8; ++vk) {
        EXPECT_EQ(keyMaskOf(vk, 0), KEYMASK_NONE);
        EXPECT_EQ(keyMaskOf(vk, 1), KEYMASK_NONE);
    }
    EXPECT_EQ(keyMaskOf(222, 0), KEYMASK_NONE);
    EXPECT_EQ(keyMaskOf(222, 1), 0x25FF);
    EXPECT_EQ(keyMaskOf(221, 1), KEYMASK_NONE);
    EXPECT_EQ(keyMaskOf(221, 0), 0x12FF);
    for (int vk : {223, 255, 256, 0x1234, 0xFFFF}) {
        EXPECT_EQ(keyMaskOf(vk, 0), KEYMASK_NONE) << vk;
        EXPECT_EQ(keyMaskOf(vk, 1), KEYMASK_NONE) << vk;
    }
    // The alphabet keys are reached only through the Ctrl keys.
    for (int vk = 0; vk < 256; ++vk)
        for (int rus : {0, 1}) {
            EXPECT_NE(keyMaskOf(vk, rus), KEYMASK_RUS);
            EXPECT_NE(keyMaskOf(vk, rus), KEYMASK_LAT);
        }
}

TEST(KeyTables, MinusKeysShareOneKey)
{
    for (int rus : {0, 1}) {
        EXPECT_EQ(keyMaskOf(107, rus), 0x05FF);
        EXPECT_EQ(keyMaskOf(109, rus), 0x05FF);
        EXPECT_EQ(keyMaskOf(189, rus), 0x05FF);
    }
    EXPECT_EQ(keyMaskOf(45, 0), 0x05FF);
    EXPECT_EQ(keyMaskOf(45, 1), KEYMASK_NONE);
}

TEST(KeyTables, OnlyFunctionKeysHomeAndArrowsAreOnTheExtraMatrix)
{
    std::vector<int> extra;
    for (int vk = 0; vk < 256; ++vk)
        for (int rus : {0, 1}) {
            const KeyMask k = keyMaskOf(vk, rus);
            if (k == KEYMASK_NONE)
                continue;
            const bool main = (k & 0xFF) == 0xFF && (k >> 8) != 0xFF;
            const bool ext = (k >> 8) == 0xFF && (k & 0xFF) != 0xFF;
            ASSERT_TRUE(main || ext) << "VK " << vk << " names a key in both matrices";
            if (ext && rus == 0)
                extra.push_back(vk);
        }
    EXPECT_EQ(extra, (std::vector<int>{36, 37, 38, 39, 40, 112, 113, 114, 115, 116}));
}

TEST_F(KeyboardTest, MachineReadmaskFollowsRusLayout)
{
    m.cyrillicLayout = 0;
    EXPECT_EQ(m.keyMaskOf('A'), 0x64FF);
    m.cyrillicLayout = 1;
    // PC key A carries Ф, the DU-01 key that PC key F types in Latin.
    EXPECT_EQ(m.keyMaskOf('A'), 0x67FF);
    EXPECT_EQ(m.keyMaskOf('A'), keyMaskOf('F', 0));
}

TEST_F(KeyboardTest, KbdSetsAndClearsEachHalfOfACode)
{
    // Main row 6 bit 1 and extra row 3 bit 2 at once.
    m.setKey(0x6132, true);
    EXPECT_EQ(m.keyMatrix[6], 0x02);
    EXPECT_EQ(m.extKeyMatrix[3], 0x04);
    m.setKey(0x61FF, true);
    m.setKey(0x6132, false);
    EXPECT_EQ(m.keyMatrix[6], 0x00);
    EXPECT_EQ(m.extKeyMatrix[3], 0x00);

    // No key, or a field out of range, changes nothing.
    for (KeyMask code : {KEYMASK_NONE, KeyMask{0x80FF}, KeyMask{0x08FF}, KeyMask{0xFF40},
                          KeyMask{0xFF08}, KeyMask{0xF0F0}})
        m.setKey(code, true);
    EXPECT_EQ(heldKeys(m), "");

    // Releasing one key keeps the others of the same row.
    m.setKey(0x64FF, true);
    m.setKey(0x67FF, true);
    m.setKey(0x64FF, false);
    EXPECT_EQ(m.keyMatrix[6], 0x80);
}

TEST_F(KeyboardTest, PressedKeysReachThePorts)
{
    m.ports.fill(0xFF);
    keyboard.pressKey('A', "00000409"); // 0x64FF
    keyboard.pressKey(38, "00000409");  // Up, 0xFF31
    m.writePort(0xD0, 0xBF);               // row 6
    EXPECT_EQ(m.readPort(0xD1), 0xEF);
    m.writePort(0xD2, 0xF7); // extra row 3
    EXPECT_EQ(m.readPort(0xD2), 0xD7);
}

TEST_F(KeyboardTest, KeyDownPressesAndRunsOneBudget)
{
    m.cyclesPerTick = 56448;
    keyboard.pressKey('A', "00000409");
    EXPECT_EQ(m.cyrillicLayout, 0);
    keyboard.releaseKey('A');
    keyboard.pressKey('A', "00000419");
    EXPECT_EQ(m.cyrillicLayout, 1);
    // Auto-repeat: another press of the held key, another budget.
    keyboard.pressKey('A', "00000419");
    // Any other layout is Latin.
    keyboard.pressKey('F', "00000422");
    EXPECT_EQ(m.cyrillicLayout, 0);
    EXPECT_EQ(log.events, (std::vector<std::string>{
                              "+64FF", "run 56448 held 64FF", "-64FF",
                              "+67FF", "run 56448 held 67FF",
                              "+67FF", "run 56448 held 67FF",
                              "+67FF", "run 56448 held 67FF",
                          }));
}

TEST_F(KeyboardTest, KeyWithoutADu01KeyStillRuns)
{
    m.cyclesPerTick = 1000;
    keyboard.pressKey(17, "00000409"); // Ctrl
    keyboard.pressKey(300, "00000419");
    EXPECT_EQ(log.events, (std::vector<std::string>{"run 1000", "run 1000"}));
    EXPECT_EQ(heldKeys(m), "");
}

TEST_F(KeyboardTest, PausedPressDoesNothingReleaseStillWorks)
{
    keyboard.pressKey('Q', "00000409"); // 0x71FF
    m.paused = 1;
    log.events.clear();
    keyboard.pressKey('W', "00000419");
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(m.cyrillicLayout, 0);
    EXPECT_EQ(heldKeys(m), " 71FF");
    keyboard.releaseKey('Q');
    EXPECT_EQ(heldKeys(m), "");
}

TEST_F(KeyboardTest, ReleaseUsesTheTableOfTheLastPress)
{
    keyboard.pressKey('P', "00000419"); // Russian З, 0x17FF
    keyboard.releaseKey('P');
    EXPECT_EQ(heldKeys(m), "");

    // A press under the other layout in between changes the table the
    // release looks in: P now names the Latin key, and З stays down.
    keyboard.pressKey('P', "00000419");
    keyboard.pressKey(16, "00000409");
    keyboard.releaseKey('P');
    EXPECT_EQ(log.events.back(), "-63FF");
    EXPECT_EQ(heldKeys(m), " 17FF 70FF");
}

TEST_F(KeyboardTest, LeftCtrlTapsTheRussianKeyAndSwitchesLayout)
{
    keyboard.switchLayoutByCtrl(machine::kLeftCtrlKeyFlags, layout);
    EXPECT_EQ(log.events, (std::vector<std::string>{"layout 00000419", "+61FF",
                                                    "run 60000 held 61FF", "-61FF"}));
    EXPECT_EQ(layout.activeLayoutName(), "00000419");
}

TEST_F(KeyboardTest, RightCtrlTapsTheLatinKeyAndSwitchesLayout)
{
    RecordingLayout russian(log, "00000419");
    keyboard.switchLayoutByCtrl(machine::kRightCtrlKeyFlags, russian);
    EXPECT_EQ(log.events, (std::vector<std::string>{"layout 00000409", "+35FF",
                                                    "run 60000 held 35FF", "-35FF"}));
    EXPECT_EQ(russian.activeLayoutName(), "00000409");
}

TEST_F(KeyboardTest, CtrlWorksWhilePausedOtherKeysAreNoCtrl)
{
    m.paused = 1;
    keyboard.switchLayoutByCtrl(0x001D0001, layout);
    EXPECT_EQ(log.events.size(), 4u);
    log.events.clear();
    // Repeat count and other bits do not matter; only the scan code does.
    keyboard.switchLayoutByCtrl(0xC01D0005, layout);
    EXPECT_EQ(log.events.at(0), "layout 00000419");
    log.events.clear();
    for (std::uint32_t axes : {0x001E0001u, 0x011C0001u, 0x00000001u, 0x1D000001u})
        keyboard.switchLayoutByCtrl(axes, layout);
    EXPECT_TRUE(log.events.empty());
}

TEST_F(KeyboardTest, WholeCtrlKeyDownSetsTheTableFromTheNewLayout)
{
    m.cyclesPerTick = 500;
    keyboard.keyDown(17, machine::kLeftCtrlKeyFlags, layout);
    EXPECT_EQ(m.cyrillicLayout, 1);
    keyboard.keyDown(17, machine::kRightCtrlKeyFlags, layout);
    EXPECT_EQ(m.cyrillicLayout, 0);
    EXPECT_EQ(log.events, (std::vector<std::string>{
                              "layout 00000419", "+61FF", "run 60000 held 61FF", "-61FF", "run 500",
                              "layout 00000409", "+35FF", "run 60000 held 35FF", "-35FF", "run 500",
                          }));
    // A paused machine sees the tap but not the key-down's budget.
    log.events.clear();
    m.paused = 1;
    keyboard.keyDown(17, machine::kLeftCtrlKeyFlags, layout);
    EXPECT_EQ(log.events.back(), "-61FF");
    EXPECT_EQ(m.cyrillicLayout, 0);
}

} // namespace
} // namespace ostrovik::testing
