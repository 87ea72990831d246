#include "debugger/qt/KeyFilter.hpp"

#include <QKeyEvent>

namespace ostrovik::debugger {

KeyFilter::KeyFilter(QString allowed, bool backspace, bool enter, QObject* parent)
    : QObject(parent), allowed_(std::move(allowed)), backspace_(backspace), enter_(enter)
{
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && drops(*static_cast<QKeyEvent*>(event)))
        return true;
    return QObject::eventFilter(watched, event);
}

bool KeyFilter::drops(const QKeyEvent& event) const
{
    const QKeyEvent* key = &event;
    switch (key->key()) {
    case Qt::Key_Backspace:
        return !backspace_;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return !enter_;
    default:
        break;
    }
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = key->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;
    for (QChar c : text)
        if (!allowed_.contains(c))
            return true;
    return false;
}

} // namespace ostrovik::debugger
