#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "output/Antialiasing.hpp"

namespace {

using ostrovik::output::antialiasing;
using ostrovik::output::FrameBitmap;

struct Dot {
    int x, y, value;
};

struct SmoothingCase {
    const char* name;
    int channel; // 0 blue, 1 green, 2 red
    std::vector<Dot> lit; // on an otherwise black frame
    std::vector<Dot> expected;
};

std::uint8_t& at(FrameBitmap& b, int x, int y, int channel)
{
    return b.scanLine(y)[3 * x + channel];
}

// Values worked out by hand from the filter's rule.
const SmoothingCase kCases[] = {
    {"a lone pixel spreads right and down from already smoothed values", 1,
     {{10, 10, 255}},
     {{9, 9, 0}, {10, 9, 51}, {11, 9, 10}, {12, 9, 2}, {13, 9, 0},
      {9, 10, 51}, {10, 10, 71}, {11, 10, 16}, {12, 10, 4}, {13, 10, 1},
      {9, 11, 10}, {10, 11, 16}, {11, 11, 6}, {12, 11, 2}, {13, 11, 1},
      {10, 8, 0}, {8, 10, 0}}},
    {"the top-left corner counts itself as the row above; 127.5 goes to 128", 2,
     {{0, 0, 255}},
     {{0, 0, 128}, {1, 0, 26}, {0, 1, 32}}},
    {"2.5 goes to the even 2 in the corner", 0, {{0, 0, 5}}, {{0, 0, 2}}},
    {"3.5 goes to the even 4 in the corner", 0, {{0, 0, 7}}, {{0, 0, 4}}},
    {"the last column averages four; 72.5 goes to 72", 2,
     {{255, 100, 200}},
     {{255, 99, 50}, {254, 100, 40}, {255, 100, 72}, {254, 101, 8}, {255, 101, 20}}},
    {"the last row counts itself as the row below", 1,
     {{10, 255, 255}},
     {{10, 254, 51}, {11, 254, 10}, {9, 255, 51}, {10, 255, 122}, {11, 255, 26}}},
};

TEST(AntialiasingTest, HandWorkedFrames)
{
    for (const SmoothingCase& c : kCases) {
        SCOPED_TRACE(c.name);
        auto frame = std::make_unique<FrameBitmap>();
        for (const Dot& d : c.lit)
            at(*frame, d.x, d.y, c.channel) = static_cast<std::uint8_t>(d.value);
        antialiasing(*frame);
        for (const Dot& d : c.expected)
            EXPECT_EQ(at(*frame, d.x, d.y, c.channel), d.value) << "at (" << d.x << ", " << d.y << ")";
        // Each channel is filtered by itself: the dark ones stay dark.
        for (int other = 0; other < 3; ++other) {
            if (other == c.channel)
                continue;
            for (int y = 0; y < FrameBitmap::kHeight; ++y)
                for (int x = 0; x < FrameBitmap::kWidth; ++x)
                    ASSERT_EQ(at(*frame, x, y, other), 0) << "channel " << other << " at (" << x << ", " << y << ")";
        }
    }
}

TEST(AntialiasingTest, UniformFramesStayAsTheyAre)
{
    for (int value : {0, 1, 128, 254, 255}) {
        SCOPED_TRACE(value);
        auto frame = std::make_unique<FrameBitmap>();
        frame->bits.fill(static_cast<std::uint8_t>(value));
        const auto before = frame->bits;
        antialiasing(*frame);
        EXPECT_EQ(frame->bits, before);
    }
}

} // namespace
