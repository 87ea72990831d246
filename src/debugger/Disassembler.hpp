#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace ostrovik::debugger {

/// The 64 KB memory image the debuggers read, straight from the machine's
/// RAM array (never through the memory map).
using Memory = std::span<const std::uint8_t, 65536>;

/// One decoded instruction: where it starts and its bytes in memory order.
struct Instruction {
    std::uint16_t address = 0;
    std::uint8_t length = 1;
    std::array<std::uint8_t, 3> bytes{};

    std::uint8_t opcode() const { return bytes[0]; }
};

/// The instruction at @p address, its length from the CPU's opcode table.
/// Operand bytes beyond 0xFFFF come from 0x0000 on, as the CPU reads them.
Instruction decodeAt(Memory ram, std::uint16_t address);

// The four columns of a listing row, as the debuggers show them.

/// "0100:"
std::string addressText(const Instruction& in);
/// "76 ", "3E 0A", "C3 00 C0": only a one-byte instruction ends in a blank.
std::string bytesText(const Instruction& in);
/// "MOV A,M", "MVI B ,3E", "IN 0D1h", "JMP ", "_call_ ".
std::string mnemonicText(const Instruction& in);
/// "C000h", or "0C000h" for JNZ, JMP and CNZ; empty below three bytes.
std::string operandText(const Instruction& in);

/// Decodes the instructions from @p from while their first address is at
/// most @p to (so the last one may reach two bytes past @p to). Nothing is
/// listed above 0xFFFF: the listing stops at the end of memory, and a start
/// below 0 begins at 0. @p progress, when given, hears the number of rows
/// after each row.
std::vector<Instruction> disassemble(Memory ram, std::int32_t from, std::int32_t to,
                                     const std::function<void(int)>& progress = {});

} // namespace ostrovik::debugger
