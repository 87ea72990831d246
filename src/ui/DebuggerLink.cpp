#include "ui/DebuggerLink.hpp"

#include <QObject>

#include "debugger/DebuggerHost.hpp"
#include "debugger/qt/TDebaggerStepForm.hpp"
#include "debugger/qt/TDebuggerForm.hpp"
#include "ui/Captions.hpp"
#include "ui/MainFormEmu.hpp"

namespace ostrovik::ui {

namespace {

/// The main window as the debuggers see it.
class DebuggerLink final : public QObject, public debugger::DebuggerHost {
public:
    explicit DebuggerLink(TMainFormEmu& main) : QObject(&main), main_(main) {}

    machine::Machine& debuggedMachine() override { return main_.machine(); }
    void runGuarded(const std::function<void()>& handler) override { main_.guarded(handler); }
    void presentScreen() override { main_.draw_screen(); }

private:
    TMainFormEmu& main_;
};

} // namespace

void installDebuggers(TMainFormEmu& main)
{
    auto* link = new DebuggerLink(main);
    main.forms().DebuggerForm.setFactory([link](TMainFormEmu& m) -> QWidget* {
        auto* form = new debugger::TDebuggerForm(*link, &m);
        // Made at start, it takes its captions from the first language
        // switch; made later, it takes them now.
        if (m.firstActivateDone())
            adoptCaptions(m, *form, CaptionWindow::DebuggerForm);
        else
            m.captionFollowers().follow(*form, CaptionWindow::DebuggerForm);
        return form;
    });
    main.forms().DebaggerStepForm.setFactory(
        [link](TMainFormEmu& m) -> QWidget* { return new debugger::TDebaggerStepForm(*link, &m); });
}

debugger::TDebuggerForm* debuggerForm(const TMainFormEmu& main)
{
    return qobject_cast<debugger::TDebuggerForm*>(const_cast<TMainFormEmu&>(main).forms().DebuggerForm.form());
}

} // namespace ostrovik::ui
