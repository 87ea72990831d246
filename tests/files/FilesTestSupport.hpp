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
#include "support/TapeImages.hpp"

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

using ostrovik::test::basicTape;
using ostrovik::test::machineCodeTape;

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
    m.ports[0xC2] = 0xFF;
    m.regPC = 0x0100;
    m.runOpcodes(40);
    return m.regPC != 0x0100;
}

} // namespace ostrovik::files::test
