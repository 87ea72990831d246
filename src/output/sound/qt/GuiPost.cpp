#include "output/sound/qt/GuiPost.hpp"

#include <QCoreApplication>
#include <QMetaObject>

namespace ostrovik::output::sound {

platform::PostCall postToGuiThread()
{
    return [](std::function<void()> call) {
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(call), Qt::QueuedConnection);
    };
}

} // namespace ostrovik::output::sound
