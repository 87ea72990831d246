#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "debugger/Disassembler.hpp"

namespace ostrovik::debugger {

/// The writable memory image: the machine's RAM array, ROM area included.
using MutableMemory = std::span<std::uint8_t, 65536>;

/// How the dump's character column shows a byte: itself from 32 to 127, "." otherwise.
inline char dumpCharacter(std::uint8_t b)
{
    return b >= 32 && b < 128 ? static_cast<char>(b) : '.';
}

/// Every address holding the low 8 bits of @p value, in order. @p found,
/// when given, hears each address as it is found.
template <typename OnFound>
std::vector<int> findValue(Memory ram, std::int32_t value, OnFound&& found)
{
    const auto v = static_cast<std::uint8_t>(value);
    std::vector<int> addresses;
    for (int a = 0; a < 65536; ++a)
        if (ram[static_cast<std::size_t>(a)] == v) {
            addresses.push_back(a);
            found(a);
        }
    return addresses;
}

inline std::vector<int> findValue(Memory ram, std::int32_t value)
{
    return findValue(ram, value, [](int) {});
}

/// The cheat finder's memory of the whole address space.
class CheatFinder {
public:
    /// Remembers every byte of @p ram; returns how many were copied.
    int remember(Memory ram);
    /// The addresses whose value has dropped by exactly one since remember(),
    /// to something other than 0. A remembered 0 never counts as 256.
    std::vector<int> droppedByOne(Memory ram) const;

private:
    std::array<std::uint8_t, 65536> memorySnapshot_{};
};

/// The re-check of the step-1 list: the lines whose address holds the value
/// typed in @p valueText now go to @p memo, in order. Throws the range error
/// at the first value or address out of range (lines already added stay) and
/// the invalid-integer error at the first text that is not a number.
/// Returns the number of lines examined.
int recheck(Memory ram, std::string_view valueText, const std::vector<std::string>& lines,
            std::vector<std::string>& memo);

/// Writes the low 8 bits of @p value at @p address. An address outside the
/// 64 KB is refused with an error: nothing is written.
void poke(MutableMemory ram, std::int32_t address, std::int32_t value);

/// Writes all 65,536 bytes to @p path (created or overwritten). Throws with
/// the path and the reason when the file cannot be written; a write cut
/// short (a full disk) leaves no file under the name.
void saveMemoryDump(Memory ram, const std::string& path);

/// Reads @p path into memory from address 0: a shorter file leaves the rest
/// of memory as it was. A missing or unreadable file, or one that is no
/// regular file (a folder, a FIFO, a device), changes nothing and throws; a
/// longer one stores its first 65,536 bytes and then throws the range error.
void loadMemoryDump(MutableMemory ram, const std::string& path);

/// "Copy assembler code": a tab, the mnemonic, a blank, the operand and
/// CR LF for each row.
std::string listingCopyText(std::span<const Instruction> rows);

} // namespace ostrovik::debugger
