#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "platform/WaveOut.hpp"

namespace ostrovik::platform {

/// The wave-out device on SDL2 audio: device 0 is the system's default output.
///
/// SDL's audio thread plays copies of the written blocks and, when one ends,
/// leaves a Done notice in a fixed ring without allocating; a notifier thread
/// hands each notice to @c post, which runs it on the GUI thread. Open, close
/// and the Done notices of a reset go through the same path, so every notice
/// arrives in the order it was raised.
///
/// Without a sound device an open fails (NoDevice); the hardware is asked
/// again no sooner than a second later, so that failing opens stay cheap.
/// The first failure is said once on the terminal; the retries are quiet,
/// the sound library's own complaints included, until a device has opened.
class SdlWaveOut final : public WaveOut {
public:
    /// The clock the pause after a failed open is judged by.
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    /// Where the one line about a missing device goes.
    using Say = std::function<void(const std::string& line)>;

    /// @p post must stay usable until this object is destroyed; @p clock is
    /// the steady clock unless a test drives the time itself; @p say writes
    /// to the standard error stream unless a test listens itself.
    explicit SdlWaveOut(PostCall post, Clock clock = &std::chrono::steady_clock::now, Say say = {});
    ~SdlWaveOut() override;
    SdlWaveOut(const SdlWaveOut&) = delete;
    SdlWaveOut& operator=(const SdlWaveOut&) = delete;

    WaveResult open(WaveOutHandle& handle, int deviceId, const WaveFormat& format,
                    std::weak_ptr<WaveNoticeTarget> target) override;
    WaveResult prepareHeader(WaveOutHandle handle, WaveHeader& header) override;
    WaveResult write(WaveOutHandle handle, WaveHeader& header) override;
    WaveResult reset(WaveOutHandle handle) override;
    WaveResult unprepareHeader(WaveOutHandle handle, WaveHeader& header) override;
    WaveResult close(WaveOutHandle handle) override;

    struct Impl;

private:
    std::shared_ptr<Impl> impl_;
};

} // namespace ostrovik::platform
