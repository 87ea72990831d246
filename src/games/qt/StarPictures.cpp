#include "games/qt/StarPictures.hpp"

#include <QPainter>
#include <QPolygonF>
#include <QtMath>

#include "games/GameLibrary.hpp"

namespace ostrovik::games {

QPixmap fullStarPicture()
{
    QPixmap star(kStarWidth, kStarWidth);
    star.fill(Qt::black);
    QPainter p(&star);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(15.5, 16.5);
    const double outer = 15.0, inner = 7.0;
    QPolygonF points;
    for (int i = 0; i < 10; ++i) {
        const double angle = -M_PI / 2 + i * M_PI / 5;
        const double r = i % 2 ? inner : outer;
        points << centre + QPointF(r * std::cos(angle), r * std::sin(angle));
    }
    QLinearGradient gold(0, 0, 0, kStarWidth);
    gold.setColorAt(0, QColor(255, 236, 120));
    gold.setColorAt(1, QColor(230, 160, 0));
    p.setPen(QPen(QColor(160, 100, 0), 1));
    p.setBrush(gold);
    p.drawPolygon(points);
    return star;
}

QPixmap halfStarPicture()
{
    return fullStarPicture().copy(0, 0, kHalfStarWidth, kStarWidth);
}

} // namespace ostrovik::games
