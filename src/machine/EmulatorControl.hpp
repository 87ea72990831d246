#pragma once

#include <string>

#include "machine/Host.hpp"
#include "machine/KeyMask.hpp"
#include "machine/Option.hpp"

namespace ostrovik::machine {

class Machine;

/// What the tool windows may do to the running emulator. The main window
/// implements it; a window receives it instead of the main window itself.
/// The caption, the loads, the presentation and the options a window reaches
/// through host(), the same operations the machine itself uses.
class EmulatorControl {
public:
    virtual ~EmulatorControl() = default;

    /// The machine: its memory, ports, registers and program folder.
    virtual Machine& machine() = 0;
    /// The user interface as the machine reaches it.
    Host& host();

    virtual void setOptionChecked(Option which, bool checked) = 0;
    /// Cold reset; what the machine throws goes to the caller.
    virtual void reset() = 0;
    virtual void setPaused(bool paused) = 0;
    /// Holds @p key in the key matrix for a moment and lets it go, even
    /// while the machine is paused.
    virtual void tapMatrixKey(KeyMask key) = 0;
    /// Puts @p path at the top of the recent files and makes it the current
    /// file name.
    virtual void rememberFile(const std::string& path) = 0;
    /// Brings the main window in front of the others with the input focus.
    virtual void focusMainWindow() = 0;
};

/// How startProgram starts a program.
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
