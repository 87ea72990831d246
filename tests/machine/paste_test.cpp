#include <gtest/gtest.h>

#include "TableText.hpp"

#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "KeyRecorder.hpp"
#include "machine/KeyTables.hpp"
#include "machine/Koi7.hpp"
#include "machine/Paste.hpp"

namespace ostrovik::testing {
namespace {

using machine::KoiTable;
using machine::koiToCp1251;
using machine::koi8ToKoi7;
using machine::keyMaskOf;
using machine::upCaseText;

// UTF-8 Cyrillic capitals (and Ё) to their Windows-1251 bytes, written out
// here rather than borrowed from the code under test.
std::string to1251(std::string_view utf8)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            continue;
        }
        const unsigned cp = ((b & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F);
        if (cp >= 0x410 && cp <= 0x42F)
            out += static_cast<char>(0xC0 + (cp - 0x410));
        else if (cp == 0x401)
            out += static_cast<char>(0xA8);
        else
            ADD_FAILURE() << "no Windows-1251 byte for U+" << std::hex << cp;
    }
    return out;
}

std::uint8_t byte1251(std::string_view utf8)
{
    const std::string s = to1251(utf8);
    EXPECT_EQ(s.size(), 1u);
    return static_cast<std::uint8_t>(s.at(0));
}

// Which PC key types each character, as the documentation lists it.
constexpr const char* kKoiKeysText = R"TABLE(
| ! | 33 | 49 ("1") |
| double quote | 34 | 50 |
| # | 35 | 51 |
| $ | 36 | 52 |
| % | 37 | 53 |
| & | 38 | 54 |
| apostrophe | 39 | 55 |
| ( | 40 | 56 |
| ) | 41 | 57 |
| * | 42 | 106 (numeric *) |
| + | 43 | 192 (VK_OEM_3) |
| less-than | 60 | 188 (VK_OEM_COMMA) |
| = | 61 | 189 (VK_OEM_MINUS) |
| greater-than | 62 | 190 (VK_OEM_PERIOD) |
| ? | 63 | 191 (VK_OEM_2) |
| Ё | 168 | 84 |
| А | 192 | 70 |
| Б | 193 | 188 |
| В | 194 | 68 |
| Г | 195 | 85 |
| Д | 196 | 76 |
| Е | 197 | 84 |
| Ж | 198 | 186 |
| З | 199 | 80 |
| И | 200 | 66 |
| Й | 201 | 81 |
| К | 202 | 82 |
| Л | 203 | 75 |
| М | 204 | 86 |
| Н | 205 | 89 |
| О | 206 | 74 |
| П | 207 | 71 |
| Р | 208 | 72 |
| С | 209 | 67 |
| Т | 210 | 78 |
| У | 211 | 69 |
| Ф | 212 | 65 |
| Х | 213 | 219 |
| Ц | 214 | 87 |
| Ч | 215 | 88 |
| Ш | 216 | 73 |
| Щ | 217 | 79 |
| Ъ | 218 | 77 |
| Ы | 219 | 83 |
| Ь | 220 | 77 |
| Э | 221 | 222 |
| Ю | 222 | 190 |
| Я | 223 | 90 |
)TABLE";

std::map<int, int> documentedKeys()
{
    std::map<int, int> keys;
    for (const auto& fields : tableRows(kKoiKeysText))
        keys[std::stoi(fields.at(2))] = std::stoi(fields.at(3)); // "", char, code, key
    return keys;
}

TEST(Koi7, KoiTableHoldsTheMachineCharacters)
{
    std::string expected = "_";
    for (int c = 32; c <= 95; ++c)
        expected += static_cast<char>(c == 39 ? 96 : c);
    expected += to1251("ЮАБЦДЕФГХИЙКЛМНОПЯРСТУЖВЬЫЗШЭЩЧ");
    ASSERT_EQ(expected.size(), 96u);
    EXPECT_EQ(std::string(KoiTable), expected);
}

TEST(Koi7, KoiToGivesTheTableAndBlanksElsewhere)
{
    EXPECT_EQ(static_cast<std::uint8_t>(koiToCp1251(96)), byte1251("Ю"));
    EXPECT_EQ(koiToCp1251(39), '`');
    EXPECT_EQ(koiToCp1251(31), '_');
    EXPECT_EQ(koiToCp1251(5), ' ');
    EXPECT_EQ(koiToCp1251(65), 'A');
    EXPECT_EQ(koiToCp1251(95), '_');
    EXPECT_EQ(static_cast<std::uint8_t>(koiToCp1251(126)), byte1251("Ч"));
    for (int code = 0; code <= 30; ++code)
        EXPECT_EQ(koiToCp1251(code), ' ') << code;
    for (int code = 127; code <= 255; ++code)
        EXPECT_EQ(koiToCp1251(code), ' ') << code;
}

TEST(Koi7, Koi8Koi7MatchesTheDocumentedKeys)
{
    const auto keys = documentedKeys();
    ASSERT_EQ(keys.size(), 48u);
    for (int c = 0; c < 256; ++c) {
        const auto it = keys.find(c);
        EXPECT_EQ(koi8ToKoi7(c), it == keys.end() ? 32 : it->second) << c;
    }
}

// A Cyrillic letter and the Latin character 32 codes below it in the
// machine's character set share one DU-01 key: the key the Russian layout
// reaches must be the one the Latin layout reaches for that character.
TEST(Koi7, CyrillicKeysAgreeWithTheLatinPartner)
{
    const std::map<char, int> latinKeyOf = {{'@', 64}, {'[', 219}, {'\\', 220}, {']', 221}};
    for (int c = 0xC0; c <= 0xDF; ++c) {
        const auto pos = KoiTable.find(static_cast<char>(c));
        if (pos == std::string_view::npos) {
            // Ъ has no machine character and types as Ь.
            EXPECT_EQ(c, byte1251("Ъ"));
            EXPECT_EQ(koi8ToKoi7(c), koi8ToKoi7(byte1251("Ь")));
            continue;
        }
        const char partner = static_cast<char>(pos + 31 - 32);
        int vk = partner >= 'A' && partner <= 'Z' ? partner : -1;
        if (latinKeyOf.count(partner))
            vk = latinKeyOf.at(partner);
        if (vk < 0) {
            EXPECT_EQ(partner, '^'); // Ч: the Latin side has no key for it
            EXPECT_EQ(keyMaskOf(koi8ToKoi7(c), 1), 0x72FF);
            continue;
        }
        if (partner == '\\') {
            // The one pair the tables keep apart: Э is typed on 0x25FF, while
            // the PC's "\" key reaches 0x34FF.
            EXPECT_EQ(keyMaskOf(koi8ToKoi7(c), 1), 0x25FF);
            EXPECT_EQ(keyMaskOf(vk, 0), 0x34FF);
            continue;
        }
        EXPECT_EQ(keyMaskOf(koi8ToKoi7(c), 1), keyMaskOf(vk, 0)) << "letter " << c;
    }
}

// "!" is Shift with the key of "1", "*" with ":", "<" with ",": the shifted
// symbol and its key character differ in bit 4.
TEST(Koi7, ShiftedSymbolsUseTheirUnshiftedKey)
{
    for (int s : {33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 60, 61, 62, 63}) {
        const KeyMask key = keyMaskOf(koi8ToKoi7(s), 0);
        EXPECT_NE(key, machine::KEYMASK_NONE) << s;
        EXPECT_EQ(key, keyMaskOf(s ^ 0x10, 0)) << s;
    }
}

TEST(Koi7, UpCaseText)
{
    std::string all;
    for (int c = 0; c < 256; ++c)
        all += static_cast<char>(c);
    const std::string up = upCaseText(all);
    ASSERT_EQ(up.size(), 256u);
    for (int c = 0; c < 256; ++c) {
        int expected = c;
        if ((c >= 'a' && c <= 'z') || c >= 0xE0)
            expected = c - 0x20;
        EXPECT_EQ(static_cast<std::uint8_t>(up[c]), expected) << c;
    }
    EXPECT_EQ(upCaseText("\xB8\xA8 abc"), "\xB8\xA8 ABC");
    EXPECT_EQ(upCaseText(""), "");
}

class FakeClipboard : public machine::ClipboardText {
public:
    std::optional<std::string> data;
    std::optional<std::string> text() override { return data; }
};

class PasteTest : public ::testing::Test {
protected:
    EventLog log;
    test::TestHost host = captionLoggingHost(log);
    Machine m{host};
    RecordingKeyboard keyboard{m, log};
    FakeClipboard clipboard;

    void SetUp() override
    {
        host.captionText = "Ostrovik";
        // A tight loop at 8000h keeps the CPU out of the ROM area, where an
        // empty image would run into the tape-load trap (which ends a pause).
        m.ram[0x8000] = 0xC3;
        m.ram[0x8001] = 0x00;
        m.ram[0x8002] = 0x80;
        m.regPC = 0x8000;
    }

    void paste(std::string text)
    {
        clipboard.data = std::move(text);
        machine::pasteClipboard(keyboard, clipboard);
    }

    std::vector<std::string> keyEvents() const
    {
        std::vector<std::string> keys;
        for (const auto& e : log.events)
            if (e[0] == '+' || e[0] == '-')
                keys.push_back(e);
        return keys;
    }

    std::vector<std::string> captions() const
    {
        std::vector<std::string> c;
        for (const auto& e : log.events)
            if (e.rfind("caption ", 0) == 0)
                c.push_back(e.substr(8));
        return c;
    }
};

using Events = std::vector<std::string>;

const std::string kRun = "run 900000";

// A key pressed, a run, released, a run.
Events tap(const std::string& code)
{
    return {"+" + code, kRun + " held " + code, "-" + code, kRun};
}

Events operator+(Events a, const Events& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(PasteTest, TwoSmallLatinLettersAreTypedAsCapitals)
{
    paste("ab");
    EXPECT_EQ(log.events, (Events{"caption Paste 50%"} + tap("35FF") + tap("64FF") +
                              Events{"caption Paste 100%"} + tap("35FF") + tap("31FF") +
                              tap("35FF") + Events{"caption Ostrovik"}));
    EXPECT_EQ(m.cyrillicLayout, 0);
    EXPECT_EQ(heldKeys(m), "");
    EXPECT_EQ(keyboard.totalTStates, 2 * 3'600'000LL + 1'800'000LL);
}

TEST_F(PasteTest, CyrillicLetterUsesTheRussianKey)
{
    paste(to1251("Щ"));
    EXPECT_EQ(log.events, (Events{"caption Paste 100%"} + tap("61FF") + tap("12FF") + tap("35FF") +
                              Events{"caption Ostrovik"}));
    // Small Cyrillic letters are typed as capitals.
    log.events.clear();
    paste("\xF9"); // щ
    EXPECT_EQ(keyEvents(), (Events{"+61FF", "-61FF", "+12FF", "-12FF", "+35FF", "-35FF"}));
    EXPECT_EQ(m.cyrillicLayout, 0);
}

TEST_F(PasteTest, QuestionMarkIsShiftedSlash)
{
    paste("?");
    EXPECT_EQ(log.events, (Events{"caption Paste 100%"} + tap("35FF") +
                              Events{"+70FF", "run 900000 held 70FF", "+36FF",
                                     "run 900000 held 36FF 70FF", "-36FF", "run 900000 held 70FF",
                                     "-70FF", kRun} +
                              tap("35FF") + Events{"caption Ostrovik"}));
    EXPECT_EQ(keyboard.totalTStates, 5'400'000LL + 1'800'000LL);
}

TEST_F(PasteTest, CharactersWithoutAKeyOnlyTapTheLatinKey)
{
    paste("\n");
    EXPECT_EQ(log.events, (Events{"caption Paste 100%"} + tap("35FF") + Events{kRun, kRun} +
                              tap("35FF") + Events{"caption Ostrovik"}));
    EXPECT_EQ(keyboard.totalTStates, 3'600'000LL + 1'800'000LL);

    // Small and capital yo are neither upper-cased nor Cyrillic; tab and "["
    // have no key either.
    for (const char* text : {"\xB8", "\xA8", "\t", "["}) {
        log.events.clear();
        paste(text);
        EXPECT_EQ(keyEvents(), (Events{"+35FF", "-35FF", "+35FF", "-35FF"})) << text;
    }
}

TEST_F(PasteTest, PlainCharactersTypeTheirOwnKey)
{
    // Each as the PC key that shows it on a US keyboard.
    const std::vector<std::pair<char, int>> cases = {
        {'\r', 13}, {' ', 32}, {',', 188}, {'-', 189}, {'.', 190}, {'/', 191},
        {'0', 48},  {'9', 57}, {'Z', 90},  {':', 106}, {';', 192}, {'@', 186},
    };
    for (const auto& [c, vk] : cases) {
        log.events.clear();
        paste(std::string(1, c));
        const std::string key = hex4(keyMaskOf(vk, 0));
        EXPECT_EQ(keyEvents(), (Events{"+35FF", "-35FF", "+" + key, "-" + key, "+35FF", "-35FF"}))
            << int(c);
    }
}

TEST_F(PasteTest, CaptionRoundsHalvesToEven)
{
    paste(std::string(8, '\n'));
    EXPECT_EQ(captions(), (Events{"Paste 12%", "Paste 25%", "Paste 38%", "Paste 50%", "Paste 62%",
                                  "Paste 75%", "Paste 88%", "Paste 100%", "Ostrovik"}));
    log.events.clear();
    paste(std::string(3, '\n'));
    EXPECT_EQ(captions(), (Events{"Paste 33%", "Paste 67%", "Paste 100%", "Ostrovik"}));
    log.events.clear();
    paste(std::string(200, '\n'));
    const auto c = captions();
    ASSERT_EQ(c.size(), 201u);
    EXPECT_EQ(c[0], "Paste 0%");   // 0.5
    EXPECT_EQ(c[2], "Paste 2%");   // 1.5
    EXPECT_EQ(c[4], "Paste 2%");   // 2.5
    EXPECT_EQ(c[199], "Paste 100%");
}

TEST_F(PasteTest, NoTextDoesNothing)
{
    clipboard.data.reset();
    machine::pasteClipboard(keyboard, clipboard);
    paste("");
    // Text ends at the first zero byte.
    paste(std::string("\0AB", 3));
    for (const auto& e : log.events)
        EXPECT_EQ(e, "caption Ostrovik");
    EXPECT_EQ(keyboard.totalTStates, 0);
}

TEST_F(PasteTest, TextStopsAtTheFirstZeroByte)
{
    paste(std::string("A\0B", 3));
    EXPECT_EQ(keyEvents(), (Events{"+35FF", "-35FF", "+64FF", "-64FF", "+35FF", "-35FF"}));
}

TEST_F(PasteTest, WorksWhilePausedAndLeavesTheMatrixClear)
{
    m.paused = 1;
    m.keyMatrix[3] = 0x20; // a key the user holds (LAT) is released by the tap
    paste(to1251("ЖЁЪ") + "+1");
    EXPECT_EQ(m.paused, 1);
    EXPECT_EQ(m.cyrillicLayout, 0);
    EXPECT_EQ(heldKeys(m), "");
    EXPECT_EQ(keyboard.totalTStates, 4 * 3'600'000LL + 5'400'000LL + 1'800'000LL);
}

} // namespace
} // namespace ostrovik::testing
