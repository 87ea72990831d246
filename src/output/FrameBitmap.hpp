#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "output/ColorTable.hpp"

namespace ostrovik::output {

/// A 256 × 256 picture at 24 bits per pixel: blue, green, red bytes per pixel,
/// scanline 0 (the top line) first, no padding.
struct FrameBitmap {
    static constexpr int kWidth = 256;
    static constexpr int kHeight = 256;
    static constexpr int kBytesPerLine = kWidth * 3;

    std::array<std::uint8_t, static_cast<std::size_t>(kBytesPerLine) * kHeight> bits{};

    std::uint8_t* scanLine(int y) { return bits.data() + static_cast<std::size_t>(y) * kBytesPerLine; }
    const std::uint8_t* scanLine(int y) const
    {
        return bits.data() + static_cast<std::size_t>(y) * kBytesPerLine;
    }

    /// The pixel at (x, y) as a colour value.
    ColorValue pixel(int x, int y) const
    {
        const std::uint8_t* p = scanLine(y) + 3 * x;
        return static_cast<ColorValue>(p[2]) | static_cast<ColorValue>(p[1]) << 8 |
               static_cast<ColorValue>(p[0]) << 16;
    }
};

} // namespace ostrovik::output
