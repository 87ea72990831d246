#pragma once

namespace ostrovik::debugger {
class MemoryDebuggerForm;
}

namespace ostrovik::ui {

class MainWindow;

/// Gives the main window's commands their two debugger windows: the memory
/// debugger and the step debugger, each made on first use.
void installDebuggers(MainWindow& main);

/// The memory debugger, or nullptr while it has not been made.
debugger::MemoryDebuggerForm* debuggerForm(const MainWindow& main);

} // namespace ostrovik::ui
