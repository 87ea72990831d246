#include "machine/Keyboard.hpp"

#include "machine/Machine.hpp"

namespace ostrovik::machine {

namespace {
// How long the machine sees an alphabet key held when a Ctrl key taps it.
constexpr std::int32_t kAlphabetKeyHold = 60000;
constexpr std::uint32_t kCtrlScanCode = 0x1D;
} // namespace

void Keyboard::setKey(KeyMask code, bool down)
{
    machine_.setKey(code, down);
}

void Keyboard::run(std::int32_t budget)
{
    machine_.runOpcodes(budget);
}

void Keyboard::pressKey(std::uint16_t key, std::string_view layoutName)
{
    if (machine_.paused)
        return;
    machine_.cyrillicLayout = layoutName == kLayoutRussian ? 1 : 0;
    setKey(machine_.keyMaskOf(key), true);
    // The screen and sound show the result at the next timer tick.
    run(machine_.cyclesPerTick);
}

void Keyboard::releaseKey(std::uint16_t key)
{
    setKey(machine_.keyMaskOf(key), false);
}

void Keyboard::switchLayoutByCtrl(std::uint32_t keyFlags, KeyboardLayout& layout)
{
    if (((keyFlags >> 16) & 0xFF) != kCtrlScanCode)
        return;
    const bool right = (keyFlags >> 24) & 1;
    layout.activateLayout(right ? kLayoutLatin : kLayoutRussian);
    const KeyMask key = right ? KEYMASK_LAT : KEYMASK_RUS;
    setKey(key, true);
    run(kAlphabetKeyHold);
    setKey(key, false);
}

void Keyboard::keyDown(std::uint16_t key, std::uint32_t keyFlags, KeyboardLayout& layout)
{
    switchLayoutByCtrl(keyFlags, layout);
    pressKey(key, layout.activeLayoutName());
}

} // namespace ostrovik::machine
