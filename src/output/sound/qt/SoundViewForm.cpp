#include "output/sound/qt/SoundViewForm.hpp"

#include <QPainter>
#include <QPen>

#include "output/sound/SoundBars.hpp"

namespace ostrovik::output::sound {

namespace {
constexpr int kClientWidth = 340;
constexpr int kClientHeight = 204;
// The drawn area, a little larger than the client area.
constexpr int kFillWidth = 342;
constexpr int kFillHeight = 206;
constexpr int kBarStep = 12;
constexpr int kBarBase = 200;
constexpr int kPixelsPerClick = 6;
constexpr int kPenWidth = 10;
} // namespace

SoundViewForm::SoundViewForm(QWidget* mainWindow) : QWidget(mainWindow, Qt::Tool)
{
    setObjectName(QStringLiteral("SoundDrawForm"));
    setWindowTitle(QStringLiteral("View sound"));
    resize(kClientWidth, kClientHeight);
}

void SoundViewForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (placed_)
        return;
    placed_ = true;
    if (const QWidget* main = parentWidget())
        move(main->frameGeometry().center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
}

void SoundViewForm::drawBuffer(std::span<const std::uint8_t> data)
{
    const QSize need(std::max(width(), kFillWidth), std::max(height(), kFillHeight));
    if (surface_.size() != need) {
        QImage grown(need, QImage::Format_RGB32);
        grown.fill(palette().color(QPalette::Window));
        if (!surface_.isNull()) {
            QPainter copy(&grown);
            copy.drawImage(0, 0, surface_);
        }
        surface_ = std::move(grown);
    }
    QPainter p(&surface_);
    p.fillRect(0, 0, kFillWidth, kFillHeight, Qt::black);
    p.setPen(QPen(QColor(0x00, 0xFF, 0x00), kPenWidth, Qt::DotLine, Qt::FlatCap));
    const auto counts = countBarClicks(data);
    for (int b = 0; b < kSoundBars; ++b) {
        const int count = counts[static_cast<std::size_t>(b)];
        if (count > 0)
            p.drawLine(kBarStep * b, kBarBase, kBarStep * b, kBarBase - kPixelsPerClick * count);
    }
    p.end();
    update();
}

void SoundViewForm::paintEvent(QPaintEvent*)
{
    if (surface_.isNull())
        return;
    QPainter p(this);
    p.drawImage(0, 0, surface_);
}

} // namespace ostrovik::output::sound
