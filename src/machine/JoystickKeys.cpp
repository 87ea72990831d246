#include "machine/JoystickKeys.hpp"

#include "machine/Machine.hpp"

namespace ostrovik::machine {

namespace {

constexpr std::uint16_t kAxisMin = 255;
constexpr std::uint16_t kAxisCentre = 32767;
constexpr std::uint16_t kAxisMax = 65535;

void key(Machine& machine, std::uint16_t virtualKey, bool down)
{
    machine.setKey(machine.keyMaskOf(virtualKey), down);
}

} // namespace

void joyMove(Machine& machine, const JoyKeyWords& keys, std::uint32_t axes)
{
    const auto x = static_cast<std::uint16_t>(axes & 0xFFFF);
    const auto y = static_cast<std::uint16_t>(axes >> 16);
    if (y == kAxisMin)
        key(machine, keys.joyKeyUp, true);
    if (y == kAxisMax)
        key(machine, keys.joyKeyDown, true);
    if (y == kAxisCentre) {
        key(machine, keys.joyKeyUp, false);
        key(machine, keys.joyKeyDown, false);
    }
    if (x == kAxisMin)
        key(machine, keys.joyKeyLeft, true);
    if (x == kAxisMax)
        key(machine, keys.joyKeyRight, true);
    if (x == kAxisCentre) {
        key(machine, keys.joyKeyLeft, false);
        key(machine, keys.joyKeyRight, false);
    }
}

void joyButtonDown(Machine& machine, const JoyKeyWords& keys, std::uint32_t buttons)
{
    for (std::size_t n = 0; n < keys.joyKeyButton.size(); ++n)
        if (buttons & (1u << n))
            key(machine, keys.joyKeyButton[n], true);
}

void joyButtonUp(Machine& machine, const JoyKeyWords& keys, std::uint32_t buttons)
{
    for (std::size_t n = 0; n < keys.joyKeyButton.size(); ++n)
        if (!(buttons & (1u << n)))
            key(machine, keys.joyKeyButton[n], false);
}

} // namespace ostrovik::machine
