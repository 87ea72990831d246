// The picture of the machine's keyboard under the on-screen keyboard's
// buttons, drawn from the same key table, so every key lies under its button.

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include "ui/KeyboardForm.hpp"
#include "ui/KeyboardLayoutTable.hpp"
#include "kit/Text.hpp"

namespace ostrovik::ui {

using kit::fromUtf8;

namespace {

QFont legendFont(int pixelSize, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

void drawSpeaker(QPainter& p, const QRectF& r)
{
    const QPointF c = r.center();
    const qreal s = r.height() / 6;
    QPainterPath body;
    body.moveTo(c.x() - 2 * s, c.y() - s);
    body.lineTo(c.x() - s, c.y() - s);
    body.lineTo(c.x() + s, c.y() - 2.5 * s);
    body.lineTo(c.x() + s, c.y() + 2.5 * s);
    body.lineTo(c.x() - s, c.y() + s);
    body.lineTo(c.x() - 2 * s, c.y() + s);
    body.closeSubpath();
    p.fillPath(body, QColor(30, 30, 30));
    p.drawArc(QRectF(c.x() + 0.5 * s, c.y() - 1.5 * s, 2.5 * s, 3 * s), -45 * 16, 90 * 16);
}

} // namespace

QImage KeyboardForm::keyboardPicture()
{
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    const qreal sx = static_cast<qreal>(kPictureWidth) / kClientWidth;
    const qreal sy = static_cast<qreal>(kPictureHeight) / kClientHeight;

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // The case: dark, with a lighter strip behind the function row.
    p.fillRect(image.rect(), QColor(58, 52, 48));
    p.fillRect(QRectF(0, 0, kPictureWidth, 48 * sy), QColor(72, 66, 60));
    p.setPen(QColor(200, 190, 170));
    p.setFont(legendFont(11, true));
    p.drawText(QRectF(470 * sx, 12 * sy, 60 * sx, 30 * sy), Qt::AlignCenter, QStringLiteral("DU-01"));

    for (const KeyboardKey& key : kKeyboardKeys) {
        const QRectF r((key.left + 1) * sx, (key.top + 1) * sy, (key.width - 2) * sx, (kKeyHeight - 2) * sy);
        // Function keys dark, the rest light, the alphabet keys marked.
        const bool function = key.top == kKeyboardKeys.front().top;
        const bool alphabet = key.action == KeyAction::Matrix;
        QColor face = function ? QColor(96, 92, 88) : QColor(226, 222, 212);
        if (alphabet)
            face = QColor(196, 120, 60);
        p.setPen(QPen(QColor(20, 20, 20), 2));
        p.setBrush(face);
        p.drawRoundedRect(r, 6, 6);
        // The key's top, a little lighter.
        p.setPen(Qt::NoPen);
        p.setBrush(face.lighter(112));
        p.drawRoundedRect(r.adjusted(5, 4, -5, -9), 4, 4);

        const QColor ink = function ? QColor(240, 236, 228) : QColor(20, 20, 20);
        p.setPen(ink);
        const QString legend = fromUtf8(key.legend);
        if (legend == QLatin1String("speaker")) {
            p.setPen(QPen(ink, 2));
            drawSpeaker(p, r);
            continue;
        }
        const QStringList parts = legend.split(QLatin1Char('\n'));
        const QRectF inner = r.adjusted(6, 4, -6, -8);
        if (parts.size() == 2) {
            p.setFont(legendFont(17, true));
            p.drawText(inner, Qt::AlignLeft | Qt::AlignTop, parts[0]);
            p.setFont(legendFont(15, false));
            p.drawText(inner, Qt::AlignRight | Qt::AlignBottom, parts[1]);
        } else {
            p.setFont(legendFont(legend.size() > 2 ? 13 : 18, true));
            // A key whose button has a caption of its own keeps its legend
            // clear of it.
            p.drawText(inner, key.caption.empty() ? Qt::AlignCenter : (Qt::AlignTop | Qt::AlignHCenter), legend);
        }
    }
    return image;
}

} // namespace ostrovik::ui
