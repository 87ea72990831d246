#include "ui/JoystickCapture.hpp"

#include "kit/Dialogs.hpp"
#include "platform/qt/JoyPollClock.hpp"
#include "platform/sdl/SdlJoystick.hpp"
#include "session/EmulatorSession.hpp"
#include "settings/SettingsStore.hpp"
#include "ui/MainMenu.hpp"

namespace ostrovik::ui {

using kit::Icon;
using kit::dialogs;

JoystickCapture::JoystickCapture(session::EmulatorSession& session, const settings::SettingsStore& store, MainMenu& menus,
                                 QWidget& owner)
    : session_(session), store_(store), menus_(menus), owner_(owner), clock_(new platform::JoyPollClock(this)),
      sdlJoystick_(std::make_unique<platform::SdlJoystick>(*clock_)), joystick_(sdlJoystick_.get())
{
}

JoystickCapture::~JoystickCapture() = default;

void JoystickCapture::setJoystick(platform::Joystick* joystick)
{
    if (captured_)
        joystick_->joyReleaseCapture(joystickId_);
    captureEnded();
    joystick_ = joystick ? joystick : sdlJoystick_.get();
}

void JoystickCapture::captureEnded()
{
    captured_ = false;
    emit captureChanged(false);
    menus_.setImage(menu::JoystickButton, Icon::JoystickCapture);
}

void JoystickCapture::toggle()
{
    if (captured_) {
        joystick_->joyReleaseCapture(joystickId_);
        captureEnded();
        return;
    }
    platform::JoyInfo position;
    platform::JoyResult result = joystick_->joyGetPos(0, position);
    if (result == platform::JOYERR_NOERROR) {
        joystickId_ = 0;
        platform::JoyCaps caps;
        result = joystick_->joyGetDevCaps(joystickId_, caps);
        if (result == platform::JOYERR_NOERROR)
            result = joystick_->joySetCapture(*this, joystickId_, 2 * caps.wPeriodMin, false);
    }
    // A capture that could not be set is reported like a position that could
    // not be read, and the joystick stays released.
    if (result != platform::JOYERR_NOERROR) {
        dialogs().message(&owner_, QStringLiteral("Ostrovik"), QString::fromLatin1(platform::joyErrorText(result)));
        return;
    }
    captured_ = true;
    emit captureChanged(true);
    menus_.setImage(menu::JoystickButton, Icon::Joystick);
}

void JoystickCapture::releaseAtExit()
{
    if (captured_)
        joystick_->joyReleaseCapture(joystickId_);
}

void JoystickCapture::joystickMoved(std::uint32_t axes)
{
    session_.joystickMoved(store_.joystickVirtualKeys(), axes);
}

void JoystickCapture::joystickButtonDown(std::uint32_t buttons)
{
    session_.joystickButtonDown(store_.joystickVirtualKeys(), buttons);
}

void JoystickCapture::joystickButtonUp(std::uint32_t buttons)
{
    session_.joystickButtonUp(store_.joystickVirtualKeys(), buttons);
}

void JoystickCapture::joystickUnplugged()
{
    // Whatever the joystick held is let go, as if it had been centred with
    // no button held; the tool button captures a joystick plugged in again.
    joystickMoved(platform::joyMoveParam(platform::kJoyAxisCentre, platform::kJoyAxisCentre));
    joystickButtonUp(0);
    captureEnded();
}

} // namespace ostrovik::ui
