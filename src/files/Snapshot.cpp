#include "files/Snapshot.hpp"

#include <algorithm>

#include "files/Bytes.hpp"
#include "machine/Machine.hpp"

namespace ostrovik::files {

bool hasSavSignature(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= kSavMagic.size()
        && std::equal(kSavMagic.begin(), kSavMagic.end(), bytes.begin(),
                      [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; });
}

void parseSavSnapshot(std::span<const std::uint8_t, kSavSize> bytes, SavSnapshot& out)
{
    for (std::size_t i = 0; i < out.signature.size(); ++i)
        out.signature[i] = static_cast<char>(bytes[i]);
    out.reserved = bytes[kSavReservedAt];
    std::copy_n(bytes.begin() + kSavRamAt, out.ram.size(), out.ram.begin());
    std::copy_n(bytes.begin() + kSavVideoRamAt, out.videoRam.size(), out.videoRam.begin());
    std::copy_n(bytes.begin() + kSavPortsAt, out.ports.size(), out.ports.begin());
    const std::uint8_t* r = bytes.data() + kSavRegistersAt;
    out.B = r[0];
    out.C = r[1];
    out.D = r[2];
    out.E = r[3];
    out.H = r[4];
    out.L = r[5];
    out.A = r[6];
    out.F = r[7];
    out.SP = readWord(bytes, kSavSpAt);
    out.PC = readWord(bytes, kSavPcAt);
}

void serialiseSavSnapshot(const SavSnapshot& s, std::span<std::uint8_t, kSavSize> out)
{
    for (std::size_t i = 0; i < s.signature.size(); ++i)
        out[i] = static_cast<std::uint8_t>(s.signature[i]);
    out[kSavReservedAt] = s.reserved;
    std::copy(s.ram.begin(), s.ram.end(), out.begin() + kSavRamAt);
    std::copy(s.videoRam.begin(), s.videoRam.end(), out.begin() + kSavVideoRamAt);
    std::copy(s.ports.begin(), s.ports.end(), out.begin() + kSavPortsAt);
    std::uint8_t* r = out.data() + kSavRegistersAt;
    r[0] = s.B;
    r[1] = s.C;
    r[2] = s.D;
    r[3] = s.E;
    r[4] = s.H;
    r[5] = s.L;
    r[6] = s.A;
    r[7] = s.F;
    writeWord(out, kSavSpAt, s.SP);
    writeWord(out, kSavPcAt, s.PC);
}

void captureSnapshot(const machine::Machine& m, SavSnapshot& out)
{
    out = SavSnapshot{};
    out.ram = m.ram;
    out.videoRam = m.videoRam;
    out.ports = m.ports;
    const auto low = [](std::int32_t v) { return static_cast<std::uint8_t>(v & 0xFF); };
    out.B = low(m.regB);
    out.C = low(m.regC);
    out.D = low(m.regD);
    out.E = low(m.regE);
    out.H = low(m.regH);
    out.L = low(m.regL);
    out.A = low(m.regA);
    out.F = low(m.regF);
    out.SP = static_cast<std::uint16_t>(m.regSP & 0xFFFF);
    out.PC = static_cast<std::uint16_t>(m.regPC & 0xFFFF);
}

void restoreSnapshot(machine::Machine& m, const SavSnapshot& s)
{
    m.ram = s.ram;
    m.videoRam = s.videoRam;
    m.ports = s.ports;
    m.regB = s.B;
    m.regC = s.C;
    m.regD = s.D;
    m.regE = s.E;
    m.regH = s.H;
    m.regL = s.L;
    m.regA = s.A;
    m.regF = s.F;
    m.regSP = s.SP;
    m.regPC = s.PC;
}

} // namespace ostrovik::files
