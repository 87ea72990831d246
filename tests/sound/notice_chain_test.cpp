#include "BeeperFixture.hpp"

namespace {

int clickOf(const std::vector<std::uint8_t>& samples)
{
    for (std::size_t i = 0; i < samples.size(); ++i)
        if (samples[i] == 255)
            return static_cast<int>(i);
    return -1;
}

} // namespace

class ChainFixture : public BeeperFixture {
protected:
    /// A tick whose only click is at sample @p at, so each buffer is known by it.
    void tick(int at)
    {
        toggleAt(at * 40);
        endTick();
    }
    std::vector<int> playedClicks() const
    {
        std::vector<int> at;
        for (const auto& p : device.played)
            at.push_back(clickOf(p));
        return at;
    }
    /// The block ahead plays out and the GUI thread handles its done notice.
    void finishAndDeliver()
    {
        ASSERT_TRUE(device.finishPlaying());
        device.deliverNotices();
    }
    std::vector<ostrovik::test::ScriptedWaveOut::Call> callsSince(std::size_t from) const
    {
        return {device.calls.begin() + static_cast<std::ptrdiff_t>(from), device.calls.end()};
    }
    const ostrovik::platform::WaveHeader* header(int i) const { return &beeper.waveHeaders[static_cast<std::size_t>(i)]; }
};

namespace {
bool same(const std::vector<ostrovik::test::ScriptedWaveOut::Call>& got,
          const std::vector<ostrovik::test::ScriptedWaveOut::Call>& want)
{
    if (got.size() != want.size())
        return false;
    for (std::size_t i = 0; i < got.size(); ++i)
        if (got[i].op != want[i].op || got[i].header != want[i].header || got[i].result != want[i].result)
            return false;
    return true;
}
} // namespace

TEST_F(ChainFixture, OpenWritesDirectlyUntilTheOpenNoticeThenDoneNoticesQueueTheNewest)
{
    tick(10);
    // Opened, written at once; the done handling's own write of the same
    // header is refused and only turns the next tick to the other buffer.
    EXPECT_TRUE(same(device.calls, {{Op::Open, nullptr, WaveResult::Ok},
                                    {Op::Prepare, header(0), WaveResult::Ok},
                                    {Op::Write, header(0), WaveResult::Ok},
                                    {Op::Write, header(0), WaveResult::StillPlaying}}));
    EXPECT_EQ(beeper.bufferIndex, 1);
    EXPECT_EQ(beeper.waveOutOpened, 0);
    EXPECT_EQ(device.queuedCount(), 1u);

    device.deliverNotices();
    EXPECT_EQ(beeper.waveOutOpened, 1);

    // Two ticks before the first block ends: both only prepare the other
    // header, the second overwriting the first.
    std::size_t from = device.calls.size();
    tick(20);
    tick(30);
    EXPECT_TRUE(same(callsSince(from), {{Op::Prepare, header(1), WaveResult::Ok},
                                         {Op::Prepare, header(1), WaveResult::Ok}}));
    EXPECT_EQ(device.queuedCount(), 1u);

    // The done notice queues the newest samples and turns to buffer 0.
    from = device.calls.size();
    finishAndDeliver();
    EXPECT_TRUE(same(callsSince(from), {{Op::Write, header(1), WaveResult::Ok}}));
    EXPECT_EQ(beeper.bufferIndex, 0);

    tick(40);
    finishAndDeliver();
    tick(50);
    finishAndDeliver();
    finishAndDeliver();
    EXPECT_EQ(playedClicks(), (std::vector<int>{10, 30, 40, 50}));
    // Exactly one block was ever waiting behind the playing one.
    EXPECT_LE(device.queuedCount(), 1u);
}

TEST_F(ChainFixture, WhilePausedTheLastTwoBuffersKeepAlternating)
{
    tick(10);
    device.deliverNotices();
    tick(20);
    finishAndDeliver();
    tick(30);
    // No more ticks: each done notice queues the other buffer.
    for (int i = 0; i < 6; ++i)
        finishAndDeliver();
    EXPECT_EQ(playedClicks(), (std::vector<int>{10, 20, 30, 20, 30, 20, 30}));
}

TEST_F(ChainFixture, NoDeviceIsRetriedEachTickWithoutMessage)
{
    device.hasDevice = false;
    tick(10);
    tick(20);
    EXPECT_EQ(device.openCount(), 2);
    EXPECT_EQ(device.calls.size(), 2u);
    EXPECT_EQ(beeper.waveOutOpened, 0);
    EXPECT_EQ(beeper.bufferIndex, 0);

    device.hasDevice = true;
    tick(30);
    device.deliverNotices();
    EXPECT_EQ(beeper.waveOutOpened, 1);
    finishAndDeliver();
    EXPECT_EQ(playedClicks(), (std::vector<int>{30}));
}

TEST_F(ChainFixture, SecondTickBeforeTheOpenNoticeOpensNothingMore)
{
    tick(10);
    const std::size_t from = device.calls.size();
    tick(20);
    EXPECT_TRUE(same(callsSince(from), {{Op::Open, nullptr, WaveResult::Allocated}}));
    device.deliverNotices();
    tick(30);
    finishAndDeliver();
    finishAndDeliver();
    EXPECT_EQ(playedClicks(), (std::vector<int>{10, 30}));
}

TEST_F(ChainFixture, FailedWritesAreRetriedByTheNextTick)
{
    // Open, then the prepare fails: nothing is out, so after the open notice
    // the next tick still writes directly.
    device.failPrepare = true;
    tick(10);
    EXPECT_EQ(device.queuedCount(), 0u);
    device.deliverNotices();
    EXPECT_EQ(beeper.waveOutOpened, 1);

    device.failPrepare = false;
    device.failWrite = true;
    tick(20);
    EXPECT_EQ(device.queuedCount(), 0u);
    EXPECT_EQ(beeper.bufferIndex, 0);

    device.failWrite = false;
    tick(30);
    EXPECT_EQ(device.queuedCount(), 1u);
    EXPECT_EQ(beeper.bufferIndex, 1);
    // A block is out now: the next tick only prepares.
    tick(40);
    EXPECT_EQ(device.queuedCount(), 1u);

    // A done notice whose write fails stops the chain; the next tick starts it again.
    device.failWrite = true;
    finishAndDeliver();
    device.failWrite = false;
    EXPECT_EQ(device.queuedCount(), 0u);
    tick(50);
    EXPECT_EQ(device.queuedCount(), 1u);
    finishAndDeliver();
    finishAndDeliver();
    EXPECT_EQ(playedClicks(), (std::vector<int>{30, 50, 40}));
}

TEST_F(ChainFixture, CloseAudioStopsAndTheNextBufferOpensAgain)
{
    tick(10);
    device.deliverNotices();
    tick(20);
    std::size_t from = device.calls.size();
    beeper.closeAudio();
    EXPECT_TRUE(same(callsSince(from), {{Op::Reset, nullptr, WaveResult::Ok},
                                         {Op::Unprepare, header(0), WaveResult::Ok},
                                         {Op::Close, nullptr, WaveResult::Ok}}));
    EXPECT_FALSE(device.isOpen());
    EXPECT_EQ(beeper.waveOutOpened, 1);

    // The returned block's done notice writes to the closed device, which
    // refuses; then the close notice.
    from = device.calls.size();
    device.deliverNotices();
    EXPECT_TRUE(same(callsSince(from), {{Op::Write, header(1), WaveResult::InvalidHandle}}));
    EXPECT_EQ(beeper.waveOutOpened, 0);

    beeper.openAudio();
    tick(30);
    EXPECT_EQ(device.openCount(), 2);
    EXPECT_TRUE(device.isOpen());
    EXPECT_EQ(device.queuedCount(), 1u);
    device.deliverNotices();
    finishAndDeliver();
    EXPECT_EQ(playedClicks(), (std::vector<int>{30}));
}
