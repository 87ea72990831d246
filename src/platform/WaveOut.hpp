#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace ostrovik::platform {

/// Layout of a PCM stream, field for field the record the wave-out device is
/// opened with.
struct WaveFormat {
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint32_t avgBytesPerSec = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint16_t extraSize = 0;
};

inline constexpr std::uint16_t kWaveFormatPcm = 1;

/// One block of samples handed to the device. The caller owns the header and
/// its samples; the device copies the samples when the header is written, so
/// the block may be refilled at once.
struct WaveHeader {
    const std::uint8_t* data = nullptr;
    std::uint32_t bufferLength = 0;
    std::uintptr_t user = 0;
    std::uint32_t flags = 0;
    std::uint32_t loops = 0;
};

/// Header flags kept up to date on the GUI thread.
inline constexpr std::uint32_t kWaveHeaderDone = 0x01;
inline constexpr std::uint32_t kWaveHeaderPrepared = 0x02;
inline constexpr std::uint32_t kWaveHeaderInQueue = 0x10;

/// An open device; 0 is never a valid handle.
using WaveOutHandle = std::uint32_t;

enum class WaveResult {
    Ok,
    NoDevice,      ///< no sound device could be opened
    BadDeviceId,   ///< only device 0 exists
    Allocated,     ///< the device is already open
    BadFormat,     ///< only unsigned 8-bit PCM is played
    InvalidHandle, ///< not the handle of the open device
    InvalidParam,  ///< a header without samples
    Unprepared,    ///< the header was not prepared
    StillPlaying,  ///< the header (or, for close, some header) is still in the queue
    NoMemory,      ///< too many headers in the queue
};

enum class WaveNotice { Open, Close, Done };

/// Where a device's notices go. They arrive on the GUI thread, between other
/// events, in the order the device raised them. A target that no longer
/// exists gets nothing, and its headers are not touched.
class WaveNoticeTarget {
public:
    virtual ~WaveNoticeTarget() = default;
    /// @p header is the finished header for Done, nullptr otherwise.
    virtual void waveNotice(WaveNotice notice, WaveHeader* header) = 0;
};

/// Runs a call later on the GUI thread; may be called from any thread.
using PostCall = std::function<void(std::function<void()>)>;

/// The wave-out device: a queue of sample blocks played one after another,
/// with open, done and close notices. Every call is made on the GUI thread.
class WaveOut {
public:
    virtual ~WaveOut() = default;

    /// Opens device @p deviceId; the Open notice follows. On success
    /// @p handle names the open device.
    virtual WaveResult open(WaveOutHandle& handle, int deviceId, const WaveFormat& format,
                            std::weak_ptr<WaveNoticeTarget> target) = 0;
    virtual WaveResult prepareHeader(WaveOutHandle handle, WaveHeader& header) = 0;
    /// Queues a prepared header behind the ones already queued. A header that
    /// is still queued is refused (StillPlaying) and nothing changes.
    virtual WaveResult write(WaveOutHandle handle, WaveHeader& header) = 0;
    /// Stops playing; every queued header returns at once with a Done notice.
    virtual WaveResult reset(WaveOutHandle handle) = 0;
    virtual WaveResult unprepareHeader(WaveOutHandle handle, WaveHeader& header) = 0;
    /// Closes the device when nothing is queued; the Close notice follows.
    virtual WaveResult close(WaveOutHandle handle) = 0;
};

/// Whether @p format is one the devices play: PCM, unsigned 8-bit, one or two
/// channels, its byte rate and block alignment consistent.
bool isPlayableFormat(const WaveFormat& format);

} // namespace ostrovik::platform
