#pragma once

#include <functional>

namespace ostrovik::machine {
class Machine;
}

namespace ostrovik::debugger {

/// What the debugger windows need from the main window that owns the machine.
class DebuggerHost {
public:
    virtual ~DebuggerHost() = default;

    /// The machine the debuggers inspect and run.
    virtual machine::Machine& debuggedMachine() = 0;
    /// Runs @p handler as an event handler: an error it throws is shown in
    /// the application's error box and goes no further.
    virtual void runGuarded(const std::function<void()>& handler) = 0;
    /// Presents the screen through the raster presentation (draw_screen).
    virtual void presentScreen() = 0;
};

} // namespace ostrovik::debugger
