#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <vector>

#include "platform/WaveOut.hpp"

namespace ostrovik::test {

using platform::WaveFormat;
using platform::WaveHeader;
using platform::WaveNotice;
using platform::WaveNoticeTarget;
using platform::WaveOutHandle;
using platform::WaveResult;

/// A wave-out device for tests: it keeps the same rules as the real one, but
/// a block finishes only when the test says so, and notices wait until the
/// test delivers them, as the GUI thread's message loop would.
class ScriptedWaveOut final : public platform::WaveOut {
public:
    enum class Op { Open, Prepare, Write, Reset, Unprepare, Close };
    struct Call {
        Op op;
        const WaveHeader* header; ///< nullptr for open, reset and close
        WaveResult result;
    };

    // What the scripted device does next.
    bool hasDevice = true;     ///< false: every open fails with NoDevice
    bool failPrepare = false;  ///< every prepare fails
    bool failWrite = false;    ///< every write fails (NoMemory)

    /// Every call made, in order.
    std::vector<Call> calls;
    /// The samples of each block that finished playing, in order.
    std::vector<std::vector<std::uint8_t>> played;

    WaveResult open(WaveOutHandle& handle, int deviceId, const WaveFormat& format,
                    std::weak_ptr<WaveNoticeTarget> target) override;
    WaveResult prepareHeader(WaveOutHandle handle, WaveHeader& header) override;
    WaveResult write(WaveOutHandle handle, WaveHeader& header) override;
    WaveResult reset(WaveOutHandle handle) override;
    WaveResult unprepareHeader(WaveOutHandle handle, WaveHeader& header) override;
    WaveResult close(WaveOutHandle handle) override;

    /// The oldest queued block plays to its end and raises its Done notice.
    /// Returns false when nothing is queued.
    bool finishPlaying();
    /// Delivers the waiting notices in order; returns how many.
    std::size_t deliverNotices();

    bool isOpen() const { return handle_ != 0; }
    std::size_t queuedCount() const { return queue_.size(); }
    bool isQueued(const WaveHeader& header) const;
    const WaveFormat& format() const { return format_; }
    int openCount() const { return opens_; }

private:
    struct Queued {
        WaveHeader* header;
        std::vector<std::uint8_t> samples;
    };
    struct Notice {
        WaveNotice kind;
        WaveHeader* header;
    };

    WaveResult record(Op op, const WaveHeader* header, WaveResult result);

    WaveOutHandle handle_ = 0;
    WaveOutHandle nextHandle_ = 1;
    int opens_ = 0;
    WaveFormat format_{};
    std::weak_ptr<WaveNoticeTarget> target_;
    std::deque<Queued> queue_;
    std::deque<Notice> notices_;
};

/// A wave-out device for windows whose tests do not listen: scripted, so
/// nothing is played and no audio thread runs.
inline std::unique_ptr<platform::WaveOut> quietWaveOut()
{
    return std::make_unique<ScriptedWaveOut>();
}

} // namespace ostrovik::test
