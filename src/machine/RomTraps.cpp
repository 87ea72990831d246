#include "machine/RomTraps.hpp"

#include <algorithm>

#include "platform/Cp1251.hpp"
#include "machine/Koi7.hpp"
#include "machine/Machine.hpp"

namespace ostrovik::machine {

namespace {

constexpr std::uint8_t kRet = 0xC9;
/// The tape stream begins with ten sync bytes, then six bytes where the
/// header's name stands, served from the machine's own memory.
constexpr int kSyncBytes = 10;
constexpr int kStreamDataStart = 16;
constexpr std::uint16_t kNameBytesBase = 0xBE82;

/// Sets Paused for the life of the object, and clears it however the scope ends.
class PauseWhile {
public:
    explicit PauseWhile(Machine& m) : machine_(m) { machine_.paused = 1; }
    ~PauseWhile() { machine_.paused = 0; }
    PauseWhile(const PauseWhile&) = delete;
    PauseWhile& operator=(const PauseWhile&) = delete;

private:
    Machine& machine_;
};

/// Tells the host, for the life of the object, that the machine waits inside
/// its run for the user.
class WaitForUser {
public:
    explicit WaitForUser(Host& host) : host_(host) { host_.machineWaitBegins(); }
    ~WaitForUser() { host_.machineWaitEnds(); }
    WaitForUser(const WaitForUser&) = delete;
    WaitForUser& operator=(const WaitForUser&) = delete;

private:
    Host& host_;
};

/// How many bytes of the tape buffer hold the loaded file.
int tapeBytes(const Machine& m)
{
    return std::clamp<int>(m.tapeLength, 0, static_cast<int>(m.tapeBuffer.size()));
}

void consoleTap(Machine& m)
{
    const int ch = m.regC & 0xFF;
    if (ch == 10 || !m.host().logShown())
        return;
    if (ch == 127) {
        if (!m.logLine.empty())
            m.logLine.pop_back();
    } else if (ch == 13) {
        m.host().appendLogLine(platform::cp1251ToUtf8(m.logLine));
        m.logLine.clear();
    } else {
        // Codes without a character (below 31, above 126) show as blanks.
        m.logLine += koiToCp1251(static_cast<std::uint8_t>(ch));
    }
}

void tapeLoad(Machine& m)
{
    m.tapePosition = 0;
    // The run loop skips its ticks while the dialog is open.
    PauseWhile pause(m);
    // Nothing else may reach the machine while this run waits: a load or a
    // reset in the middle of it would be undone by the return below.
    WaitForUser wait(m.host());
    if (const auto file = m.host().chooseTapeFile())
        m.host().loadFile(*file, false);
}

void tapeByte(Machine& m)
{
    if (m.tapePosition < kSyncBytes) {
        // Also before the first load, when the position is still -1.
        m.regA = 0xD0;
        ++m.tapePosition;
    } else if (m.tapePosition < kStreamDataStart) {
        m.regA = m.readByte(kNameBytesBase + m.tapePosition);
        ++m.tapePosition;
    } else if (m.tapePosition < tapeBytes(m)) {
        m.regA = m.tapeBuffer[m.tapePosition];
        ++m.tapePosition;
    } else {
        m.regA = 0xFF;
    }
}

void tapeWord(Machine& m)
{
    // A position before the start (no tape-load trap since power-on) has no
    // bytes to give either.
    if (m.tapePosition < 0 || m.tapePosition >= tapeBytes(m) - 1) {
        m.regL = 0xFF;
        m.regH = 0xFF;
        return;
    }
    m.regL = m.tapeBuffer[m.tapePosition];
    m.regH = m.tapeBuffer[m.tapePosition + 1];
    m.tapePosition += 2;
}

} // namespace

std::uint8_t romTrapStep(Machine& m, std::uint8_t opcode)
{
    switch (m.regPC) {
    case rom_entry::ConsoleOut:
        consoleTap(m);
        return opcode;
    case rom_entry::TapeLoad:
        tapeLoad(m);
        return kRet;
    case rom_entry::Skipped:
        return kRet;
    case rom_entry::TapeByte:
        tapeByte(m);
        return kRet;
    case rom_entry::TapeWord:
        tapeWord(m);
        return kRet;
    default:
        return opcode;
    }
}

} // namespace ostrovik::machine
