// What the main window's commands do, driven through its menus and buttons.

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <string>
#include <utility>
#include <vector>

#include "support/EventOrder.hpp"
#include "support/ScriptedWaveOut.hpp"
#include "output/qt/ScreenView.hpp"
#include "output/qt/ScreenSizeForm.hpp"
#include "output/sound/qt/SoundViewForm.hpp"
#include "ui/LogWindow.hpp"
#include "ui/MainWindow.hpp"
#include "ui/MainMenu.hpp"
#include "kit/RadioGroup.hpp"
#include "ui/SettingsForm.hpp"
#include "kit/Settings.hpp"
#include "settings/SettingsSchema.hpp"

#include "support/MainWindowRig.hpp"
#include "support/RecordingMainWindow.hpp"
#include "support/ScriptedDialogs.hpp"

using ostrovik::test::FreshConfig;
using ostrovik::test::ScriptedDialogs;
using ostrovik::ui::FormSlot;
using ostrovik::ui::MainWindow;
using ostrovik::ui::MainMenu;

namespace {

/// The main window, without its settings window, with its file loading
/// recorded instead of done.
class Window : public ostrovik::test::RecordingMainWindow {
public:
    /// A quiet scripted sound device unless the test listens to the real one.
    explicit Window(std::unique_ptr<ostrovik::platform::WaveOut> waveOut = ostrovik::test::quietWaveOut())
        : RecordingMainWindow(QStringList{}, false, std::move(waveOut))
    {
    }

    QToolButton* button(const char* name) { return findChild<QToolButton*>(QString::fromLatin1(name)); }
    QAction* item(ostrovik::ui::MenuItem which) { return menus().item(which); }
    bool checked(ostrovik::ui::MenuItem which) { return menus().checked(which); }
    ostrovik::kit::Icon image(ostrovik::ui::MenuItem which) { return menus().image(which); }
};

/// A window for a slot, counting how often it was made.
struct FakeForm {
    explicit FakeForm(FormSlot& slot)
    {
        slot.setFactory([this](MainWindow& main) -> QWidget* {
            ++made;
            auto* w = new QWidget(&main, Qt::Tool);
            return w;
        });
    }
    int made = 0;
};

constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kGrayOfRed = 0x4C4C4C; // level 76

} // namespace

class CommandsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { config_.reset(); }
    void pauseMirrorsPausedOnBothPictures();
    void soundOffLeavesTheSoundViewAlone();
    void soundSwitchClosesAndReopensTheDevice();
    void grayTvRedrawsAtOnce();
    void smoothingFromMenuAndButton();
    void stretchFromMenuAndButton();
    void marksChangeOnlyThroughTheirHandlers();
    void openAsksAndLoads();
    void openCancelledForgetsTheName();
    void screenSizeCommands();
    void aboutBox();
    void launchers();
    void stepDebuggerPausesTheMachine();
    void everyCommandRuns();
    void exitClosesTheWindow();
    void storedStartStatesShowInTheMarks();

private:
    FreshConfig config_;
    ScriptedDialogs dialogs_;
};

void CommandsTest::pauseMirrorsPausedOnBothPictures()
{
    Window w;
    QCOMPARE(w.machine().paused, std::uint8_t{0});
    w.button("PauseButton")->click();
    QCOMPARE(w.machine().paused, std::uint8_t{1});
    QVERIFY(w.checked(ostrovik::ui::menu::Pause));
    QCOMPARE(w.image(ostrovik::ui::menu::Pause), ostrovik::kit::Icon::Paused);
    QCOMPARE(w.image(ostrovik::ui::menu::PauseButton), ostrovik::kit::Icon::Paused);

    w.item(ostrovik::ui::menu::Pause)->trigger();
    QCOMPARE(w.machine().paused, std::uint8_t{0});
    QVERIFY(!w.checked(ostrovik::ui::menu::Pause));
    QCOMPARE(w.image(ostrovik::ui::menu::Pause), ostrovik::kit::Icon::Pause);
    QCOMPARE(w.image(ostrovik::ui::menu::PauseButton), ostrovik::kit::Icon::Pause);

    // Another part of the program pausing the machine leaves the mark alone;
    // the command then follows its mark, not the flag.
    w.machine().paused = 1;
    w.togglePause();
    QVERIFY(w.checked(ostrovik::ui::menu::Pause));
    QCOMPARE(w.machine().paused, std::uint8_t{1});
}

void CommandsTest::soundOffLeavesTheSoundViewAlone()
{
    Window w;
    FakeForm view(w.forms().soundView);
    QVERIFY(w.checked(ostrovik::ui::menu::Sound));

    w.item(ostrovik::ui::menu::SoundView)->trigger();
    QVERIFY(w.forms().soundView.visible());
    w.button("SoundViewButton")->click();
    QVERIFY(!w.forms().soundView.visible());
    w.toggleSoundView();
    QVERIFY(w.forms().soundView.visible());

    // Sound off hides the view and both pictures show it off.
    w.button("SoundButton")->click();
    QVERIFY(!w.checked(ostrovik::ui::menu::Sound));
    QCOMPARE(w.image(ostrovik::ui::menu::Sound), ostrovik::kit::Icon::SoundOff);
    QCOMPARE(w.image(ostrovik::ui::menu::SoundButton), ostrovik::kit::Icon::SoundOff);
    QVERIFY(!w.forms().soundView.visible());
    w.item(ostrovik::ui::menu::SoundView)->trigger();
    w.button("SoundViewButton")->click();
    QVERIFY(!w.forms().soundView.visible());

    w.item(ostrovik::ui::menu::Sound)->trigger();
    QVERIFY(w.checked(ostrovik::ui::menu::Sound));
    QCOMPARE(w.image(ostrovik::ui::menu::Sound), ostrovik::kit::Icon::SoundOn);
    QCOMPARE(w.image(ostrovik::ui::menu::SoundButton), ostrovik::kit::Icon::SoundOn);
    w.toggleSoundView();
    QVERIFY(w.forms().soundView.visible());
    QCOMPARE(view.made, 1);
}

void CommandsTest::soundSwitchClosesAndReopensTheDevice()
{
    QTemporaryDir dir;
    QFile rom(dir.filePath(QStringLiteral("bios.dat")));
    QVERIFY(rom.open(QIODevice::WriteOnly));
    const auto image = ostrovik::test::beepingRom();
    rom.write(reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size()));
    rom.close();

    Window w{MainWindow::systemWaveOut()};
    w.machine().programDir = QFile::encodeName(dir.path()).toStdString();
    dialogs_.errors.clear();
    w.show();
    auto& beeper = w.beeper();
    QTRY_COMPARE_WITH_TIMEOUT(beeper.waveOutOpened, std::uint8_t{1}, ostrovik::test::kHangGuardMs);

    // The real sound view comes and goes with the command.
    w.toggleSoundView();
    QVERIFY(qobject_cast<ostrovik::output::sound::SoundViewForm*>(w.forms().soundView.form()));
    QVERIFY(w.forms().soundView.visible());

    // Off: the device closes, the view goes, and the beeping machine stays silent.
    w.toggleSound();
    QTRY_COMPARE_WITH_TIMEOUT(beeper.waveOutOpened, std::uint8_t{0}, ostrovik::test::kHangGuardMs);
    QVERIFY(!w.forms().soundView.visible());
    for (int tick = 0; tick < 10; ++tick)
        w.runFrame();
    QVERIFY(ostrovik::test::settle()); // an open notice would be posted by now
    QCOMPARE(beeper.waveOutOpened, std::uint8_t{0});

    // On again: the next buffers open it once more.
    w.toggleSound();
    QTRY_COMPARE_WITH_TIMEOUT(beeper.waveOutOpened, std::uint8_t{1}, ostrovik::test::kHangGuardMs);
    QVERIFY2(dialogs_.errors.isEmpty(), qPrintable(dialogs_.errors.join(QLatin1Char('\n'))));
    w.close();
}

void CommandsTest::grayTvRedrawsAtOnce()
{
    Window w;
    auto& m = w.machine();
    m.ports[0xC1] = 0x0F;
    m.videoRam.fill(0);
    m.videoRam[0] = 0x88;
    m.invalidateScreen();
    w.drawScreen();
    const auto& bitmap = *w.screen().screenBitmap;
    QCOMPARE(bitmap.pixel(0, 0), kRed);

    // No tick runs in between: the command itself redraws every byte.
    w.button("GrayTvButton")->click();
    QVERIFY(w.grayTV());
    QCOMPARE(w.image(ostrovik::ui::menu::GrayTvButton), ostrovik::kit::Icon::GrayTv);
    QCOMPARE(w.image(ostrovik::ui::menu::GrayTv), ostrovik::kit::Icon::ColourTv);
    QCOMPARE(bitmap.pixel(0, 0), kGrayOfRed);
    for (int x = 1; x < 4; ++x)
        QCOMPARE(bitmap.pixel(x, 0), std::uint32_t{0});
    for (std::size_t i = 0; i < m.videoRam.size(); ++i)
        QCOMPARE(m.videoShadow[i], std::uint16_t{m.videoRam[i]});

    w.item(ostrovik::ui::menu::GrayTv)->trigger();
    QVERIFY(!w.grayTV());
    QCOMPARE(w.image(ostrovik::ui::menu::GrayTvButton), ostrovik::kit::Icon::ColourTv);
    QCOMPARE(bitmap.pixel(0, 0), kRed);
}

void CommandsTest::smoothingFromMenuAndButton()
{
    Window w;
    QCOMPARE(w.screen().blurEnabled, std::uint8_t{0});
    QVERIFY(!w.checked(ostrovik::ui::menu::Blur));
    w.item(ostrovik::ui::menu::Blur)->trigger();
    QCOMPARE(w.screen().blurEnabled, std::uint8_t{1});
    QVERIFY(w.checked(ostrovik::ui::menu::Blur));
    w.button("BlurButton")->click();
    QCOMPARE(w.screen().blurEnabled, std::uint8_t{0});
    QVERIFY(!w.checked(ostrovik::ui::menu::Blur));
    w.toggleBlur();
    QVERIFY(w.checked(ostrovik::ui::menu::Blur));
    QCOMPARE(w.screen().blurEnabled, std::uint8_t{1});
}

void CommandsTest::stretchFromMenuAndButton()
{
    Window w;
    QVERIFY(w.fullScreen());
    QVERIFY(w.screenView().stretch());
    w.button("FullScreenButton")->click();
    QVERIFY(!w.fullScreen());
    QVERIFY(!w.checked(ostrovik::ui::menu::FullScreen));
    QVERIFY(!w.screenView().stretch());
    w.item(ostrovik::ui::menu::FullScreen)->trigger();
    QVERIFY(w.fullScreen());
    QVERIFY(w.screenView().stretch());
}

void CommandsTest::marksChangeOnlyThroughTheirHandlers()
{
    Window w;
    // The joystick pair is shown and does nothing.
    w.item(ostrovik::ui::menu::KeyboardJoystick)->trigger();
    w.item(ostrovik::ui::menu::QJoystick)->trigger();
    QVERIFY(w.checked(ostrovik::ui::menu::KeyboardJoystick));
    QVERIFY(!w.checked(ostrovik::ui::menu::QJoystick));
    // One click, one change: the handler's inversion is not undone by the
    // menu's own toggling.
    w.item(ostrovik::ui::menu::Sound)->trigger();
    QVERIFY(!w.checked(ostrovik::ui::menu::Sound));
    w.item(ostrovik::ui::menu::Sound)->trigger();
    QVERIFY(w.checked(ostrovik::ui::menu::Sound));
}

void CommandsTest::openAsksAndLoads()
{
    Window w;
    const QString path = QDir::tempPath() + QStringLiteral("/Игра.lvt");
    dialogs_.asked.clear();
    dialogs_.answers.append(path);
    w.button("OpenFileButton")->click();

    QCOMPARE(dialogs_.asked.size(), std::size_t{1});
    const auto& q = dialogs_.asked.front();
    QCOMPARE(q.title, QStringLiteral("Открыть файл образа ПК-RAZAV"));
    QCOMPARE(q.dir, QCoreApplication::applicationDirPath());
    QVERIFY(q.filter.contains(QStringLiteral("*.lv*")));
    QVERIFY(q.filter.contains(QStringLiteral("*.sav")));

    QCOMPARE(w.windowTitle(), QStringLiteral("Ostrovik:") + QDir::toNativeSeparators(path));
    QCOMPARE(w.currentFileName(), path);
    QCOMPARE(w.loads.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(w.loads[0].first), path);
    QVERIFY(w.loads[0].second);

    // The menu item opens the same way.
    dialogs_.answers.append(QStringLiteral("/x/b.sav"));
    w.item(ostrovik::ui::menu::OpenFile)->trigger();
    QCOMPARE(w.loads.size(), std::size_t{2});
    QCOMPARE(w.windowTitle(), QStringLiteral("Ostrovik:/x/b.sav"));
}

void CommandsTest::openCancelledForgetsTheName()
{
    Window w;
    w.setCurrentFileName("/games/abc.lvt");
    w.setWindowTitle(QStringLiteral("Ostrovik:/games/abc.lvt"));
    dialogs_.answers.append(QString());
    w.openFile();
    QVERIFY(w.currentFileName().isEmpty());
    QCOMPARE(w.windowTitle(), QStringLiteral("Ostrovik:/games/abc.lvt"));
    QVERIFY(w.loads.empty());
}

void CommandsTest::screenSizeCommands()
{
    Window w;
    QCOMPARE(w.clientSize(), QSize(535, 536));
    w.item(ostrovik::ui::menu::Screen256x256)->trigger();
    QCOMPARE(w.clientSize(), QSize(256, 256));

    w.setClientSize(600, 500);
    QCOMPARE(w.clientSize(), QSize(600, 500));
    w.menus().item(ostrovik::ui::menu::PopupScreen256x256)->trigger();
    QCOMPARE(w.clientSize(), QSize(256, 256));

    w.item(ostrovik::ui::menu::ScreenSize)->trigger();
    auto* form = qobject_cast<ostrovik::output::ScreenSizeForm*>(w.forms().screenSize.form());
    QVERIFY(form);
    QVERIFY(form->isVisible());
    // The left box, under "Ширина", gives the height.
    form->heightBox->setValue(300);
    form->widthBox->setValue(420);
    form->apply();
    QVERIFY(!form->isVisible());
    QCOMPARE(w.clientSize(), QSize(420, 300));
    w.openScreenSizeWindow();
    QCOMPARE(w.forms().screenSize.form(), form);
    QVERIFY(form->isVisible());
}

void CommandsTest::aboutBox()
{
    Window w;
    dialogs_.messages.clear();
    w.button("AboutButton")->click();
    w.item(ostrovik::ui::menu::About)->trigger();
    QCOMPARE(dialogs_.messages.size(), 2);
    QCOMPARE(dialogs_.messages[0], dialogs_.messages[1]);
    const QString text = dialogs_.messages[0];
    QVERIFY(text.contains(QStringLiteral("DU-01")));
    QVERIFY(text.contains(QStringLiteral("Спасибо")));
    QVERIFY(text.contains(QStringLiteral("http://")));
    const QStringList lines = text.split(QLatin1Char('\n'));
    QVERIFY(lines.last().startsWith(QStringLiteral("Альфа 0.98_5")));
    QVERIFY(lines.last().contains(QStringLiteral("2026")));
}

void CommandsTest::launchers()
{
    Window w;
    auto& f = w.forms();
    FakeForm keyboard(f.keyboard), workbench(f.assemblerWorkbench),
        converter(f.pictureConverter), net(f.networkLink), memory(f.memoryDebugger), setUp(f.settings),
        online(f.gameDownloader), font(f.fontEditor);

    // The keyboard alternates.
    w.button("KeyboardButton")->click();
    QVERIFY(f.keyboard.visible());
    w.item(ostrovik::ui::menu::KeyboardWindow)->trigger();
    QVERIFY(!f.keyboard.visible());
    w.toggleKeyboardWindow();
    QVERIFY(f.keyboard.visible());

    // The windows that are only shown stay shown.
    namespace menu = ostrovik::ui::menu;
    for (const ostrovik::ui::MenuItem which : {menu::LogWindow, menu::AssemblerWorkbench, menu::PictureConverter, menu::Options,
                                               menu::DownloadGames, menu::FontEditor}) {
        w.item(which)->trigger();
        w.item(which)->trigger();
    }
    w.button("AssemblerButton")->click();
    w.button("PictureConverterButton")->click();
    QVERIFY(w.logWindow() && w.logWindow()->isVisible());
    for (FormSlot* slot : {&f.assemblerWorkbench, &f.pictureConverter, &f.settings,
                           &f.gameDownloader, &f.fontEditor})
        QVERIFY(slot->visible());
    for (FakeForm* form : {&keyboard, &workbench, &converter, &setUp, &online, &font})
        QCOMPARE(form->made, 1);

    // The network window and the memory debugger alternate.
    w.item(ostrovik::ui::menu::Network)->trigger();
    QVERIFY(f.networkLink.visible());
    w.item(ostrovik::ui::menu::Network)->trigger();
    QVERIFY(!f.networkLink.visible());
    w.button("MemoryDebuggerButton")->click();
    QVERIFY(f.memoryDebugger.visible());
    w.item(ostrovik::ui::menu::MemoryDebugger)->trigger();
    QVERIFY(!f.memoryDebugger.visible());
    QCOMPARE(memory.made, 1);
    QCOMPARE(net.made, 1);

    // A window that was closed for good is made again on the next command.
    delete f.assemblerWorkbench.form();
    w.openAssemblerWorkbench();
    QCOMPARE(workbench.made, 2);
    QVERIFY(f.assemblerWorkbench.visible());
}

void CommandsTest::stepDebuggerPausesTheMachine()
{
    Window w;
    FakeForm step(w.forms().stepDebugger);
    w.button("StepDebuggerButton")->click();
    QVERIFY(w.forms().stepDebugger.visible());
    QCOMPARE(w.machine().paused, std::uint8_t{1});
    QVERIFY(!w.checked(ostrovik::ui::menu::Pause));
    w.item(ostrovik::ui::menu::StepDebugger)->trigger();
    QVERIFY(!w.forms().stepDebugger.visible());
    QCOMPARE(step.made, 1);
}

void CommandsTest::everyCommandRuns()
{
    // A program folder of its own, with the folders the saving commands write
    // into and the ROM image the reset reads.
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("FilesSAV")));
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("ScreenShots")));
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("ScreenAVI")));
    const QString rom = qEnvironmentVariable("OSTROVIK_BIN") + QStringLiteral("/bios.dat");
    const bool haveRom = QFile::copy(rom, folder.filePath(QStringLiteral("bios.dat")));

    Window w;
    w.machine().programDir = QFile::encodeName(folder.path()).toStdString();
    dialogs_.errors.clear();
    for (const QString& name : w.menus().names()) {
        QAction* a = w.menus().find(name);
        if (a->isSeparator() || a->menu() || name == QLatin1String("Exit") || name == QLatin1String("ExitButton"))
            continue;
        if (!haveRom && (name == QLatin1String("ResetCpu") || name == QLatin1String("ResetButton")))
            continue;
        a->trigger();
    }
    QVERIFY2(dialogs_.errors.isEmpty(), qPrintable(dialogs_.errors.join(QLatin1Char('\n'))));
    QCOMPARE(QDir(folder.filePath(QStringLiteral("FilesSAV"))).entryList(QDir::Files).size(), 2);
    QCOMPARE(QDir(folder.filePath(QStringLiteral("ScreenShots"))).entryList(QDir::Files).size(), 2);
    // The recording button started a recording, which is still running.
    QCOMPARE(QDir(folder.filePath(QStringLiteral("ScreenAVI"))).entryList(QDir::Files).size(), 1);
}

void CommandsTest::exitClosesTheWindow()
{
    for (const ostrovik::ui::MenuItem exit : {ostrovik::ui::menu::Exit, ostrovik::ui::menu::ExitButton}) {
        Window w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.item(exit)->trigger();
        QVERIFY(!w.isVisible());
    }
}

void CommandsTest::storedStartStatesShowInTheMarks()
{
    namespace s = ostrovik::settings;
    using ostrovik::kit::writeIni;
    for (const auto key : {s::kBlur, s::kGray, s::kLanguage, s::k256x256})
        QVERIFY(writeIni(s::kAutoStartUpOptions, key, QStringLiteral("1")));
    for (const auto key : {s::kFullScreen, s::kRunSound})
        QVERIFY(writeIni(s::kAutoStartUpOptions, key, QStringLiteral("0")));

    Window w;
    // Smoothing is known at creation, the rest at the first activation.
    QVERIFY(w.checked(ostrovik::ui::menu::Blur));
    QCOMPARE(w.screen().blurEnabled, std::uint8_t{1});
    auto* setUp = new ostrovik::ui::SettingsForm(w.settingsStore(), &w);
    w.setSettingsForm(setUp);
    w.show();
    QTRY_VERIFY_WITH_TIMEOUT(w.firstActivateDone(), ostrovik::test::kHangGuardMs);

    QVERIFY(w.grayTV());
    QCOMPARE(w.image(ostrovik::ui::menu::GrayTvButton), ostrovik::kit::Icon::GrayTv);
    QVERIFY(!w.fullScreen());
    QVERIFY(!w.screenView().stretch());
    QVERIFY(!w.checked(ostrovik::ui::menu::Sound));
    QCOMPARE(w.image(ostrovik::ui::menu::Sound), ostrovik::kit::Icon::SoundOff);
    QCOMPARE(w.image(ostrovik::ui::menu::SoundButton), ostrovik::kit::Icon::SoundOff);
    QCOMPARE(w.clientSize(), QSize(256, 256));
    QVERIFY(w.checked(ostrovik::ui::menu::Russian));
    QCOMPARE(w.menus().submenu(ostrovik::ui::menu::FileMenu)->title(), QStringLiteral("Файл"));

    // The settings window exists from the start and follows every switch.
    QCOMPARE(setUp->screen256Box->text(), QStringLiteral("Запускать с экраном 256 х 256"));
    w.switchToEnglish();
    QCOMPARE(setUp->screen256Box->text().toUtf8(), QByteArray("Run screen 256 \xD1\x85 256"));
    QCOMPARE(setUp->screenshotFormatGroup->title(), QStringLiteral("ScreenShot type"));
    w.openSettings();
    QVERIFY(setUp->isVisible());

    // The recent files go below the fixed items of the File menu.
    QMenu* file = w.fileMenu();
    QVERIFY(file);
    QCOMPARE(file->actions().last()->objectName(), QStringLiteral("SeparatorBeforeRecentFiles"));
    w.close();
}

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
