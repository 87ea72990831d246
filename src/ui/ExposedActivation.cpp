#include "ui/ExposedActivation.hpp"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace ostrovik::ui {

ExposedActivation::ExposedActivation(QWidget& window, std::function<void()> activated)
    : QObject(&window), window_(window), activated_(std::move(activated))
{
    window_.installEventFilter(this);
}

bool ExposedActivation::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window_) {
        if (event->type() == QEvent::ActivationChange && window_.isActiveWindow())
            activateOnceExposed();
        // Some desktops (and the offscreen platform) never activate a window
        // that was not clicked; the first show powers the machine on all the
        // same.
        else if (event->type() == QEvent::Show)
            QTimer::singleShot(0, this, [this] { activateOnceExposed(); });
        return false;
    }
    QWindow* handle = window_.windowHandle();
    if (watched == handle && event->type() == QEvent::Expose && handle->isExposed()) {
        handle->removeEventFilter(this);
        QTimer::singleShot(0, this, [this] { activateOnceExposed(); });
    }
    return false;
}

void ExposedActivation::activateOnceExposed()
{
    QWindow* handle = window_.windowHandle();
    if (handle && !handle->isExposed()) {
        handle->removeEventFilter(this);
        handle->installEventFilter(this);
        return;
    }
    activated_();
}

} // namespace ostrovik::ui
