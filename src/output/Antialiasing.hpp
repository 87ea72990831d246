#pragma once

#include "output/FrameBitmap.hpp"

namespace ostrovik::output {

/// Softens @p bitmap in place: each channel of each pixel becomes the average
/// of itself and its four neighbours (three at the left and right edges; the
/// top and bottom rows count themselves as the missing row), rounded to
/// nearest with ties to even. Pixels are taken in reading order, so the
/// neighbours above and to the left are already smoothed when a pixel is.
void antialiasing(FrameBitmap& bitmap);

} // namespace ostrovik::output
