// Files dropped on the main window, and snapshots saved by its command.
#include <QAction>
#include <QDateTime>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QRegularExpression>
#include <QUrl>
#include <QtTest>

#include <array>
#include <fstream>

#include "support/EventOrder.hpp"
#include "support/MainWindowRig.hpp"
#include "ui/MainMenu.hpp"
#include "files/Snapshot.hpp"
#include "files/TapeImage.hpp"

using namespace ostrovik;
using test::readAll;
using WindowRig = test::MainWindowRig;

namespace {

constexpr auto kNotFound = "File is very small or not found !!!";

/// A machine-code tape image of four bytes for @p start … start + 3, run at @p start.
std::vector<std::uint8_t> fourByteProgram(std::uint16_t start, std::uint8_t first)
{
    files::LvtHeader h;
    h.startAddr = start;
    h.endAddr = static_cast<std::uint16_t>(start + 3);
    h.runAddr = start;
    const auto head = files::serialiseLvtHeader(h);
    std::vector<std::uint8_t> out(head.begin(), head.end());
    for (std::uint8_t i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(first + i));
    return out;
}

/// Drags @p urls onto @p window and drops them; returns whether the window
/// took the drag and the drop.
std::pair<bool, bool> dragAndDrop(QWidget& window, const QList<QUrl>& urls)
{
    QMimeData mime;
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QCoreApplication::sendEvent(&window, &enter);
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    drop.ignore();
    QCoreApplication::sendEvent(&window, &drop);
    return {enter.isAccepted(), drop.isAccepted()};
}

/// The one snapshot in FilesSAV, checked for its name (@p prefix, a stamp of
/// the current time, ".sav") and its size; removed afterwards.
void expectOneSnapshot(WindowRig& rig, const QString& prefix)
{
    const QFileInfoList files = rig.filesIn(QStringLiteral("FilesSAV"));
    QCOMPARE(files.size(), 1);
    const QString name = files.first().fileName();
    const QRegularExpression pattern(QStringLiteral("^%1(\\d\\d_\\d\\d_\\d{4}_\\d\\d_\\d\\d_\\d\\d)\\.sav$")
                                         .arg(QRegularExpression::escape(prefix)));
    const QRegularExpressionMatch match = pattern.match(name);
    QVERIFY2(match.hasMatch(), qPrintable(name));
    const QDateTime stamp = QDateTime::fromString(match.captured(1), QStringLiteral("dd_MM_yyyy_hh_mm_ss"));
    QVERIFY(stamp.isValid());
    QVERIFY(qAbs(stamp.secsTo(QDateTime::currentDateTime())) <= 2);
    QCOMPARE(files.first().size(), static_cast<qint64>(files::kSavSize));
    QFile::remove(files.first().filePath());
}

} // namespace

class DropSnapshotTest : public QObject {
    Q_OBJECT
private slots:
    void dropLoadsTheFirstFileOnly();
    void droppedFolderChangesTheCaptionThenComplains();
    void dropLoadsTheFileWhoseBytesTheAddressNames();
    void snapshotNamedAfterTheOpenedFile();
    void twoSavesInOneSecondKeepBoth();
    void saveEndsAPauseAndReportsAMissingFolder();
    void savedSnapshotLoadsBackToTheSameState();
};

void DropSnapshotTest::dropLoadsTheFirstFileOnly()
{
    WindowRig rig;
    const QString a = rig.writeFile(QStringLiteral("a.lvt"), fourByteProgram(0x1000, 0x11));
    const QString b = rig.writeFile(QStringLiteral("b.lvt"), fourByteProgram(0x2000, 0x21));
    const QString c = rig.writeFile(QStringLiteral("c.lvt"), fourByteProgram(0x3000, 0x31));
    rig.window->setWindowTitle(QStringLiteral("before"));

    QVERIFY(rig.window->acceptDrops());
    const auto [entered, dropped] = dragAndDrop(
        *rig.window, {QUrl::fromLocalFile(a), QUrl::fromLocalFile(b), QUrl::fromLocalFile(c)});
    QVERIFY(entered);
    QVERIFY(dropped);
    QTRY_COMPARE_WITH_TIMEOUT(rig.window->windowTitle(), a, ostrovik::test::kHangGuardMs);

    for (int i = 0; i < 4; ++i)
        QCOMPARE(rig.m().ram[0x1000 + i], 0x11 + i);
    QCOMPARE(rig.m().ram[0x2000], 0);
    QCOMPARE(rig.m().ram[0x3000], 0);
    QCOMPARE(rig.m().regPC, 0x1000);
    QVERIFY(rig.dialogs.messages.isEmpty());
    QVERIFY(rig.dialogs.errors.isEmpty());

    // Only files from the desktop are taken, not web addresses.
    const auto [webEntered, webDropped] = dragAndDrop(*rig.window, {QUrl(QStringLiteral("http://localhost/games/b.lvt"))});
    QVERIFY(!webEntered);
    QVERIFY(!webDropped);
    QVERIFY(ostrovik::test::settle());
    QCOMPARE(rig.window->windowTitle(), a);
}

void DropSnapshotTest::droppedFolderChangesTheCaptionThenComplains()
{
    WindowRig rig;
    const QString folder = rig.makeFolder(QStringLiteral("games"));
    const auto before = rig.m().ram;

    dragAndDrop(*rig.window, {QUrl::fromLocalFile(folder)});
    QTRY_COMPARE_WITH_TIMEOUT(rig.dialogs.messages.size(), 1, ostrovik::test::kHangGuardMs);
    QCOMPARE(rig.dialogs.messages.first(), QString::fromUtf8(kNotFound));
    QCOMPARE(rig.window->windowTitle(), folder);
    QVERIFY(rig.m().ram == before);
}

void DropSnapshotTest::dropLoadsTheFileWhoseBytesTheAddressNames()
{
    // The address as a file manager sends it: the name's bytes, percent-encoded.
    const struct {
        const char* what;
        const char* fileName; // as the file system holds it
        const char* address;  // its end of the address
        const char16_t* shown; // the caption's end; none when the drop is refused
    } cases[] = {
        {"a name that is not UTF-8", "snap_\xFF\xFE.lvt", "snap_%FF%FE.lvt", u"snap_\uFFFD\uFFFD.lvt"},
        {"a UTF-8 name with a space", "Игра 1.lvt", "%D0%98%D0%B3%D1%80%D0%B0%201.lvt", u"Игра 1.lvt"},
        {"a zero byte, which no name holds", "a.lvt", "a.lvt%00.txt", nullptr},
    };
    WindowRig rig;
    const QString folder = rig.makeFolder(QStringLiteral("drops"));
    std::uint16_t start = 0x1000;
    for (const auto& c : cases) {
        const auto program = fourByteProgram(start, 0x11);
        std::ofstream(QFile::encodeName(folder).toStdString() + '/' + c.fileName, std::ios::binary)
            .write(reinterpret_cast<const char*>(program.data()), static_cast<std::streamsize>(program.size()));
        const QUrl url = QUrl::fromEncoded("file://" + QFile::encodeName(folder).toPercentEncoding("/") + '/' + c.address);
        rig.window->setWindowTitle(QStringLiteral("before"));

        const auto [entered, dropped] = dragAndDrop(*rig.window, {url});
        if (c.shown) {
            QVERIFY2(entered && dropped, c.what);
            const QString caption = folder + QLatin1Char('/') + QString::fromUtf16(c.shown);
            QTRY_COMPARE_WITH_TIMEOUT(rig.window->windowTitle(), caption, ostrovik::test::kHangGuardMs);
            QVERIFY2(rig.dialogs.messages.isEmpty(), qPrintable(rig.dialogs.messages.join('\n')));
            QVERIFY2(rig.m().ram[start] == 0x11 && rig.m().regPC == start, c.what);
        } else {
            QVERIFY2(!entered && !dropped, c.what);
            QVERIFY(ostrovik::test::settle());
            QCOMPARE(rig.window->windowTitle(), QStringLiteral("before"));
            QVERIFY2(rig.m().ram[start] == 0, c.what);
        }
        start += 0x1000;
    }
}

void DropSnapshotTest::snapshotNamedAfterTheOpenedFile()
{
    WindowRig rig;
    rig.makeFolder(QStringLiteral("FilesSAV"));

    // File → Open names the snapshot; a cancelled Open leaves nothing to name it by.
    rig.makeFolder(QStringLiteral("abc"));
    rig.dialogs.answers = QStringList{rig.writeFile(QStringLiteral("abc/abc.lvt"), fourByteProgram(0x1000, 0x11))};
    rig.window->openFile();
    rig.window->saveSnapshot();
    expectOneSnapshot(rig, QStringLiteral("abc_"));
    rig.dialogs.answers.clear();
    rig.window->openFile();
    rig.window->saveSnapshot();
    expectOneSnapshot(rig, QStringLiteral("Save_"));

    // The name as the game library or the ROM's tape dialog leave it.
    const struct {
        const char* opened;
        const char* prefix;
    } cases[] = {
        {"/tapes/a.lv", "Save_"},          // four characters: no base left
        {"/tapes/game.lvt.sav", "game.lvt_"},
        {"/tapes/Игра.lvt", "Игра_"},     // characters, not bytes, are cut
    };
    for (const auto& c : cases) {
        rig.window->setCurrentFileName(c.opened);
        rig.window->saveSnapshot();
        QVERIFY2(rig.dialogs.errors.isEmpty(), qPrintable(rig.dialogs.errors.join('\n')));
        expectOneSnapshot(rig, QString::fromUtf8(c.prefix));
    }

    // The File menu's item and the tool button run the same command.
    rig.window->setCurrentFileName("/tapes/abc.lvt");
    for (const ui::MenuItem which : {ui::menu::SaveSnapshot, ui::menu::SaveSnapshotButton}) {
        QAction* action = rig.window->menus().item(which);
        QVERIFY(action);
        action->trigger();
        expectOneSnapshot(rig, QStringLiteral("abc_"));
    }
    QVERIFY(rig.dialogs.errors.isEmpty());
}

void DropSnapshotTest::twoSavesInOneSecondKeepBoth()
{
    WindowRig rig;
    rig.makeFolder(QStringLiteral("FilesSAV"));
    rig.window->setCurrentFileName("/tapes/abc.lvt");
    rig.window->saveSnapshot();
    rig.m().ram[0x100] = 0x5A;
    rig.window->saveSnapshot();
    QVERIFY(rig.dialogs.errors.isEmpty());

    const QFileInfoList files = rig.filesIn(QStringLiteral("FilesSAV"));
    QCOMPARE(files.size(), 2);
    for (const QFileInfo& f : files)
        QCOMPARE(f.size(), static_cast<qint64>(files::kSavSize));
    // Within one second the second file takes the first one's name with "_2".
    const QString first = files[0].completeBaseName();
    const QString second = files[1].completeBaseName();
    if (second.startsWith(first))
        QCOMPARE(second, first + QStringLiteral("_2"));
    QCOMPARE(readAll(files[1].filePath())[files::kSavRamAt + 0x100] ^ readAll(files[0].filePath())[files::kSavRamAt + 0x100], 0x5A);
}

void DropSnapshotTest::saveEndsAPauseAndReportsAMissingFolder()
{
    WindowRig rig;
    rig.makeFolder(QStringLiteral("FilesSAV"));
    rig.m().paused = 1;
    rig.window->saveSnapshot();
    QCOMPARE(rig.m().paused, 0);
    QCOMPARE(rig.filesIn(QStringLiteral("FilesSAV")).size(), 1);

    // Without the folder: the box names the file and the system's reason, and
    // the machine is not left paused.
    QDir(rig.path(QStringLiteral("FilesSAV"))).removeRecursively();
    rig.m().paused = 1;
    rig.window->saveSnapshot();
    QCOMPARE(rig.m().paused, 0);
    QCOMPARE(rig.dialogs.errors.size(), 1);
    const QString error = rig.dialogs.errors.first();
    QVERIFY2(error.contains(rig.path(QStringLiteral("FilesSAV/Save_"))), qPrintable(error));
    QVERIFY2(error.contains(QStringLiteral("No such file or directory")), qPrintable(error));
    QVERIFY(!QFileInfo::exists(rig.path(QStringLiteral("FilesSAV"))));
}

void DropSnapshotTest::savedSnapshotLoadsBackToTheSameState()
{
    WindowRig rig;
    rig.makeFolder(QStringLiteral("FilesSAV"));
    machine::Machine& m = rig.m();
    for (std::size_t i = 0; i < m.ram.size(); ++i)
        m.ram[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
    for (std::size_t i = 0; i < m.videoRam.size(); ++i)
        m.videoRam[i] = static_cast<std::uint8_t>(i * 13 + 5);
    for (std::size_t i = 0; i < m.ports.size(); ++i)
        m.ports[i] = static_cast<std::uint8_t>(255 - i);
    m.ports[0xC1] = 0x5A; // palette
    m.ports[0xC2] = 0x00; // memory map: video RAM at 0x4000
    m.regB = 0x01, m.regC = 0x23, m.regD = 0x45, m.regE = 0x67, m.regH = 0x89, m.regL = 0xAB, m.regA = 0xCD, m.regF = 0xD7;
    m.regSP = 0xBEEF;
    m.regPC = 0x1234;
    const auto ram = m.ram;
    const auto vram = m.videoRam;
    const auto ports = m.ports;

    rig.window->saveSnapshot();
    const QFileInfoList files = rig.filesIn(QStringLiteral("FilesSAV"));
    QCOMPARE(files.size(), 1);

    m.ram.fill(0);
    m.videoRam.fill(0);
    m.ports.fill(0xFF);
    m.regB = m.regC = m.regD = m.regE = m.regH = m.regL = m.regA = m.regF = m.regSP = m.regPC = 0;
    rig.window->loadFile(QFile::encodeName(files.first().filePath()).toStdString(), true);

    QVERIFY(rig.dialogs.messages.isEmpty());
    QVERIFY(rig.dialogs.errors.isEmpty());
    QVERIFY(m.ram == ram);
    QVERIFY(m.videoRam == vram);
    QVERIFY(m.ports == ports);
    const std::array<int, 10> regs{m.regB, m.regC, m.regD, m.regE, m.regH, m.regL, m.regA, m.regF, m.regSP, m.regPC};
    const std::array<int, 10> want{0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xD7, 0xBEEF, 0x1234};
    QCOMPARE(regs, want);
}

QTEST_MAIN(DropSnapshotTest)
#include "drop_snapshot_test.moc"
