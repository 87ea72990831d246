#pragma once

#include <array>
#include <cstdint>

namespace ostrovik::output {

/// Red in bits 0–7, green in 8–15, blue in 16–23, zero above.
using ColorValue = std::uint32_t;

inline constexpr ColorValue clBlack = 0x000000;
inline constexpr ColorValue clGreen = 0x00FF00;
inline constexpr ColorValue clBlue = 0xFF0000;
inline constexpr ColorValue clRed = 0x0000FF;

/// The colour of each two-bit pixel index before the palette is applied.
inline constexpr std::array<ColorValue, 4> BaseColors{clBlack, clGreen, clBlue, clRed};

/// The two-bit index of pixel @p k (0 = leftmost) of a video byte: the bit of
/// the high nibble is the low bit of the index.
constexpr int pixelIndex(std::uint8_t value, int k)
{
    return ((value >> (7 - k)) & 1) | (((value >> (3 - k)) & 1) << 1);
}

/// [palette][video byte][pixel]: every colour the screen can show, so that
/// drawing is a look-up.
using ColourLookupTable = std::array<std::array<std::array<ColorValue, 4>, 256>, 256>;

/// @p base as it looks under @p palette (the port C1 value).
ColorValue computeColorIndex(std::uint8_t palette, ColorValue base);

/// The gray a black-and-white set shows for @p colour.
ColorValue grayTv(ColorValue colour);

/// Fills the four entries of @p value under @p palette.
void vramTest(ColourLookupTable& colorTable, std::uint8_t palette, std::uint8_t value);

/// Fills the whole table.
void calculateColor(ColourLookupTable& colorTable);

} // namespace ostrovik::output
