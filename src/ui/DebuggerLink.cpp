#include "ui/DebuggerLink.hpp"

#include "debugger/qt/StepDebuggerForm.hpp"
#include "debugger/qt/MemoryDebuggerForm.hpp"
#include "ui/MainFormEmu.hpp"

namespace ostrovik::ui {

void installDebuggers(TMainFormEmu& main)
{
    main.forms().DebuggerForm.setFactory([](TMainFormEmu& m) -> QWidget* {
        auto* form = new debugger::MemoryDebuggerForm(m.windowHost(), &m);
        // Made at start, it takes its captions from the first language
        // switch; made later, it takes them now.
        if (m.firstActivateDone())
            m.windowHost().adoptCaptions(*form, CaptionWindow::DebuggerForm);
        else
            m.captionFollowers().follow(*form, CaptionWindow::DebuggerForm);
        return form;
    });
    main.forms().DebaggerStepForm.setFactory(
        [](TMainFormEmu& m) -> QWidget* { return new debugger::StepDebuggerForm(m.windowHost(), &m); });
}

debugger::MemoryDebuggerForm* debuggerForm(const TMainFormEmu& main)
{
    return qobject_cast<debugger::MemoryDebuggerForm*>(const_cast<TMainFormEmu&>(main).forms().DebuggerForm.form());
}

} // namespace ostrovik::ui
