// The emulator session on the test ROM without any window: the test is the
// frame clock, the headless host sees what the session asks, and a scripted
// wave-out device takes the sound. Recordings are read back by ffprobe and
// decoded by libavcodec.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "AviProbe.hpp"
#include "files/avi/AviError.hpp"
#include "files/avi/AviWriter.hpp"
#include "machine/KeyMask.hpp"
#include "session/EmulatorSession.hpp"
#include "support/FileSizeLimit.hpp"
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

using ostrovik::files::avi::test::decodeAll;
using ostrovik::files::avi::test::ffprobeLine;
using ostrovik::files::avi::test::TempFolder;
using ostrovik::output::FrameBitmap;
using ostrovik::output::RenderMode;
using ostrovik::session::EmulatorSession;
using ostrovik::session::RecordingOptions;
using ostrovik::test::ScriptedWaveOut;
using ostrovik::test::TestHost;
namespace fs = std::filesystem;

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
        EXPECT_EQ(s.beeper().soundLevel, 128);
    }
}

TEST_F(SessionTest, EachFrameRunsAndIsPresentedUnlessPaused)
{
    powerOn();
    const int presented = host.framesPresented;
    ASSERT_TRUE(session.runFrame());
    EXPECT_EQ(host.framesPresented, presented + 1);
    EXPECT_GE(session.machine().clock, session.machine().cyclesPerTick);

    session.setPaused(true);
    const auto pc = session.machine().regPC;
    const auto clock = session.machine().clock;
    EXPECT_FALSE(session.runFrame());
    EXPECT_EQ(host.framesPresented, presented + 1);
    EXPECT_EQ(session.machine().regPC, pc);
    EXPECT_EQ(session.machine().clock, clock);

    session.setPaused(false);
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
    EXPECT_EQ(session.beeper().waveOutOpened, 1);
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

int countCalls(const ScriptedWaveOut& device, std::size_t from, ScriptedWaveOut::Op op)
{
    return static_cast<int>(std::count_if(device.calls.begin() + static_cast<std::ptrdiff_t>(from), device.calls.end(),
                                          [op](const ScriptedWaveOut::Call& c) {
                                              return c.op == op && c.result == ostrovik::platform::WaveResult::Ok;
                                          }));
}

TEST_F(SessionTest, SoundReachesTheDeviceOnlyWhileSwitchedOn)
{
    powerOn();
    ASSERT_TRUE(waveOut.isOpen());
    ASSERT_TRUE(session.soundOn());

    session.setSoundOn(false);
    EXPECT_FALSE(waveOut.isOpen()) << "switching off closes the device";
    std::size_t from = waveOut.calls.size();
    runFrames(5);
    EXPECT_FALSE(waveOut.isOpen());
    EXPECT_EQ(countCalls(waveOut, from, ScriptedWaveOut::Op::Open), 0);
    EXPECT_EQ(countCalls(waveOut, from, ScriptedWaveOut::Op::Write), 0);

    session.setSoundOn(true);
    from = waveOut.calls.size();
    runFrames(3);
    EXPECT_TRUE(waveOut.isOpen()) << "the next buffer opens the device again";
    EXPECT_EQ(waveOut.openCount(), 2);
    EXPECT_GE(countCalls(waveOut, from, ScriptedWaveOut::Op::Write), 1);
}

std::vector<std::uint8_t> bitsOf(const FrameBitmap& b)
{
    return {b.bits.begin(), b.bits.end()};
}

/// A session at the ROM's prompt, drawn by the raster presentation, whose
/// recordings go to a folder of the test's own.
class SessionPictureTest : public SessionTest {
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        powerOn();
        useFolder(folder);
    }
    /// The ROM image has been read: from now on the program folder is one
    /// that only the recordings use.
    void useFolder(const TempFolder& f, bool withScreenAvi = true)
    {
        if (withScreenAvi)
            fs::create_directories(f.path() / "ScreenAVI");
        session.machine().programDir = f.path().string();
    }
    /// A tick of the frame timer and its presentation: the frame run, and
    /// the raster view's draw. Each tick also gets bytes of its own in
    /// video RAM, so that every recorded frame differs from the one before.
    void tick()
    {
        runFrames(1);
        const int n = ticks_++;
        auto& vram = session.machine().videoRam;
        // A solid band, which even a lossy codec keeps close.
        for (int k = 0; k < 64 * 8; ++k)
            vram[static_cast<std::size_t>((n * 64 * 8 + k) % vram.size())] = static_cast<std::uint8_t>(0xFF);
        session.screen().drawScreen(false);
    }
    static std::vector<fs::path> filesIn(const fs::path& dir, const std::string& prefix)
    {
        std::vector<fs::path> found;
        for (const auto& e : fs::directory_iterator(dir))
            if (e.path().filename().string().starts_with(prefix))
                found.push_back(e.path());
        return found;
    }

    TempFolder folder;
    int ticks_ = 0;
};

TEST_F(SessionPictureTest, RecordingsFromTheirOptions)
{
    const struct {
        const char* name;
        RecordingOptions options;
        const char* probed; ///< codec, size and rate as ffprobe reads them
        std::int32_t quality;
        bool exact; ///< lossless: every frame comes back byte for byte
    } cases[] = {
        {"no codec chosen", {"", -1, 50, true}, "rawvideo 256x256 20/1", 10000, true},
        {"No Compression, 1000 ms", {"No Compression", 0, 1000, true}, "rawvideo 256x256 1/1", 10000, true},
        {"MPEG-4 on the fly", {"FMP4 mpeg4", 2, 50, true}, "mpeg4 256x256 20/1", 8000, false},
        {"MJPEG through the work file", {"MJPG mjpeg", 4, 50, false}, "mjpeg 256x256 20/1", 4000, false},
        {"HuffYUV through the work file", {"HFYU huffyuv", 1, 100, false}, "huffyuv 256x256 10/1", 9000, true},
    };
    constexpr int kFrames = 6;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder caseFolder;
        useFolder(caseFolder);
        session.startRecording(c.options);
        ASSERT_TRUE(session.recording());
        EXPECT_EQ(session.recorder().quality, c.quality);
        EXPECT_EQ(filesIn(caseFolder.path(), "avi_TMP_").size(), c.options.onTheFly ? 0u : 1u);

        std::vector<std::vector<std::uint8_t>> given;
        for (int i = 0; i < kFrames; ++i) {
            tick();
            given.push_back(bitsOf(session.recordingFrame(false)));
            session.recordFrame(false);
        }
        ASSERT_NE(given.front(), given.back());
        session.stopRecording();
        EXPECT_FALSE(session.recording());
        EXPECT_TRUE(filesIn(caseFolder.path(), "avi_TMP_").empty()) << "the work file is gone after the stop";

        const auto files = filesIn(caseFolder.path() / "ScreenAVI", "");
        ASSERT_EQ(files.size(), 1u);
        EXPECT_TRUE(files.front().filename().string().starts_with("avi_"));
        EXPECT_EQ(ffprobeLine(files.front()), std::string(c.probed) + " " + std::to_string(kFrames) + " frames");
        const auto frames = decodeAll(files.front());
        ASSERT_EQ(frames.size(), std::size_t(kFrames));
        for (int i = 0; i < kFrames; ++i) {
            const auto& got = frames[static_cast<std::size_t>(i)].bgr;
            const auto& want = given[static_cast<std::size_t>(i)];
            ASSERT_EQ(got.size(), want.size());
            if (c.exact) {
                EXPECT_EQ(got, want) << "frame " << i;
                continue;
            }
            double error = 0;
            for (std::size_t k = 0; k < want.size(); ++k)
                error += std::abs(int(got[k]) - int(want[k]));
            EXPECT_LT(error / double(want.size()), 8.0) << "frame " << i;
        }
    }
}

TEST_F(SessionPictureTest, RefusedStartsRecordNothing)
{
    const struct {
        const char* name;
        RecordingOptions options;
        bool folder; ///< ScreenAVI is there
        const char* error;
    } cases[] = {
        {"a frame time of 0", {"", 2, 0, true}, true, "Frame time must be at least 1 ms"},
        {"a frame time below 0", {"FMP4 mpeg4", 2, -5, true}, true, "Frame time must be at least 1 ms"},
        {"no ScreenAVI folder", {"", 2, 50, true}, false, "Failed to create AVI video file. Err: $FFFFFFFE"},
        {"a codec no longer installed", {"QQQQ gone", 2, 50, true}, true, "No compressor for QQQQ available"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder caseFolder;
        useFolder(caseFolder, c.folder);
        try {
            session.startRecording(c.options);
            ADD_FAILURE() << "the start was not refused";
        } catch (const std::exception& e) {
            EXPECT_EQ(std::string(e.what()), c.error);
        }
        EXPECT_FALSE(session.recording());
        // The timer's next tick and a stop find nothing to do.
        tick();
        EXPECT_NO_THROW(session.recordFrame(false));
        EXPECT_NO_THROW(session.stopRecording());
        if (c.folder) {
            EXPECT_TRUE(filesIn(caseFolder.path() / "ScreenAVI", "").empty());
        }
        EXPECT_TRUE(filesIn(caseFolder.path(), "avi_TMP_").empty());
    }
}

TEST_F(SessionPictureTest, AFrameThatCannotBeWrittenEndsTheRecording)
{
    // Uncompressed frames of 192 KB each: the fourth no longer fits.
    session.startRecording({"", 2, 50, true});
    const std::string file = session.recorder().filename;
    std::string error;
    int written = 0;
    {
        const ostrovik::test::FileSizeLimit full(700 * 1024);
        ASSERT_TRUE(full.ok());
        for (int i = 0; i < 10 && session.recording(); ++i) {
            tick();
            try {
                session.recordFrame(false);
                ++written;
            } catch (const ostrovik::files::avi::AviError& e) {
                error = e.what();
            }
        }
    }
    EXPECT_FALSE(session.recording());
    EXPECT_TRUE(error.starts_with("Failed to add Frame to " + file + ": ")) << error;
    EXPECT_EQ(written, 3);
    EXPECT_EQ(session.recorder().frameCount, written);
    // Ended, not broken: later ticks and the stop add nothing and say nothing.
    EXPECT_NO_THROW(session.recordFrame(false));
    EXPECT_NO_THROW(session.stopRecording());
    EXPECT_EQ(session.recorder().frameCount, written);
    EXPECT_EQ(decodeAll(file).size(), std::size_t(written)) << "the frames it had stay in the file";
}

TEST_F(SessionPictureTest, ScreenshotsAndRecordingsInBothPresentations)
{
    tick(); // bytes of every colour on the screen
    auto& screen = session.screen();
    screen.blurEnabled = 1;
    std::vector<std::uint8_t> sharpColour;
    for (bool gray : {false, true}) {
        SCOPED_TRACE(gray ? "gray TV" : "colour");
        session.setRenderMode(RenderMode::Raster);
        session.machine().invalidateScreen();
        screen.drawScreen(gray);
        const std::vector<std::uint8_t> sharp = bitsOf(*screen.screenBitmap);
        const std::vector<std::uint8_t> smoothed = bitsOf(*screen.blurBitmap);
        ASSERT_NE(sharp, smoothed);
        if (gray) {
            EXPECT_NE(sharp, sharpColour);
        } else {
            sharpColour = sharp;
        }

        // The raster presentation's own frames: the screenshot unsmoothed,
        // the recording as shown.
        EXPECT_EQ(bitsOf(session.screenshotFrame(gray)), sharp);
        EXPECT_EQ(bitsOf(session.recordingFrame(gray)), smoothed);

        // The OpenGL presentation keeps no frame: both are decoded to the
        // same pictures.
        session.setRenderMode(RenderMode::OpenGl);
        EXPECT_EQ(bitsOf(session.screenshotFrame(gray)), sharp);
        EXPECT_EQ(bitsOf(session.recordingFrame(gray)), smoothed);
        EXPECT_EQ(bitsOf(session.screenshotFrame(gray)), sharp) << "the recording's smoothing stays its own";
        screen.blurEnabled = 0;
        EXPECT_EQ(bitsOf(session.recordingFrame(gray)), sharp);
        screen.blurEnabled = 1;
    }

    // A recording takes the same frames: smoothed as the raster view shows
    // them, then decoded and smoothed, then decoded sharp.
    session.setRenderMode(RenderMode::Raster);
    session.machine().invalidateScreen();
    screen.drawScreen(false);
    const std::vector<std::uint8_t> smoothed = bitsOf(*screen.blurBitmap);
    session.startRecording({"No Compression", 2, 50, true});
    session.recordFrame(false);
    session.setRenderMode(RenderMode::OpenGl);
    session.recordFrame(false);
    screen.blurEnabled = 0;
    session.recordFrame(false);
    session.stopRecording();
    const auto frames = decodeAll(session.recorder().filename);
    ASSERT_EQ(frames.size(), std::size_t(3));
    EXPECT_EQ(frames[0].bgr, smoothed);
    EXPECT_EQ(frames[1].bgr, smoothed);
    EXPECT_EQ(frames[2].bgr, sharpColour);
}

} // namespace
