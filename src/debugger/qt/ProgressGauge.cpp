#include "debugger/qt/ProgressGauge.hpp"

#include <QPainter>

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string>

namespace ostrovik::debugger {

ProgressGauge::ProgressGauge(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ProgressGauge"));
}

int ProgressGauge::percentDone() const
{
    const long long span = static_cast<long long>(max_) - min_;
    return span <= 0 ? 0 : static_cast<int>((static_cast<long long>(progress_) - min_) * 100 / span);
}

void ProgressGauge::setMaxValue(long long value)
{
    constexpr long long top = std::numeric_limits<int>::max();
    if (value < min_)
        throw std::runtime_error("Value must be between " + std::to_string(min_) + " and " +
                                 std::to_string(top) + " (the end address lies before the start)");
    max_ = static_cast<int>(std::min(value, top));
    setProgress(progress_);
    update();
}

void ProgressGauge::setProgress(int value)
{
    const int before = percentDone();
    progress_ = std::clamp(value, min_, max_);
    if (percentDone() != before)
        update();
}

void ProgressGauge::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    p.fillRect(r, palette().base());
    const int filled = r.width() * percentDone() / 100;
    p.fillRect(QRect(r.left(), r.top(), filled, r.height()), QColor(0, 0, 128));
    p.setPen(palette().mid().color());
    p.drawRect(r);
    p.setPen(percentDone() >= 50 ? Qt::white : Qt::black);
    p.drawText(r, Qt::AlignCenter, QStringLiteral("%1%").arg(percentDone()));
}

} // namespace ostrovik::debugger
