// Cost of smoothing one frame, which runs on every raster draw while the
// smoothing command is on.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "output/Antialiasing.hpp"

namespace {

using Clock = std::chrono::steady_clock;
using namespace ostrovik::output;

volatile unsigned sink;

} // namespace

int main()
{
    auto source = std::make_unique<FrameBitmap>();
    for (std::size_t i = 0; i < source->bits.size(); ++i)
        source->bits[i] = (i * 2654435761u >> 13) & 1 ? 255 : 0;
    auto frame = std::make_unique<FrameBitmap>();

    constexpr int kRuns = 2001;
    std::vector<double> t;
    t.reserve(kRuns);
    for (int i = 0; i < kRuns; ++i) {
        *frame = *source;
        const auto start = Clock::now();
        antialiasing(*frame);
        t.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        sink = frame->bits[static_cast<std::size_t>(i) % frame->bits.size()];
    }
    if (frame->bits == source->bits) {
        std::fprintf(stderr, "the smoothing changed nothing\n");
        return 1;
    }
    std::nth_element(t.begin(), t.begin() + kRuns / 2, t.end());
    const double median = t[kRuns / 2];
    std::printf("Antialiasing, one 256x256 frame  %9.1f us  (budget 500 us, %.3f of it)\n", median,
                median / 500.0);
    return 0;
}
