#include "debugger/MemoryTools.hpp"

#include <algorithm>
#include <stdexcept>
#include <string_view>

#include "debugger/Numbers.hpp"
#include "platform/RegularFile.hpp"
#include "platform/WholeFile.hpp"

namespace ostrovik::debugger {

int CheatFinder::remember(Memory ram)
{
    std::copy(ram.begin(), ram.end(), memorySnapshot_.begin());
    return static_cast<int>(memorySnapshot_.size());
}

std::vector<int> CheatFinder::droppedByOne(Memory ram) const
{
    std::vector<int> addresses;
    for (std::size_t a = 0; a < memorySnapshot_.size(); ++a) {
        const int t = memorySnapshot_[a] - 1;
        if (t != 0 && t == ram[a])
            addresses.push_back(static_cast<int>(a));
    }
    return addresses;
}

int recheck(Memory ram, std::string_view valueText, const std::vector<std::string>& lines,
            std::vector<std::string>& memo)
{
    for (const std::string& line : lines) {
        const std::int32_t v = strToInt(valueText);
        checkRange(v, 0, 255);
        const std::int32_t a = strToInt(line);
        checkRange(a, 0, 65535);
        if (ram[static_cast<std::size_t>(a)] == v)
            memo.push_back(line);
    }
    return static_cast<int>(lines.size());
}

void poke(MutableMemory ram, std::int32_t address, std::int32_t value)
{
    if (address < 0 || address > 0xFFFF)
        throw std::runtime_error("Address " + std::to_string(address) +
                                 " is outside memory (0-65535); nothing was changed");
    ram[static_cast<std::size_t>(address)] = static_cast<std::uint8_t>(value);
}

void saveMemoryDump(Memory ram, const std::string& path)
{
    const platform::FileWrite written = platform::writeWholeFile(
        path, std::string_view(reinterpret_cast<const char*>(ram.data()), ram.size()));
    if (!written.ok)
        throw std::runtime_error((written.created ? "Cannot write " : "Cannot create ") + path + ": " +
                                 written.reason);
}

void loadMemoryDump(MutableMemory ram, const std::string& path)
{
    // Read whole before storing, so an unreadable file changes nothing; only
    // a regular file, and no more of it than memory holds.
    const platform::FileRead read = platform::readRegularFile(path, ram.size(), platform::WhenLonger::KeepPrefix);
    if (!read.ok())
        throw std::runtime_error("Cannot open " + path + ": " + read.reason);
    std::copy(read.bytes.begin(), read.bytes.end(), ram.begin());
    if (read.status == platform::FileReadStatus::Truncated)
        throw std::runtime_error("Range check error: " + path +
                                 " is longer than 65536 bytes; its first 65536 bytes were loaded");
}

std::string listingCopyText(std::span<const Instruction> rows)
{
    std::string text;
    for (const Instruction& in : rows)
        text += "\t" + mnemonicText(in) + " " + operandText(in) + "\r\n";
    return text;
}

} // namespace ostrovik::debugger
