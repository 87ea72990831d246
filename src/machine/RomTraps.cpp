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
    explicit PauseWhile(Machine& m) : m_(m) { m_.Paused = 1; }
    ~PauseWhile() { m_.Paused = 0; }
    PauseWhile(const PauseWhile&) = delete;
    PauseWhile& operator=(const PauseWhile&) = delete;

private:
    Machine& m_;
};

/// How many bytes of the tape buffer hold the loaded file.
int tapeBytes(const Machine& m)
{
    return std::clamp<int>(m.TapeLength, 0, static_cast<int>(m.TapeBuf.size()));
}

void consoleTap(Machine& m)
{
    const int ch = m.r_C & 0xFF;
    if (ch == 10 || !m.host().logWindowVisible())
        return;
    if (ch == 127) {
        if (!m.LogLine.empty())
            m.LogLine.pop_back();
    } else if (ch == 13) {
        m.host().appendLogLine(platform::Cp1251ToUtf8(m.LogLine));
        m.LogLine.clear();
    } else {
        // Codes without a character (below 31, above 126) show as blanks.
        m.LogLine += KoiTo(static_cast<std::uint8_t>(ch));
    }
}

void tapeLoad(Machine& m)
{
    m.TapePos = 0;
    // The run loop skips its ticks while the dialog is open.
    PauseWhile pause(m);
    if (const auto file = m.host().chooseTapeFile())
        m.host().loadFile(*file, false);
}

void tapeByte(Machine& m)
{
    if (m.TapePos < kSyncBytes) {
        // Also before the first load, when the position is still -1.
        m.r_A = 0xD0;
        ++m.TapePos;
    } else if (m.TapePos < kStreamDataStart) {
        m.r_A = m.do_read(kNameBytesBase + m.TapePos);
        ++m.TapePos;
    } else if (m.TapePos < tapeBytes(m)) {
        m.r_A = m.TapeBuf[m.TapePos];
        ++m.TapePos;
    } else {
        m.r_A = 0xFF;
    }
}

void tapeWord(Machine& m)
{
    // A position before the start (no tape-load trap since power-on) has no
    // bytes to give either.
    if (m.TapePos < 0 || m.TapePos >= tapeBytes(m) - 1) {
        m.r_L = 0xFF;
        m.r_H = 0xFF;
        return;
    }
    m.r_L = m.TapeBuf[m.TapePos];
    m.r_H = m.TapeBuf[m.TapePos + 1];
    m.TapePos += 2;
}

} // namespace

std::uint8_t RomTrapStep(Machine& m, std::uint8_t opcode)
{
    switch (m.r_PC) {
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
