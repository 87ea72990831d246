#pragma once

#include <QWidget>

namespace ostrovik::debugger {

/// The status bar's progress gauge: a bar with its percentage. It repaints
/// only when the percentage changes, so a pass may report every step.
class ProgressGauge : public QWidget {
    Q_OBJECT
public:
    explicit ProgressGauge(QWidget* parent = nullptr);

    int minValue() const { return min_; }
    int maxValue() const { return max_; }
    int progress() const { return progress_; }
    int percentDone() const;

    /// Throws the out-of-range error for a maximum below the minimum; the
    /// gauge is then unchanged.
    void setMaxValue(long long value);
    /// Clamped to the gauge's range.
    void setProgress(int value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int min_ = 0;
    int max_ = 100;
    int progress_ = 0;
};

} // namespace ostrovik::debugger
