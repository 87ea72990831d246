#include "output/FrameDecode.hpp"

#include <array>
#include <cstddef>

namespace ostrovik::output {

PaletteColours paletteColours(const machine::Machine& machine, const ColourLookupTable& colorTable,
                              ColorValue (*gray)(ColorValue))
{
    // Only this palette's colours matter; turning them gray once keeps the
    // per-pixel work a look-up.
    PaletteColours colours = colorTable[machine.ports[0xC1]];
    if (gray)
        for (auto& byteColours : colours)
            for (ColorValue& c : byteColours)
                c = gray(c);
    return colours;
}

void decodeFrame(const machine::Machine& machine, const ColourLookupTable& colorTable, bool gray, FrameBitmap& out)
{
    const PaletteColours colours = paletteColours(machine, colorTable, gray ? grayTv : nullptr);

    for (std::size_t i = 0; i < machine.videoRam.size(); ++i) {
        const std::uint8_t b = machine.videoRam[i];
        // 64 bytes per line, four pixels per byte.
        std::uint8_t* pixel = out.scanLine(static_cast<int>(i >> 6)) + (i & 63) * 12;
        for (int k = 0; k < 4; ++k, pixel += 3) {
            const ColorValue c = colours[b][k];
            pixel[0] = static_cast<std::uint8_t>(c >> 16);
            pixel[1] = static_cast<std::uint8_t>(c >> 8);
            pixel[2] = static_cast<std::uint8_t>(c);
        }
    }
}

} // namespace ostrovik::output
