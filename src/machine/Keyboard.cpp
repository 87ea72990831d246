#include "machine/Keyboard.hpp"

#include "machine/Machine.hpp"

namespace ostrovik::machine {

namespace {
// How long the machine sees an alphabet key held when a Ctrl key taps it.
constexpr std::int32_t kAlphabetKeyHold = 60000;
constexpr std::uint32_t kCtrlScanCode = 0x1D;
} // namespace

void Keyboard::kbd(TKeyMask code, bool down)
{
    machine_.kbd(code, down);
}

void Keyboard::run(std::int32_t budget)
{
    machine_.i8080_do_opcodes(budget);
}

void Keyboard::FormKeyDown(std::uint16_t key, std::string_view layoutName)
{
    if (machine_.Paused)
        return;
    machine_.RusLayout = layoutName == kLayoutRussian ? 1 : 0;
    kbd(machine_.readmask(key), true);
    // The screen and sound show the result at the next timer tick.
    run(machine_.CyclesPerTick);
}

void Keyboard::FormKeyUp(std::uint16_t key)
{
    kbd(machine_.readmask(key), false);
}

void Keyboard::WMKeyDown(std::uint32_t lParam, KeyboardLayout& layout)
{
    if (((lParam >> 16) & 0xFF) != kCtrlScanCode)
        return;
    const bool right = (lParam >> 24) & 1;
    layout.activateLayout(right ? kLayoutLatin : kLayoutRussian);
    const TKeyMask key = right ? KEYMASK_LAT : KEYMASK_RUS;
    kbd(key, true);
    run(kAlphabetKeyHold);
    kbd(key, false);
}

void Keyboard::KeyDown(std::uint16_t key, std::uint32_t lParam, KeyboardLayout& layout)
{
    WMKeyDown(lParam, layout);
    FormKeyDown(key, layout.activeLayoutName());
}

} // namespace ostrovik::machine
