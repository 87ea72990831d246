#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "machine/Machine.hpp"
#include "output/ColorTable.hpp"
#include "output/FrameBitmap.hpp"
#include "output/RenderMode.hpp"

namespace ostrovik::output {

/// The raster presentation's frame: keeps @c screenBitmap in step with video
/// RAM by decoding only the bytes that changed since the last draw.
class GdiScreen {
public:
    /// @p colorTable is read at every draw; it must outlive this object.
    GdiScreen(machine::Machine& machine, const ColourLookupTable& colorTable);

    /// The raster mode makes both bitmaps anew; OpenGL releases them (that
    /// presentation has none); any other mode leaves everything as it is.
    void changeRenderMode(RenderMode mode);

    /// Decodes every video byte that differs from its @c videoShadow entry
    /// under the palette in latch C1, in gray when @p gray, and brings the
    /// shadow up to date; then makes the smoothed copy when @c blurEnabled.
    /// Returns whether any pixel of @c screenBitmap was rewritten. Without
    /// bitmaps (render mode 1) it does nothing and returns false.
    bool drawScreen(bool gray);

    /// Smooths @c blurBitmap in place.
    void smoothBlurBitmap();

    /// The bitmap to show: the smoothed copy while smoothing is on.
    const FrameBitmap* shownBitmap() const
    {
        return blurEnabled ? blurBitmap.get() : screenBitmap.get();
    }

    std::unique_ptr<FrameBitmap> screenBitmap;
    std::unique_ptr<FrameBitmap> blurBitmap;
    /// Smoothing on (menu item Blur).
    std::uint8_t blurEnabled = 0;

private:
    ColorValue grayOf(ColorValue c);

    machine::Machine& machine_;
    const ColourLookupTable& colorTable_;

    /// grayTv results by the top bit of each channel. The table's colours are
    /// the eight whose channels are 0 or 255, so a full gray redraw computes
    /// no level; any other colour is computed and kept.
    struct GrayEntry {
        ColorValue colour, level;
    };
    std::array<GrayEntry, 8> grayCache_{};
};

} // namespace ostrovik::output
