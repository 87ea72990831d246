#include "output/GdiLayout.hpp"

namespace ostrovik::output {

GdiLayout gdiLayout(int cw, int ch, bool stretch)
{
    GdiLayout l;
    l.stretched = stretch;
    if (stretch) {
        l.picture = {0, ToolBarHeight, cw, ch};
        return l;
    }
    // Integer division truncating toward zero, as C++ does for negatives too.
    const int cx = cw / 2;
    const int cy = (ch - ToolBarHeight) / 2;
    l.frame = {cx - 129, cy - 104, cx + 129, cy + 154};
    l.picture = {cx - 128, cy - 103, cx - 128 + 256, cy - 103 + 256};
    return l;
}

} // namespace ostrovik::output
