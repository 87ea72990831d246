#include "ui/StoredWindowSize.hpp"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "kit/Settings.hpp"
#include "settings/SettingsSchema.hpp"

namespace ostrovik::ui {

using namespace settings;

namespace {

// A stored number that is not one counts as absent.
int storedNumber(std::string_view key)
{
    return decimalOr(kit::readIni(kAutoStartUpOptions, key).toStdString(), 0);
}

} // namespace

void StoredWindowSize::restore()
{
    const int height = storedNumber(kFormHeight);
    const int width = storedNumber(kFormWidth);
    const QScreen* desk = QGuiApplication::primaryScreen();
    const QSize room = desk ? desk->availableGeometry().size() : QSize();
    if (height > 0 && width > 0 && width <= room.width() && height <= room.height()) {
        pending_ = QSize(width, height);
        applyOnceFramed();
    }
}

void StoredWindowSize::applyOnceFramed()
{
    if (pending_.isEmpty())
        return;
    const QWindow* handle = window_.windowHandle();
    const QMargins frame = handle ? handle->frameMargins() : QMargins();
    window_.resize(pending_.width() - frame.left() - frame.right(), pending_.height() - frame.top() - frame.bottom());
    if (!frame.isNull())
        pending_ = QSize();
}

void StoredWindowSize::resized(QSize size)
{
    if (!pending_.isEmpty() && size != pending_)
        pending_ = QSize();
}

void StoredWindowSize::save()
{
    // Never framed (no desktop put it up): the size asked for is the outer one.
    const QSize outer = pending_.isEmpty() ? window_.frameGeometry().size() : pending_;
    if (kit::writeIni(kAutoStartUpOptions, kFormHeight, QString::number(outer.height()), &window_))
        kit::writeIni(kAutoStartUpOptions, kFormWidth, QString::number(outer.width()), &window_);
}

} // namespace ostrovik::ui
