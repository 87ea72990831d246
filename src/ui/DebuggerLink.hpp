#pragma once

namespace ostrovik::debugger {
class MemoryDebuggerForm;
}

namespace ostrovik::ui {

class TMainFormEmu;

/// Gives the main window's commands their two debugger windows: the memory
/// debugger and the step debugger, each made on first use.
void installDebuggers(TMainFormEmu& main);

/// The memory debugger, or nullptr while it has not been made.
debugger::MemoryDebuggerForm* debuggerForm(const TMainFormEmu& main);

} // namespace ostrovik::ui
