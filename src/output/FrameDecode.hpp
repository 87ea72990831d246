#pragma once

#include <array>

#include "machine/Machine.hpp"
#include "output/ColorTable.hpp"
#include "output/FrameBitmap.hpp"

namespace ostrovik::output {

/// The 1,024 colours of the palette in latch C1, by video byte and pixel;
/// each passed through @p gray when it is given.
using PaletteColours = std::array<std::array<ColorValue, 4>, 256>;
PaletteColours paletteColours(const machine::Machine& machine, const ColourLookupTable& colorTable,
                              ColorValue (*gray)(ColorValue));

/// Decodes the whole of video RAM under the palette in latch C1 into @p out,
/// in gray when @p gray: the picture the raster presentation would show
/// unsmoothed. Reads the machine only, so it serves where no presentation
/// keeps a frame (the OpenGL mode) without disturbing the redraw bookkeeping.
void decodeFrame(const machine::Machine& machine, const ColourLookupTable& colorTable, bool gray, FrameBitmap& out);

} // namespace ostrovik::output
