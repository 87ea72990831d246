// The machine waiting inside a run in its tape-load dialog: the firmware's
// own load command opens the dialog, and whatever arrives while it is open
// (a file from a second copy of the program, a command of another window)
// must not reach the machine until the dialog has ended and the run has
// returned.

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
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

/// What arrives while the dialog is open: a file from a second copy, or a
/// command of a window given the way a user gives it.
enum class Arrival {
    HandOver,
    MainWindowReset,
    WorkbenchCompileAndRun,
    KeyboardAlphabetKey,
    StepDebuggerStep,
    MemoryDebuggerPoke,
    GameLibraryRun,
};

void clickToolBarAction(QMainWindow& window, const QString& actionName)
{
    QAction* action = window.findChild<QAction*>(actionName);
    QToolBar* bar = window.findChild<QToolBar*>();
    QVERIFY(action && bar);
    QWidget* button = bar->widgetForAction(action);
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

template <typename Button>
void clickNamed(QWidget* window, const char* name)
{
    Button* button = window ? window->findChild<Button*>(QString::fromLatin1(name)) : nullptr;
    QVERIFY2(button, name);
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
    QTest::newRow("the main window's Reset button") << Arrival::MainWindowReset;
    QTest::newRow("the workbench's Compile and Run") << Arrival::WorkbenchCompileAndRun;
    QTest::newRow("the on-screen keyboard's alphabet key") << Arrival::KeyboardAlphabetKey;
    QTest::newRow("the step debugger's One step") << Arrival::StepDebuggerStep;
    QTest::newRow("the memory debugger's poke") << Arrival::MemoryDebuggerPoke;
    QTest::newRow("the game library's Run") << Arrival::GameLibraryRun;
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

    // The window whose command comes, opened as a user opens it.
    QWidget* window = nullptr;
    switch (arrival) {
    case Arrival::HandOver:
        break;
    case Arrival::MainWindowReset:
        window = rig.window.get();
        break;
    case Arrival::WorkbenchCompileAndRun:
        QDir().mkpath(rig.path(QStringLiteral("Assembler")));
        rig.window->menus().item(ui::menu::AssemblerWorkbench)->trigger();
        window = rig.window->forms().assemblerWorkbench.form();
        break;
    case Arrival::KeyboardAlphabetKey:
        rig.window->toggleKeyboardWindow();
        window = rig.window->forms().keyboard.form();
        break;
    case Arrival::StepDebuggerStep:
        rig.window->menus().item(ui::menu::StepDebugger)->trigger();
        window = rig.window->forms().stepDebugger.form();
        // It pauses the machine as it opens; the pause command lets it run on.
        rig.window->togglePause();
        rig.window->togglePause();
        break;
    case Arrival::MemoryDebuggerPoke:
        rig.window->menus().item(ui::menu::MemoryDebugger)->trigger();
        window = rig.window->forms().memoryDebugger.form();
        QVERIFY(window);
        window->findChild<QLineEdit*>(QStringLiteral("pokeAddressEdit"))->setText(QString::number(kMark));
        window->findChild<QLineEdit*>(QStringLiteral("pokeValueEdit"))->setText(QStringLiteral("119"));
        break;
    case Arrival::GameLibraryRun: {
        rig.makeFolder(QStringLiteral("GAMES_SOFT/offline/game"));
        QVERIFY(!rig.writeFile(QStringLiteral("GAMES_SOFT/offline/game/game.lvt"), image).isEmpty());
        rig.window->menus().item(ui::menu::GameLibrary)->trigger();
        window = rig.window->forms().gameLibrary.form();
        QVERIFY(window);
        auto* list = window->findChild<QListWidget*>(QStringLiteral("gameList"));
        QVERIFY(list && list->count() == 1);
        list->setCurrentRow(0);
        break;
    }
    }
    QVERIFY(arrival == Arrival::HandOver || (window && window->isVisible()));

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
        case Arrival::MainWindowReset:
            clickToolBarAction(*rig.window, QStringLiteral("ResetButton"));
            break;
        case Arrival::WorkbenchCompileAndRun:
            clickToolBarAction(*qobject_cast<QMainWindow*>(window), QStringLiteral("compileAndRunButton"));
            break;
        case Arrival::KeyboardAlphabetKey:
            clickButtonCaptioned(*window, QStringLiteral("LCTRL"));
            break;
        case Arrival::StepDebuggerStep:
            clickNamed<QToolButton>(window, "stepButton");
            break;
        case Arrival::MemoryDebuggerPoke:
            clickNamed<QPushButton>(window, "pokeButton");
            break;
        case Arrival::GameLibraryRun:
            clickNamed<QPushButton>(window, "runButton");
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
