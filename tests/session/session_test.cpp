// The emulator session on the test ROM without any window: the test is the
// frame clock, the headless host sees what the session asks, and a scripted
// wave-out device takes the sound.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

#include "machine/KeyMask.hpp"
#include "session/EmulatorSession.hpp"
#include "support/ScriptedWaveOut.hpp"
#include "support/TestHost.hpp"

namespace {

/// The desktop's layout as the session sees it: a name and what was asked.
class RecordingLayout final : public ostrovik::machine::KeyboardLayout {
public:
    std::string name{ostrovik::machine::kLayoutLatin};
    std::string activeLayoutName() const override { return name; }
    void activateLayout(std::string_view wanted) override { name = wanted; }
};

class TextClipboard final : public ostrovik::machine::ClipboardText {
public:
    std::optional<std::string> data;
    std::optional<std::string> text() override { return data; }
};

using ostrovik::session::EmulatorSession;
using ostrovik::test::ScriptedWaveOut;
using ostrovik::test::TestHost;

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* bin = std::getenv("OSTROVIK_BIN");
        ASSERT_NE(bin, nullptr) << "OSTROVIK_BIN names the folder that holds bios.dat";
        session.machine().programDir = bin;
    }

    /// Powers on and lets the ROM reach its prompt.
    void powerOn(bool quick = true)
    {
        host.quick = quick;
        session.powerOn();
        runFrames(50);
    }
    /// Frames with the device's notices delivered between them, as the
    /// event loop delivers them between ticks.
    void runFrames(int n)
    {
        for (int i = 0; i < n; ++i) {
            session.runFrame();
            waveOut.deliverNotices();
        }
    }

    TestHost host;
    ScriptedWaveOut waveOut;
    EmulatorSession session{host, waveOut};
};

TEST_F(SessionTest, PowerOnRunsTheQuickStartOrOneFrame)
{
    const struct {
        bool quick;
        std::int32_t ran;
    } cases[] = {{true, EmulatorSession::kQuickStartBudget}, {false, 56448}};
    for (const auto& c : cases) {
        TestHost caseHost;
        caseHost.quick = c.quick;
        ScriptedWaveOut device;
        EmulatorSession s(caseHost, device);
        s.machine().programDir = session.machine().programDir;
        s.powerOn();
        // The clock counts the last run only, which ends on its budget.
        EXPECT_GE(s.machine().clock, c.ran) << c.quick;
        EXPECT_LT(s.machine().clock, c.ran + 20) << c.quick;
        EXPECT_EQ(caseHost.framesPresented, 0) << "the power-on presents nothing itself";
        EXPECT_EQ(s.beeper().SoundLevel, 128);
    }
}

TEST_F(SessionTest, EachFrameRunsAndIsPresentedUnlessPaused)
{
    powerOn();
    const int presented = host.framesPresented;
    ASSERT_TRUE(session.runFrame());
    EXPECT_EQ(host.framesPresented, presented + 1);
    EXPECT_GE(session.machine().clock, session.machine().cyclesPerTick);

    session.machine().paused = 1;
    const auto pc = session.machine().regPC;
    const auto clock = session.machine().clock;
    EXPECT_FALSE(session.runFrame());
    EXPECT_EQ(host.framesPresented, presented + 1);
    EXPECT_EQ(session.machine().regPC, pc);
    EXPECT_EQ(session.machine().clock, clock);

    session.machine().paused = 0;
    EXPECT_TRUE(session.runFrame());
    EXPECT_EQ(host.framesPresented, presented + 2);
}

TEST_F(SessionTest, FramesHandTheirSoundBuffersToTheDevice)
{
    powerOn();
    // The first full frame opened the device, once; its open notice let the
    // buffers flow.
    ASSERT_TRUE(waveOut.isOpen());
    EXPECT_EQ(waveOut.openCount(), 1);
    EXPECT_EQ(session.beeper().WaveOutOpened, 1);
    EXPECT_EQ(waveOut.format().samplesPerSec, 44100u);
    runFrames(3);
    const auto writes = std::count_if(waveOut.calls.begin(), waveOut.calls.end(),
                                      [](const ScriptedWaveOut::Call& c) { return c.op == ScriptedWaveOut::Op::Write; });
    EXPECT_GE(writes, 2);
    ASSERT_TRUE(waveOut.finishPlaying());
    // The ROM at its prompt is silent.
    const auto& first = waveOut.played.front();
    EXPECT_TRUE(std::all_of(first.begin(), first.end(), [](std::uint8_t s) { return s == 128; }));
}

bool matrixEmpty(const ostrovik::machine::Machine& m)
{
    return std::all_of(m.keyMatrix.begin(), m.keyMatrix.end(), [](std::uint8_t row) { return row == 0; });
}

TEST_F(SessionTest, KeysReachTheMatrixAndRunTheirBudget)
{
    powerOn();
    auto& m = session.machine();
    RecordingLayout layout;

    // A key press holds its key and runs a frame's budget at once.
    session.keyDown('A', 0, layout);
    EXPECT_FALSE(matrixEmpty(m));
    EXPECT_GE(m.clock, m.cyclesPerTick);
    EXPECT_LT(m.clock, m.cyclesPerTick + 20);
    session.runFrame();
    EXPECT_FALSE(matrixEmpty(m)) << "held across frames";
    session.keyUp('A');
    EXPECT_TRUE(matrixEmpty(m));

    // The right Ctrl key switches the desktop to Latin and taps the
    // alphabet key; the left one to Russian.
    layout.name = std::string(ostrovik::machine::kLayoutRussian);
    session.keyDown(0x11, ostrovik::machine::kRightCtrlKeyFlags, layout);
    EXPECT_EQ(layout.name, ostrovik::machine::kLayoutLatin);
    session.keyUp(0x11);
    session.keyDown(0x11, ostrovik::machine::kLeftCtrlKeyFlags, layout);
    EXPECT_EQ(layout.name, ostrovik::machine::kLayoutRussian);
    session.keyUp(0x11);
    EXPECT_TRUE(matrixEmpty(m));

    // While paused a key press runs nothing and holds nothing.
    m.paused = 1;
    const auto pc = m.regPC;
    session.keyDown('A', 0, layout);
    EXPECT_EQ(m.regPC, pc);
    EXPECT_TRUE(matrixEmpty(m));
    session.keyUp('A');
}

TEST_F(SessionTest, MatrixTapsAndPasteRunEvenWhilePaused)
{
    powerOn();
    auto& m = session.machine();
    m.paused = 1;
    // The ROM's alphabet flag follows the taps of the two alphabet keys.
    ASSERT_EQ(m.ram[0xBE02], 0);
    session.tapMatrixKey(ostrovik::machine::KEYMASK_RUS);
    EXPECT_GE(m.clock, EmulatorSession::kMatrixKeyHold);
    EXPECT_LT(m.clock, EmulatorSession::kMatrixKeyHold + 20);
    EXPECT_EQ(m.ram[0xBE02], 1);
    EXPECT_TRUE(matrixEmpty(m));
    session.tapMatrixKey(ostrovik::machine::KEYMASK_LAT);
    EXPECT_EQ(m.ram[0xBE02], 0);

    // An empty clipboard types nothing; text runs the machine key by key.
    TextClipboard clipboard;
    const auto pc = m.regPC;
    session.paste(clipboard);
    EXPECT_EQ(m.regPC, pc);
    clipboard.data = "1";
    host.captionText = "Ostrovik";
    session.paste(clipboard);
    EXPECT_NE(m.regPC, pc);
    EXPECT_TRUE(matrixEmpty(m));
    EXPECT_EQ(host.captionText, "Ostrovik") << "the progress caption is put back";
}

} // namespace
