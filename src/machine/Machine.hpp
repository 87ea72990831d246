#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "machine/Host.hpp"
#include "machine/KeyMask.hpp"

namespace ostrovik::machine {

/// Receives every write to the beeper latch (port C2), before the latch is
/// stored, so that it can compare bit 0 with the old value.
class SoundSink {
public:
    virtual ~SoundSink() = default;
    virtual void putSound(int value) = 0;
};

/// The DU-01: the 8080's registers, the memory image, video RAM, the port
/// latches and the key matrices, with the operations the rest of the program
/// calls by the machine's own names. One object per main window.
///
/// The fields are public on purpose: the debuggers, the loaders and the
/// windows read and patch them directly, as the machine's own tools do.
class Machine {
public:
    static constexpr std::size_t kTapeBufferSize = 90004;

    explicit Machine(Host& host);
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    // ---- CPU state -------------------------------------------------------
    std::int32_t regA = 0, regB = 0, regC = 0, regD = 0, regE = 0, regH = 0, regL = 0, regF = 0;
    std::int32_t regPC = 0, regSP = 0;
    /// T-states executed since the start of the current run.
    std::int32_t clock = 0;

    std::uint8_t flagS = 0x80, flagZ = 0x40, flagAC = 0x10, flagP = 0x04, flag1 = 0x02,
                 flagCY = 0x01;
    std::array<std::uint16_t, 256> flagTable{};

    // ---- memory and ports ------------------------------------------------
    std::array<std::uint8_t, 65536> ram{};
    std::array<std::uint8_t, 16384> videoRam{};
    std::array<std::uint8_t, 256> ports{};
    std::array<std::uint8_t, 8> keyMatrix{};
    std::array<std::uint8_t, 4> extKeyMatrix{};
    /// Each video byte as last drawn; 0x0101 (never a byte value) forces a redraw.
    std::array<std::uint16_t, 16385> videoShadow{};

    // ---- run state and machine constants ----------------------------------
    std::uint8_t paused = 0;
    std::int32_t tickDivisor = 50;
    std::int32_t cyclesPerTick = 56448;
    std::uint16_t warmStartSP = 0xAFC1;
    std::uint16_t warmStartPC = 0x02FD;
    std::uint16_t basicStartVar = 0x0243;
    std::uint16_t basicEndVar = 0x0245;

    // ---- tape --------------------------------------------------------------
    std::array<std::uint8_t, kTapeBufferSize> tapeBuffer{};
    std::int32_t tapeLength = 0;
    std::int32_t tapePosition = -1;

    /// The console line the log window is collecting.
    std::string logLine;

    /// 1 = the Cyrillic key table is in use, 0 = the Latin one.
    std::uint8_t cyrillicLayout = 0;

    /// Folder that holds bios.dat (the executable's folder).
    std::string programDir;
    /// The file named on the command line, loaded by the first cold reset.
    std::string commandLineFile;
    /// Scratch buffer bios.dat is read into; never cleared between loads.
    std::array<std::uint8_t, 65536> biosBuffer{};

    // ---- CPU ---------------------------------------------------------------
    void initCpu();
    void resetRegisters(int pc);
    /// Runs instructions until @c clock reaches @p budget (signed).
    void runOpcodes(std::int32_t budget);
    /// Whether an undefined opcode is reported as invalid (reportInvalidOpcode)
    /// instead of running as its documented twin. This machine never does.
    bool invalidOpcodeSignalled() const { return false; }
    void reportInvalidOpcode(int opcode);

    // ---- memory map and ports (hot path, inline) ---------------------------
    std::uint8_t readByte(std::uint32_t addr) const
    {
        addr &= 0xFFFF;
        if (ports[0xC2] & 0x02)
            return ram[addr];
        if (addr < 0x4000)
            return 0;
        if (addr < 0x8000)
            return videoRam[addr - 0x4000];
        return ram[addr];
    }
    void writeByte(std::uint32_t addr, int value)
    {
        addr &= 0xFFFF;
        if (addr >= 0xC000)
            return;
        if (ports[0xC2] & 0x02) {
            ram[addr] = static_cast<std::uint8_t>(value);
        } else if (addr >= 0x8000) {
            ram[addr] = static_cast<std::uint8_t>(value);
        } else if (addr >= 0x4000) {
            videoRam[addr - 0x4000] = static_cast<std::uint8_t>(value);
        }
    }
    std::uint8_t readByteAt(int lo, int hi) const { return readByte(((hi & 0xFF) << 8) | (lo & 0xFF)); }
    void writeByteAt(int lo, int hi, int value) { writeByte(((hi & 0xFF) << 8) | (lo & 0xFF), value); }
    int readMemoryWord(std::uint32_t addr) const;
    void writeMemoryWord(std::uint32_t addr, int value);
    std::uint8_t readPort(int port) const;
    void writePort(int port, int value);
    void clearMemory();

    // ---- keyboard -----------------------------------------------------------
    /// The key @p virtualKey types under the key table @c cyrillicLayout selects.
    KeyMask keyMaskOf(std::uint16_t virtualKey) const;
    /// Presses (@p down) or releases the key(s) @p code names.
    void setKey(KeyMask code, bool down)
    {
        const int mainRow = code >> 12, mainBit = (code >> 8) & 0xF;
        const int extRow = (code >> 4) & 0xF, extBit = code & 0xF;
        if (mainBit < 8 && mainRow < 8)
            keyMatrix[mainRow] = static_cast<std::uint8_t>(
                down ? keyMatrix[mainRow] | (1 << mainBit) : keyMatrix[mainRow] & ~(1 << mainBit));
        if (extBit < 8 && extRow < 4)
            extKeyMatrix[extRow] = static_cast<std::uint8_t>(
                down ? extKeyMatrix[extRow] | (1 << extBit) : extKeyMatrix[extRow] & ~(1 << extBit));
    }

    // ---- reset and start ------------------------------------------------------
    /// Cold reset. Throws std::runtime_error (path and reason) when bios.dat
    /// cannot be read; the steps after the failure do not run.
    void coldReset();
    void loadBios();
    void resetPortsAndCpu();
    /// Readies the machine for a program a loader has put into memory.
    void warmStart();

    /// Marks every video byte for redraw.
    void invalidateScreen() { videoShadow.fill(0x0101); }

    Host& host() { return host_; }
    void setSoundSink(SoundSink* sink) { soundSink_ = sink; }

private:
    static constexpr int latch(int port) { return 0xC0 + (port & 0x13); }
    /// Runs the instruction at @c regPC and those after it until @c clock
    /// reaches @p budget (false) or the next instruction stands at a served
    /// ROM address (true); the trap step is the caller's.
    bool runUntilTrap(std::int32_t budget);

    Host& host_;
    SoundSink* soundSink_ = nullptr;
};

} // namespace ostrovik::machine
