// The machine waiting inside a run in its tape-load dialog: the firmware's
// own load command opens the dialog, and whatever arrives while it is open
// (a file from a second copy of the program, a command of another window)
// must not reach the machine until the dialog has ended and the run has
// returned.

#include <QAction>
#include <QDir>
#include <QProcess>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <array>
#include <cstdint>
#include <vector>

#include "support/EventOrder.hpp"
#include "support/MainWindowRig.hpp"
#include "support/ProgramInstall.hpp"
#include "support/TapeImages.hpp"
#include "ui/MenuItems.hpp"
#include "ui/MainMenu.hpp"
#include "ui/ProgramEntry.hpp"
#include "ui/SingleCopy.hpp"

using namespace ostrovik;
using test::MainWindowRig;
using test::settle;

namespace {

/// Where the loaded program leaves its mark.
constexpr std::uint16_t kMark = 0x3100;

/// Everything of the machine a load, a reset or a run would change.
struct MachineState {
    std::vector<std::uint8_t> ram;
    std::array<std::int32_t, 10> registers{};
    std::int32_t tapeLength = 0;
    QString caption;

    static MachineState of(ui::MainWindow& window)
    {
        const machine::Machine& m = window.machine();
        return {{m.ram.begin(), m.ram.end()},
                {m.regA, m.regB, m.regC, m.regD, m.regE, m.regH, m.regL, m.regF, m.regPC, m.regSP},
                m.tapeLength,
                window.windowTitle()};
    }
    bool operator==(const MachineState&) const = default;
};

/// The user's command of another window, given the way a user gives it.
enum class Arrival { HandOver, WorkbenchCompileAndRun, KeyboardAlphabetKey };

void clickToolBarAction(QMainWindow& window, const QString& actionName)
{
    QAction* action = window.findChild<QAction*>(actionName);
    QToolBar* bar = window.findChild<QToolBar*>();
    QVERIFY(action && bar);
    QWidget* button = bar->widgetForAction(action);
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

void clickButtonCaptioned(QWidget& window, const QString& caption)
{
    for (QToolButton* b : window.findChildren<QToolButton*>())
        if (b->text() == caption) {
            QTest::mouseClick(b, Qt::LeftButton);
            return;
        }
    QFAIL(qPrintable(caption + QStringLiteral(" not found")));
}

} // namespace

class MachineWaitTest : public QObject {
    Q_OBJECT
private slots:
    void nothingReachesTheMachineWhileItWaitsInItsTapeDialog_data();
    void nothingReachesTheMachineWhileItWaitsInItsTapeDialog();
};

void MachineWaitTest::nothingReachesTheMachineWhileItWaitsInItsTapeDialog_data()
{
    QTest::addColumn<Arrival>("arrival");
    QTest::newRow("a tape image handed over by a second copy") << Arrival::HandOver;
    QTest::newRow("the workbench's Compile and Run") << Arrival::WorkbenchCompileAndRun;
    QTest::newRow("the on-screen keyboard's alphabet key") << Arrival::KeyboardAlphabetKey;
}

void MachineWaitTest::nothingReachesTheMachineWhileItWaitsInItsTapeDialog()
{
    QFETCH(Arrival, arrival);
    MainWindowRig rig;
    // The running copy's socket, wired as the program wires it.
    test::Install install;
    const QString program = test::uniqueName("wait");
    QVERIFY(install.addProgram(program));
    QVERIFY(install.setOneInstance(true));
    ui::SingleCopyServer server;
    QVERIFY(server.listen(ui::singleCopyServerName(program)));
    ui::attachSingleCopy(*rig.window, server);
    QVERIFY(rig.powerOn());

    // MVI A,5Ah / STA 3100h / JMP $: the handed-over program marks memory
    // once it runs.
    const std::uint8_t code[] = {0x3E, 0x5A, 0x32, kMark & 0xFF, kMark >> 8, 0xC3, 0x05, 0x30};
    const std::vector<std::uint8_t> image = test::machineCodeTape(0x3000, 0x3007, 0x3000, code);
    const QString tape = rig.writeFile(QStringLiteral("handed over.lvt"), image);
    QVERIFY(!tape.isEmpty());

    QMainWindow* workbench = nullptr;
    QWidget* keyboard = nullptr;
    if (arrival == Arrival::WorkbenchCompileAndRun) {
        QDir().mkpath(rig.path(QStringLiteral("Assembler")));
        rig.window->menus().item(ui::menu::AssemblerWorkbench)->trigger();
        workbench = qobject_cast<QMainWindow*>(rig.window->forms().assemblerWorkbench.form());
        QVERIFY(workbench && workbench->isVisible());
    } else if (arrival == Arrival::KeyboardAlphabetKey) {
        rig.window->toggleKeyboardWindow();
        keyboard = rig.window->forms().keyboard.form();
        QVERIFY(keyboard && keyboard->isVisible());
    }

    std::unique_ptr<QProcess> secondCopy;
    bool reachedTheMachine = true;
    bool secondCopyWaited = false;
    bool nameTaken = false;
    rig.dialogs.whileFileDialogOpen = [&] {
        if (rig.dialogs.asked.size() > 1)
            return; // a second dialog: the machine was run from outside
        const MachineState before = MachineState::of(*rig.window);
        switch (arrival) {
        case Arrival::HandOver:
            secondCopy = install.start(program, {tape});
            nameTaken = QTest::qWaitFor([&] { return server.namesWaiting() == 1; }, test::kHangGuardMs);
            break;
        case Arrival::WorkbenchCompileAndRun:
            clickToolBarAction(*workbench, QStringLiteral("compileAndRunButton"));
            break;
        case Arrival::KeyboardAlphabetKey:
            clickButtonCaptioned(*keyboard, QStringLiteral("LCTRL"));
            break;
        }
        // Ticks come and go, and the event loop hands out what is posted.
        settle(3 * rig.window->timerInterval());
        reachedTheMachine = !(MachineState::of(*rig.window) == before) || rig.dialogs.asked.size() != 1;
        secondCopyWaited = secondCopy && secondCopy->state() == QProcess::Running;
    };

    // The firmware's load command, typed at its prompt.
    QTest::keyClick(rig.window.get(), Qt::Key_L);
    rig.runTicks(3);
    QTest::keyClick(rig.window.get(), Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(!rig.dialogs.asked.empty(), test::kHangGuardMs);
    QVERIFY2(!reachedTheMachine, "something reached the machine while its dialog was open");
    QCOMPARE(rig.dialogs.asked.size(), 1u);

    if (arrival != Arrival::HandOver) {
        // Held as under a modal dialog: the command never came.
        QVERIFY(settle(3 * rig.window->timerInterval()));
        QCOMPARE(rig.m().ram[kMark], 0);
        QCOMPARE(rig.dialogs.asked.size(), 1u);
        return;
    }
    QVERIFY(nameTaken);
    QVERIFY2(secondCopyWaited, "the second copy was told before the load");
    // Loaded once the run has returned, as if it had arrived then: the
    // program starts, and the second copy hears that it loaded.
    QTRY_COMPARE_WITH_TIMEOUT(rig.m().ram[kMark], 0x5A, test::kHangGuardMs);
    QCOMPARE(rig.window->windowTitle(), tape);
    QVERIFY(test::ends(*secondCopy));
    QCOMPARE(secondCopy->exitStatus(), QProcess::NormalExit);
    QCOMPARE(secondCopy->exitCode(), 0);
    QCOMPARE(server.namesWaiting(), 0);
}

QTEST_MAIN(MachineWaitTest)
#include "machine_wait_test.moc"
