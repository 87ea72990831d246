#pragma once

namespace ostrovik::output {

/// Height of the main window's tool bar at the top of the client area.
inline constexpr int ToolBarHeight = 25;

/// A rectangle in client coordinates; right and bottom lie just outside it.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const Box&) const = default;
};

/// Where the raster presentation puts the picture in a client area.
struct GdiLayout {
    bool stretched = false;
    /// Where the 256 × 256 source lands (scaled when stretched).
    Box picture;
    /// The one-pixel frame: its outline covers columns left and right − 1 and
    /// rows top and bottom − 1. Empty when stretched.
    Box frame;
};

/// Layout for a client area of @p cw × @p ch. Natural size centres the picture
/// in the area below the tool bar; stretch fills that whole area.
GdiLayout gdiLayout(int cw, int ch, bool stretch);

} // namespace ostrovik::output
