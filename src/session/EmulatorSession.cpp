#include "session/EmulatorSession.hpp"

namespace ostrovik::session {

EmulatorSession::EmulatorSession(machine::Host& host, platform::WaveOut& waveOut)
    : host_(host), machine_(host), colorTable_(std::make_unique<output::ColourLookupTable>()),
      screen_(machine_, *colorTable_), keyboard_(machine_), beeper_(machine_, waveOut)
{
    output::CalculateColor(*colorTable_);
}

EmulatorSession::~EmulatorSession() = default;

void EmulatorSession::powerOn()
{
    machine_.tapePosition = -1;
    machine_.coldReset();
    beeper_.SoundLevel = 128;
    beeper_.InitAudio();
    machine_.runOpcodes(host_.quickRun() ? kQuickStartBudget : machine_.cyclesPerTick);
}

bool EmulatorSession::runFrame()
{
    if (machine_.paused)
        return false;
    machine_.runOpcodes(machine_.cyclesPerTick);
    host_.presentFrame();
    // Only a full run makes a buffer; the edges of a shorter one wait for the
    // next.
    if (machine_.clock > kFullFrameClock)
        beeper_.playTone();
    return true;
}

void EmulatorSession::tapMatrixKey(machine::KeyMask key)
{
    machine_.setKey(key, true);
    machine_.runOpcodes(kMatrixKeyHold);
    machine_.setKey(key, false);
}

} // namespace ostrovik::session
