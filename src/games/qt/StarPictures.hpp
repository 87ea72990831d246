#pragma once

#include <QPixmap>

namespace ostrovik::games {

/// The rating's full star: a gold five-pointed star on black, 31 × 31.
QPixmap fullStarPicture();
/// The left 16 columns of the full star.
QPixmap halfStarPicture();

} // namespace ostrovik::games
