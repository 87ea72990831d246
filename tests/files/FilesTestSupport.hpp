#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "support/TempFolder.hpp"
#include "files/TapeImage.hpp"
#include "machine/Host.hpp"
#include "machine/Machine.hpp"
#include "support/TestHost.hpp"

namespace ostrovik::files::test {

using TestHost = ostrovik::test::TestHost;

/// A fresh folder of the test's own, removed afterwards.
class TempDir : public ostrovik::test::TempFolder {
public:
    TempDir() : TempFolder("files") {}
    std::string file(const std::string& name) const { return (path() / name).string(); }
};

inline std::string writeFile(const std::string& path, std::span<const std::uint8_t> bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

inline std::vector<std::uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// A machine-code tape image: header, then @p data as it stands (it may hold
/// fewer or more bytes than the header's range).
inline std::vector<std::uint8_t> machineCodeImage(std::uint16_t start, std::uint16_t end, std::uint16_t run,
                                                  std::span<const std::uint8_t> data)
{
    TLvtHeader h;
    h.StartAddr = start;
    h.EndAddr = end;
    h.RunAddr = run;
    const auto head = serialiseLvtHeader(h);
    std::vector<std::uint8_t> out(head.begin(), head.end());
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

/// A BASIC tape image: 16 header bytes, the program, one trailing byte that
/// the loader leaves out.
inline std::vector<std::uint8_t> basicImage(std::span<const std::uint8_t> program, std::uint8_t trailer = 0x00)
{
    std::vector<std::uint8_t> out(kLvtSignature.begin(), kLvtSignature.end());
    out.push_back(0xD3);
    for (char c : std::string_view("PROG  "))
        out.push_back(static_cast<std::uint8_t>(c));
    out.insert(out.end(), program.begin(), program.end());
    out.push_back(trailer);
    return out;
}

inline std::vector<std::uint8_t> pattern(std::size_t n, std::uint8_t seed)
{
    std::vector<std::uint8_t> out(n);
    for (std::size_t i = 0; i < n; ++i)
        out[i] = static_cast<std::uint8_t>(seed + i * 7 + (i >> 8));
    return out;
}

/// Whether the CPU interpreter executes instructions yet: a run over NOPs
/// must move the program counter.
inline bool cpuRuns()
{
    machine::NullHost host;
    machine::Machine m(host);
    m.Ports[0xC2] = 0xFF;
    m.r_PC = 0x0100;
    m.i8080_do_opcodes(40);
    return m.r_PC != 0x0100;
}

} // namespace ostrovik::files::test
