// Joystick capture and the joystick's messages, which play the PC keys of
// the settings store.

#include "machine/JoystickKeys.hpp"
#include "platform/sdl/SdlJoystick.hpp"
#include "kit/Dialogs.hpp"
#include "ui/MainWindow.hpp"
#include "ui/MainMenu.hpp"

namespace ostrovik::ui {

using kit::Icon;
using kit::dialogs;

void MainWindow::setJoystick(platform::Joystick* joystick)
{
    if (joystickCaptured)
        joystick_->joyReleaseCapture(joystickId);
    joyCaptureEnded();
    joystick_ = joystick ? joystick : sdlJoystick_.get();
}

void MainWindow::joyCaptureEnded()
{
    joystickCaptured = 0;
    emit joystickCaptureChanged(false);
    menus_->setImage(menu::JoystickButton, Icon::JoystickCapture);
}

void MainWindow::toggleJoystickCapture()
{
    if (joystickCaptured) {
        joystick_->joyReleaseCapture(joystickId);
        joyCaptureEnded();
        return;
    }
    platform::JoyInfo position;
    platform::JoyResult result = joystick_->joyGetPos(0, position);
    if (result == platform::JOYERR_NOERROR) {
        joystickId = 0;
        platform::JoyCaps caps;
        result = joystick_->joyGetDevCaps(joystickId, caps);
        if (result == platform::JOYERR_NOERROR)
            result = joystick_->joySetCapture(*this, joystickId, 2 * caps.wPeriodMin, false);
    }
    // A capture that could not be set is reported like a position that could
    // not be read, and the joystick stays released.
    if (result != platform::JOYERR_NOERROR) {
        dialogs().message(this, QStringLiteral("Ostrovik"), QString::fromLatin1(platform::JoyErrorText(result)));
        return;
    }
    joystickCaptured = 1;
    emit joystickCaptureChanged(true);
    menus_->setImage(menu::JoystickButton, Icon::Joystick);
}

void MainWindow::joystickMoved(std::uint32_t axes)
{
    session_.joystickMoved(settingsStore_.joystickVirtualKeys(), axes);
}

void MainWindow::joystickButtonDown(std::uint32_t buttons)
{
    session_.joystickButtonDown(settingsStore_.joystickVirtualKeys(), buttons);
}

void MainWindow::joystickButtonUp(std::uint32_t buttons)
{
    session_.joystickButtonUp(settingsStore_.joystickVirtualKeys(), buttons);
}

void MainWindow::joystickUnplugged()
{
    // Whatever the joystick held is let go, as if it had been centred with
    // no button held; the tool button captures a joystick plugged in again.
    joystickMoved(platform::JoyMoveParam(platform::kJoyAxisCentre, platform::kJoyAxisCentre));
    joystickButtonUp(0);
    joyCaptureEnded();
}

} // namespace ostrovik::ui
