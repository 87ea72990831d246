#include "output/qt/ScreenView.hpp"

#include <QPainter>

namespace ostrovik::output {

namespace {

QColor toQColor(ColorValue c)
{
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

QImage wrap(const FrameBitmap& bitmap)
{
    // The bitmap's bytes are blue, green, red per pixel, which is BGR888.
    return QImage(bitmap.bits.data(), FrameBitmap::kWidth, FrameBitmap::kHeight,
                  FrameBitmap::kBytesPerLine, QImage::Format_BGR888);
}

} // namespace

ScreenView::ScreenView(GdiScreen& screen, QWidget* parent) : QWidget(parent), screen_(screen)
{
    // Every pixel is painted by paintEvent.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ScreenView::changeRenderMode(RenderMode mode)
{
    screen_.changeRenderMode(mode);
    update();
}

void ScreenView::drawScreen(bool gray)
{
    present(screen_.drawScreen(gray));
}

void ScreenView::setStretch(bool on)
{
    if (stretch_ == on)
        return;
    stretch_ = on;
    update();
}

void ScreenView::setClientTop(int y)
{
    clientTop_ = y;
    update();
}

GdiLayout ScreenView::currentLayout() const
{
    return gdiLayout(width(), height() + clientTop_, stretch_);
}

QRect ScreenView::toWidget(const Box& box) const
{
    return QRect(box.left, box.top - clientTop_, box.width(), box.height());
}

void ScreenView::present(bool changed)
{
    if (!screen_.screenBitmap)
        return;
    const GdiLayout layout = currentLayout();
    if (!layout.stretched) {
        const QColor corner = toQColor(screen_.screenBitmap->pixel(0, 0));
        if (corner != background_) {
            background_ = corner;
            update();
            return;
        }
    }
    // The backing store keeps the last frame, so an unchanged one needs no
    // repaint; the smoothed copy is made anew each draw and is always shown.
    if (changed || screen_.blurEnabled)
        update(toWidget(layout.picture));
}

const QImage* ScreenView::imageFor(const FrameBitmap* bitmap)
{
    if (!bitmap)
        return nullptr;
    const bool blur = bitmap == screen_.blurBitmap.get();
    const FrameBitmap*& wrapped = blur ? blurWrapped_ : screenWrapped_;
    QImage& image = blur ? blurImage_ : screenImage_;
    if (wrapped != bitmap) {
        image = wrap(*bitmap);
        wrapped = bitmap;
    }
    return &image;
}

void ScreenView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const GdiLayout layout = currentLayout();
    const QImage* image = imageFor(screen_.shownBitmap());
    const QRect picture = toWidget(layout.picture);

    if (layout.stretched) {
        // Only the strip under the tool bar is not covered by the picture.
        painter.fillRect(toWidget({0, 0, width(), ToolBarHeight}), background_);
        if (!image) {
            painter.fillRect(picture, background_);
        } else if (picture.width() > 0 && picture.height() > 0) {
            // Nearest-neighbour scaling: whole pixels repeated or dropped, no blending.
            painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
            painter.drawImage(picture, *image);
        }
        return;
    }

    painter.fillRect(rect(), background_);
    if (!image)
        return;
    // The frame is drawn in black, the window canvas's pen.
    const QRect frame = toWidget(layout.frame);
    painter.fillRect(QRect(frame.left(), frame.top(), frame.width(), 1), Qt::black);
    painter.fillRect(QRect(frame.left(), frame.bottom(), frame.width(), 1), Qt::black);
    painter.fillRect(QRect(frame.left(), frame.top(), 1, frame.height()), Qt::black);
    painter.fillRect(QRect(frame.right(), frame.top(), 1, frame.height()), Qt::black);
    painter.drawImage(picture.topLeft(), *image);
}

} // namespace ostrovik::output
