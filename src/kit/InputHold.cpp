#include "kit/InputHold.hpp"

#include <algorithm>

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace ostrovik::kit {

namespace {

/// What a user does to a window: everything a modal dialog keeps from the
/// windows beneath it. A shortcut is caught as its override, which the
/// window with the focus is asked first.
bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::NativeGesture:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

} // namespace

InputHold::InputHold()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        windows_.emplace_back(w);
    qApp->installEventFilter(this);
}

InputHold::~InputHold()
{
    qApp->removeEventFilter(this);
}

bool InputHold::held(QObject* target) const
{
    if (const auto* widget = qobject_cast<QWidget*>(target)) {
        const QWidget* window = widget->window();
        return std::any_of(windows_.begin(), windows_.end(), [window](const QPointer<QWidget>& w) { return w == window; });
    }
    if (const auto* window = qobject_cast<QWindow*>(target))
        return std::any_of(windows_.begin(), windows_.end(),
                           [window](const QPointer<QWidget>& w) { return w && w->windowHandle() == window; });
    return false;
}

bool InputHold::eventFilter(QObject* watched, QEvent* event)
{
    if (isUserInput(event->type()) && held(watched)) {
        // Accepted, so that a shortcut's override counts as taken and the
        // shortcut does not fire.
        event->accept();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ostrovik::kit
