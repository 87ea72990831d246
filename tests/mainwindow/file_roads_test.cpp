// Files reaching the running test ROM in the real main window: a program our
// assembler made, dropped on the window, drawing on the screen; a screenshot
// of it against the screen; the desktop's open dialog as the user reads it;
// a file opened again from the recent-files menu, and one that cannot be read
// there.

#include <QAction>
#include <QFile>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTimer>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <QtTest>

#include <array>
#include <cerrno>

#include "platform/FileFaults.hpp"
#include "platform/qt/FileNames.hpp"
#include "support/EventOrder.hpp"
#include "support/MainWindowRig.hpp"
#include "support/TapePrograms.hpp"
#include "ui/MainMenu.hpp"
#include "ui/MenuItems.hpp"
#include "ui/Mru.hpp"
#include "kit/Dialogs.hpp"
#include "kit/RadioGroup.hpp"
#include "kit/Settings.hpp"
#include "settings/SettingsSchema.hpp"

using namespace ostrovik;
using test::bitmapPixel;
using test::differenceFromBitmap;
using test::MainWindowRig;
using test::shownPicture;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr int kBarTop = 128, kBarRows = 8;

/// Draws a white bar over screen lines 128 … 135 and stays.
const char* kBar = R"(BEGIN	EQU	8000h
	ORG	BEGIN-016h
	DB	"RIZI/2.0/"
	DB	0D0h
	DB	"BAR   "
	DW	BEGIN
	DW	BEGIN+END-START-1
	DW	BEGIN
START:	MVI A,02h
	OUT 0C3h
	LXI H,6000h
	LXI B,512
FILL:	MVI M,0FFh
	INX H
	DCX B
	MOV A,B
	ORA C
	JNZ FILL
STOP:	JMP STOP
END
)";

bool barIsDrawn(const output::FrameBitmap& bitmap)
{
    for (int y = kBarTop; y < kBarTop + kBarRows; ++y)
        for (int x = 0; x < output::FrameBitmap::kWidth; ++x)
            if (bitmapPixel(bitmap, x, y) != kWhite)
                return false;
    return true;
}

bool runsTheBar(const machine::Machine& m)
{
    return m.regPC >= 0x8000 && m.regPC < 0x8020;
}

} // namespace

class FileRoadsTest : public QObject {
    Q_OBJECT
private slots:
    void droppedProgramDrawsAndTheScreenshotShowsIt();
    void openDialogNamesItsFilesAndAddsTheExtension();
    void recentFileOpensAgainFromTheFileMenu();
    void recentFileThatCannotBeReadKeepsItsPlace_data();
    void recentFileThatCannotBeReadKeepsItsPlace();
};

void FileRoadsTest::droppedProgramDrawsAndTheScreenshotShowsIt()
{
    MainWindowRig rig;
    QVERIFY(rig.powerOn());
    const QString bar = rig.writeFile(QStringLiteral("bar.lvt"), test::assembledTape(kBar));
    const output::FrameBitmap& bitmap = *rig.window->screen().screenBitmap;
    QVERIFY(!barIsDrawn(bitmap));
    const QImage before = shownPicture(*rig.window);

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(bar)});
    QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(rig.window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(200, 200), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(rig.window.get(), &drop);
    QVERIFY(drop.isAccepted());
    QTRY_COMPARE_WITH_TIMEOUT(rig.window->windowTitle(), bar, ostrovik::test::kHangGuardMs);
    rig.runTicks(5);

    QVERIFY(runsTheBar(rig.m()));
    QVERIFY(barIsDrawn(bitmap));
    const QImage after = shownPicture(*rig.window);
    const QString difference = differenceFromBitmap(after, bitmap);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    // The rest of the screen, the banner included, is as the ROM left it.
    for (int y = 0; y < 256; ++y)
        if (y < kBarTop || y >= kBarTop + kBarRows)
            QVERIFY2(before.copy(0, y, 256, 1) == after.copy(0, y, 256, 1), qPrintable(QString::number(y)));
    QVERIFY(rig.dialogs.messages.isEmpty());

    // A PNG screenshot: the screen as shown, pixel for pixel.
    rig.makeFolder(QStringLiteral("ScreenShots"));
    rig.window->settingsForm()->screenshotFormatGroup->setItemIndex(2);
    rig.window->takeScreenshot();
    QVERIFY2(rig.dialogs.errors.isEmpty(), qPrintable(rig.dialogs.errors.join('\n')));
    const QFileInfoList shots =
        QDir(rig.path(QStringLiteral("ScreenShots"))).entryInfoList(QDir::Files, QDir::Name);
    QCOMPARE(shots.size(), 1);
    QVERIFY2(shots.first().fileName().startsWith(QStringLiteral("screenshot_")), qPrintable(shots.first().fileName()));
    QCOMPARE(shots.first().suffix(), QStringLiteral("png"));
    const QImage shot(shots.first().filePath(), "PNG");
    QCOMPARE(shot.size(), QSize(256, 256));
    QVERIFY(shot.convertToFormat(QImage::Format_RGB32) == after);
}

void FileRoadsTest::openDialogNamesItsFilesAndAddsTheExtension()
{
    MainWindowRig rig;
    QVERIFY(rig.powerOn());
    const QString bar = rig.writeFile(QStringLiteral("bar.lvt"), test::assembledTape(kBar));

    // The desktop's own dialog: the filter the user reads in it, and a name
    // typed without its extension.
    kit::setDialogs(nullptr);
    const auto restore = qScopeGuard([&] { kit::setDialogs(&rig.dialogs); });
    QString shownFilter;
    QStringList trouble;
    QTimer::singleShot(0, rig.window.get(), [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* types = dialog ? dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")) : nullptr;
        auto* name = dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
        if (!types || !name) {
            trouble << QStringLiteral("no open dialog");
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
            return;
        }
        shownFilter = types->currentText();
        name->setText(QStringLiteral("bar"));
        // A name the dialog cannot find gets a box of its own.
        QTimer::singleShot(0, dialog, [&trouble] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                trouble << box->text();
                box->close();
            }
        });
        static_cast<QDialog*>(dialog)->accept(); // the dialog's Open button
        if (dialog->isVisible())
            dialog->reject();
    });
    rig.window->menus().item(ui::menu::OpenFile)->trigger();
    QVERIFY2(trouble.isEmpty(), qPrintable(trouble.join('\n')));
    QCOMPARE(shownFilter, QStringLiteral("*.lv*;*.sav"));
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("Ostrovik:") + QDir::toNativeSeparators(bar));
    rig.runTicks(5);
    QVERIFY(runsTheBar(rig.m()));
    QVERIFY(barIsDrawn(*rig.window->screen().screenBitmap));
}

namespace {

/// Opens the bar picture and then the counter through File → Open, so that
/// both stand in the recent files, the counter on top.
std::pair<QString, QString> openBarThenCounter(MainWindowRig& rig)
{
    const QString bar = rig.writeFile(QStringLiteral("bar.lvt"), test::assembledTape(kBar));
    const QString counter = rig.writeFile(QStringLiteral("count.lvt"), test::assembledTape(test::counterSource("9000")));
    rig.dialogs.answers << bar << counter;
    rig.window->openFile();
    rig.window->openFile();
    return {bar, counter};
}

} // namespace

void FileRoadsTest::recentFileOpensAgainFromTheFileMenu()
{
    MainWindowRig rig;
    QVERIFY(rig.powerOn());
    const auto [bar, counter] = openBarThenCounter(rig);


    // Cold reset: the ROM again, its screen, no bar.
    rig.window->resetCpu();
    rig.runTicks(50);
    QVERIFY(!barIsDrawn(*rig.window->screen().screenBitmap));
    const QString caption = rig.window->windowTitle();

    // The recent files stand after the File menu's fixed items, newest first.
    const auto recentItems = [&rig] {
        const QList<QAction*> all = rig.window->fileMenu()->actions();
        return all.mid(ui::kFixedFileMenuItems);
    };
    QCOMPARE(rig.window->fileMenu()->actions().at(ui::kFixedFileMenuItems - 1)->objectName(), QStringLiteral("SeparatorBeforeRecentFiles"));
    QList<QAction*> recent = recentItems();
    QCOMPARE(recent.size(), 2);
    QCOMPARE(recent.at(0)->text(), counter);
    QCOMPARE(recent.at(1)->text(), bar);

    recent.at(1)->trigger();
    rig.runTicks(5);
    QVERIFY(runsTheBar(rig.m()));
    QVERIFY(barIsDrawn(*rig.window->screen().screenBitmap));
    QCOMPARE(rig.window->windowTitle(), caption);
    QVERIFY(rig.dialogs.messages.isEmpty());

    // It moved to the top again, and the stored list says so.
    recent = recentItems();
    QCOMPARE(recent.size(), 3);
    QCOMPARE(recent.at(0)->text(), bar);
    const std::array<QString, 5> stored{bar, counter, bar, QString(), QString()};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(kit::readIni(settings::kMruList, std::to_string(i + 1), "missing"), stored[static_cast<std::size_t>(i)]);
}

void FileRoadsTest::recentFileThatCannotBeReadKeepsItsPlace_data()
{
    // A read error ends the command before the list is touched; a file that
    // is merely gone is said so and still moves to the top.
    QTest::addColumn<bool>("readError");
    QTest::newRow("no read permission") << true;
    QTest::newRow("missing") << false;
}

void FileRoadsTest::recentFileThatCannotBeReadKeepsItsPlace()
{
    QFETCH(bool, readError);
    MainWindowRig rig;
    QVERIFY(rig.powerOn());
    const auto [bar, counter] = openBarThenCounter(rig);
    QVERIFY(rig.dialogs.errors.isEmpty() && rig.dialogs.messages.isEmpty());
    rig.window->resetCpu();
    rig.runTicks(50);

    // Refused as the superuser too: the file system's refusal is played.
    const std::string refused = platform::fileNamePath(bar);
    platform::ScopedOpenFault fault(
        [&](const std::string& path, bool) { return readError && path == refused ? EACCES : 0; });
    if (!readError)
        QVERIFY(QFile::remove(bar));
    rig.window->fileMenu()->actions().at(ui::kFixedFileMenuItems + 1)->trigger();
    rig.runTicks(5);
    QVERIFY(!barIsDrawn(*rig.window->screen().screenBitmap));
    QCOMPARE(rig.dialogs.errors.size(), readError ? 1 : 0);
    QCOMPARE(rig.dialogs.messages.size(), readError ? 0 : 1);

    const std::array<QString, 5> stored = readError
        ? std::array<QString, 5>{counter, bar, QString(), QString(), QString()}
        : std::array<QString, 5>{bar, counter, bar, QString(), QString()};
    const QList<QAction*> recent = rig.window->fileMenu()->actions().mid(ui::kFixedFileMenuItems);
    QCOMPARE(recent.size(), readError ? 2 : 3);
    QCOMPARE(recent.at(0)->text(), stored[0]);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(kit::readIni(settings::kMruList, std::to_string(i + 1), "missing"),
                 stored[static_cast<std::size_t>(i)]);
}

QTEST_MAIN(FileRoadsTest)
#include "file_roads_test.moc"
