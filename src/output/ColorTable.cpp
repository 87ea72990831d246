#include "output/ColorTable.hpp"

#include <cmath>

namespace ostrovik::output {

namespace {
constexpr ColorValue kRedBits = 0x0000FF;
constexpr ColorValue kGreenBits = 0x00FF00;
constexpr ColorValue kBlueBits = 0xFF0000;
} // namespace

ColorValue computeColorIndex(std::uint8_t palette, ColorValue base)
{
    ColorValue c = 0;
    if (palette & 0x40)
        c ^= kBlueBits;
    if (palette & 0x20)
        c ^= kGreenBits;
    if (palette & 0x10)
        c ^= kRedBits;

    switch (base) {
    case clBlack:
        if (!(palette & 0x08))
            c ^= kRedBits;
        if (!(palette & 0x04))
            c ^= kBlueBits;
        break;
    case clRed:
        c ^= kRedBits;
        if (!(palette & 0x02))
            c ^= kGreenBits;
        break;
    case clGreen:
        c ^= kGreenBits;
        break;
    case clBlue:
        c ^= kBlueBits;
        if (!(palette & 0x01))
            c ^= kRedBits;
        break;
    default:
        break;
    }
    return c;
}

ColorValue grayTv(ColorValue colour)
{
    const long double r = colour & 0xFF;
    const long double g = (colour >> 8) & 0xFF;
    const long double b = (colour >> 16) & 0xFF;
    // Extended precision and ties to even: red (76.5) and cyan (178.5) are
    // exact ties and must come out as 76 and 178.
    const long double y = r * 0.3L + g * 0.59L + b * 0.11L;
    const auto level = static_cast<ColorValue>(std::nearbyint(y));
    return level * 0x010101u;
}

void vramTest(ColourLookupTable& colorTable, std::uint8_t palette, std::uint8_t value)
{
    for (int k = 0; k < 4; ++k)
        colorTable[palette][value][k] = computeColorIndex(palette, BaseColors[pixelIndex(value, k)]);
}

void calculateColor(ColourLookupTable& colorTable)
{
    for (int p = 0; p < 256; ++p)
        for (int b = 0; b < 256; ++b)
            vramTest(colorTable, static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(b));
}

} // namespace ostrovik::output
