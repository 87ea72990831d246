#include "ui/DebuggerLink.hpp"

#include "debugger/qt/StepDebuggerForm.hpp"
#include "debugger/qt/MemoryDebuggerForm.hpp"
#include "ui/MainFormEmu.hpp"

namespace ostrovik::ui {

void installDebuggers(TMainFormEmu& main)
{
    main.forms().memoryDebugger.setFactory([](TMainFormEmu& m) -> QWidget* {
        auto* form = new debugger::MemoryDebuggerForm(m.windowHost(), &m);
        // Made at start, it takes its captions from the first language
        // switch; made later, it takes them now.
        if (m.firstActivateDone())
            m.windowHost().adoptCaptions(*form, CaptionWindow::MemoryDebugger);
        else
            m.captionFollowers().follow(*form, CaptionWindow::MemoryDebugger);
        return form;
    });
    main.forms().stepDebugger.setFactory(
        [](TMainFormEmu& m) -> QWidget* { return new debugger::StepDebuggerForm(m.windowHost(), &m); });
}

debugger::MemoryDebuggerForm* debuggerForm(const TMainFormEmu& main)
{
    return qobject_cast<debugger::MemoryDebuggerForm*>(const_cast<TMainFormEmu&>(main).forms().memoryDebugger.form());
}

} // namespace ostrovik::ui
