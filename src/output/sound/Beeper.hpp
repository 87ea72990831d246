#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "machine/Machine.hpp"
#include "output/sound/SoundView.hpp"
#include "platform/WaveOut.hpp"

namespace ostrovik::output::sound {

/// One tick's sound: a sample per 40 T-states.
inline constexpr int kSamplesPerTick = 1412;
inline constexpr std::int32_t kTStatesPerSample = 40;
/// Edges at or past this T-state would fall beyond the last sample.
inline constexpr std::int32_t kEdgeClockLimit = 56440;
/// A run this long (a quick start, a long load) is not played.
inline constexpr std::int32_t kPlayClockLimit = 100000;
inline constexpr std::uint8_t kClickSample = 255;
inline constexpr std::uint8_t kSilentSample = 128;
inline constexpr std::uint32_t kSampleRate = 44100;

/// The sample a beeper edge at T-state @p clock falls on: @p clock / 40
/// rounded to the nearest index, ties to the even one.
constexpr int edgeSampleIndex(std::int32_t clock)
{
    std::int32_t q = clock / kTStatesPerSample;
    const std::int32_t r = clock % kTStatesPerSample;
    if (r > kTStatesPerSample / 2 || (r == kTStatesPerSample / 2 && (q & 1)))
        ++q;
    return static_cast<int>(q);
}

/// The DU-01's one-bit sound. Each change of bit 0 of port C2 becomes a
/// one-sample click in the tick's buffer of 1,412 unsigned 8-bit samples;
/// two buffers take turns on the wave-out device, one queued at a time, and
/// the device's done notice queues the newest one.
///
/// GUI thread only. The owner attaches the device's notices through this
/// object and calls closeAudio before the device goes away.
class Beeper final : public machine::SoundSink {
public:
    using Samples = std::array<std::uint8_t, kSamplesPerTick>;

    /// Attaches itself to @p machine as its sound sink.
    Beeper(machine::Machine& machine, platform::WaveOut& waveOut);
    ~Beeper() override;
    Beeper(const Beeper&) = delete;
    Beeper& operator=(const Beeper&) = delete;

    /// 1 = the beeper bit changed at this sample of the current tick.
    std::array<std::uint8_t, kSamplesPerTick> soundEdges{};
    std::array<Samples, 2> soundBuffers{};
    /// The buffer the next tick fills and the next done notice queues.
    std::uint8_t bufferIndex = 0;
    /// Working level of the buffer build; 128 between samples.
    std::int32_t soundLevel = kSilentSample;
    platform::WaveFormat waveFormat{};
    platform::WaveOutHandle waveOutHandle = 0;
    std::array<platform::WaveHeader, 2> waveHeaders{};
    /// 1 from the device's open notice until its close notice.
    std::uint8_t waveOutOpened = 0;

    /// A write to port C2, before the latch takes @p value.
    void putSound(int value) override;
    /// Builds the tick's buffer from the recorded edges and plays it.
    void playTone();
    /// Queues or prepares one buffer.
    void playBuffer(const Samples& data);
    void openAudio();
    void closeAudio();

    // The device's notices. MMWomDone is also run at once by PlayBuffer's
    // direct write.
    void deviceOpened();
    void deviceClosed();
    void bufferDone();

    /// The sound switch, asked at each tick; on until set.
    void setSoundSwitch(std::function<bool()> isOn);
    /// The sound view, or nullptr while it does not exist.
    void setSoundView(SoundView* view) { view_ = view; }

private:
    class NoticeRelay;

    machine::Machine& machine_;
    platform::WaveOut& waveOut_;
    std::function<bool()> soundOn_;
    SoundView* view_ = nullptr;
    /// The memory each header plays from, reused by every tick.
    std::array<Samples, 2> sampleBlocks_{};
    /// Blocks written and not yet returned by a done notice. While none is
    /// out, no done notice will come to queue the next buffer.
    int blocksOut_ = 0;
    std::shared_ptr<NoticeRelay> relay_;
};

} // namespace ostrovik::output::sound
