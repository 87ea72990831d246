#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "machine/Option.hpp"

namespace ostrovik::machine {

class Machine;

/// What the tool windows may do to the running emulator. The main window
/// implements it; a window receives it instead of the main window itself.
class EmulatorControl {
public:
    virtual ~EmulatorControl() = default;

    /// The machine: its memory, ports, registers and program folder.
    virtual Machine& machine() = 0;

    /// Whether the settings window's check box for @p which is checked.
    virtual bool optionChecked(Option which) const = 0;
    virtual void setOptionChecked(Option which, bool checked) = 0;

    /// Cold reset; what the machine throws goes to the caller.
    virtual void reset() = 0;
    virtual void setPaused(bool paused) = 0;
    /// The main window's caption (UTF-8).
    virtual void setCaption(std::string_view caption) = 0;
    /// Loads a tape image or snapshot as File → Open does.
    virtual void loadFile(const std::string& path, bool autoStart) = 0;
    /// Puts @p path at the top of the recent files and makes it the name the
    /// open dialog remembers.
    virtual void rememberFile(const std::string& path) = 0;
    /// Brings the main window in front of the others with the input focus.
    virtual void focusMainWindow() = 0;
    /// Presents the screen now, as a frame of the run loop does.
    virtual void presentScreen() = 0;
    /// Runs @p handler as an event handler: an error it throws is shown in
    /// the application's error box and goes no further.
    virtual void runGuarded(const std::function<void()>& handler) = 0;
};

/// How RunProgram starts a program.
struct ProgramStart {
    std::string path;
    /// The main window's caption while it runs.
    std::string caption;
    /// Whether it goes into the recent files.
    bool remember = false;
};

/// Starts a program as a fresh machine would: fast start on, cold reset,
/// paused while the file loads under its caption. The fast-start option and
/// the pause are put back as found even when the reset or the load fails;
/// the main window comes to the front afterwards. A failure of the reset or
/// the load goes to the caller, which runs it guarded.
void startProgram(EmulatorControl& emulator, const ProgramStart& start);

} // namespace ostrovik::machine
