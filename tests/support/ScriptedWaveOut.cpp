#include "support/ScriptedWaveOut.hpp"

#include <algorithm>

namespace ostrovik::test {

using namespace platform;

WaveResult ScriptedWaveOut::record(Op op, const WaveHeader* header, WaveResult result)
{
    calls.push_back({op, header, result});
    return result;
}

WaveResult ScriptedWaveOut::open(WaveOutHandle& handle, int deviceId, const WaveFormat& format,
                                 std::weak_ptr<WaveNoticeTarget> target)
{
    ++opens_;
    if (deviceId != 0)
        return record(Op::Open, nullptr, WaveResult::BadDeviceId);
    if (!isPlayableFormat(format))
        return record(Op::Open, nullptr, WaveResult::BadFormat);
    if (handle_ != 0)
        return record(Op::Open, nullptr, WaveResult::Allocated);
    if (!hasDevice)
        return record(Op::Open, nullptr, WaveResult::NoDevice);
    handle_ = nextHandle_++;
    format_ = format;
    target_ = std::move(target);
    handle = handle_;
    notices_.push_back({WaveNotice::Open, nullptr});
    return record(Op::Open, nullptr, WaveResult::Ok);
}

WaveResult ScriptedWaveOut::prepareHeader(WaveOutHandle handle, WaveHeader& header)
{
    if (handle == 0 || handle != handle_)
        return record(Op::Prepare, &header, WaveResult::InvalidHandle);
    if (!header.data || header.bufferLength == 0)
        return record(Op::Prepare, &header, WaveResult::InvalidParam);
    if (failPrepare)
        return record(Op::Prepare, &header, WaveResult::NoMemory);
    header.flags |= kWaveHeaderPrepared;
    if (isQueued(header))
        header.flags |= kWaveHeaderInQueue;
    return record(Op::Prepare, &header, WaveResult::Ok);
}

WaveResult ScriptedWaveOut::write(WaveOutHandle handle, WaveHeader& header)
{
    if (handle == 0 || handle != handle_)
        return record(Op::Write, &header, WaveResult::InvalidHandle);
    if (!(header.flags & kWaveHeaderPrepared) || !header.data)
        return record(Op::Write, &header, WaveResult::Unprepared);
    if (isQueued(header))
        return record(Op::Write, &header, WaveResult::StillPlaying);
    if (failWrite)
        return record(Op::Write, &header, WaveResult::NoMemory);
    queue_.push_back({&header, std::vector<std::uint8_t>(header.data, header.data + header.bufferLength)});
    header.flags = (header.flags & ~kWaveHeaderDone) | kWaveHeaderInQueue;
    return record(Op::Write, &header, WaveResult::Ok);
}

WaveResult ScriptedWaveOut::reset(WaveOutHandle handle)
{
    if (handle == 0 || handle != handle_)
        return record(Op::Reset, nullptr, WaveResult::InvalidHandle);
    for (Queued& q : queue_) {
        q.header->flags = (q.header->flags & ~kWaveHeaderInQueue) | kWaveHeaderDone;
        notices_.push_back({WaveNotice::Done, q.header});
    }
    queue_.clear();
    return record(Op::Reset, nullptr, WaveResult::Ok);
}

WaveResult ScriptedWaveOut::unprepareHeader(WaveOutHandle handle, WaveHeader& header)
{
    if (handle == 0 || handle != handle_)
        return record(Op::Unprepare, &header, WaveResult::InvalidHandle);
    if (isQueued(header))
        return record(Op::Unprepare, &header, WaveResult::StillPlaying);
    header.flags &= ~kWaveHeaderPrepared;
    return record(Op::Unprepare, &header, WaveResult::Ok);
}

WaveResult ScriptedWaveOut::close(WaveOutHandle handle)
{
    if (handle == 0 || handle != handle_)
        return record(Op::Close, nullptr, WaveResult::InvalidHandle);
    if (!queue_.empty())
        return record(Op::Close, nullptr, WaveResult::StillPlaying);
    handle_ = 0;
    notices_.push_back({WaveNotice::Close, nullptr});
    return record(Op::Close, nullptr, WaveResult::Ok);
}

bool ScriptedWaveOut::finishPlaying()
{
    if (queue_.empty())
        return false;
    Queued q = std::move(queue_.front());
    queue_.pop_front();
    played.push_back(std::move(q.samples));
    notices_.push_back({WaveNotice::Done, q.header});
    return true;
}

std::size_t ScriptedWaveOut::deliverNotices()
{
    std::size_t n = 0;
    while (!notices_.empty()) {
        const Notice notice = notices_.front();
        notices_.pop_front();
        ++n;
        const auto target = target_.lock();
        if (!target)
            continue;
        if (notice.kind == WaveNotice::Done && !isQueued(*notice.header))
            notice.header->flags = (notice.header->flags & ~kWaveHeaderInQueue) | kWaveHeaderDone;
        target->waveNotice(notice.kind, notice.header);
    }
    return n;
}

bool ScriptedWaveOut::isQueued(const WaveHeader& header) const
{
    return std::any_of(queue_.begin(), queue_.end(), [&](const Queued& q) { return q.header == &header; });
}

} // namespace ostrovik::test
