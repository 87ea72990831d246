#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "machine/Machine.hpp"
#include "output/ColorTable.hpp"

namespace ostrovik::output {

/// The OpenGL presentation's texture: 256 × 256 texels of red, green, blue
/// bytes, rows of 768 bytes; row 0 (texture coordinate t = 0) is the bottom
/// screen line, texel 0 of a row the leftmost pixel.
using GlTextureImage = std::array<std::uint8_t, 256 * 256 * 3>;

/// The gray of a colour as the OpenGL presentation makes it: the luma kept
/// to its low 8 bits in all three channels.
ColorValue grayGl(ColorValue c);

/// Decodes all of video RAM under the palette in latch C1 into @p out, in
/// gray when @p gray.
void buildTexture(const machine::Machine& machine, const ColourLookupTable& colorTable, bool gray, GlTextureImage& out);

/// The viewport for a client area of @p cw × @p ch: from the bottom-left
/// corner, leaving out the @p toolBarHeight rows the tool bar covers.
struct GlViewport {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const GlViewport&) const = default;
};
GlViewport glViewportFor(int cw, int ch, int toolBarHeight);

} // namespace ostrovik::output
