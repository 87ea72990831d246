#pragma once

#include <array>
#include <cstdint>

namespace ostrovik::machine {

class Machine;

/// Entry points of the machine's ROM that the emulator serves itself: the
/// cassette routines read from the tape buffer instead of a tape signal, and
/// the console output is copied to the log window.
namespace rom_entry {
inline constexpr std::uint16_t TapeLoad = 0xDD94;   ///< load a file from tape
inline constexpr std::uint16_t TapeByte = 0xE4BE;   ///< read one tape byte into A
inline constexpr std::uint16_t TapeWord = 0xDDCA;   ///< read one tape word into L, H
inline constexpr std::uint16_t Skipped = 0xE4D0;    ///< returns at once
inline constexpr std::uint16_t ConsoleOut = 0xDF68; ///< print the character in C
} // namespace rom_entry

namespace rom_trap_detail {
inline constexpr std::uint16_t kLowest = rom_entry::TapeLoad;
// The five addresses differ in their low byte, so one look-up by the low
// byte tells a trap address from any other (0x10000 never matches).
inline constexpr std::array<std::uint32_t, 256> kByLowByte = [] {
    std::array<std::uint32_t, 256> t{};
    t.fill(0x10000);
    for (std::uint16_t a : {rom_entry::TapeLoad, rom_entry::TapeByte, rom_entry::TapeWord, rom_entry::Skipped,
                            rom_entry::ConsoleOut})
        t[a & 0xFF] = a;
    return t;
}();
static_assert(kLowest <= rom_entry::TapeByte && kLowest <= rom_entry::TapeWord &&
              kLowest <= rom_entry::Skipped && kLowest <= rom_entry::ConsoleOut);
} // namespace rom_trap_detail

/// Whether the trap step has anything to do at @p pc (0..0xFFFF). Code below
/// the ROM's cassette routines pays one comparison.
constexpr bool isRomTrapAddress(unsigned pc)
{
    return pc >= rom_trap_detail::kLowest && rom_trap_detail::kByLowByte[pc & 0xFF] == pc;
}

/// The trap step, between the fetch of @p opcode at `regPC` and its dispatch.
/// Acts on the machine (registers, tape position, log line) and returns the
/// opcode to dispatch: RET (0xC9) when the ROM routine is to return at once.
/// The machine's register fields must be current; the tape-load trap may run
/// the CPU again (a loaded BASIC program's RUN).
std::uint8_t romTrapStep(Machine& m, std::uint8_t opcode);

} // namespace ostrovik::machine
