// The main window's life: creation from the stored start-up options, the
// power-on at the first activation, the stop sequence and the window size,
// and a file handed over by a later start.

#include <QGuiApplication>
#include <QScreen>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QSpinBox>
#include <QSignalSpy>
#include <QtTest>

#include "output/qt/ScreenView.hpp"
#include "support/RecordingMainWindow.hpp"
#include "support/EventOrder.hpp"
#include "support/FreshConfig.hpp"
#include "support/ScriptedDialogs.hpp"
#include "files/avi/AviWriter.hpp"
#include "platform/qt/FileNames.hpp"
#include "ui/MainMenu.hpp"
#include "ui/ProgramEntry.hpp"

using namespace ostrovik;
using ostrovik::test::RecordingMainWindow;
using ostrovik::test::FreshConfig;
using ostrovik::test::ScriptedDialogs;

namespace {

// Shows @p main and waits for its power-on.
bool startUp(ui::MainWindow& main)
{
    QSignalSpy started(&main, &ui::MainWindow::firstActivated);
    main.show();
    return started.wait(10000) || started.count() == 1;
}

QByteArray startUpOptions(const QByteArray& lines)
{
    return "[AutoStartUpOptions]\n" + lines;
}

} // namespace

class LifeCycleTest : public QObject {
    Q_OBJECT
private slots:
    void firstStart();
    void windowsAreCreatedInOrder();
    void storedStartUpOptions();
    void storedSizeNeedsBothNumbers();
    void storedSizeLargerThanTheScreenGivesWay();
    void screen256x256ReplacesTheStoredSize();
    void renderModes();
    void missingKeysTakeTheirFirstRunValues();
    void reactivationDoesNotPowerOnAgain();
    void exitWritesTheWindowSize();
    void exitReportsAFailedWrite();
    void handedOverFileLoadsWithItsNameAsCaption();
    void nameThatIsNotUtf8ReadsAlikeOnBothRoads_data();
    void nameThatIsNotUtf8ReadsAlikeOnBothRoads();
    void fullScreenCommand();
};

void LifeCycleTest::firstStart()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    ui::ApplicationWindows windows = ui::createApplicationWindows({});
    ui::MainWindow& main = *windows.mainWindow;
    QCOMPARE(main.clientSize(), QSize(535, 536));
    QVERIFY(!sandbox.exists()); // creation only reads
    QVERIFY(startUp(main));

    QCOMPARE(sandbox.bytes(), FreshConfig::firstRunFile());
    QVERIFY(windows.settings->isHidden());
    QCOMPARE(main.clientSize(), QSize(535, 536));
    QVERIFY(!main.russianCaptions());
    QVERIFY(main.menus().checked(ostrovik::ui::menu::English));
    QVERIFY(main.menus().checked(ostrovik::ui::menu::FullScreen));
    QVERIFY(main.screenView().stretch());
    QVERIFY(main.menus().checked(ostrovik::ui::menu::Sound));
    QCOMPARE(main.menus().image(ostrovik::ui::menu::SoundButton), ostrovik::kit::Icon::SoundOn);
    QVERIFY(!main.grayTV());
    QVERIFY(!main.menus().checked(ostrovik::ui::menu::Blur));
    QVERIFY(main.timerRunning());
    QCOMPARE(main.timerInterval(), 1);
    QVERIFY(dialogs.errors.isEmpty());
}

void LifeCycleTest::windowsAreCreatedInOrder()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    ui::ApplicationWindows windows = ui::createApplicationWindows({QStringLiteral("/g/game.lvt"), "x"});
    QVERIFY(windows.settings);
    QCOMPARE(windows.mainWindow->settingsForm(), windows.settings);
    QCOMPARE(windows.settings->parentWidget(), windows.mainWindow.get());
    QVERIFY(windows.settings->isHidden());
    // Only the first argument counts; it waits for the power-on.
    QCOMPARE(windows.mainWindow->machine().commandLineFile, std::string("/g/game.lvt"));
    QVERIFY(!windows.mainWindow->firstActivateDone());
}

void LifeCycleTest::storedStartUpOptions()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    QVERIFY(sandbox.write(startUpOptions("Blur=1\nGray=1\nLanguage=1\nRunSound=0\nFullScreen=0\nInterval=7\n"
                                         "[CPUOptions]\nInterval=25\n")));
    RecordingMainWindow main;
    // Smoothing is read at creation, before the first frame.
    QCOMPARE(main.screen().blurEnabled, std::uint8_t(1));
    QVERIFY(main.menus().checked(ostrovik::ui::menu::Blur));
    QVERIFY(startUp(main));
    QVERIFY(main.grayTV());
    QCOMPARE(main.menus().image(ostrovik::ui::menu::GrayTvButton), ostrovik::kit::Icon::GrayTv);
    QVERIFY(main.russianCaptions());
    QVERIFY(!main.menus().checked(ostrovik::ui::menu::Sound));
    QCOMPARE(main.menus().image(ostrovik::ui::menu::Sound), ostrovik::kit::Icon::SoundOff);
    QCOMPARE(main.menus().image(ostrovik::ui::menu::SoundButton), ostrovik::kit::Icon::SoundOff);
    QVERIFY(!main.menus().checked(ostrovik::ui::menu::FullScreen));
    QVERIFY(!main.screenView().stretch());
    QCOMPARE(main.timerInterval(), 25);
    // The file existed: it is not rewritten.
    QVERIFY(!sandbox.bytes().contains("JoyOptions"));
}

void LifeCycleTest::storedSizeNeedsBothNumbers()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    QVERIFY(sandbox.write(startUpOptions("FormHeight=600\nFormWidth=0\n")));
    {
        RecordingMainWindow main;
        QCOMPARE(main.clientSize(), QSize(535, 536));
    }
    QVERIFY(sandbox.write(startUpOptions("FormHeight=600\nFormWidth=wide\n")));
    {
        RecordingMainWindow main;
        QCOMPARE(main.clientSize(), QSize(535, 536));
    }
    QVERIFY(sandbox.write(startUpOptions("FormHeight=600\nFormWidth=700\n")));
    RecordingMainWindow main;
    QCOMPARE(main.frameGeometry().size(), QSize(700, 600));
    QVERIFY(startUp(main));
    QCOMPARE(main.frameGeometry().size(), QSize(700, 600));
}

void LifeCycleTest::storedSizeLargerThanTheScreenGivesWay()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    const QSize room = QGuiApplication::primaryScreen()->availableGeometry().size();
    struct Case {
        QSize stored;
        bool kept;
    };
    const Case cases[] = {
        {room, true},
        {QSize(room.width() + 1, 600), false},
        {QSize(700, room.height() + 1), false},
        {QSize(100000, 100000), false},
    };
    for (const Case& c : cases) {
        QVERIFY(sandbox.write(startUpOptions(QStringLiteral("FormHeight=%1\nFormWidth=%2\n")
                                                 .arg(c.stored.height())
                                                 .arg(c.stored.width())
                                                 .toUtf8())));
        RecordingMainWindow main;
        const QString row = QStringLiteral("%1 x %2").arg(c.stored.width()).arg(c.stored.height());
        if (c.kept)
            QVERIFY2(main.frameGeometry().size() == c.stored, qPrintable(row));
        else
            QVERIFY2(main.clientSize() == QSize(535, 536), qPrintable(row));
    }
}

void LifeCycleTest::screen256x256ReplacesTheStoredSize()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    QVERIFY(sandbox.write(startUpOptions("FormHeight=600\nFormWidth=700\n256x256=1\n")));
    RecordingMainWindow main;
    QCOMPARE(main.frameGeometry().size(), QSize(700, 600));
    QVERIFY(startUp(main));
    QCOMPARE(main.clientSize(), QSize(256, 256));
}

void LifeCycleTest::renderModes()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    for (const QByteArray& value : {QByteArray("GDI"), QByteArray("300"), QByteArray("-1")}) {
        QVERIFY(sandbox.write(startUpOptions("RenderingMode=" + value + "\n")));
        RecordingMainWindow main;
        QCOMPARE(main.session().renderMode(), output::RenderMode::Raster);
        QVERIFY(main.screen().screenBitmap);
    }
    // "DirectX3D" is shown through the OpenGL view; the stored choice stays.
    QVERIFY(sandbox.write(startUpOptions("RenderingMode=2\n")));
    RecordingMainWindow main;
    // (Shown and drawn on a display with OpenGL in the OpenGL suite.)
    QCOMPARE(main.session().renderMode(), output::RenderMode::OpenGl);
    QVERIFY(main.glScreenView());
    QVERIFY(!main.screen().screenBitmap);
    main.settingsForm()->readAllOptions();
    QCOMPARE(main.settingsForm()->renderingBox->currentIndex(), 2);
}

void LifeCycleTest::missingKeysTakeTheirFirstRunValues()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    const struct {
        const char* name;
        QByteArray file;
        bool sound, stretched;
        int frameTime;
    } cases[] = {
        {"only the window size", startUpOptions("FormHeight=600\nFormWidth=560\n"), true, true, 50},
        {"stored values are kept",
         startUpOptions("RunSound=0\nFullScreen=0\n[VideoOptions]\nFrameTime=1000\n"), false, false, 1000},
    };
    for (const auto& c : cases) {
        QVERIFY(sandbox.write(c.file));
        RecordingMainWindow main;
        QVERIFY(startUp(main));
        // Recordings go beside the sandbox's settings.
        main.machine().programDir = QFile::encodeName(sandbox.folder()).toStdString();
        QVERIFY(QDir(sandbox.folder()).mkpath(QStringLiteral("ScreenAVI")));
        QVERIFY2(main.menus().checked(ui::menu::Sound) == c.sound, c.name);
        QVERIFY2(main.settingsForm()->soundBox->isChecked() == c.sound, c.name);
        QVERIFY2(main.menus().checked(ui::menu::FullScreen) == c.stretched, c.name);
        QVERIFY2(main.screenView().stretch() == c.stretched, c.name);
        QCOMPARE(main.settingsForm()->frameTimeBox->value(), c.frameTime);
        // A recording starts and plays back at the frame time it was given.
        main.toggleAviRecording();
        QVERIFY2(main.recording(), qPrintable(dialogs.errors.join('\n')));
        QCOMPARE(main.aviWriter().frameTime, c.frameTime);
        main.toggleAviRecording();
        QVERIFY2(dialogs.errors.isEmpty(), qPrintable(dialogs.errors.join('\n')));
    }
}

void LifeCycleTest::reactivationDoesNotPowerOnAgain()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    RecordingMainWindow main;
    QSignalSpy started(&main, &ui::MainWindow::firstActivated);
    QVERIFY(startUp(main));
    main.setTimerInterval(33);
    main.form->soundBox->setChecked(false);
    main.hide();
    main.show();
    main.activateWindow();
    QVERIFY(ostrovik::test::settle(3 * main.timerInterval()));
    QCOMPARE(started.count(), 1);
    QCOMPARE(main.timerInterval(), 33);
    QVERIFY(main.menus().checked(ostrovik::ui::menu::Sound));
}

void LifeCycleTest::exitWritesTheWindowSize()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    QSize outer;
    {
        ui::ApplicationWindows windows = ui::createApplicationWindows({});
        QVERIFY(startUp(*windows.mainWindow));
        windows.mainWindow->resize(640, 580);
        // The outer size: the frame included.
        QTRY_VERIFY_WITH_TIMEOUT((outer = windows.mainWindow->frameGeometry().size()).width() >= 640 && outer.height() >= 580, ostrovik::test::kHangGuardMs);
    }
    QByteArray expected = FreshConfig::firstRunFile();
    expected.insert(expected.indexOf("[VideoOptions]"), QStringLiteral("FormHeight=%1\r\nFormWidth=%2\r\n")
                                                            .arg(outer.height())
                                                            .arg(outer.width())
                                                            .toLatin1());
    QCOMPARE(sandbox.bytes(), expected);

    // The next start comes up at that size, and leaves it as it found it.
    {
        ui::ApplicationWindows windows = ui::createApplicationWindows({});
        QVERIFY(startUp(*windows.mainWindow));
        QCOMPARE(windows.mainWindow->frameGeometry().size(), outer);
        QCOMPARE(windows.mainWindow->size(), QSize(640, 580));
    }
    QCOMPARE(sandbox.bytes(), expected);
}

void LifeCycleTest::exitReportsAFailedWrite()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    const QString bad = sandbox.blockWrites();
    {
        RecordingMainWindow main;
        QVERIFY(startUp(main));
        QVERIFY(main.timerRunning()); // the machine starts all the same
        QCOMPARE(dialogs.errors.size(), 1);
    }
    QCOMPARE(dialogs.errors.size(), 2);
    QCOMPARE(dialogs.errors.last(), QStringLiteral("Unable to write to ") + bad + QStringLiteral("\nNot a directory"));
}

void LifeCycleTest::handedOverFileLoadsWithItsNameAsCaption()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    RecordingMainWindow main;
    QVERIFY(startUp(main));
    const QByteArray name = QStringLiteral("/g/Ракета.sav").toUtf8();
    main.openHandedOverFile(name);
    QCOMPARE(main.windowTitle(), QStringLiteral("/g/Ракета.sav"));
    QCOMPARE(main.loads.size(), std::size_t(1));
    QCOMPARE(main.loads[0], (std::pair<std::string, bool>(name.toStdString(), true)));
    // Not a recent file.
    QVERIFY(!sandbox.bytes().contains("MRU list"));

    main.openHandedOverFile({});
    QCOMPARE(main.windowTitle(), QString());
    QCOMPARE(main.loads.back().first, std::string());
}

void LifeCycleTest::nameThatIsNotUtf8ReadsAlikeOnBothRoads_data()
{
    QTest::addColumn<bool>("handedOver");
    QTest::addColumn<QString>("captionBefore");
    QTest::newRow("command line") << false << QStringLiteral("Ostrovik:");
    QTest::newRow("hand-over") << true << QString();
}

void LifeCycleTest::nameThatIsNotUtf8ReadsAlikeOnBothRoads()
{
    // Windows-1251 bytes: each byte that starts no valid UTF-8 sequence is
    // shown as a replacement mark, whichever road the name came by, and the
    // file is still loaded by its own bytes.
    QFETCH(bool, handedOver);
    QFETCH(QString, captionBefore);
    const QByteArray name("/g/\xC8\xE3.sav");
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    RecordingMainWindow main(handedOver ? QStringList{} : QStringList{platform::fileNameText(name)});
    QVERIFY(startUp(main));
    if (handedOver)
        main.openHandedOverFile(name);
    QCOMPARE(main.windowTitle(), captionBefore + QStringLiteral(u"/g/\uFFFD\uFFFD.sav"));
    QCOMPARE(main.loads.size(), std::size_t(1));
    QCOMPARE(main.loads[0].first, name.toStdString());
}

void LifeCycleTest::fullScreenCommand()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    RecordingMainWindow main;
    QVERIFY(startUp(main));
    QVERIFY(main.fullScreen());
    main.toggleFullScreen();
    QVERIFY(!main.menus().checked(ostrovik::ui::menu::FullScreen));
    QVERIFY(!main.screenView().stretch());
    main.toggleFullScreen();
    QVERIFY(main.screenView().stretch());
}

QTEST_MAIN(LifeCycleTest)
#include "life_cycle_test.moc"
