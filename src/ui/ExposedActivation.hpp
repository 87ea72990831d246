#pragma once

#include <functional>

#include <QObject>

class QWidget;

namespace ostrovik::ui {

/// Calls back each time its window is shown or becomes active, once the
/// desktop has exposed it: a box the call shows (a missing ROM image at the
/// power-on) is then placed over the window where it stays, not over where
/// it was before, a corner of the screen.
class ExposedActivation final : public QObject {
public:
    ExposedActivation(QWidget& window, std::function<void()> activated);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void activateOnceExposed();

    QWidget& window_;
    std::function<void()> activated_;
};

} // namespace ostrovik::ui
