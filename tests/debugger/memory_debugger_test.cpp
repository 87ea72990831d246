#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QTabWidget>

#include <algorithm>
#include <cerrno>
#include <vector>

#include <sys/stat.h>

#include "DebuggerRig.hpp"
#include "debugger/qt/ProgressGauge.hpp"
#include "platform/FileFaults.hpp"
#include "ui/ProgramEntry.hpp"

using namespace ostrovik;
using test::DebuggerRig;

namespace {
QString labelText(QWidget& form, const char* name) { return DebuggerRig::child<QLabel>(form, name)->text(); }
} // namespace

class MemoryDebuggerTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { rig_.reset(); }

    void openingFillsEveryViewAndTheSameCommandHidesIt();
    void runLoopRefreshesLabelsAndVisibleRowsWhileShown();
    void disassemblyRangesFromTheAssemblerTab_data();
    void disassemblyRangesFromTheAssemblerTab();
    void searchFindsTheLowByte();
    void pokeReachesTheMemoryImage_data();
    void pokeReachesTheMemoryImage();
    void cheatFinderRemembersAndListsValuesThatDropped();
    void listLinesJumpToTheirCell();
    void dumpKeysAndEnterNavigation();
    void statusTextNamesTheByteUnderThePointer();
    void numberFieldsTakeHexDigitsOnly();
    void copyAssemblerCodeCopiesMnemonicAndOperand();
    void memoryDumpSavesAndLoads();
    void captionsFollowTheLanguage();
    void madeHiddenAtStartBeforeTheSettingsWindow();

private:
    debugger::MemoryDebuggerForm& form() { return rig_->openMemoryDebugger(); }
    machine::Machine& m() { return rig_->m(); }
    std::unique_ptr<DebuggerRig> rig_;
};

void MemoryDebuggerTest::init()
{
    rig_ = std::make_unique<DebuggerRig>();
    QVERIFY(rig_->powerOn());
}

void MemoryDebuggerTest::openingFillsEveryViewAndTheSameCommandHidesIt()
{
    m().ram[0x0000] = 0x41;
    m().ram[0xFFFF] = 0xAB;
    m().ports[0xC1] = 0x5A;
    m().regPC = 0x9000;
    std::fill(m().ram.begin() + 0x9000, m().ram.begin() + 0x9100, 0);
    m().ram[0x9000] = 0xC3; // JMP
    rig_->command(ui::menu::MemoryDebugger);
    debugger::MemoryDebuggerForm* f = rig_->memoryDebugger();
    QVERIFY(f && f->isVisible());
    QCOMPARE(f->windowTitle(), QStringLiteral("Debugger"));

    const debugger::HexDumpGrid& dump = f->dumpGrid();
    QCOMPARE(dump.model()->rowCount() + 1, 4097);
    QCOMPARE(dump.model()->columnCount() + 1, 18);
    QCOMPARE(dump.cell(1, 0), QStringLiteral("0"));
    QCOMPARE(dump.cell(16, 0), QStringLiteral("F"));
    QCOMPARE(dump.cell(17, 0), QString());
    QCOMPARE(dump.cell(0, 1), QStringLiteral("0000:"));
    QCOMPARE(dump.cell(0, 4096), QStringLiteral("FFF0:"));
    QCOMPARE(dump.cell(1, 1), QStringLiteral("41"));
    QCOMPARE(dump.cell(16, 4096), QStringLiteral("AB"));
    QVERIFY(dump.cell(17, 1).startsWith(QLatin1Char('A')));
    QCOMPARE(dump.cell(17, 1).size(), 16);
    QCOMPARE(dump.columnWidth(0), 20);
    QCOMPARE(dump.columnWidth(16), 120);
    QCOMPARE(dump.rowHeight(0), 20);

    // From the program counter to 100 bytes on: one JMP, then NOPs to 0x9064.
    const debugger::ListingGrid& listing = f->listingGrid();
    QCOMPARE(listing.cell(0, 0), QStringLiteral("9000:"));
    QCOMPARE(listing.cell(2, 0), QStringLiteral("JMP "));
    QCOMPARE(listing.cell(0, 1), QStringLiteral("9003:"));
    QCOMPARE(listing.model()->rowCount(), 1 + (0x64 - 3 + 1) + 1);
    QCOMPARE(listing.cell(0, listing.model()->rowCount() - 1), QString());
    QCOMPARE(listing.columnWidth(1), 150);

    const QStringList ports = DebuggerRig::lines(*f, "portsList");
    const QStringList flags = DebuggerRig::lines(*f, "flagsList");
    QCOMPARE(ports.size(), 256);
    QCOMPARE(flags.size(), 256);
    QCOMPARE(ports[0xC1], QStringLiteral("C1=5A"));
    QCOMPARE(flags[0], QStringLiteral("00=") + QString::number(m().flagTable[0], 16).toUpper().rightJustified(2, '0'));

    rig_->command(ui::menu::MemoryDebuggerButton);
    QVERIFY(!f->isVisible());
    rig_->command(ui::menu::MemoryDebugger);
    QVERIFY(f->isVisible());
    QCOMPARE(rig_->memoryDebugger(), f); // one window for the whole run
}

void MemoryDebuggerTest::runLoopRefreshesLabelsAndVisibleRowsWhileShown()
{
    debugger::MemoryDebuggerForm& f = form();
    auto* label9 = DebuggerRig::child<QLabel>(f, "registerLabel9");
    auto* label11 = DebuggerRig::child<QLabel>(f, "registerLabel11");
    auto* realTime = DebuggerRig::child<QCheckBox>(f, "realTimeBox");
    rig_->runTicks(1);
    QCOMPARE(label9->text(), QStringLiteral("r_PC:") + QString::number(m().regPC));
    QCOMPARE(label11->text(), QStringLiteral("clock:") + QString::number(m().clock));
    QCOMPARE(labelText(f, "registerLabel12"), QStringLiteral("Label12"));

    debugger::HexDumpGrid& dump = f.dumpGrid();
    m().ram[0x0000] = 0x77;
    rig_->runTicks(1);
    QCOMPARE(dump.cell(1, 1), QStringLiteral("00")); // not ticked: the dump stands
    realTime->setChecked(true);
    rig_->runTicks(1);
    QCOMPARE(dump.cell(1, 1), QStringLiteral("77"));
    QCOMPARE(dump.cell(17, 1).at(0), QLatin1Char('w'));

    // Rows below the visible ones wait for the next showing.
    const int below = dump.topRow() + dump.visibleRowCount() + 2;
    m().ram[static_cast<std::size_t>((below - 1) * 16)] = 0x55;
    rig_->runTicks(1);
    QCOMPARE(dump.cell(1, below), QStringLiteral("00"));

    // The last rows: the refresh stops at the end of memory.
    dump.scrollToBottom();
    QCoreApplication::processEvents();
    m().ram[0xFFFF] = 0x66;
    rig_->runTicks(1);
    QCOMPARE(dump.cell(16, 4096), QStringLiteral("66"));

    // Hidden, nothing is refreshed.
    rig_->command(ui::menu::MemoryDebugger);
    const QString pc = label9->text();
    m().ram[0xFFFF] = 0x67;
    m().regPC = 0x1234;
    m().paused = 1; // the register must come from the refresh, not from a run
    rig_->runTicks(1);
    m().paused = 0;
    QCOMPARE(label9->text(), pc);
    QCOMPARE(dump.cell(16, 4096), QStringLiteral("66"));
}

void MemoryDebuggerTest::disassemblyRangesFromTheAssemblerTab_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("firstAddress");
    QTest::addColumn<int>("errors");
    QTest::addColumn<QString>("message"); // empty: not checked
    // Memory holds NOPs; the row count takes in the blank last row.
    QTest::newRow("the whole memory") << "0" << "65535" << 65536 + 1 << "0000:" << 0 << "";
    QTest::newRow("one instruction") << "36864" << "36864" << 2 << "9000:" << 0 << "";
    QTest::newRow("past the end of memory") << "65530" << "70000" << 6 + 1 << "FFFA:" << 0 << "";
    QTest::newRow("start after end") << "36865" << "36864" << 1 << "" << 1 << "";
    // A failed conversion leaves the last listing (rows -1: the listing not checked).
    QTest::newRow("a letter in a decimal field")
        << "1A" << "100" << -1 << "" << 1 << "'1A' is not a valid integer value";
}

void MemoryDebuggerTest::disassemblyRangesFromTheAssemblerTab()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, rows);
    QFETCH(QString, firstAddress);
    QFETCH(int, errors);
    QFETCH(QString, message);
    std::fill(m().ram.begin(), m().ram.end(), 0);
    debugger::MemoryDebuggerForm& f = form();
    DebuggerRig::type(f, "listFromEdit", from);
    DebuggerRig::type(f, "listToEdit", to);
    rig_->dialogs.errors.clear();
    DebuggerRig::click(f, "disassembleButton");
    QCOMPARE(rig_->dialogs.errors.size(), errors);
    if (!message.isEmpty())
        QCOMPARE(rig_->dialogs.errors[0], message);
    if (rows >= 0) {
        QCOMPARE(f.listingGrid().cell(0, 0), firstAddress);
        QCOMPARE(f.listingGrid().model()->rowCount(), rows);
    }
    QCOMPARE(f.gauge().progress(), 0);
}

void MemoryDebuggerTest::searchFindsTheLowByte()
{
    debugger::MemoryDebuggerForm& f = form();
    std::fill(m().ram.begin(), m().ram.end(), 0x11);
    m().ram[0x0005] = 0;
    m().ram[0x4000] = 0;
    m().ram[0xC000] = 0;
    m().videoRam[0] = 0x11;
    const auto search = [&](const char* value) {
        DebuggerRig::type(f, "searchValueEdit", QString::fromLatin1(value));
        DebuggerRig::click(f, "searchButton");
        return labelText(f, "searchCountLabel");
    };
    const QStringList found{"5", "16384", "49152"};
    QCOMPARE(search("0"), QStringLiteral("Найдено:3"));
    QCOMPARE(DebuggerRig::lines(f, "searchResultsList"), found);
    QCOMPARE(search("256"), QStringLiteral("Найдено:3"));
    QCOMPARE(DebuggerRig::lines(f, "searchResultsList"), found);
    QCOMPARE(f.gauge().progress(), 49152); // where the last match was
    QCOMPARE(search("17"), QStringLiteral("Найдено:65533"));

    rig_->dialogs.messages.clear();
    QCOMPARE(search("18"), QStringLiteral("Найдено:65533"));
    QCOMPARE(rig_->dialogs.messages, QStringList{QStringLiteral("Значение не найдено !!!")});
    QVERIFY(DebuggerRig::lines(f, "searchResultsList").isEmpty());
}

void MemoryDebuggerTest::pokeReachesTheMemoryImage_data()
{
    QTest::addColumn<bool>("hex");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("changed"); // -1: refused
    QTest::addColumn<int>("byte");
    QTest::newRow("the ROM area in hex") << true << "C000" << "FF" << 0xC000 << 0xFF;
    QTest::newRow("main memory, not video memory") << false << "16384" << "66" << 0x4000 << 66;
    QTest::newRow("the low byte of the value") << false << "100" << "513" << 100 << 1;
    QTest::newRow("lower-case hex") << true << "ffff" << "ab" << 0xFFFF << 0xAB;
    QTest::newRow("past the end of memory") << true << "10000" << "1" << -1 << 0;
    QTest::newRow("a hex address read as decimal") << false << "C000" << "1" << -1 << 0;
}

void MemoryDebuggerTest::pokeReachesTheMemoryImage()
{
    QFETCH(bool, hex);
    QFETCH(QString, address);
    QFETCH(QString, value);
    QFETCH(int, changed);
    QFETCH(int, byte);
    debugger::MemoryDebuggerForm& f = form();
    m().invalidateScreen();
    const auto videoBefore = m().videoRam;
    std::fill(m().ram.begin(), m().ram.end(), 0);
    DebuggerRig::child<QCheckBox>(f, "hexadecimalBox")->setChecked(hex);
    DebuggerRig::type(f, "pokeAddressEdit", address);
    DebuggerRig::type(f, "pokeValueEdit", value);
    rig_->dialogs.errors.clear();
    DebuggerRig::click(f, "pokeButton");
    QCOMPARE(rig_->dialogs.errors.size(), changed < 0 ? 1 : 0);
    QCOMPARE(std::count(m().ram.begin(), m().ram.end(), 0), changed < 0 ? 65536L : 65535L);
    if (changed >= 0)
        QCOMPARE(int(m().ram[static_cast<std::size_t>(changed)]), byte);
    QVERIFY(m().videoRam == videoBefore);
}

void MemoryDebuggerTest::cheatFinderRemembersAndListsValuesThatDropped()
{
    debugger::MemoryDebuggerForm& f = form();
    m().paused = 1; // the ROM must not change memory between the steps
    auto* kind = DebuggerRig::child<QComboBox>(f, "cheatKindBox");
    QCOMPARE(kind->currentText(), QStringLiteral("Точное значение"));
    kind->setCurrentIndex(1);
    m().ram[0x9000] = 5;
    m().ram[0x9001] = 1;
    m().ram[0x9002] = 0;
    DebuggerRig::click(f, "cheatStartButton");
    QCOMPARE(labelText(f, "cheatCountLabel"), QStringLiteral("Запомнил:65536"));
    QVERIFY(DebuggerRig::lines(f, "cheatAddressList").isEmpty());
    QCOMPARE(m().paused, std::uint8_t{0}); // the flag is one byte: step 1 clears it

    m().paused = 1;
    m().ram[0x9000] = 4; // dropped by one
    m().ram[0x9001] = 0; // to zero: not listed
    m().ram[0x9002] = 255; // 0 never counts as 256
    DebuggerRig::click(f, "droppedStartButton");
    QCOMPARE(DebuggerRig::lines(f, "droppedList"), QStringList{QStringLiteral("36864")});
    DebuggerRig::click(f, "droppedStartButton");
    QCOMPARE(DebuggerRig::lines(f, "droppedList"), (QStringList{"36864", "36864"}));

    // The re-check on an empty list adds the count 0 and nothing to the memo.
    auto* memo = DebuggerRig::child<QPlainTextEdit>(f, "cheatLog");
    DebuggerRig::click(f, "cheatRecheckButton");
    QCOMPARE(DebuggerRig::lines(f, "cheatAddressList"), QStringList{QStringLiteral("0")});
    QCOMPARE(memo->toPlainText(), QStringLiteral("Memo1"));

    // Exact mode lists the addresses; the re-check keeps those that still hold it.
    std::fill(m().ram.begin(), m().ram.end(), 0);
    m().ram[0x9000] = 200;
    m().ram[0x9100] = 200;
    kind->setCurrentIndex(0);
    DebuggerRig::type(f, "cheatValueEdit", QStringLiteral("200"));
    DebuggerRig::click(f, "cheatStartButton");
    QCOMPARE(DebuggerRig::lines(f, "cheatAddressList"), (QStringList{"36864", "37120"}));
    QCOMPARE(labelText(f, "cheatCountLabel"), QStringLiteral("Найдено:2"));
    m().ram[0x9100] = 199;
    DebuggerRig::click(f, "cheatRecheckButton");
    QCOMPARE(memo->toPlainText(), QStringLiteral("Memo1\n36864"));
    QCOMPARE(DebuggerRig::lines(f, "cheatAddressList"), (QStringList{"36864", "37120", "2"}));

    // A value beyond a byte stops the re-check with the range error.
    DebuggerRig::type(f, "cheatValueEdit", QStringLiteral("300"));
    rig_->dialogs.errors.clear();
    DebuggerRig::click(f, "cheatRecheckButton");
    QCOMPARE(rig_->dialogs.errors.size(), 1);
    QVERIFY(rig_->dialogs.errors[0].startsWith(QStringLiteral("Range check error")));
    QCOMPARE(DebuggerRig::lines(f, "cheatAddressList").size(), 3);
    m().paused = 0;
}

void MemoryDebuggerTest::listLinesJumpToTheirCell()
{
    debugger::MemoryDebuggerForm& f = form();
    auto* list = DebuggerRig::child<QListWidget>(f, "searchResultsList");
    list->addItems({QStringLiteral("4660"), QStringLiteral("65535")});
    const struct {
        int line;
        QPoint cell;
    } cases[] = {{0, {5, 292}}, {1, {16, 4096}}};
    DebuggerRig::child<QTabWidget>(f, "pages")->setCurrentIndex(2);
    for (const auto& c : cases) {
        const QRect r = list->visualItemRect(list->item(c.line));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(f.dumpGrid().currentCell(), c.cell);
    }
}

void MemoryDebuggerTest::dumpKeysAndEnterNavigation()
{
    debugger::MemoryDebuggerForm& f = form();
    debugger::HexDumpGrid& dump = f.dumpGrid();
    const struct {
        QPoint from, to;
    } moves[] = {{{1, 1}, {2, 1}}, {{16, 1}, {17, 1}}, {{17, 1}, {1, 2}}, {{17, 4096}, {1, 1}}};
    for (const auto& move : moves) {
        dump.setCurrentCell(move.from.x(), move.from.y());
        QTest::keyClick(&dump, Qt::Key_Return);
        QCOMPARE(dump.currentCell(), move.to);
    }
    // Typed hex digits stay in the cell and never reach memory; other keys
    // are dropped.
    const std::uint8_t before = m().ram[0x0010];
    m().paused = 1;
    dump.setCurrentCell(1, 2);
    QTest::keyClicks(&dump, QStringLiteral("zA"));
    auto* editor = dump.findChild<QLineEdit*>();
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, QStringLiteral("g5"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(dump.cell(1, 2), QStringLiteral("A5"));
    QCOMPARE(dump.currentCell(), QPoint(2, 2));
    QCOMPARE(m().ram[0x0010], before);
    m().paused = 0;
}

void MemoryDebuggerTest::statusTextNamesTheByteUnderThePointer()
{
    debugger::MemoryDebuggerForm& f = form();
    debugger::HexDumpGrid& dump = f.dumpGrid();
    auto* status = DebuggerRig::child<QLabel>(f, "statusLabel");
    m().ram[0x0000] = 0x3C;
    m().ram[0x0012] = 0x9A;
    const auto moveOver = [&](int column, int row) {
        const QRect r = dump.visualRect(dump.model()->index(row - 1, column - 1));
        QMouseEvent move(QEvent::MouseMove, r.center(), dump.viewport()->mapToGlobal(r.center()), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(dump.viewport(), &move);
    };
    moveOver(1, 1);
    QCOMPARE(status->text(), QStringLiteral("Adress:0000 Byte:3C"));
    moveOver(3, 2);
    QCOMPARE(status->text(), QStringLiteral("Adress:0012 Byte:9A"));
    moveOver(17, 2); // the character column leaves the text as it was
    QCOMPARE(status->text(), QStringLiteral("Adress:0012 Byte:9A"));
}

void MemoryDebuggerTest::numberFieldsTakeHexDigitsOnly()
{
    debugger::MemoryDebuggerForm& f = form();
    for (const char* name : {"cheatValueEdit", "pokeAddressEdit", "pokeValueEdit", "listFromEdit", "listToEdit", "searchValueEdit"}) {
        DebuggerRig::type(f, name, QStringLiteral("1x-2 g3Af"));
        QCOMPARE(DebuggerRig::text(f, name), QStringLiteral("123Af"));
        QTest::keyClick(DebuggerRig::child<QLineEdit>(f, name), Qt::Key_Backspace);
        QCOMPARE(DebuggerRig::text(f, name), QStringLiteral("123A"));
    }
    DebuggerRig::type(f, "droppedValueEdit", QStringLiteral("any-thing"));
    QCOMPARE(DebuggerRig::text(f, "droppedValueEdit"), QStringLiteral("any-thing"));
}

void MemoryDebuggerTest::copyAssemblerCodeCopiesMnemonicAndOperand()
{
    debugger::MemoryDebuggerForm& f = form();
    std::fill(m().ram.begin() + 0x9000, m().ram.begin() + 0x9010, 0);
    m().ram[0x9000] = 0x31, m().ram[0x9001] = 0xC1, m().ram[0x9002] = 0xAF;
    DebuggerRig::type(f, "listFromEdit", QStringLiteral("36864"));
    DebuggerRig::type(f, "listToEdit", QStringLiteral("36867"));
    DebuggerRig::click(f, "disassembleButton");
    debugger::ListingGrid& listing = f.listingGrid();
    QTest::mouseClick(listing.viewport(), Qt::LeftButton, {}, listing.visualRect(listing.model()->index(0, 0)).center());
    QTest::mouseClick(listing.viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      listing.visualRect(listing.model()->index(1, 2)).center());
    QAction* copy = listing.findChild<QAction*>(QStringLiteral("copyListingItem"));
    QCOMPARE(copy->text(), QStringLiteral("Copy assembler code"));
    copy->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("\tLXI SP, AFC1h\r\n\tNOP \r\n"));
}

void MemoryDebuggerTest::memoryDumpSavesAndLoads()
{
    debugger::MemoryDebuggerForm& f = form();
    auto* save = DebuggerRig::child<QPushButton>(f, "saveDumpButton");
    auto* load = DebuggerRig::child<QPushButton>(f, "loadDumpButton");
    QVERIFY(save && load);
    QVERIFY(!save->isVisible() && !load->isVisible());

    for (std::size_t a = 0; a < m().ram.size(); ++a)
        m().ram[a] = static_cast<std::uint8_t>(a);
    m().paused = 1;
    save->click();
    QCOMPARE(test::readAll(rig_->path(QStringLiteral("memory.dat"))),
             std::vector<std::uint8_t>(m().ram.begin(), m().ram.end()));

    // memory.dat1, not memory.dat, is read back; a short one changes its own length only.
    const std::vector<std::uint8_t> hundred(100, 0xEE);
    rig_->writeFile(QStringLiteral("memory.dat1"), hundred);
    load->click();
    QCOMPARE(m().paused, std::uint8_t{0});
    QCOMPARE(std::count(m().ram.begin(), m().ram.begin() + 100, 0xEE), 100L);
    QCOMPARE(int(m().ram[100]), 100);
    QCOMPARE(int(m().ram[0xFFFF]), 0xFF);

    rig_->dialogs.errors.clear();
    QFile::remove(rig_->path(QStringLiteral("memory.dat1")));
    m().paused = 1;
    load->click();
    QCOMPARE(rig_->dialogs.errors.size(), 1);
    QCOMPARE(m().paused, std::uint8_t{0}); // cleared on failure too

    // A FIFO under the name is refused at once instead of waiting for a writer.
    QVERIFY(::mkfifo(QFile::encodeName(rig_->path(QStringLiteral("memory.dat1"))).constData(), 0600) == 0);
    load->click();
    QCOMPARE(rig_->dialogs.errors.size(), 2);
    QCOMPARE(int(m().ram[0]), 0xEE);

    // A full disk: the save says so and leaves no empty memory.dat behind.
    QFile::remove(rig_->path(QStringLiteral("memory.dat")));
    {
        platform::ScopedWriteFault full([](const std::string&) { return ENOSPC; });
        save->click();
    }
    QCOMPARE(rig_->dialogs.errors.size(), 3);
    QVERIFY(rig_->dialogs.errors.last().contains(QStringLiteral("No space left on device")));
    QVERIFY(!QFile::exists(rig_->path(QStringLiteral("memory.dat"))));
}

void MemoryDebuggerTest::captionsFollowTheLanguage()
{
    debugger::MemoryDebuggerForm& f = form();
    auto* tabs = DebuggerRig::child<QTabWidget>(f, "pages");
    auto* realTime = DebuggerRig::child<QCheckBox>(f, "realTimeBox");
    const struct {
        void (ui::MainWindow::*command)();
        QStringList tabs;
        QString box;
    } sets[] = {
        {&ui::MainWindow::switchToEnglish,
         {"Assembler", "Ports and registers", "Find-replace in memory", "Crack !!!"},
         "Memory RealTime"},
        {&ui::MainWindow::switchToRussian,
         {"Ассемблер", "Порты и регистры", "Поиск-замена в памяти", "Взлом !!!"},
         "Память в реальном времени"},
    };
    for (const auto& set : sets) {
        (rig_->main().*set.command)();
        QStringList shown;
        for (int i = 0; i < tabs->count(); ++i)
            shown.append(tabs->tabText(i));
        QCOMPARE(shown, set.tabs);
        QCOMPARE(realTime->text(), set.box);
        // The box is shown whole, however long its caption, once the
        // layouts have passed the change up (one round of events per level).
        const auto whole = [realTime] { return realTime->width() >= realTime->sizeHint().width(); };
        for (int round = 0; round < 8 && !whole(); ++round)
            QCoreApplication::sendPostedEvents();
        QVERIFY2(realTime->width() >= realTime->sizeHint().width(), qPrintable(set.box));
    }
}

void MemoryDebuggerTest::madeHiddenAtStartBeforeTheSettingsWindow()
{
    rig_.reset();
    test::FreshConfig config;
    test::ScriptedDialogs dialogs;
    ui::ApplicationWindows windows = ui::createApplicationWindows({});
    auto* f = qobject_cast<debugger::MemoryDebuggerForm*>(windows.mainWindow->forms().memoryDebugger.form());
    QVERIFY(f);
    QVERIFY(!f->isVisible());
    // Made before the first activation, it takes its captions from the
    // language that activation applies (English on a first start).
    auto* tabs = DebuggerRig::child<QTabWidget>(*f, "pages");
    QCOMPARE(tabs->tabText(3), QStringLiteral("Взлом :-)"));
    windows.mainWindow->show();
    QVERIFY(QTest::qWaitFor([&] { return windows.mainWindow->firstActivateDone(); }));
    QCOMPARE(tabs->tabText(3), QStringLiteral("Crack !!!"));
    QVERIFY(!f->isVisible());
    windows.mainWindow.reset();
}

QTEST_MAIN(MemoryDebuggerTest)
#include "memory_debugger_test.moc"
