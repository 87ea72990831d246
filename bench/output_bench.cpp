// Costs of the raster presentation's core: building the colour table, a draw
// with an unchanged screen (every tick) and a full redraw (palette write).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "machine/Machine.hpp"
#include "output/ColorTable.hpp"
#include "output/GdiScreen.hpp"

namespace {

using Clock = std::chrono::steady_clock;
using namespace ostrovik::output;

/// Median of @p runs timings of @p body, in microseconds.
template <class F>
double medianMicros(int runs, F&& body)
{
    std::vector<double> t;
    t.reserve(static_cast<std::size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        body(i);
        t.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::nth_element(t.begin(), t.begin() + runs / 2, t.end());
    return t[static_cast<std::size_t>(runs / 2)];
}

volatile bool sink;
int redraws = 0; // full redraws that rewrote the picture

} // namespace

int main()
{
    auto table = std::make_unique<ColourLookupTable>();
    const double build = medianMicros(21, [&](int) { calculateColor(*table); });

    ostrovik::machine::NullHost host;
    ostrovik::machine::Machine m(host);
    GdiScreen screen(m, *table);
    screen.changeRenderMode(ostrovik::output::RenderMode::Raster);
    // A busy picture, so that every byte decodes to different colours.
    for (std::size_t i = 0; i < m.videoRam.size(); ++i)
        m.videoRam[i] = static_cast<std::uint8_t>(i * 37 + (i >> 6));
    m.invalidateScreen();
    screen.drawScreen(false);

    const double unchanged = medianMicros(20001, [&](int) { sink = screen.drawScreen(false); });
    const double full = medianMicros(2001, [&](int i) {
        m.writePort(0xC1, i);
        redraws += screen.drawScreen(false);
    });
    const double fullGray = medianMicros(501, [&](int i) {
        m.writePort(0xC1, i);
        redraws += screen.drawScreen(true);
    });
    const double oneByte = medianMicros(20001, [&](int i) {
        m.videoRam[static_cast<std::size_t>(i) & 16383] ^= 0x55;
        sink = screen.drawScreen(false);
    });

    // A palette write that redrew nothing would time an empty draw.
    if (redraws == 0) {
        std::fprintf(stderr, "no full redraw rewrote the picture\n");
        return 1;
    }
    std::printf("calculateColor                   %9.1f us  (budget 20000 us, %.4f of it)\n", build,
                build / 20000.0);
    std::printf("drawScreen, unchanged screen    %9.2f us\n", unchanged);
    std::printf("drawScreen, one byte changed    %9.2f us\n", oneByte);
    std::printf("drawScreen, full redraw         %9.1f us  (budget 500 us, %.3f of it)\n", full,
                full / 500.0);
    std::printf("drawScreen, full redraw in gray %9.1f us\n", fullGray);
    return 0;
}
