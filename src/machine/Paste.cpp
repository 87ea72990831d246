#include "machine/Paste.hpp"

#include <cstdint>

#include "machine/Keyboard.hpp"
#include "machine/Koi7.hpp"
#include "machine/Machine.hpp"

namespace ostrovik::machine {

namespace {

// Long enough for the machine's program to see every press and release.
constexpr std::int32_t kStep = 900000;
constexpr KeyMask kShiftKey = 0x70FF;

bool isCyrillicCapital(std::uint8_t c)
{
    return c >= 0xC0 && c <= 0xDF;
}

// ! " # $ % & ' ( ) * + < = > ? are typed with Shift.
bool isShiftedSymbol(std::uint8_t c)
{
    return (c >= 33 && c <= 43) || (c >= 60 && c <= 63);
}

// Round(i * 100 / n), ties to even.
std::uint64_t percent(std::uint64_t i, std::uint64_t n)
{
    const std::uint64_t num = i * 100;
    std::uint64_t q = num / n;
    const std::uint64_t twiceRest = 2 * (num % n);
    if (twiceRest > n || (twiceRest == n && (q & 1)))
        ++q;
    return q;
}

// The machine's own alphabet switch: its mode key tapped, with the PC-side
// table to match.
void selectAlphabet(Keyboard& kb, bool russian)
{
    kb.machine().cyrillicLayout = russian ? 1 : 0;
    const KeyMask mode = russian ? KEYMASK_RUS : KEYMASK_LAT;
    kb.setKey(mode, true);
    kb.run(kStep);
    kb.setKey(mode, false);
    kb.run(kStep);
}

void typeCharacter(Keyboard& kb, std::uint8_t c)
{
    Machine& m = kb.machine();
    if (isCyrillicCapital(c)) {
        selectAlphabet(kb, true);
        const KeyMask key = m.keyMaskOf(koi8ToKoi7(c));
        kb.setKey(key, true);
        kb.run(kStep);
        kb.setKey(key, false);
    } else if (isShiftedSymbol(c)) {
        selectAlphabet(kb, false);
        kb.setKey(kShiftKey, true);
        kb.run(kStep);
        const KeyMask key = m.keyMaskOf(koi8ToKoi7(c));
        kb.setKey(key, true);
        kb.run(kStep);
        kb.setKey(key, false);
        kb.run(kStep);
        kb.setKey(kShiftKey, false);
    } else {
        selectAlphabet(kb, false);
        // The character code is its own virtual key: the Latin table maps
        // the capitals, digits, Enter, space and the plain punctuation.
        const KeyMask key = m.keyMaskOf(c);
        kb.setKey(key, true);
        kb.run(kStep);
        kb.setKey(key, false);
    }
    kb.run(kStep);
}

} // namespace

bool getClipboardText(ClipboardText& clipboard, std::string& text)
{
    std::optional<std::string> data = clipboard.text();
    if (!data)
        return false;
    text = data->substr(0, data->find('\0'));
    return true;
}

void pasteText(Keyboard& keyboard, std::string_view text)
{
    Host& host = keyboard.machine().host();
    const std::string caption = host.caption();
    if (text.empty()) {
        host.setCaption(caption);
        return;
    }
    const std::string upper = upCaseText(text);
    const std::uint64_t n = upper.size();
    for (std::uint64_t i = 1; i <= n; ++i) {
        host.setCaption("Paste " + std::to_string(percent(i, n)) + "%");
        typeCharacter(keyboard, static_cast<std::uint8_t>(upper[i - 1]));
    }
    selectAlphabet(keyboard, false);
    host.setCaption(caption);
}

void pasteClipboard(Keyboard& keyboard, ClipboardText& clipboard)
{
    std::string text;
    getClipboardText(clipboard, text);
    pasteText(keyboard, text);
}

} // namespace ostrovik::machine
