// Cost of one tick of the recording timer with recording on: the frame the
// screen shows handed to the AVI writer, compressed on the fly by MPEG-4
// part 2 (and, for comparison, uncompressed and by MJPEG).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "files/avi/AviWriter.hpp"
#include "machine/Machine.hpp"
#include "output/ColorTable.hpp"
#include "output/GdiScreen.hpp"

namespace {

using Clock = std::chrono::steady_clock;
using namespace ostrovik;

struct Figures {
    double median, worst;
    std::int32_t frames;
    std::uintmax_t bytes;
};

Figures run(const char* fourCC, const std::string& path)
{
    auto table = std::make_unique<output::ColourLookupTable>();
    output::CalculateColor(*table);
    machine::NullHost host;
    machine::Machine m(host);
    output::GdiScreen screen(m, *table);
    screen.changeRenderMode(ostrovik::output::RenderMode::Raster);
    m.ports[0xC1] = 0x0F;

    files::avi::AviWriter w(1280, 1024);
    w.width = 256;
    w.height = 256;
    w.stretch = false;
    w.frameTime = 50;
    w.filename = path;
    w.setCompressor(fourCC);
    w.setQuality(8000); // "High", the settings window's design choice
    w.initVideo();

    constexpr int kTicks = 400; // 20 seconds of recording
    std::vector<double> t;
    for (int i = 0; i < kTicks; ++i) {
        // A moving picture: a band of text-like bytes scrolls down the screen.
        for (int k = 0; k < 64 * 16; ++k)
            m.videoRam[static_cast<std::size_t>((i * 64 * 2 + k) & 16383)] = static_cast<std::uint8_t>(k * 37 + i);
        screen.drawScreen(false);
        const output::FrameBitmap& f = *screen.shownBitmap();
        const auto start = Clock::now();
        w.addFrame({256, 256, 24, output::FrameBitmap::BytesPerLine, f.Bits.data()});
        t.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    const std::int32_t frames = w.frameCount;
    w.finalizeVideo();
    w.saveAviFile();
    std::error_code ec;
    const std::uintmax_t bytes = std::filesystem::file_size(path, ec);
    std::sort(t.begin(), t.end());
    return {t[t.size() / 2], t.back(), frames, ec ? 0 : bytes};
}

} // namespace

int main()
{
    const auto dir = std::filesystem::temp_directory_path() / "ostrovik-avi-bench";
    std::filesystem::create_directories(dir);
    for (const char* codec : {"FMP4", "", "MJPG"}) {
        const Figures f = run(codec, (dir / (std::string("bench_") + (*codec ? codec : "raw") + ".avi")).string());
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
