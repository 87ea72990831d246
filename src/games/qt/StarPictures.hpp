#pragma once

#include <QPixmap>

namespace ostrovik::games {

/// The rating's full star: a gold five-pointed star on black, 31 × 31.
QPixmap FullStarPicture();
/// The left 16 columns of the full star.
QPixmap HalfStarPicture();

} // namespace ostrovik::games
