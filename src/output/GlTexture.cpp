#include "output/GlTexture.hpp"

#include <cmath>

#include "output/FrameDecode.hpp"

namespace ostrovik::output {

ColorValue grayGl(ColorValue c)
{
    const long double r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    const long double y = r * 0.3L + g * 0.59L + b * 0.11L;
    // Round to nearest, ties to even, under the default rounding mode.
    const auto level = static_cast<ColorValue>(static_cast<long long>(std::nearbyintl(y)) & 0xFF);
    return level * 0x010101u;
}

void buildTexture(const machine::Machine& machine, const ColourLookupTable& colorTable, bool gray, GlTextureImage& out)
{
    const PaletteColours colours = paletteColours(machine, colorTable, gray ? grayGl : nullptr);

    for (std::size_t i = 0; i < machine.videoRam.size(); ++i) {
        const std::uint8_t b = machine.videoRam[i];
        // Screen line i / 64 lands in texture row 255 − line.
        std::uint8_t* texel = out.data() + (255 - (i >> 6)) * 768 + (i & 63) * 12;
        for (int k = 0; k < 4; ++k, texel += 3) {
            const ColorValue c = colours[b][k];
            texel[0] = static_cast<std::uint8_t>(c);
            texel[1] = static_cast<std::uint8_t>(c >> 8);
            texel[2] = static_cast<std::uint8_t>(c >> 16);
        }
    }
}

GlViewport glViewportFor(int cw, int ch, int toolBarHeight)
{
    return {0, 0, cw, ch - toolBarHeight};
}

} // namespace ostrovik::output
