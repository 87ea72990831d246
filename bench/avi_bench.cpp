// Cost of one tick of the recording timer with recording on: the session's
// frame (the picture the screen shows) handed to the AVI writer, compressed
// on the fly by MPEG-4 part 2 (and, for comparison, uncompressed and by
// MJPEG).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "files/avi/AviWriter.hpp"
#include "machine/Machine.hpp"
#include "platform/sdl/SdlWaveOut.hpp"
#include "session/EmulatorSession.hpp"

namespace {

using Clock = std::chrono::steady_clock;
using namespace ostrovik;

struct Figures {
    double median, worst;
    std::int32_t frames;
    std::uintmax_t bytes;
};

Figures run(const char* fourCC, const std::filesystem::path& dir)
{
    machine::NullHost host;
    // Never opened: the bench runs no frame, so no sound buffer is made.
    platform::SdlWaveOut waveOut([](std::function<void()> call) { call(); });
    session::EmulatorSession session(host, waveOut, {1280, 1024});
    machine::Machine& m = session.machine();
    output::GdiScreen& screen = session.screen();
    m.ports[0xC1] = 0x0F;
    std::filesystem::create_directories(dir / "ScreenAVI");
    m.programDir = dir.string();
    // "High", the settings window's design choice, and a real-time frame time.
    session.startRecording({fourCC, 2, 50, true});

    constexpr int kTicks = 400; // 20 seconds of recording
    std::vector<double> t;
    for (int i = 0; i < kTicks; ++i) {
        // A moving picture: a band of text-like bytes scrolls down the screen.
        for (int k = 0; k < 64 * 16; ++k)
            m.videoRam[static_cast<std::size_t>((i * 64 * 2 + k) & 16383)] = static_cast<std::uint8_t>(k * 37 + i);
        screen.drawScreen(false);
        const auto start = Clock::now();
        session.recordFrame(false);
        t.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    const std::int32_t frames = session.recorder().frameCount;
    session.stopRecording();
    std::error_code ec;
    const std::uintmax_t bytes = std::filesystem::file_size(session.recorder().filename, ec);
    std::sort(t.begin(), t.end());
    return {t[t.size() / 2], t.back(), frames, ec ? 0 : bytes};
}

} // namespace

int main()
{
    const auto dir = std::filesystem::temp_directory_path() / "ostrovik-avi-bench";
    std::filesystem::create_directories(dir);
    for (const char* codec : {"FMP4", "", "MJPG"}) {
        const Figures f = run(codec, dir / (*codec ? codec : "raw"));
        // A writer that dropped its frames would look fast.
        if (f.frames != 400 || f.bytes < 400u * 100) {
            std::fprintf(stderr, "%s: %d frames written, %ju bytes in the file\n", *codec ? codec : "raw", f.frames,
                         f.bytes);
            return 1;
        }
        std::printf("TimerAvi tick, %-14s median %6.3f ms, worst %6.3f ms  (budget 2 ms, median %.3f of it)\n",
                    *codec ? codec : "No Compression", f.median, f.worst, f.median / 2.0);
    }
    std::filesystem::remove_all(dir);
    return 0;
}
