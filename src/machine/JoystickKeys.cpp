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

void JoyMove(Machine& machine, const JoyKeyWords& keys, std::uint32_t axes)
{
    const auto x = static_cast<std::uint16_t>(axes & 0xFFFF);
    const auto y = static_cast<std::uint16_t>(axes >> 16);
    if (y == kAxisMin)
        key(machine, keys.JoyKeyUp, true);
    if (y == kAxisMax)
        key(machine, keys.JoyKeyDown, true);
    if (y == kAxisCentre) {
        key(machine, keys.JoyKeyUp, false);
        key(machine, keys.JoyKeyDown, false);
    }
    if (x == kAxisMin)
        key(machine, keys.JoyKeyLeft, true);
    if (x == kAxisMax)
        key(machine, keys.JoyKeyRight, true);
    if (x == kAxisCentre) {
        key(machine, keys.JoyKeyLeft, false);
        key(machine, keys.JoyKeyRight, false);
    }
}

void JoyButtonDown(Machine& machine, const JoyKeyWords& keys, std::uint32_t buttons)
{
    for (std::size_t n = 0; n < keys.JoyKeyButton.size(); ++n)
        if (buttons & (1u << n))
            key(machine, keys.JoyKeyButton[n], true);
}

void JoyButtonUp(Machine& machine, const JoyKeyWords& keys, std::uint32_t buttons)
{
    for (std::size_t n = 0; n < keys.JoyKeyButton.size(); ++n)
        if (!(buttons & (1u << n)))
            key(machine, keys.JoyKeyButton[n], false);
}

} // namespace ostrovik::machine
