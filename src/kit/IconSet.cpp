#include "kit/IconSet.hpp"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <array>
#include <cmath>
#include <numbers>

namespace ostrovik::kit {

namespace {

// Every picture is drawn on a 16 × 16 grid and scaled to the size asked for;
// one-pixel lines sit on half coordinates so that they stay sharp at 16.
const QColor kInk(44, 48, 58);
const QColor kBlue(46, 110, 206);
const QColor kLightBlue(150, 190, 240);
const QColor kGreen(46, 150, 62);
const QColor kRed(208, 48, 44);
const QColor kYellow(244, 196, 64);
const QColor kDarkYellow(176, 128, 24);
const QColor kGray(128, 132, 140);
const QColor kLightGray(214, 218, 224);
const QColor kPaper(252, 252, 248);
const QColor kBrown(150, 96, 48);

QPen ink(const QColor& colour = kInk, qreal width = 1.0)
{
    QPen pen(colour, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void outlinedRect(QPainter& p, const QRectF& r, const QColor& fill, const QColor& line = kInk)
{
    p.setPen(ink(line));
    p.setBrush(fill);
    p.drawRect(r);
}

void page(QPainter& p, const QColor& fill = kPaper)
{
    QPainterPath path;
    path.moveTo(2.5, 0.5);
    path.lineTo(10.5, 0.5);
    path.lineTo(13.5, 3.5);
    path.lineTo(13.5, 15.5);
    path.lineTo(2.5, 15.5);
    path.closeSubpath();
    p.setPen(ink());
    p.setBrush(fill);
    p.drawPath(path);
    p.drawPolyline(QPolygonF({QPointF(10.5, 0.5), QPointF(10.5, 3.5), QPointF(13.5, 3.5)}));
}

void textLines(QPainter& p, const QColor& colour, qreal left, qreal top, std::initializer_list<qreal> lengths)
{
    p.setPen(ink(colour));
    qreal y = top;
    for (qreal len : lengths) {
        if (len > 0)
            p.drawLine(QPointF(left, y), QPointF(left + len, y));
        y += 2;
    }
}

void speaker(QPainter& p)
{
    QPainterPath path;
    path.moveTo(1.5, 5.5);
    path.lineTo(4.5, 5.5);
    path.lineTo(8.5, 1.5);
    path.lineTo(8.5, 14.5);
    path.lineTo(4.5, 10.5);
    path.lineTo(1.5, 10.5);
    path.closeSubpath();
    p.setPen(ink());
    p.setBrush(kLightGray);
    p.drawPath(path);
}

void tv(QPainter& p, const std::array<QColor, 4>& bars)
{
    p.setPen(ink());
    p.drawLine(QPointF(5.5, 0.5), QPointF(8, 3));
    p.drawLine(QPointF(10.5, 0.5), QPointF(8, 3));
    p.setBrush(QColor(92, 70, 52));
    p.drawRoundedRect(QRectF(0.5, 3.5, 15, 10), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i)
        p.fillRect(QRectF(2 + 2.5 * i, 5, 2.5, 7), bars[static_cast<std::size_t>(i)]);
    p.setPen(ink());
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1.5, 4.5, 11, 8));
    p.fillRect(QRectF(13.5, 6, 1, 1), kYellow);
    p.fillRect(QRectF(13.5, 9, 1, 1), kLightGray);
    p.drawLine(QPointF(3.5, 14), QPointF(3.5, 15.5));
    p.drawLine(QPointF(12.5, 14), QPointF(12.5, 15.5));
}

void filmStrip(QPainter& p, const QColor& frames)
{
    p.setPen(ink());
    p.setBrush(QColor(60, 60, 66));
    p.drawRect(QRectF(0.5, 2.5, 15, 11));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        p.fillRect(QRectF(1.5 + 3.75 * i, 3.5, 2, 1), kPaper);
        p.fillRect(QRectF(1.5 + 3.75 * i, 11.5, 2, 1), kPaper);
    }
    p.fillRect(QRectF(1.5, 5.5, 6, 5), frames);
    p.fillRect(QRectF(8.5, 5.5, 6, 5), frames);
}

void arrowHead(QPainter& p, QPointF tip, qreal dx, qreal dy, const QColor& colour)
{
    // A filled triangle pointing along (dx, dy).
    const qreal len = std::hypot(dx, dy);
    const qreal ux = dx / len, uy = dy / len;
    const QPointF base(tip.x() - 3.5 * ux, tip.y() - 3.5 * uy);
    const QPointF side(-uy * 2.5, ux * 2.5);
    p.setPen(ink(colour, 0.8));
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({tip, base + side, base - side}));
}

void monitor(QPainter& p, const QRectF& r, const QColor& screen)
{
    p.setPen(ink());
    p.setBrush(kLightGray);
    p.drawRect(r);
    p.fillRect(r.adjusted(1.5, 1.5, -1, -1), screen);
}

void letter(QPainter& p, const QString& text, const QColor& colour, const QRectF& box, int pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(pixelSize);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
}

void badge(QPainter& p, const QColor& fill, const QString& text)
{
    p.setPen(ink(fill.darker(140)));
    p.setBrush(fill);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    letter(p, text, Qt::white, QRectF(0, 0, 16, 16), 12);
}

void gear(QPainter& p)
{
    QPainterPath teeth;
    constexpr int kTeeth = 8;
    for (int i = 0; i < kTeeth * 2; ++i) {
        const qreal a0 = (i - 0.5) * std::numbers::pi / kTeeth, a1 = (i + 0.5) * std::numbers::pi / kTeeth;
        const qreal r = (i % 2 == 0) ? 7.3 : 5.4;
        const QPointF p0(8 + r * std::cos(a0), 8 + r * std::sin(a0));
        const QPointF p1(8 + r * std::cos(a1), 8 + r * std::sin(a1));
        if (i == 0)
            teeth.moveTo(p0);
        else
            teeth.lineTo(p0);
        teeth.lineTo(p1);
    }
    teeth.closeSubpath();
    teeth.addEllipse(QPointF(8, 8), 2.2, 2.2);
    teeth.setFillRule(Qt::OddEvenFill);
    p.setPen(ink());
    p.setBrush(kGray);
    p.drawPath(teeth);
}

void bug(QPainter& p, qreal scale)
{
    p.save();
    p.translate(8, 8);
    p.scale(scale, scale);
    p.translate(-8, -8);
    p.setPen(ink(kInk, 1.0));
    for (qreal y : {6.5, 9.0, 11.5}) {
        p.drawLine(QPointF(3, y - 1), QPointF(5, y));
        p.drawLine(QPointF(13, y - 1), QPointF(11, y));
    }
    p.drawLine(QPointF(6.5, 3), QPointF(5, 1));
    p.drawLine(QPointF(9.5, 3), QPointF(11, 1));
    p.setBrush(kInk);
    p.drawEllipse(QRectF(5.5, 2.5, 5, 3.5));
    p.setBrush(kGreen);
    p.drawEllipse(QRectF(4.5, 5, 7, 9.5));
    p.drawLine(QPointF(8, 5.5), QPointF(8, 14));
    p.restore();
}

void draw(QPainter& p, int index)
{
    switch (index) {
    case 0: // blank page
        page(p);
        break;
    case 1: // settings
        gear(p);
        break;
    case 2: // memory debugger
        bug(p, 1.0);
        break;
    case 3: { // keyboard
        p.setPen(ink());
        p.setBrush(kLightGray);
        p.drawRoundedRect(QRectF(0.5, 3.5, 15, 9), 1.5, 1.5);
        p.setPen(Qt::NoPen);
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 6; ++col)
                p.fillRect(QRectF(2 + 2 * col + row, 5 + 2 * row, 1.2, 1.2), kInk);
        p.fillRect(QRectF(4, 10, 8, 1.2), kInk);
        break;
    }
    case 4: { // open: a folder with its front flap open
        p.setPen(ink(kDarkYellow.darker(130)));
        p.setBrush(kDarkYellow);
        QPainterPath back;
        back.moveTo(0.5, 14.5);
        back.lineTo(0.5, 2.5);
        back.lineTo(5.5, 2.5);
        back.lineTo(6.5, 4.5);
        back.lineTo(12.5, 4.5);
        back.lineTo(12.5, 14.5);
        back.closeSubpath();
        p.drawPath(back);
        p.setBrush(kYellow);
        p.drawPolygon(QPolygonF({QPointF(0.5, 14.5), QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(12.5, 14.5)}));
        break;
    }
    case 5: { // save: a floppy disk
        p.setPen(ink());
        p.setBrush(kBlue);
        QPainterPath body;
        body.moveTo(0.5, 0.5);
        body.lineTo(13.5, 0.5);
        body.lineTo(15.5, 2.5);
        body.lineTo(15.5, 15.5);
        body.lineTo(0.5, 15.5);
        body.closeSubpath();
        p.drawPath(body);
        outlinedRect(p, QRectF(3.5, 0.5, 9, 5), kLightGray);
        p.fillRect(QRectF(9.5, 1.5, 2, 3), kInk);
        outlinedRect(p, QRectF(2.5, 8.5, 11, 7), kPaper);
        textLines(p, kGray, 4, 10.5, {8, 8});
        break;
    }
    case 6: { // exit: an open door and an arrow out of it
        p.setPen(ink());
        p.setBrush(kLightGray);
        p.drawRect(QRectF(1.5, 0.5, 9, 15));
        p.setBrush(kBrown);
        p.drawPolygon(QPolygonF({QPointF(1.5, 0.5), QPointF(6.5, 2.5), QPointF(6.5, 15.5), QPointF(1.5, 15.5)}));
        p.fillRect(QRectF(5, 8, 1, 1.5), kYellow);
        p.setPen(ink(kGreen, 2.0));
        p.drawLine(QPointF(8, 8), QPointF(12.5, 8));
        arrowHead(p, QPointF(15.5, 8), 1, 0, kGreen);
        break;
    }
    case 7: // pause
        outlinedRect(p, QRectF(3.5, 2.5, 3, 11), kBlue, kBlue.darker(150));
        outlinedRect(p, QRectF(9.5, 2.5, 3, 11), kBlue, kBlue.darker(150));
        break;
    case 8: // paused: the play triangle that resumes
        p.setPen(ink(kGreen.darker(150)));
        p.setBrush(kGreen);
        p.drawPolygon(QPolygonF({QPointF(3.5, 1.5), QPointF(13.5, 8), QPointF(3.5, 14.5)}));
        break;
    case 9: // about
        badge(p, kBlue, QStringLiteral("i"));
        break;
    case 10: // help
        badge(p, kGreen, QStringLiteral("?"));
        break;
    case 11: // stop
        outlinedRect(p, QRectF(2.5, 2.5, 11, 11), kRed, kRed.darker(150));
        break;
    case 12: // colour TV
        tv(p, {QColor(230, 60, 50), QColor(60, 180, 70), QColor(60, 100, 230), QColor(250, 220, 60)});
        break;
    case 13: // black-and-white TV
        tv(p, {QColor(240, 240, 240), QColor(176, 176, 176), QColor(112, 112, 112), QColor(48, 48, 48)});
        break;
    case 14: { // stretched picture: arrows to the four corners
        outlinedRect(p, QRectF(4.5, 4.5, 7, 7), kLightBlue);
        p.setPen(ink(kInk, 1.2));
        const std::array<std::array<qreal, 4>, 4> corners{{{1, 1, 1, 1}, {15, 1, -1, 1}, {1, 15, 1, -1}, {15, 15, -1, -1}}};
        for (const auto& c : corners) {
            const QPointF tip(c[0], c[1]);
            p.drawLine(tip, tip + QPointF(4 * c[2], 0));
            p.drawLine(tip, tip + QPointF(0, 4 * c[3]));
            p.drawLine(tip, tip + QPointF(2.5 * c[2], 2.5 * c[3]));
        }
        break;
    }
    case 15: { // reset: a clockwise circular arrow, open at the top
        const QPointF centre(8, 8.5);
        const qreal r = 5.5;
        p.setPen(ink(kRed, 2.0));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 60 * 16, -300 * 16);
        const qreal a = 120 * std::numbers::pi / 180;
        const QPointF end(centre.x() + r * std::cos(a), centre.y() - r * std::sin(a));
        arrowHead(p, end + QPointF(2.6, -1.5), std::sin(a), std::cos(a), kRed);
        break;
    }
    case 16: { // screenshot: a camera
        p.setPen(ink());
        p.setBrush(kGray);
        p.drawRect(QRectF(5.5, 2.5, 5, 2));
        p.setBrush(QColor(70, 74, 84));
        p.drawRoundedRect(QRectF(0.5, 4.5, 15, 10), 1.5, 1.5);
        p.setBrush(kLightBlue);
        p.drawEllipse(QPointF(8, 9.5), 3.3, 3.3);
        p.setBrush(kBlue);
        p.drawEllipse(QPointF(8, 9.5), 1.5, 1.5);
        p.fillRect(QRectF(12.5, 6, 2, 1.2), kYellow);
        break;
    }
    case 17: // AVI: a film strip
        filmStrip(p, kLightBlue);
        break;
    case 18: // AVI stopped
        filmStrip(p, kGray);
        outlinedRect(p, QRectF(5.5, 5.5, 5, 5), kInk, kPaper);
        break;
    case 19: // AVI recording
        filmStrip(p, kLightBlue);
        p.setPen(ink(kPaper));
        p.setBrush(kRed);
        p.drawEllipse(QPointF(8, 8), 4, 4);
        break;
    case 20: { // joystick
        p.setPen(ink());
        p.setBrush(kGray);
        p.drawRoundedRect(QRectF(1.5, 10.5, 13, 4), 1.5, 1.5);
        p.setPen(ink(kInk, 2.0));
        p.drawLine(QPointF(8, 10.5), QPointF(8, 5));
        p.setPen(ink());
        p.setBrush(kRed);
        p.drawEllipse(QPointF(8, 4), 3, 3);
        p.fillRect(QRectF(11.5, 11.5, 2, 1.5), kRed);
        break;
    }
    case 21: // sound on
        speaker(p);
        p.setPen(ink(kBlue, 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(6.5, 5, 5, 6), -60 * 16, 120 * 16);
        p.drawArc(QRectF(6.5, 2.5, 8.5, 11), -60 * 16, 120 * 16);
        break;
    case 22: // sound off
        speaker(p);
        p.setPen(ink(kRed, 1.8));
        p.drawLine(QPointF(10.5, 5.5), QPointF(15, 10.5));
        p.drawLine(QPointF(15, 5.5), QPointF(10.5, 10.5));
        break;
    case 23: { // smoothing: hard pixel steps on the left, a soft blend on the right
        p.setPen(Qt::NoPen);
        for (int row = 0; row < 4; ++row)
            p.fillRect(QRectF(1, 2 + 3 * row, 2 + 1.5 * row, 3), kBlue);
        QLinearGradient soft(QPointF(7, 0), QPointF(15, 0));
        soft.setColorAt(0, kBlue);
        soft.setColorAt(1, QColor(kBlue.red(), kBlue.green(), kBlue.blue(), 0));
        QRadialGradient blob(QPointF(10.5, 8), 5.5);
        blob.setColorAt(0, kBlue);
        blob.setColorAt(0.55, kLightBlue);
        blob.setColorAt(1, QColor(kLightBlue.red(), kLightBlue.green(), kLightBlue.blue(), 0));
        p.setBrush(blob);
        p.drawEllipse(QPointF(10.5, 8), 5.5, 6.5);
        break;
    }
    case 24: { // sound view: bars on a dark screen
        monitor(p, QRectF(0.5, 1.5, 15, 13), QColor(20, 30, 24));
        const std::array<qreal, 6> heights{3, 7, 5, 9, 4, 6};
        for (std::size_t i = 0; i < heights.size(); ++i)
            p.fillRect(QRectF(2.5 + 2 * static_cast<qreal>(i), 13 - heights[i], 1.2, heights[i]), QColor(90, 220, 100));
        break;
    }
    case 25: { // picture to tape: a picture and an arrow into a cassette
        outlinedRect(p, QRectF(0.5, 0.5, 10, 8), QColor(170, 210, 250));
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawPolygon(QPolygonF({QPointF(1, 8), QPointF(4.5, 3.5), QPointF(7, 6), QPointF(8.5, 4.5), QPointF(10, 8)}));
        p.setBrush(kYellow);
        p.drawEllipse(QPointF(8, 2.5), 1.2, 1.2);
        outlinedRect(p, QRectF(5.5, 10.5, 10, 5), kInk);
        p.setPen(ink(kPaper));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(8.5, 13), 1.1, 1.1);
        p.drawEllipse(QPointF(12.5, 13), 1.1, 1.1);
        p.setPen(ink(kRed, 1.5));
        p.drawLine(QPointF(2.5, 10), QPointF(2.5, 13));
        arrowHead(p, QPointF(5.5, 13), 1, 0, kRed);
        break;
    }
    case 26: { // joystick capture: a game pad
        p.setPen(ink());
        p.setBrush(kGray);
        QPainterPath pad;
        pad.addRoundedRect(QRectF(0.5, 4.5, 15, 8), 4, 4);
        p.drawPath(pad);
        p.setPen(Qt::NoPen);
        p.fillRect(QRectF(2.5, 8, 5, 1.5), kInk);
        p.fillRect(QRectF(4.25, 6.25, 1.5, 5), kInk);
        p.setBrush(kRed);
        p.drawEllipse(QPointF(11, 7.5), 1.3, 1.3);
        p.setBrush(kGreen);
        p.drawEllipse(QPointF(13, 9.8), 1.3, 1.3);
        break;
    }
    case 27: { // screen size: a screen with a double arrow across it
        monitor(p, QRectF(0.5, 1.5, 15, 11), kLightBlue);
        p.setPen(ink());
        p.drawLine(QPointF(5.5, 12.5), QPointF(4.5, 15.5));
        p.drawLine(QPointF(10.5, 12.5), QPointF(11.5, 15.5));
        p.drawLine(QPointF(3.5, 15.5), QPointF(12.5, 15.5));
        p.setPen(ink(kInk, 1.2));
        p.drawLine(QPointF(5, 7), QPointF(11, 7));
        arrowHead(p, QPointF(2.5, 7), -1, 0, kInk);
        arrowHead(p, QPointF(13.5, 7), 1, 0, kInk);
        break;
    }
    case 28: // console log: a page of text
        page(p);
        textLines(p, kInk, 4.5, 4.5, {5, 7, 4, 7, 6, 3});
        break;
    case 29: { // 256 × 256: a square screen at its own size, pixel for pixel
        outlinedRect(p, QRectF(1.5, 1.5, 13, 13), QColor(20, 30, 60));
        p.setPen(Qt::NoPen);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                if ((x + y) % 2 == 0)
                    p.fillRect(QRectF(3 + 2.5 * x, 3 + 2.5 * y, 2.5, 2.5), kLightBlue);
        break;
    }
    case 30: { // paste: a clipboard with a page on it
        outlinedRect(p, QRectF(1.5, 2.5, 11, 13), kBrown);
        outlinedRect(p, QRectF(4.5, 1.5, 5, 3), kGray);
        outlinedRect(p, QRectF(7.5, 6.5, 8, 9), kPaper);
        textLines(p, kGray, 9, 8.5, {5, 4, 5});
        break;
    }
    case 31: { // language: a globe
        p.setPen(ink(kBlue.darker(140)));
        p.setBrush(kLightBlue);
        p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(4.5, 0.5, 7, 15));
        p.drawLine(QPointF(8, 0.5), QPointF(8, 15.5));
        p.drawLine(QPointF(0.5, 8), QPointF(15.5, 8));
        p.drawLine(QPointF(2, 4.5), QPointF(14, 4.5));
        p.drawLine(QPointF(2, 11.5), QPointF(14, 11.5));
        break;
    }
    case 32: { // character generator: a letter on its dot grid
        outlinedRect(p, QRectF(0.5, 0.5, 15, 15), QColor(255, 250, 220));
        static constexpr std::array<const char*, 7> kGlyph{" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"};
        p.setPen(Qt::NoPen);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 5; ++x)
                if (kGlyph[static_cast<std::size_t>(y)][x] == '#')
                    p.fillRect(QRectF(2.5 + 2.2 * x, 1.5 + 1.9 * y, 1.6, 1.6), kInk);
        break;
    }
    case 33: // assembler editor: a page of indented code
        page(p);
        textLines(p, kBlue, 4.5, 4.5, {3, 0, 3, 0, 3});
        textLines(p, kRed, 8.5, 4.5, {3, 0, 2, 0, 3});
        textLines(p, kGreen, 6.5, 6.5, {5, 0, 4, 0, 0});
        break;
    case 34: { // step debugger: a small bug and a step-over arrow
        bug(p, 0.7);
        p.setPen(ink(kBlue, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(1, 1, 13, 8), 30 * 16, 150 * 16);
        arrowHead(p, QPointF(13.8, 6.5), 0.4, 1, kBlue);
        break;
    }
    case 35: { // network: two computers and the link between them
        monitor(p, QRectF(0.5, 0.5, 8, 6), kLightBlue);
        monitor(p, QRectF(7.5, 8.5, 8, 6), kLightBlue);
        p.setPen(ink(kGreen, 1.5));
        p.drawPolyline(QPolygonF({QPointF(4.5, 7), QPointF(4.5, 11.5), QPointF(7, 11.5)}));
        p.drawPolyline(QPolygonF({QPointF(9, 3.5), QPointF(11.5, 3.5), QPointF(11.5, 8)}));
        break;
    }
    case 36: { // English: the crosses of the British flag
        const QRectF flag(0.5, 2.5, 15, 11);
        p.fillRect(flag, QColor(1, 33, 105));
        p.save();
        p.setClipRect(flag);
        p.setPen(QPen(Qt::white, 3));
        p.drawLine(flag.topLeft(), flag.bottomRight());
        p.drawLine(flag.bottomLeft(), flag.topRight());
        p.setPen(QPen(QColor(200, 16, 46), 1));
        p.drawLine(flag.topLeft(), flag.bottomRight());
        p.drawLine(flag.bottomLeft(), flag.topRight());
        p.fillRect(QRectF(6, 2.5, 4, 11), Qt::white);
        p.fillRect(QRectF(0.5, 6, 15, 4), Qt::white);
        p.fillRect(QRectF(7, 2.5, 2, 11), QColor(200, 16, 46));
        p.fillRect(QRectF(0.5, 7, 15, 2), QColor(200, 16, 46));
        p.restore();
        p.setPen(ink(kGray));
        p.setBrush(Qt::NoBrush);
        p.drawRect(flag);
        break;
    }
    case 37: { // Russian: the tricolour
        p.fillRect(QRectF(0.5, 2.5, 15, 11.0 / 3), Qt::white);
        p.fillRect(QRectF(0.5, 2.5 + 11.0 / 3, 15, 11.0 / 3), QColor(0, 57, 166));
        p.fillRect(QRectF(0.5, 2.5 + 22.0 / 3, 15, 11.0 / 3), QColor(213, 43, 30));
        p.setPen(ink(kGray));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(0.5, 2.5, 15, 11));
        break;
    }
    default:
        break;
    }
}

} // namespace

QPixmap IconSet::pixmap(Icon which, int size)
{
    const int index = static_cast<int>(which);
    if (index < 0 || index >= kCount || size <= 0)
        return {};
    QPixmap result(size, size);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(size / 16.0, size / 16.0);
    draw(painter, index);
    painter.end();
    return result;
}

QIcon IconSet::icon(Icon which)
{
    const int index = static_cast<int>(which);
    if (index < 0 || index >= kCount)
        return {};
    QIcon result;
    result.addPixmap(pixmap(which, kSmallSize));
    result.addPixmap(pixmap(which, kLargeSize));
    return result;
}

} // namespace ostrovik::kit
