#include "platform/sdl/SdlWaveOut.hpp"

#include <SDL.h>
#include <dlfcn.h>

#include <cstdio>

#include <algorithm>
#include <chrono>
#include <array>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace ostrovik::platform {

namespace {

// ALSA reports every failed open on the standard error stream, eight lines
// when there is no sound card, through an error handler that a program may
// replace. The library is the one SDL loads; a reference of our own keeps it
// (and the handler) loaded between SDL's opens.
using AlsaErrorHandler = void (*)(const char* file, int line, const char* function, int err, const char* fmt, ...);
using AlsaSetErrorHandler = int (*)(AlsaErrorHandler handler);

void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

class AlsaComplaints {
public:
    /// Quiet (or, with @p quiet false, back to ALSA's own handler).
    void setQuiet(bool quiet)
    {
        if (quiet == quiet_)
            return;
        if (!set_) {
            if (!quiet)
                return;
            library_ = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
            if (!library_)
                return;
            set_ = reinterpret_cast<AlsaSetErrorHandler>(dlsym(library_, "snd_lib_error_set_handler"));
            if (!set_)
                return;
        }
        // No handler given puts ALSA's default back.
        set_(quiet ? &quietAlsa : nullptr);
        quiet_ = quiet;
    }

private:
    void* library_ = nullptr;
    AlsaSetErrorHandler set_ = nullptr;
    bool quiet_ = false;
};

AlsaComplaints& alsaComplaints()
{
    static AlsaComplaints complaints;
    return complaints;
}

void sayOnStderr(const std::string& line)
{
    std::fprintf(stderr, "%s\n", line.c_str());
}

} // namespace

struct SdlWaveOut::Impl : std::enable_shared_from_this<Impl> {
    // More than the two blocks the beeper keeps in flight; a fuller queue is refused.
    static constexpr std::size_t kSlots = 8;
    // Done notices waiting for the notifier. A full ring holds the audio thread's
    // next notice back until there is room, so none is ever lost.
    static constexpr std::size_t kRing = 64;
    // About 11.6 ms at 44,100 Hz: small enough that a block's end is heard soon
    // after its Done notice.
    static constexpr Uint16 kDeviceSamples = 512;
    static constexpr std::uint8_t kSilence = 0x80;

    struct Slot {
        bool queued = false;
        WaveHeader* header = nullptr;
        std::vector<std::uint8_t> samples;
        std::size_t pos = 0;
        std::uint64_t seq = 0;
    };
    struct DoneEntry {
        WaveHeader* header;
        WaveOutHandle handle;
    };

    Impl(PostCall p, SdlWaveOut::Clock c, SdlWaveOut::Say s)
        : post(std::move(p)), clock(std::move(c)), say(s ? std::move(s) : SdlWaveOut::Say(&sayOnStderr))
    {
    }

    // Without a sound card every open would cost milliseconds (and the sound
    // library's complaints on stderr), once per tick. After a failure the
    // hardware is asked again only after a pause, 1 s doubling up to 16 s;
    // in between an open fails at once.
    static constexpr std::chrono::milliseconds kFirstRetry{1000};
    static constexpr std::chrono::milliseconds kLongestRetry{16000};

    // ---- GUI thread only ----
    PostCall post;
    SdlWaveOut::Clock clock;
    SdlWaveOut::Say say;
    // The missing device has been said; said again only after a device opened.
    bool saidNoDevice = false;
    std::chrono::steady_clock::time_point nextTry{};
    std::chrono::milliseconds retryAfter{0};
    SDL_AudioDeviceID device = 0;
    WaveOutHandle handle = 0;
    WaveOutHandle nextHandle = 1;

    // ---- shared with the audio thread and the notifier, under `audio` ----
    std::mutex audio;
    std::array<Slot, kSlots> slots;
    std::uint64_t nextSeq = 0;
    WaveOutHandle playingHandle = 0;
    std::array<DoneEntry, kRing> ring{};
    std::size_t ringHead = 0, ringCount = 0;
    bool wakePending = false, stopping = false;
    std::condition_variable wake;

    // ---- notice order between the notifier and the GUI thread, under `posting` ----
    std::mutex posting;
    std::weak_ptr<WaveNoticeTarget> target;
    WaveOutHandle targetHandle = 0;

    std::thread notifier;

    static void SDLCALL callback(void* userdata, Uint8* stream, int len);
    void notifierLoop();
    void flushDones();
    void postNotice(WaveNotice kind, WaveHeader* header);
    // Callers hold `audio`.
    bool queuedLocked(const WaveHeader* header) const
    {
        return std::any_of(slots.begin(), slots.end(),
                           [&](const Slot& s) { return s.queued && s.header == header; });
    }
    Slot* headLocked()
    {
        Slot* head = nullptr;
        for (Slot& s : slots)
            if (s.queued && (!head || s.seq < head->seq))
                head = &s;
        return head;
    }
    bool isQueued(const WaveHeader* header)
    {
        std::lock_guard lock(audio);
        return queuedLocked(header);
    }
};

void SDLCALL SdlWaveOut::Impl::callback(void* userdata, Uint8* stream, int len)
{
    auto* self = static_cast<Impl*>(userdata);
    const auto total = static_cast<std::size_t>(len);
    std::size_t at = 0;
    bool raised = false;
    {
        std::lock_guard lock(self->audio);
        while (at < total) {
            Slot* head = self->headLocked();
            if (!head)
                break;
            const std::size_t n = std::min(total - at, head->samples.size() - head->pos);
            std::memcpy(stream + at, head->samples.data() + head->pos, n);
            head->pos += n;
            at += n;
            if (head->pos < head->samples.size())
                break;
            if (self->ringCount == kRing)
                break;
            self->ring[(self->ringHead + self->ringCount) % kRing] = {head->header, self->playingHandle};
            ++self->ringCount;
            head->queued = false;
            raised = true;
        }
        if (raised)
            self->wakePending = true;
    }
    std::memset(stream + at, kSilence, total - at);
    if (raised)
        self->wake.notify_one();
}

void SdlWaveOut::Impl::notifierLoop()
{
    for (;;) {
        {
            std::unique_lock lock(audio);
            wake.wait(lock, [this] { return wakePending || stopping; });
            if (stopping)
                return;
            wakePending = false;
        }
        std::lock_guard order(posting);
        flushDones();
    }
}

void SdlWaveOut::Impl::flushDones()
{
    std::array<DoneEntry, kRing> pending;
    std::size_t n;
    {
        std::lock_guard lock(audio);
        n = ringCount;
        for (std::size_t i = 0; i < n; ++i)
            pending[i] = ring[(ringHead + i) % kRing];
        ringHead = (ringHead + n) % kRing;
        ringCount = 0;
    }
    for (std::size_t i = 0; i < n; ++i)
        if (pending[i].handle == targetHandle)
            postNotice(WaveNotice::Done, pending[i].header);
}

void SdlWaveOut::Impl::postNotice(WaveNotice kind, WaveHeader* header)
{
    post([device = weak_from_this(), to = target, kind, header] {
        const auto t = to.lock();
        if (!t)
            return;
        if (kind == WaveNotice::Done) {
            const auto d = device.lock();
            if (!d || !d->isQueued(header))
                header->flags = (header->flags & ~kWaveHeaderInQueue) | kWaveHeaderDone;
        }
        t->waveNotice(kind, header);
    });
}

SdlWaveOut::SdlWaveOut(PostCall post, Clock clock, Say say)
    : impl_(std::make_shared<Impl>(std::move(post), std::move(clock), std::move(say)))
{
    impl_->notifier = std::thread([impl = impl_.get()] { impl->notifierLoop(); });
}

SdlWaveOut::~SdlWaveOut()
{
    if (impl_->device != 0) {
        SDL_CloseAudioDevice(impl_->device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    {
        std::lock_guard lock(impl_->audio);
        impl_->stopping = true;
    }
    impl_->wake.notify_all();
    impl_->notifier.join();
}

WaveResult SdlWaveOut::open(WaveOutHandle& handle, int deviceId, const WaveFormat& format,
                            std::weak_ptr<WaveNoticeTarget> target)
{
    Impl& d = *impl_;
    if (deviceId != 0)
        return WaveResult::BadDeviceId;
    if (!isPlayableFormat(format))
        return WaveResult::BadFormat;
    if (d.handle != 0)
        return WaveResult::Allocated;
    const auto now = d.clock();
    if (now < d.nextTry)
        return WaveResult::NoDevice;
    const auto fail = [&](const char* why) {
        d.retryAfter = d.retryAfter.count() == 0 ? Impl::kFirstRetry : std::min(2 * d.retryAfter, Impl::kLongestRetry);
        d.nextTry = now + d.retryAfter;
        if (!d.saidNoDevice) {
            d.saidNoDevice = true;
            d.say(std::string("Ostrovik: no sound device (") + why +
                  "); the sound stays silent until one can be opened.");
        }
        return WaveResult::NoDevice;
    };
    // SDL would take SIGINT and SIGTERM for quit events that nobody reads, and
    // the program could then no longer be ended by them.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Our one line says it when no device opens: ALSA's own report of the
    // attempt, the first one included, would only repeat it.
    alsaComplaints().setQuiet(true);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return fail(SDL_GetError());
    SDL_AudioSpec want{};
    SDL_AudioSpec have{};
    want.freq = static_cast<int>(format.samplesPerSec);
    want.format = AUDIO_U8;
    want.channels = static_cast<Uint8>(format.channels);
    want.samples = Impl::kDeviceSamples;
    want.callback = &Impl::callback;
    want.userdata = &d;
    // No changes allowed: SDL converts to whatever the hardware wants.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0) {
        const std::string why = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return fail(why.c_str());
    }
    d.retryAfter = std::chrono::milliseconds{0};
    // While the device plays, ALSA's reports of its troubles are worth
    // reading; a later loss is worth a line of ours again.
    alsaComplaints().setQuiet(false);
    d.saidNoDevice = false;
    d.device = device;
    d.handle = d.nextHandle++;
    if (d.nextHandle == 0)
        d.nextHandle = 1;
    {
        std::lock_guard lock(d.audio);
        d.playingHandle = d.handle;
    }
    {
        std::lock_guard order(d.posting);
        d.flushDones();
        d.target = std::move(target);
        d.targetHandle = d.handle;
        d.postNotice(WaveNotice::Open, nullptr);
    }
    SDL_PauseAudioDevice(device, 0);
    handle = d.handle;
    return WaveResult::Ok;
}

WaveResult SdlWaveOut::prepareHeader(WaveOutHandle handle, WaveHeader& header)
{
    Impl& d = *impl_;
    if (handle == 0 || handle != d.handle)
        return WaveResult::InvalidHandle;
    if (!header.data || header.bufferLength == 0)
        return WaveResult::InvalidParam;
    header.flags |= kWaveHeaderPrepared;
    if (d.isQueued(&header))
        header.flags |= kWaveHeaderInQueue;
    return WaveResult::Ok;
}

WaveResult SdlWaveOut::write(WaveOutHandle handle, WaveHeader& header)
{
    Impl& d = *impl_;
    if (handle == 0 || handle != d.handle)
        return WaveResult::InvalidHandle;
    if (!(header.flags & kWaveHeaderPrepared) || !header.data || header.bufferLength == 0)
        return WaveResult::Unprepared;
    // Copied outside the lock, so that the audio thread never waits for an allocation.
    std::vector<std::uint8_t> copy(header.data, header.data + header.bufferLength);
    WaveResult result = WaveResult::NoMemory;
    {
        std::lock_guard lock(d.audio);
        if (d.queuedLocked(&header)) {
            result = WaveResult::StillPlaying;
        } else {
            for (Impl::Slot& s : d.slots) {
                if (s.queued)
                    continue;
                std::swap(s.samples, copy);
                s.header = &header;
                s.pos = 0;
                s.seq = d.nextSeq++;
                s.queued = true;
                result = WaveResult::Ok;
                break;
            }
        }
    }
    if (result == WaveResult::Ok)
        header.flags = (header.flags & ~kWaveHeaderDone) | kWaveHeaderInQueue;
    return result;
}

WaveResult SdlWaveOut::reset(WaveOutHandle handle)
{
    Impl& d = *impl_;
    if (handle == 0 || handle != d.handle)
        return WaveResult::InvalidHandle;
    std::lock_guard order(d.posting);
    d.flushDones();
    std::array<std::pair<std::uint64_t, WaveHeader*>, Impl::kSlots> returned{};
    std::array<std::vector<std::uint8_t>, Impl::kSlots> released;
    std::size_t n = 0;
    {
        std::lock_guard lock(d.audio);
        for (Impl::Slot& s : d.slots) {
            if (!s.queued)
                continue;
            returned[n] = {s.seq, s.header};
            std::swap(released[n], s.samples);
            ++n;
            s.queued = false;
        }
    }
    // In the order they were written.
    for (std::size_t i = 1; i < n; ++i)
        for (std::size_t j = i; j > 0 && returned[j].first < returned[j - 1].first; --j)
            std::swap(returned[j], returned[j - 1]);
    for (std::size_t i = 0; i < n; ++i) {
        WaveHeader* h = returned[i].second;
        h->flags = (h->flags & ~kWaveHeaderInQueue) | kWaveHeaderDone;
        d.postNotice(WaveNotice::Done, h);
    }
    return WaveResult::Ok;
}

WaveResult SdlWaveOut::unprepareHeader(WaveOutHandle handle, WaveHeader& header)
{
    Impl& d = *impl_;
    if (handle == 0 || handle != d.handle)
        return WaveResult::InvalidHandle;
    if (d.isQueued(&header))
        return WaveResult::StillPlaying;
    header.flags &= ~kWaveHeaderPrepared;
    return WaveResult::Ok;
}

WaveResult SdlWaveOut::close(WaveOutHandle handle)
{
    Impl& d = *impl_;
    if (handle == 0 || handle != d.handle)
        return WaveResult::InvalidHandle;
    {
        std::lock_guard lock(d.audio);
        if (std::any_of(d.slots.begin(), d.slots.end(), [](const Impl::Slot& s) { return s.queued; }))
            return WaveResult::StillPlaying;
    }
    // Not under our locks: closing waits for the audio thread's last callback.
    SDL_CloseAudioDevice(d.device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    d.device = 0;
    d.handle = 0;
    std::lock_guard order(d.posting);
    d.flushDones();
    d.postNotice(WaveNotice::Close, nullptr);
    return WaveResult::Ok;
}

} // namespace ostrovik::platform
