#include "ui/DebuggerLink.hpp"

#include "debugger/qt/StepDebuggerForm.hpp"
#include "debugger/qt/MemoryDebuggerForm.hpp"
#include "ui/MainWindow.hpp"

namespace ostrovik::ui {

using kit::CaptionWindow;

void installDebuggers(MainWindow& main)
{
    main.forms().memoryDebugger.setFactory([](MainWindow& m) -> QWidget* {
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
        [](MainWindow& m) -> QWidget* { return new debugger::StepDebuggerForm(m.windowHost(), &m); });
}

debugger::MemoryDebuggerForm* debuggerForm(const MainWindow& main)
{
    return qobject_cast<debugger::MemoryDebuggerForm*>(const_cast<MainWindow&>(main).forms().memoryDebugger.form());
}

} // namespace ostrovik::ui
