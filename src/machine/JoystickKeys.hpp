#pragma once

#include <array>
#include <cstdint>

namespace ostrovik::machine {

class Machine;

/// The PC keys a joystick plays, as virtual-key codes, in the order up,
/// down, left, right, buttons 1 to 4.
struct JoyKeyWords {
    std::uint16_t joyKeyUp = 0;
    std::uint16_t joyKeyDown = 0;
    std::uint16_t joyKeyLeft = 0;
    std::uint16_t joyKeyRight = 0;
    std::array<std::uint16_t, 4> joyKeyButton{};
};

/// The joystick's messages as key presses and releases: each key goes
/// through the key table of the last key press and into the matrix. No CPU
/// runs, and the pause flag is not looked at.
///
/// Only the minimum (255), centre (32,767) and maximum (65,535) of an axis
/// mean anything; a direction key stays pressed until its axis is centred.
void joyMove(Machine& machine, const JoyKeyWords& keys, std::uint32_t axes);
/// Presses the key of every button whose state bit (1, 2, 4, 8) is set.
void joyButtonDown(Machine& machine, const JoyKeyWords& keys, std::uint32_t buttons);
/// Releases the key of every button whose state bit is clear.
void joyButtonUp(Machine& machine, const JoyKeyWords& keys, std::uint32_t buttons);

} // namespace ostrovik::machine
