#include "kit/CentreOnOwner.hpp"

#include <algorithm>

#include <QScreen>
#include <QWidget>

namespace ostrovik::kit {

void centreOnOwner(QWidget& window, const QWidget& owner)
{
    const QRect over = owner.window()->frameGeometry();
    // Before its first showing a window's frame is not known yet, and this
    // is its bare size.
    const QSize size = window.frameGeometry().size();
    QPoint place = over.topLeft() + QPoint((over.width() - size.width()) / 2, (over.height() - size.height()) / 2);
    if (const QScreen* screen = owner.screen()) {
        const QRect room = screen->availableGeometry();
        place.setX(std::max(room.left(), std::min(place.x(), room.left() + room.width() - size.width())));
        place.setY(std::max(room.top(), std::min(place.y(), room.top() + room.height() - size.height())));
    }
    window.move(place);
}

} // namespace ostrovik::kit
