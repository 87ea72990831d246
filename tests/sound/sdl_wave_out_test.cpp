#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "machine/Machine.hpp"
#include "output/sound/Beeper.hpp"
#include "platform/CallQueue.hpp"
#include "platform/sdl/SdlWaveOut.hpp"

using namespace std::chrono_literals;
using ostrovik::output::sound::Beeper;
using ostrovik::platform::CallQueue;
using ostrovik::platform::SdlWaveOut;
using ostrovik::platform::WaveHeader;
using ostrovik::platform::WaveNotice;
using ostrovik::platform::WaveResult;

namespace {

/// Runs the GUI side for @p span: the posted notices, as the event loop would.
void runGuiFor(CallQueue& gui, std::chrono::milliseconds span)
{
    const auto end = std::chrono::steady_clock::now() + span;
    for (auto now = std::chrono::steady_clock::now(); now < end; now = std::chrono::steady_clock::now())
        gui.waitAndDrain(std::chrono::duration_cast<std::chrono::milliseconds>(end - now));
}

/// Runs the GUI side until @p done; the limit only stops a hang.
template <class Pred> bool runGuiUntil(CallQueue& gui, Pred done, std::chrono::milliseconds limit = 30s)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        gui.waitAndDrain(10ms);
    }
    return true;
}

class Recorder : public ostrovik::platform::WaveNoticeTarget {
public:
    std::vector<std::pair<WaveNotice, WaveHeader*>> got;
    std::thread::id thread;
    void waveNotice(WaveNotice n, WaveHeader* h) override
    {
        got.emplace_back(n, h);
        thread = std::this_thread::get_id();
    }
};

ostrovik::platform::WaveFormat pcm8Mono()
{
    return {1, 1, 44100, 44100, 1, 8, 0};
}

} // namespace

TEST(SdlWaveOut, RefusesAQueuedHeaderAndDeliversNoticesInOrderOnTheGuiThread)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    CallQueue gui;
    SdlWaveOut device(gui.poster());
    auto target = std::make_shared<Recorder>();
    ostrovik::platform::WaveOutHandle handle = 0;

    ASSERT_EQ(device.open(handle, 1, pcm8Mono(), target), WaveResult::BadDeviceId);
    auto eightBitStereoBadRate = pcm8Mono();
    eightBitStereoBadRate.bitsPerSample = 16;
    ASSERT_EQ(device.open(handle, 0, eightBitStereoBadRate, target), WaveResult::BadFormat);
    ASSERT_EQ(device.open(handle, 0, pcm8Mono(), target), WaveResult::Ok);
    ASSERT_NE(handle, 0u);
    ostrovik::platform::WaveOutHandle second = 0;
    EXPECT_EQ(device.open(second, 0, pcm8Mono(), target), WaveResult::Allocated);

    std::vector<std::uint8_t> samples(4410, 128); // 100 ms
    WaveHeader a, b;
    EXPECT_EQ(device.write(handle, a), WaveResult::Unprepared);
    EXPECT_EQ(device.prepareHeader(handle, a), WaveResult::InvalidParam);
    a.data = b.data = samples.data();
    a.bufferLength = b.bufferLength = static_cast<std::uint32_t>(samples.size());
    ASSERT_EQ(device.prepareHeader(handle, a), WaveResult::Ok);
    ASSERT_EQ(device.prepareHeader(handle, b), WaveResult::Ok);
    ASSERT_EQ(device.write(handle, a), WaveResult::Ok);
    EXPECT_EQ(device.write(handle, a), WaveResult::StillPlaying);
    EXPECT_EQ(device.unprepareHeader(handle, a), WaveResult::StillPlaying);
    EXPECT_EQ(device.close(handle), WaveResult::StillPlaying);
    ASSERT_EQ(device.write(handle, b), WaveResult::Ok);
    EXPECT_TRUE(a.flags & ostrovik::platform::kWaveHeaderInQueue);

    ASSERT_TRUE(runGuiUntil(gui, [&] { return target->got.size() >= 3; }));
    EXPECT_EQ(target->thread, std::this_thread::get_id());
    ASSERT_EQ(target->got.size(), 3u);
    EXPECT_EQ(target->got[0], std::make_pair(WaveNotice::Open, static_cast<WaveHeader*>(nullptr)));
    EXPECT_EQ(target->got[1], std::make_pair(WaveNotice::Done, &a));
    EXPECT_EQ(target->got[2], std::make_pair(WaveNotice::Done, &b));
    EXPECT_EQ(a.flags & ostrovik::platform::kWaveHeaderInQueue, 0u);
    EXPECT_TRUE(a.flags & ostrovik::platform::kWaveHeaderDone);

    // A reset returns the queued blocks at once, each with its done notice.
    ASSERT_EQ(device.write(handle, a), WaveResult::Ok);
    ASSERT_EQ(device.write(handle, b), WaveResult::Ok);
    ASSERT_EQ(device.reset(handle), WaveResult::Ok);
    EXPECT_EQ(device.write(handle, a), WaveResult::Ok) << "no longer queued";
    ASSERT_EQ(device.reset(handle), WaveResult::Ok);
    ASSERT_EQ(device.unprepareHeader(handle, a), WaveResult::Ok);
    ASSERT_EQ(device.close(handle), WaveResult::Ok);
    EXPECT_EQ(device.write(handle, b), WaveResult::InvalidHandle);
    ASSERT_TRUE(runGuiUntil(gui, [&] { return target->got.size() >= 7; }));
    runGuiFor(gui, 50ms);
    ASSERT_EQ(target->got.size(), 7u);
    EXPECT_EQ(target->got[3], std::make_pair(WaveNotice::Done, &a));
    EXPECT_EQ(target->got[4], std::make_pair(WaveNotice::Done, &b));
    EXPECT_EQ(target->got[5], std::make_pair(WaveNotice::Done, &a));
    EXPECT_EQ(target->got[6], std::make_pair(WaveNotice::Close, static_cast<WaveHeader*>(nullptr)));
}

TEST(SdlWaveOut, NoticesForAGoneTargetReachNobody)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    CallQueue gui;
    SdlWaveOut device(gui.poster());
    auto target = std::make_shared<Recorder>();
    ostrovik::platform::WaveOutHandle handle = 0;
    ASSERT_EQ(device.open(handle, 0, pcm8Mono(), target), WaveResult::Ok);
    std::vector<std::uint8_t> samples(100, 128);
    auto header = std::make_unique<WaveHeader>();
    header->data = samples.data();
    header->bufferLength = 100;
    ASSERT_EQ(device.prepareHeader(handle, *header), WaveResult::Ok);
    ASSERT_EQ(device.write(handle, *header), WaveResult::Ok);
    ASSERT_EQ(device.reset(handle), WaveResult::Ok);
    ASSERT_EQ(device.close(handle), WaveResult::Ok);
    target.reset();
    header.reset();
    // The open, done and close notices are still queued; running them touches
    // neither the target nor the header (the sanitizers would tell).
    EXPECT_EQ(gui.drain(), 3u);
}

TEST(SdlWaveOut, WithoutASoundDeviceTheBeeperPlaysNothingAndKeepsTrying)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    CallQueue gui;
    // The pause after a failure is judged by a clock of the test's own.
    auto now = std::chrono::steady_clock::time_point{} + std::chrono::hours(1);
    SdlWaveOut device(gui.poster(), [&now] { return now; });
    ostrovik::machine::NullHost host;
    ostrovik::machine::Machine machine{host};
    machine.ports.fill(0xFF);
    Beeper beeper(machine, device);
    beeper.openAudio();
    for (int tick = 0; tick < 3; ++tick) {
        machine.clock = 400;
        machine.writePort(0xC2, machine.ports[0xC2] ^ 1);
        machine.clock = 56448;
        beeper.playTone();
        runGuiFor(gui, 5ms);
        EXPECT_EQ(beeper.waveOutOpened, 0);
        EXPECT_EQ(beeper.bufferIndex, 0);
        EXPECT_EQ(beeper.soundBuffers[0][10], 255);
    }
    beeper.closeAudio();
    EXPECT_EQ(gui.drain(), 0u);

    // A device that appears is found by a later tick, once the pause after the
    // last failure has passed.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const auto tickOnce = [&] {
        machine.clock = 56448;
        beeper.playTone();
        runGuiFor(gui, 5ms);
    };
    tickOnce();
    EXPECT_EQ(beeper.waveOutOpened, 0);
    now += 999ms; // still within the pause
    tickOnce();
    EXPECT_EQ(beeper.waveOutOpened, 0);
    now += 1ms;
    tickOnce();
    EXPECT_EQ(beeper.waveOutOpened, 1);
    beeper.closeAudio();
    EXPECT_TRUE(runGuiUntil(gui, [&] { return beeper.waveOutOpened == 0; }));
}

TEST(SdlWaveOut, ToggledBeeperComesOutAsClicksInTheDiskDriversFile)
{
    const auto file = std::filesystem::temp_directory_path() /
                      ("ostrovik-beeper-" + std::to_string(::getpid()) + ".raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    {
        CallQueue gui;
        SdlWaveOut device(gui.poster());
        ostrovik::machine::NullHost host;
        ostrovik::machine::Machine machine{host};
        machine.ports.fill(0xFF);
        Beeper beeper(machine, device);
        beeper.soundLevel = 128;
        beeper.openAudio();

        // Each tick the program flips the beeper bit at three known T-states;
        // the next tick is built once the device took the one before, so
        // every buffer is played however slow the machine.
        for (int tick = 0; tick < 10; ++tick) {
            for (const std::int32_t t : {4000, 12000, 28000}) {
                machine.clock = t;
                machine.writePort(0xC2, machine.ports[0xC2] ^ 1);
            }
            machine.clock = 56448;
            const std::uint8_t index = beeper.bufferIndex;
            beeper.playTone();
            ASSERT_TRUE(runGuiUntil(gui, [&] { return beeper.bufferIndex != index; })) << "tick " << tick;
        }
        EXPECT_EQ(beeper.waveOutOpened, 1);
        beeper.closeAudio();
        ASSERT_TRUE(runGuiUntil(gui, [&] { return beeper.waveOutOpened == 0; }));
    }
    std::ifstream in(file, std::ios::binary);
    ASSERT_TRUE(in) << file;
    const std::vector<std::uint8_t> raw{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    std::filesystem::remove(file);

    ASSERT_GT(raw.size(), 3u * 1412);
    std::vector<std::size_t> clicks;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        ASSERT_TRUE(raw[i] == 128 || raw[i] == 255) << "sample " << i << " is " << int(raw[i]);
        if (raw[i] == 255)
            clicks.push_back(i);
    }
    // Clicks at samples 100, 300 and 700 of every buffer played; the last
    // one may be cut short by the close.
    const std::size_t whole = clicks.size() / 3;
    ASSERT_GE(whole, 3u);
    for (std::size_t k = 0; k < clicks.size(); k += 3) {
        if (k + 1 < clicks.size()) {
            EXPECT_EQ(clicks[k + 1] - clicks[k], 200u);
        }
        if (k + 2 < clicks.size()) {
            EXPECT_EQ(clicks[k + 2] - clicks[k], 600u);
        }
        if (k > 0) {
            EXPECT_GE(clicks[k] - clicks[k - 3], 1412u);
        }
    }
}

namespace {

/// What the process writes on its standard error stream while it runs @p f.
std::string stderrOf(const std::function<void()>& f)
{
    const auto file = std::filesystem::temp_directory_path() /
                      ("ostrovik-stderr-" + std::to_string(::getpid()) + ".txt");
    std::fflush(stderr);
    const int saved = ::dup(2);
    FILE* sink = std::fopen(file.c_str(), "w");
    ::dup2(::fileno(sink), 2);
    f();
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    std::fclose(sink);
    std::ifstream in(file);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(file);
    return text;
}

} // namespace

TEST(SdlWaveOut, AMissingDeviceIsSaidOnceAndTheRetriesAreQuiet)
{
    // Two ways to have no device: ALSA asked for a device it does not know
    // (it complains on stderr at every open, the first included), and no
    // such driver.
    const struct {
        const char* name;
        const char* driver;
    } roads[] = {{"ALSA without the device", "alsa"}, {"no such driver", "no-such-driver"}};
    setenv("AUDIODEV", "ostrovik-no-such-device", 1);
    for (const auto& road : roads) {
        SCOPED_TRACE(road.name);
        setenv("SDL_AUDIODRIVER", road.driver, 1);
        CallQueue gui;
        auto now = std::chrono::steady_clock::time_point{} + std::chrono::hours(1);
        std::vector<std::string> said;
        SdlWaveOut device(gui.poster(), [&now] { return now; },
                          [&said](const std::string& line) { said.push_back(line); });
        auto target = std::make_shared<Recorder>();
        ostrovik::platform::WaveOutHandle handle = 0;
        const auto tryOpen = [&] { return device.open(handle, 0, pcm8Mono(), target); };

        // The first attempt says it in one line of ours, and nothing else
        // reaches the terminal.
        WaveResult first{};
        EXPECT_EQ(stderrOf([&] { first = tryOpen(); }), "");
        EXPECT_EQ(first, WaveResult::NoDevice);
        ASSERT_EQ(said.size(), 1u);
        EXPECT_EQ(said[0].rfind("Ostrovik: no sound device (", 0), 0u) << said[0];
        // A minute of retries, every pause waited out: nothing more is said,
        // and nothing reaches the terminal.
        for (int retry = 0; retry < 8; ++retry) {
            now += 16s;
            WaveResult result{};
            EXPECT_EQ(stderrOf([&] { result = tryOpen(); }), "") << "retry " << retry;
            EXPECT_EQ(result, WaveResult::NoDevice);
        }
        EXPECT_EQ(said.size(), 1u);
    }
    unsetenv("AUDIODEV");

    // A device that opens ends the quiet: a later loss is said again.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    CallQueue gui;
    auto now = std::chrono::steady_clock::time_point{} + std::chrono::hours(1);
    std::vector<std::string> said;
    SdlWaveOut device(gui.poster(), [&now] { return now; }, [&said](const std::string& line) { said.push_back(line); });
    auto target = std::make_shared<Recorder>();
    ostrovik::platform::WaveOutHandle handle = 0;
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_EQ(device.open(handle, 0, pcm8Mono(), target), WaveResult::NoDevice);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    now += 1s;
    ASSERT_EQ(device.open(handle, 0, pcm8Mono(), target), WaveResult::Ok);
    ASSERT_EQ(device.close(handle), WaveResult::Ok);
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_EQ(device.open(handle, 0, pcm8Mono(), target), WaveResult::NoDevice);
    EXPECT_EQ(said.size(), 2u);
    gui.drain();
}
