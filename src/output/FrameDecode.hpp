#pragma once

#include "machine/Machine.hpp"
#include "output/ColorTable.hpp"
#include "output/FrameBitmap.hpp"

namespace ostrovik::output {

/// Decodes the whole of video RAM under the palette in latch C1 into @p out,
/// in gray when @p gray: the picture the raster presentation would show
/// unsmoothed. Reads the machine only, so it serves where no presentation
/// keeps a frame (the OpenGL mode) without disturbing the redraw bookkeeping.
void decodeFrame(const machine::Machine& machine, const TColorTable& ColorTable, bool gray, FrameBitmap& out);

} // namespace ostrovik::output
