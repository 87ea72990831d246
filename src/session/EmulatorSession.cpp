#include "session/EmulatorSession.hpp"

#include "files/avi/AviWriter.hpp"

namespace ostrovik::session {

EmulatorSession::EmulatorSession(machine::Host& host, platform::WaveOut& waveOut, DesktopSize desktop)
    : host_(host), machine_(host), colorTable_(std::make_unique<output::ColourLookupTable>()),
      screen_(machine_, *colorTable_), keyboard_(machine_), beeper_(machine_, waveOut),
      recorder_(std::make_unique<files::avi::AviWriter>(desktop.width, desktop.height))
{
    output::calculateColor(*colorTable_);
    screen_.changeRenderMode(renderMode_);
    beeper_.setSoundSwitch([this] { return soundOn_; });
    // As the window was designed: the machine's frame, neither stretched nor
    // converted, one second per frame until a recording sets its own.
    recorder_->width = 256;
    recorder_->height = 256;
    recorder_->frameTime = 1;
    recorder_->stretch = false;
    recorder_->setPixelFormat(files::avi::PixelFormat::pf24bit);
}

EmulatorSession::~EmulatorSession() = default;

void EmulatorSession::powerOn()
{
    machine_.tapePosition = -1;
    machine_.coldReset();
    beeper_.soundLevel = output::sound::kSilentSample;
    beeper_.openAudio();
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

void EmulatorSession::setSoundOn(bool on)
{
    soundOn_ = on;
    if (on)
        beeper_.openAudio();
    else
        beeper_.closeAudio();
}

} // namespace ostrovik::session
