#include "debugger/MemoryTools.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "debugger/Numbers.hpp"

namespace ostrovik::debugger {

int CheatFinder::remember(Memory ram)
{
    std::copy(ram.begin(), ram.end(), MemorySnapshot.begin());
    return static_cast<int>(MemorySnapshot.size());
}

std::vector<int> CheatFinder::droppedByOne(Memory ram) const
{
    std::vector<int> addresses;
    for (std::size_t a = 0; a < MemorySnapshot.size(); ++a) {
        const int t = MemorySnapshot[a] - 1;
        if (t != 0 && t == ram[a])
            addresses.push_back(static_cast<int>(a));
    }
    return addresses;
}

int recheck(Memory ram, std::string_view valueText, const std::vector<std::string>& lines,
            std::vector<std::string>& memo)
{
    for (const std::string& line : lines) {
        const std::int32_t v = StrToInt(valueText);
        checkRange(v, 0, 255);
        const std::int32_t a = StrToInt(line);
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

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

[[noreturn]] void fileError(const std::string& what, const std::string& path, int error)
{
    throw std::runtime_error(what + " " + path + ": " + std::strerror(error));
}

} // namespace

void saveMemoryDump(Memory ram, const std::string& path)
{
    File f(std::fopen(path.c_str(), "wb"));
    if (!f)
        fileError("Cannot create", path, errno);
    if (std::fwrite(ram.data(), 1, ram.size(), f.get()) != ram.size())
        fileError("Cannot write", path, errno);
    if (std::fclose(f.release()) != 0)
        fileError("Cannot write", path, errno);
}

void loadMemoryDump(MutableMemory ram, const std::string& path)
{
    File f(std::fopen(path.c_str(), "rb"));
    if (!f)
        fileError("Cannot open", path, errno);
    // Read whole before storing, so an unreadable file changes nothing.
    std::vector<std::uint8_t> bytes(ram.size() + 1);
    const std::size_t n = std::fread(bytes.data(), 1, bytes.size(), f.get());
    if (std::ferror(f.get()))
        fileError("Cannot read", path, errno);
    std::copy_n(bytes.begin(), std::min(n, ram.size()), ram.begin());
    if (n > ram.size())
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
