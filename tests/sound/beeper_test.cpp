#include <cmath>

#include "BeeperFixture.hpp"

using ostrovik::output::sound::SoundView;

namespace {

class RecordingView : public SoundView {
public:
    bool shown = true;
    std::vector<std::vector<std::uint8_t>> drawn;
    bool isShown() const override { return shown; }
    void drawBuffer(std::span<const std::uint8_t> data) override { drawn.emplace_back(data.begin(), data.end()); }
};

using BeeperEdges = BeeperFixture;
using BeeperTick = BeeperFixture;

} // namespace

TEST_F(BeeperEdges, FallOnTheNearestSampleWithTiesToEven)
{
    toggleAt(20);    // 0.5 -> 0
    toggleAt(60);    // 1.5 -> 2
    toggleAt(140);   // 3.5 -> 4
    toggleAt(180);   // 4.5 -> 4, the same sample
    toggleAt(221);   // 5.525 -> 6
    toggleAt(56439); // the last sample
    toggleAt(56440); // past it: not recorded
    toggleAt(56447);
    endTick();
    EXPECT_EQ(clicksOf(lastBuilt()), (std::vector<int>{0, 2, 4, 6, 1411}));
    EXPECT_TRUE(onlyClicksAndSilence(lastBuilt()));
}

TEST_F(BeeperEdges, BitToggledEvery400TStatesClicksEveryTenSamples)
{
    // Whatever the phase of the toggling against the tick, one buffer holds
    // 141 or 142 clicks, ten samples apart.
    for (int phase = 0; phase < 400; phase += 13) {
        for (std::int32_t t = phase; t < 56448; t += 400)
            toggleAt(t);
        endTick();
        const auto clicks = clicksOf(lastBuilt());
        EXPECT_TRUE(clicks.size() == 141 || clicks.size() == 142) << "phase " << phase << ": " << clicks.size();
        for (std::size_t i = 1; i < clicks.size(); ++i)
            ASSERT_EQ(clicks[i] - clicks[i - 1], 10) << "phase " << phase;
        EXPECT_TRUE(onlyClicksAndSilence(lastBuilt()));
    }
}

TEST_F(BeeperEdges, TwoEdgesWithinFortyTStatesCanMerge)
{
    toggleAt(81); // 2.025 -> 2
    toggleAt(99); // 2.475 -> 2
    endTick();
    EXPECT_EQ(clicksOf(lastBuilt()), (std::vector<int>{2}));

    toggleAt(100); // 2.5 -> 2
    toggleAt(139); // 3.475 -> 3
    endTick();
    EXPECT_EQ(clicksOf(lastBuilt()), (std::vector<int>{2, 3}));
}

TEST_F(BeeperEdges, RewritingBitZeroWithItsValueGivesNoClick)
{
    outC2(400, 0xFF);                 // the latch already holds 0xFF
    outC2(800, 0xFD);                 // only the map bit changes
    machine.clock = 1200;
    machine.writePort(0xC3, 0x01);    // set bit 0: already set
    machine.clock = 1600;
    machine.writePort(0xC3, 0x03);    // set bit 1
    endTick();
    EXPECT_TRUE(clicksOf(lastBuilt()).empty());

    machine.clock = 2000;
    machine.writePort(0xC3, 0x00);    // reset bit 0: a click
    endTick();
    EXPECT_EQ(clicksOf(lastBuilt()), (std::vector<int>{50}));
}

TEST_F(BeeperEdges, EdgesOfRunsOutsideTheTickComeWithTheNextBuffer)
{
    // A key press's extra run makes no buffer; its marks wait for the
    // tick's, placed by its own T-states.
    toggleAt(400);
    toggleAt(1200);
    endTick();
    EXPECT_EQ(clicksOf(lastBuilt()), (std::vector<int>{10, 30}));
    endTick();
    EXPECT_TRUE(clicksOf(lastBuilt()).empty());
}

TEST_F(BeeperTick, SoundOffPlaysNothingButClearsTheMarks)
{
    bool on = false;
    RecordingView view;
    beeper.setSoundSwitch([&] { return on; });
    beeper.setSoundView(&view);
    toggleAt(400);
    endTick();
    EXPECT_EQ(clicksOf(lastBuilt()), (std::vector<int>{10}));
    EXPECT_TRUE(device.calls.empty());
    EXPECT_TRUE(view.drawn.empty());
    EXPECT_TRUE(std::all_of(beeper.soundEdges.begin(), beeper.soundEdges.end(), [](auto e) { return e == 0; }));

    on = true;
    endTick();
    EXPECT_TRUE(clicksOf(lastBuilt()).empty());
    EXPECT_EQ(device.openCount(), 1);
    ASSERT_EQ(view.drawn.size(), 1u);
}

TEST_F(BeeperTick, LongRunIsBuiltButNotPlayed)
{
    RecordingView view;
    beeper.setSoundView(&view);
    toggleAt(400);
    endTick(20'000'000);
    EXPECT_EQ(clicksOf(lastBuilt()), (std::vector<int>{10}));
    EXPECT_TRUE(device.calls.empty());
    EXPECT_TRUE(view.drawn.empty());

    endTick(99'999);
    EXPECT_EQ(device.openCount(), 1);
    EXPECT_EQ(view.drawn.size(), 1u);
}

TEST_F(BeeperTick, SoundViewDrawsThePlayedBufferOnlyWhileShown)
{
    RecordingView view;
    beeper.setSoundView(&view);
    toggleAt(4000);
    endTick();
    ASSERT_EQ(view.drawn.size(), 1u);
    EXPECT_TRUE(std::equal(view.drawn[0].begin(), view.drawn[0].end(), lastBuilt().begin(), lastBuilt().end()));
    EXPECT_EQ(view.drawn[0][100], 255);

    view.shown = false;
    endTick();
    EXPECT_EQ(view.drawn.size(), 1u);
    beeper.setSoundView(nullptr);
    endTick();
}

TEST_F(BeeperTick, OneBufferIs32MillisecondsOfUnsignedEightBitMono)
{
    const auto& f = beeper.waveFormat;
    EXPECT_EQ(f.formatTag, 1);
    EXPECT_EQ(f.channels, 1);
    EXPECT_EQ(f.samplesPerSec, 44100u);
    EXPECT_EQ(f.avgBytesPerSec, 44100u);
    EXPECT_EQ(f.blockAlign, 1);
    EXPECT_EQ(f.bitsPerSample, 8);
    EXPECT_EQ(f.extraSize, 0);

    endTick();
    ASSERT_TRUE(device.finishPlaying());
    ASSERT_EQ(device.played.size(), 1u);
    const double ms = 1000.0 * static_cast<double>(device.played[0].size()) / device.format().samplesPerSec;
    EXPECT_DOUBLE_EQ(std::round(ms * 10) / 10, 32.0);
    EXPECT_EQ(device.played[0].size(), 1412u);
}

TEST(BeeperLifetime, DetachesFromTheMachineAndIgnoresLateNotices)
{
    ostrovik::machine::NullHost host;
    ostrovik::machine::Machine machine{host};
    ostrovik::test::ScriptedWaveOut device;
    {
        ostrovik::output::sound::Beeper beeper{machine, device};
        beeper.openAudio();
        machine.clock = 56448;
        beeper.playTone();
        device.finishPlaying();
    }
    // The open and done notices reach nobody; OUT C2 reaches nobody.
    EXPECT_EQ(device.deliverNotices(), 2u);
    machine.writePort(0xC2, 0x00);
    EXPECT_EQ(machine.ports[0xC2], 0x00);
}
