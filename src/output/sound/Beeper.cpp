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
            beeper_.deviceOpened();
            break;
        case platform::WaveNotice::Close:
            beeper_.deviceClosed();
            break;
        case platform::WaveNotice::Done:
            --beeper_.blocksOut_;
            beeper_.bufferDone();
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
        soundLevel = kSilentSample;
        return;
    }
    const std::int32_t clock = machine_.clock;
    if (clock >= 0 && clock < kEdgeClockLimit)
        soundEdges[static_cast<std::size_t>(edgeSampleIndex(clock))] = 1;
}

void Beeper::playTone()
{
    Samples& buffer = soundBuffers[bufferIndex];
    for (std::size_t i = 0; i < kSamplesPerTick; ++i) {
        if (soundEdges[i] == 1) {
            soundLevel = kClickSample;
            soundEdges[i] = 0;
        }
        buffer[i] = static_cast<std::uint8_t>(soundLevel);
        soundLevel = kSilentSample;
    }
    if (soundOn_() && machine_.clock < kPlayClockLimit) {
        playBuffer(buffer);
        if (view_ && view_->isShown())
            view_->drawBuffer(std::span<const std::uint8_t>(buffer));
    }
}

void Beeper::playBuffer(const Samples& data)
{
    if (waveOutOpened == 0 &&
        waveOut_.open(waveOutHandle, 0, waveFormat, relay_) != platform::WaveResult::Ok)
        return;
    Samples& block = sampleBlocks_[bufferIndex];
    block = data;
    platform::WaveHeader& header = waveHeaders[bufferIndex];
    header.data = block.data();
    header.bufferLength = kSamplesPerTick;
    header.user = 0;
    header.flags = 0;
    header.loops = 0;
    if (waveOut_.prepareHeader(waveOutHandle, header) != platform::WaveResult::Ok)
        return;
    // Until the open notice, and whenever no block is out (a write failed),
    // no done notice would come to start the chain: write this one now and run
    // the done handling at once. Its own write of the same header is refused
    // (still playing); it only turns the next tick to the other buffer.
    if (waveOutOpened != 0 && blocksOut_ > 0)
        return;
    if (waveOut_.write(waveOutHandle, header) == platform::WaveResult::Ok) {
        ++blocksOut_;
        bufferDone();
    }
}

void Beeper::deviceOpened()
{
    waveOutOpened = 1;
}

void Beeper::deviceClosed()
{
    waveOutOpened = 0;
}

void Beeper::bufferDone()
{
    // When this write fails the chain stops; the next tick's buffer starts it
    // again by a direct write.
    if (waveOut_.write(waveOutHandle, waveHeaders[bufferIndex]) == platform::WaveResult::Ok)
        ++blocksOut_;
    bufferIndex = static_cast<std::uint8_t>(1 - bufferIndex);
}

void Beeper::openAudio()
{
    waveFormat.formatTag = platform::kWaveFormatPcm;
    waveFormat.channels = 1;
    waveFormat.samplesPerSec = kSampleRate;
    waveFormat.avgBytesPerSec = kSampleRate;
    waveFormat.blockAlign = 1;
    waveFormat.bitsPerSample = 8;
    waveFormat.extraSize = 0;
}

void Beeper::closeAudio()
{
    waveOut_.reset(waveOutHandle);
    waveOut_.unprepareHeader(waveOutHandle, waveHeaders[0]);
    waveOut_.close(waveOutHandle);
}

} // namespace ostrovik::output::sound
