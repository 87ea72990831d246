#include "games/qt/Centre.hpp"

#include <algorithm>

#include <QScreen>
#include <QWidget>

namespace ostrovik::games {

void CentreOnMainWindow(QWidget& form, QWidget* parent)
{
    if (!parent)
        return;
    const QRect main = parent->window()->frameGeometry();
    QPoint place = main.center() - QPoint(form.width() / 2, form.height() / 2);
    if (const QScreen* screen = parent->screen()) {
        const QRect room = screen->availableGeometry();
        place.setX(std::clamp(place.x(), room.left(), std::max(room.left(), room.right() - form.width())));
        place.setY(std::clamp(place.y(), room.top(), std::max(room.top(), room.bottom() - form.height())));
    }
    form.move(place);
}

} // namespace ostrovik::games
