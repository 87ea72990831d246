#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "output/ColorTable.hpp"

namespace ostrovik::output {

/// A 256 × 256 picture at 24 bits per pixel: blue, green, red bytes per pixel,
/// scanline 0 (the top line) first, no padding.
struct FrameBitmap {
    static constexpr int Width = 256;
    static constexpr int Height = 256;
    static constexpr int BytesPerLine = Width * 3;

    std::array<std::uint8_t, static_cast<std::size_t>(BytesPerLine) * Height> Bits{};

    std::uint8_t* ScanLine(int y) { return Bits.data() + static_cast<std::size_t>(y) * BytesPerLine; }
    const std::uint8_t* ScanLine(int y) const
    {
        return Bits.data() + static_cast<std::size_t>(y) * BytesPerLine;
    }

    /// Pixel (x, y) as a colour value.
    ColorValue Pixel(int x, int y) const
    {
        const std::uint8_t* p = ScanLine(y) + 3 * x;
        return static_cast<ColorValue>(p[2]) | static_cast<ColorValue>(p[1]) << 8 |
               static_cast<ColorValue>(p[0]) << 16;
    }
};

} // namespace ostrovik::output
