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

void parseSavSnapshot(std::span<const std::uint8_t, kSavSize> bytes, TSavSnapshot& out)
{
    for (std::size_t i = 0; i < out.Signature.size(); ++i)
        out.Signature[i] = static_cast<char>(bytes[i]);
    out.Reserved = bytes[kSavReservedAt];
    std::copy_n(bytes.begin() + kSavRamAt, out.Ram.size(), out.Ram.begin());
    std::copy_n(bytes.begin() + kSavVideoRamAt, out.VideoRam.size(), out.VideoRam.begin());
    std::copy_n(bytes.begin() + kSavPortsAt, out.Ports.size(), out.Ports.begin());
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

void serialiseSavSnapshot(const TSavSnapshot& s, std::span<std::uint8_t, kSavSize> out)
{
    for (std::size_t i = 0; i < s.Signature.size(); ++i)
        out[i] = static_cast<std::uint8_t>(s.Signature[i]);
    out[kSavReservedAt] = s.Reserved;
    std::copy(s.Ram.begin(), s.Ram.end(), out.begin() + kSavRamAt);
    std::copy(s.VideoRam.begin(), s.VideoRam.end(), out.begin() + kSavVideoRamAt);
    std::copy(s.Ports.begin(), s.Ports.end(), out.begin() + kSavPortsAt);
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

void captureSnapshot(const machine::Machine& m, TSavSnapshot& out)
{
    out = TSavSnapshot{};
    out.Ram = m.RAM;
    out.VideoRam = m.VRAM;
    out.Ports = m.Ports;
    const auto low = [](std::int32_t v) { return static_cast<std::uint8_t>(v & 0xFF); };
    out.B = low(m.r_B);
    out.C = low(m.r_C);
    out.D = low(m.r_D);
    out.E = low(m.r_E);
    out.H = low(m.r_H);
    out.L = low(m.r_L);
    out.A = low(m.r_A);
    out.F = low(m.r_F);
    out.SP = static_cast<std::uint16_t>(m.r_SP & 0xFFFF);
    out.PC = static_cast<std::uint16_t>(m.r_PC & 0xFFFF);
}

void restoreSnapshot(machine::Machine& m, const TSavSnapshot& s)
{
    m.RAM = s.Ram;
    m.VRAM = s.VideoRam;
    m.Ports = s.Ports;
    m.r_B = s.B;
    m.r_C = s.C;
    m.r_D = s.D;
    m.r_E = s.E;
    m.r_H = s.H;
    m.r_L = s.L;
    m.r_A = s.A;
    m.r_F = s.F;
    m.r_SP = s.SP;
    m.r_PC = s.PC;
}

} // namespace ostrovik::files
