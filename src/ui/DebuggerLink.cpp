#include "ui/DebuggerLink.hpp"

#include "debugger/qt/TDebaggerStepForm.hpp"
#include "debugger/qt/TDebuggerForm.hpp"
#include "ui/MainFormEmu.hpp"

namespace ostrovik::ui {

void installDebuggers(TMainFormEmu& main)
{
    main.forms().DebuggerForm.setFactory([](TMainFormEmu& m) -> QWidget* {
        auto* form = new debugger::TDebuggerForm(m.windowHost(), &m);
        // Made at start, it takes its captions from the first language
        // switch; made later, it takes them now.
        if (m.firstActivateDone())
            m.windowHost().adoptCaptions(*form, CaptionWindow::DebuggerForm);
        else
            m.captionFollowers().follow(*form, CaptionWindow::DebuggerForm);
        return form;
    });
    main.forms().DebaggerStepForm.setFactory(
        [](TMainFormEmu& m) -> QWidget* { return new debugger::TDebaggerStepForm(m.windowHost(), &m); });
}

debugger::TDebuggerForm* debuggerForm(const TMainFormEmu& main)
{
    return qobject_cast<debugger::TDebuggerForm*>(const_cast<TMainFormEmu&>(main).forms().DebuggerForm.form());
}

} // namespace ostrovik::ui
