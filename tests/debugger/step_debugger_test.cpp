#include <QComboBox>
#include <QToolButton>

#include "DebuggerRig.hpp"
#include "debugger/Disassembler.hpp"

using namespace ostrovik;
using test::DebuggerRig;

class StepDebuggerTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { rig_.reset(); }

    void openingPausesAndClosingResumes();
    void oneStepShowsTheStateItStartedFrom();
    void stepKeysWorkAsSoonAsTheWindowOpens();
    void stepOverRunsWholeInstructions_data();
    void stepOverRunsWholeInstructions();
    void runFromTheTypedAddress();
    void registersInHexWithAtLeastTwoDigits_data();
    void registersInHexWithAtLeastTwoDigits();
    void keysTypedIntoTheFieldsStayThere();

private:
    debugger::StepDebuggerForm& open();
    QString view(const char* edit) { return DebuggerRig::text(*rig_->stepDebugger(), edit); }
    machine::Machine& m() { return rig_->m(); }
    std::unique_ptr<DebuggerRig> rig_;
};

void StepDebuggerTest::init()
{
    rig_ = std::make_unique<DebuggerRig>();
    QVERIFY(rig_->powerOn());
    // A small program in main memory: MVI A,12h; INR A; then NOPs.
    std::fill(m().ram.begin() + 0x9000, m().ram.begin() + 0x9100, 0);
    m().ram[0x9000] = 0x3E;
    m().ram[0x9001] = 0x12;
    m().ram[0x9002] = 0x3C;
    m().regPC = 0x9000;
    m().regA = 0x01;
}

debugger::StepDebuggerForm& StepDebuggerTest::open()
{
    rig_->command(ui::menu::StepDebuggerButton);
    return *rig_->stepDebugger();
}

void StepDebuggerTest::openingPausesAndClosingResumes()
{
    debugger::StepDebuggerForm& f = open();
    QVERIFY(f.isVisible());
    QCOMPARE(f.windowTitle(), QStringLiteral("DebaggerStepbyStep"));
    QCOMPARE(m().paused, std::uint8_t{1});
    QVERIFY(!rig_->window->menus().checked(ui::menu::Pause));
    const std::int32_t pc = m().regPC;
    rig_->runTicks(5);
    QCOMPARE(m().regPC, pc); // the run loop stands still

    rig_->command(ui::menu::StepDebugger);
    QVERIFY(!f.isVisible());
    QCOMPARE(m().paused, std::uint8_t{0});
    rig_->runTicks(1);
    QVERIFY(m().regPC != pc);

    // Closing the window resumes the machine too; the same window opens again.
    QCOMPARE(&open(), &f);
    QCOMPARE(m().paused, std::uint8_t{1});
    f.close();
    QCOMPARE(m().paused, std::uint8_t{0});
}

void StepDebuggerTest::oneStepShowsTheStateItStartedFrom()
{
    debugger::StepDebuggerForm& f = open();
    debugger::ListingGrid& grid = f.listingGrid();
    QCOMPARE(view("pcEdit"), QStringLiteral("9000"));
    QCOMPARE(view("aEdit"), QStringLiteral("01"));
    QCOMPARE(grid.cell(2, 0), QStringLiteral("MVI A ,12"));
    QCOMPARE(grid.cell(0, grid.model()->rowCount() - 2), QStringLiteral("9050:")); // to PC + 80

    QTest::keyClick(&grid, Qt::Key_F8);
    QCOMPARE(view("pcEdit"), QStringLiteral("9000")); // the first press shows where it started
    QCOMPARE(view("aEdit"), QStringLiteral("01"));
    QCOMPARE(m().regPC, 0x9002);
    QCOMPARE(m().regA, 0x12);

    QTest::mouseClick(DebuggerRig::child<QToolButton>(f, "stepButton"), Qt::LeftButton);
    QCOMPARE(view("pcEdit"), QStringLiteral("9002"));
    QCOMPARE(view("aEdit"), QStringLiteral("12"));
    QCOMPARE(view("clockEdit"), QStringLiteral("7")); // the T-states of MVI
    QCOMPARE(grid.cell(0, 0), QStringLiteral("9002:"));
    QCOMPARE(m().regA, 0x13);
}

void StepDebuggerTest::stepKeysWorkAsSoonAsTheWindowOpens()
{
    // The keys go where the window system sends them: to the window's focus.
    debugger::StepDebuggerForm& f = open();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QCOMPARE(f.focusWidget(), static_cast<QWidget*>(&f.listingGrid()));
    QTest::keyClick(f.windowHandle(), Qt::Key_F8);
    QCOMPARE(m().regPC, 0x9002);
    QTest::keyClick(f.windowHandle(), Qt::Key_F9);
    QCOMPARE(m().regPC, 0x900F); // 50 T-states: INR A and twelve NOPs
    QCOMPARE(view("pcEdit"), QStringLiteral("900F"));

    // Shown again after hiding, the listing has the keys again.
    rig_->command(ui::menu::StepDebugger);
    QVERIFY(!f.isVisible());
    open();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    const std::int32_t pc = m().regPC;
    QTest::keyClick(f.windowHandle(), Qt::Key_F8);
    QVERIFY(m().regPC != pc);
}

void StepDebuggerTest::stepOverRunsWholeInstructions_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("pc");
    QTest::addColumn<QString>("clock");
    QTest::addColumn<bool>("fails");
    QTest::newRow("none") << "0" << 0x9003 << "0" << false;
    QTest::newRow("the default 50: 13 NOPs") << "50" << 0x9003 + 13 << "52" << false;
    QTest::newRow("one T-state is one instruction") << "1" << 0x9004 << "4" << false;
    QTest::newRow("an empty field") << "" << 0x9003 << "" << true;
    QTest::newRow("hex letters") << "1A" << 0x9003 << "" << true;
}

void StepDebuggerTest::stepOverRunsWholeInstructions()
{
    QFETCH(QString, count);
    QFETCH(int, pc);
    QFETCH(QString, clock);
    QFETCH(bool, fails);
    m().regPC = 0x9003;
    debugger::StepDebuggerForm& f = open();
    QCOMPARE(DebuggerRig::text(f, "tStatesEdit"), QStringLiteral("50"));
    DebuggerRig::type(f, "tStatesEdit", count);
    const QString before = view("clockEdit");
    rig_->dialogs.errors.clear();
    QTest::keyClick(&f.listingGrid(), Qt::Key_F9);
    QCOMPARE(rig_->dialogs.errors.size(), fails ? 1 : 0);
    QCOMPARE(m().regPC, pc);
    QCOMPARE(view("pcEdit"), QString::number(pc, 16).toUpper()); // the state after the run
    QCOMPARE(view("clockEdit"), fails ? before : clock);
    QCOMPARE(f.listingGrid().cell(0, 0), QString::number(pc, 16).toUpper() + QLatin1Char(':'));
}

void StepDebuggerTest::runFromTheTypedAddress()
{
    debugger::StepDebuggerForm& f = open();
    DebuggerRig::type(f, "runFromEdit", QStringLiteral("c000"));
    QCOMPARE(DebuggerRig::text(f, "runFromEdit"), QStringLiteral("C000"));
    const debugger::Instruction first = debugger::decodeAt(debugger::Memory(m().ram), 0xC000);
    QTest::mouseClick(DebuggerRig::child<QToolButton>(f, "runFromButton"), Qt::LeftButton);
    QCOMPARE(view("pcEdit"), QStringLiteral("C000"));
    QCOMPARE(f.listingGrid().cell(0, 0), QStringLiteral("C000:"));
    QCOMPARE(f.listingGrid().cell(1, 0), QString::fromStdString(debugger::bytesText(first)));
    QVERIFY(m().regPC != 0xC000); // the instruction there ran

    // An empty address changes nothing.
    const std::int32_t pc = m().regPC;
    DebuggerRig::type(f, "runFromEdit", QString());
    QTest::mouseClick(DebuggerRig::child<QToolButton>(f, "runFromButton"), Qt::LeftButton);
    QCOMPARE(rig_->dialogs.errors.size(), 1);
    QCOMPARE(m().regPC, pc);
}

void StepDebuggerTest::registersInHexWithAtLeastTwoDigits_data()
{
    QTest::addColumn<int>("pc");
    QTest::addColumn<QString>("shown");
    QTest::newRow("FD") << 0x00FD << "FD";
    QTest::newRow("2FD") << 0x02FD << "2FD";
    QTest::newRow("E000") << 0xE000 << "E000";
    QTest::newRow("05") << 0x0005 << "05";
}

void StepDebuggerTest::registersInHexWithAtLeastTwoDigits()
{
    QFETCH(int, pc);
    QFETCH(QString, shown);
    debugger::StepDebuggerForm& f = open();
    m().regPC = pc;
    m().regSP = pc;
    m().regB = 0x0A;
    m().ports[0xFF] = 0x3C;
    f.showRegisters();
    QCOMPARE(view("pcEdit"), shown);
    QCOMPARE(view("spEdit"), shown);
    QCOMPARE(view("bEdit"), QStringLiteral("0A"));
    auto* ports = DebuggerRig::child<QComboBox>(f, "portsBox");
    QCOMPARE(ports->count(), 256);
    QCOMPARE(ports->currentIndex(), 0);
    QCOMPARE(ports->itemText(0), QStringLiteral("00=") + QString::number(m().ports[0] | 0x100, 16).right(2).toUpper());
    QCOMPARE(ports->itemText(255), QStringLiteral("FF=3C"));
}

void StepDebuggerTest::keysTypedIntoTheFieldsStayThere()
{
    debugger::StepDebuggerForm& f = open();
    for (const char* name : {"runFromEdit", "tStatesEdit"}) {
        auto* edit = DebuggerRig::child<QLineEdit>(f, name);
        DebuggerRig::type(f, name, QStringLiteral("x1g2345"));
        QCOMPARE(edit->text(), QStringLiteral("1234"));
        QTest::keyClick(edit, Qt::Key_F8);
        QTest::keyClick(edit, Qt::Key_F9);
    }
    QCOMPARE(m().regPC, 0x9000);
}

QTEST_MAIN(StepDebuggerTest)
#include "step_debugger_test.moc"
