#pragma once

#include <cstdint>
#include <memory>

#include <QObject>

#include "platform/Joystick.hpp"

class QWidget;

namespace ostrovik::session {
class EmulatorSession;
}
namespace ostrovik::platform {
class JoyPollClock;
class SdlJoystick;
}
namespace ostrovik::settings {
class SettingsStore;
}

namespace ostrovik::ui {

class MainMenu;

/// The joystick tool button's capture of joystick 1, and the joystick's
/// messages, which play the PC keys of the settings store into the machine.
class JoystickCapture final : public QObject, public platform::JoyWindow {
    Q_OBJECT
public:
    /// The tool button of @p menus shows the capture; a failed capture is
    /// reported over @p owner.
    JoystickCapture(session::EmulatorSession& session, const settings::SettingsStore& store, MainMenu& menus,
                    QWidget& owner);
    ~JoystickCapture() override;

    /// Joystick 1 is captured.
    bool captured() const { return captured_; }
    /// The joystick service; a test may put its own in place before capturing.
    platform::Joystick& joystick() { return *joystick_; }
    /// Releases a capture and uses @p joystick from now on (null: SDL's).
    void setJoystick(platform::Joystick* joystick);
    /// The tool button: captures joystick 1, or releases it when captured.
    void toggle();
    /// Lets the joystick go at the program's end; nobody is told.
    void releaseAtExit();

    void joystickMoved(std::uint32_t axes) override;
    void joystickButtonDown(std::uint32_t buttons) override;
    void joystickButtonUp(std::uint32_t buttons) override;
    void joystickUnplugged() override;

signals:
    /// A joystick was captured or released: the joystick keys may be set
    /// only while one is captured.
    void captureChanged(bool captured);

private:
    void captureEnded();

    session::EmulatorSession& session_;
    const settings::SettingsStore& store_;
    MainMenu& menus_;
    QWidget& owner_;
    bool captured_ = false;
    std::uint32_t joystickId_ = 0;
    platform::JoyPollClock* clock_ = nullptr;
    std::unique_ptr<platform::SdlJoystick> sdlJoystick_;
    platform::Joystick* joystick_ = nullptr;
};

} // namespace ostrovik::ui
