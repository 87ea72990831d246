#include "output/sound/Beeper.hpp"

#include <span>

namespace ostrovik::output::sound {

/// The device's notice target; it dies with the beeper, so that a notice
/// still on its way then reaches nobody.
class Beeper::NoticeRelay final : public platform::WaveNoticeTarget {
public:
    explicit NoticeRelay(Beeper& beeper) : beeper_(beeper) {}
    void waveNotice(platform::WaveNotice notice, platform::WaveHeader*) override
    {
        switch (notice) {
        case platform::WaveNotice::Open:
            beeper_.MMWomOpen();
            break;
        case platform::WaveNotice::Close:
            beeper_.MMWomClose();
            break;
        case platform::WaveNotice::Done:
            --beeper_.blocksOut_;
            beeper_.MMWomDone();
            break;
        }
    }

private:
    Beeper& beeper_;
};

Beeper::Beeper(machine::Machine& machine, platform::WaveOut& waveOut)
    : machine_(machine), waveOut_(waveOut), soundOn_([] { return true; }),
      relay_(std::make_shared<NoticeRelay>(*this))
{
    machine_.setSoundSink(this);
}

Beeper::~Beeper()
{
    machine_.setSoundSink(nullptr);
}

void Beeper::setSoundSwitch(std::function<bool()> isOn)
{
    soundOn_ = isOn ? std::move(isOn) : [] { return true; };
}

void Beeper::putSound(int value)
{
    if (((value ^ machine_.ports[0xC2]) & 1) == 0) {
        SoundLevel = kSilentSample;
        return;
    }
    const std::int32_t clock = machine_.clock;
    if (clock >= 0 && clock < kEdgeClockLimit)
        SoundEdges[static_cast<std::size_t>(edgeSampleIndex(clock))] = 1;
}

void Beeper::playTone()
{
    Samples& buffer = SoundBuffers[SoundBufIndex];
    for (std::size_t i = 0; i < kSamplesPerTick; ++i) {
        if (SoundEdges[i] == 1) {
            SoundLevel = kClickSample;
            SoundEdges[i] = 0;
        }
        buffer[i] = static_cast<std::uint8_t>(SoundLevel);
        SoundLevel = kSilentSample;
    }
    if (soundOn_() && machine_.clock < kPlayClockLimit) {
        PlayBuffer(buffer);
        if (view_ && view_->isShown())
            view_->DrawBuffer(std::span<const std::uint8_t>(buffer));
    }
}

void Beeper::PlayBuffer(const Samples& data)
{
    if (WaveOutOpened == 0 &&
        waveOut_.open(WaveOutHandle, 0, WaveFormat, relay_) != platform::WaveResult::Ok)
        return;
    Samples& block = sampleBlocks_[SoundBufIndex];
    block = data;
    platform::WaveHeader& header = WaveHeaders[SoundBufIndex];
    header.data = block.data();
    header.bufferLength = kSamplesPerTick;
    header.user = 0;
    header.flags = 0;
    header.loops = 0;
    if (waveOut_.prepareHeader(WaveOutHandle, header) != platform::WaveResult::Ok)
        return;
    // Until the open notice, and whenever no block is out (a write failed),
    // no done notice would come to start the chain: write this one now and run
    // the done handling at once. Its own write of the same header is refused
    // (still playing); it only turns the next tick to the other buffer.
    if (WaveOutOpened != 0 && blocksOut_ > 0)
        return;
    if (waveOut_.write(WaveOutHandle, header) == platform::WaveResult::Ok) {
        ++blocksOut_;
        MMWomDone();
    }
}

void Beeper::MMWomOpen()
{
    WaveOutOpened = 1;
}

void Beeper::MMWomClose()
{
    WaveOutOpened = 0;
}

void Beeper::MMWomDone()
{
    // When this write fails the chain stops; the next tick's buffer starts it
    // again by a direct write.
    if (waveOut_.write(WaveOutHandle, WaveHeaders[SoundBufIndex]) == platform::WaveResult::Ok)
        ++blocksOut_;
    SoundBufIndex = static_cast<std::uint8_t>(1 - SoundBufIndex);
}

void Beeper::InitAudio()
{
    WaveFormat.formatTag = platform::kWaveFormatPcm;
    WaveFormat.channels = 1;
    WaveFormat.samplesPerSec = kSampleRate;
    WaveFormat.avgBytesPerSec = kSampleRate;
    WaveFormat.blockAlign = 1;
    WaveFormat.bitsPerSample = 8;
    WaveFormat.extraSize = 0;
}

void Beeper::CloseAudio()
{
    waveOut_.reset(WaveOutHandle);
    waveOut_.unprepareHeader(WaveOutHandle, WaveHeaders[0]);
    waveOut_.close(WaveOutHandle);
}

} // namespace ostrovik::output::sound
