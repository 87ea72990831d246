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
    static constexpr std::size_t kTapeBufSize = 90004;

    explicit Machine(Host& host);
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    // ---- CPU state -------------------------------------------------------
    std::int32_t r_A = 0, r_B = 0, r_C = 0, r_D = 0, r_E = 0, r_H = 0, r_L = 0, r_F = 0;
    std::int32_t r_PC = 0, r_SP = 0;
    /// T-states executed since the start of the current run.
    std::int32_t clock = 0;

    std::uint8_t flag_S = 0x80, flag_Z = 0x40, flag_AC = 0x10, flag_P = 0x04, flag_1 = 0x02,
                 flag_CY = 0x01;
    std::array<std::uint16_t, 256> flag_table{};

    // ---- memory and ports ------------------------------------------------
    std::array<std::uint8_t, 65536> RAM{};
    std::array<std::uint8_t, 16384> VRAM{};
    std::array<std::uint8_t, 256> Ports{};
    std::array<std::uint8_t, 8> KeyMatrix{};
    std::array<std::uint8_t, 4> KeyMatrixExt{};
    /// Each video byte as last drawn; 0x0101 (never a byte value) forces a redraw.
    std::array<std::uint16_t, 16385> VRAMShadow{};

    // ---- run state and machine constants ----------------------------------
    std::uint8_t Paused = 0;
    std::int32_t TickDivisor = 50;
    std::int32_t CyclesPerTick = 56448;
    std::uint16_t WarmSP = 0xAFC1;
    std::uint16_t WarmPC = 0x02FD;
    std::uint16_t BasicStartVar = 0x0243;
    std::uint16_t BasicEndVar = 0x0245;
    /// 0 = raster presentation, 1 = OpenGL, anything else = none.
    std::uint8_t RenderMode = 0;

    // ---- tape --------------------------------------------------------------
    std::array<std::uint8_t, kTapeBufSize> TapeBuf{};
    std::int32_t TapeLength = 0;
    std::int32_t TapePos = -1;

    /// The console line the log window is collecting.
    std::string LogLine;

    /// 1 = the Cyrillic key table is in use, 0 = the Latin one.
    std::uint8_t RusLayout = 0;

    /// Folder that holds bios.dat (the executable's folder).
    std::string ProgramDir;
    /// The file named on the command line, loaded by the first cold reset.
    std::string CmdLineFile;
    /// Scratch buffer bios.dat is read into; never cleared between loads.
    std::array<std::uint8_t, 65536> BiosBuf{};

    // ---- CPU ---------------------------------------------------------------
    void i8080_init();
    void i8080_reset(int pc);
    /// Runs instructions until @c clock reaches @p budget (signed).
    void i8080_do_opcodes(std::int32_t budget);
    bool signal_inv_opc() const { return false; }
    void invalid_opcode(int opcode);

    // ---- memory map and ports (hot path, inline) ---------------------------
    std::uint8_t do_read(std::uint32_t addr) const
    {
        addr &= 0xFFFF;
        if (Ports[0xC2] & 0x02)
            return RAM[addr];
        if (addr < 0x4000)
            return 0;
        if (addr < 0x8000)
            return VRAM[addr - 0x4000];
        return RAM[addr];
    }
    void do_write(std::uint32_t addr, int value)
    {
        addr &= 0xFFFF;
        if (addr >= 0xC000)
            return;
        if (Ports[0xC2] & 0x02) {
            RAM[addr] = static_cast<std::uint8_t>(value);
        } else if (addr >= 0x8000) {
            RAM[addr] = static_cast<std::uint8_t>(value);
        } else if (addr >= 0x4000) {
            VRAM[addr - 0x4000] = static_cast<std::uint8_t>(value);
        }
    }
    std::uint8_t do_read2(int lo, int hi) const { return do_read(((hi & 0xFF) << 8) | (lo & 0xFF)); }
    void do_write2(int lo, int hi, int value) { do_write(((hi & 0xFF) << 8) | (lo & 0xFF), value); }
    int get_var(std::uint32_t addr) const;
    void set_var(std::uint32_t addr, int value);
    std::uint8_t do_input(int port) const;
    void do_output(int port, int value);
    void init_memory();

    // ---- keyboard -----------------------------------------------------------
    /// The key @p virtualKey types under the key table @c RusLayout selects.
    TKeyMask readmask(std::uint16_t virtualKey) const;
    /// Presses (@p down) or releases the key(s) @p code names.
    void kbd(TKeyMask code, bool down)
    {
        const int mainRow = code >> 12, mainBit = (code >> 8) & 0xF;
        const int extRow = (code >> 4) & 0xF, extBit = code & 0xF;
        if (mainBit < 8 && mainRow < 8)
            KeyMatrix[mainRow] = static_cast<std::uint8_t>(
                down ? KeyMatrix[mainRow] | (1 << mainBit) : KeyMatrix[mainRow] & ~(1 << mainBit));
        if (extBit < 8 && extRow < 4)
            KeyMatrixExt[extRow] = static_cast<std::uint8_t>(
                down ? KeyMatrixExt[extRow] | (1 << extBit) : KeyMatrixExt[extRow] & ~(1 << extBit));
    }

    // ---- reset and start ------------------------------------------------------
    /// Cold reset. Throws std::runtime_error (path and reason) when bios.dat
    /// cannot be read; the steps after the failure do not run.
    void ResetComp();
    void load_bios();
    void reset1();
    /// Readies the machine for a program a loader has put into memory.
    void warm_start();

    /// Marks every video byte for redraw.
    void invalidateScreen() { VRAMShadow.fill(0x0101); }

    Host& host() { return host_; }
    void setSoundSink(SoundSink* sink) { soundSink_ = sink; }

private:
    static constexpr int latch(int port) { return 0xC0 + (port & 0x13); }
    /// Runs the instruction at @c r_PC and those after it until @c clock
    /// reaches @p budget (false) or the next instruction stands at a served
    /// ROM address (true); the trap step is the caller's.
    bool run_opcodes(std::int32_t budget);

    Host& host_;
    SoundSink* soundSink_ = nullptr;
};

} // namespace ostrovik::machine
