#pragma once

#include <memory>

#include <QMainWindow>
#include <QStringList>

#include "machine/Host.hpp"
#include "machine/Machine.hpp"
#include "output/GdiScreen.hpp"
#include "output/sound/Beeper.hpp"
#include "platform/WaveOut.hpp"
#include "settings/SettingsStore.hpp"
#include "session/EmulatorSession.hpp"
#include "kit/Captions.hpp"
#include "ui/JoystickCapture.hpp"
#include "ui/MainWindowHost.hpp"
#include "ui/RecentFilesMenu.hpp"
#include "ui/ScreenPresentation.hpp"
#include "ui/SettingsOwner.hpp"
#include "ui/StoredWindowSize.hpp"
#include "ui/CommandForms.hpp"

class QMenu;
class QToolBar;

namespace ostrovik::kit {
class InputHold;
}

namespace ostrovik::platform {
class PlatformTimer;
}
namespace ostrovik::files::avi {
class AviWriter;
}

namespace ostrovik::ui {

using kit::CaptionFollowers;
using kit::Language;
using kit::WindowHost;

class LogWindow;

class SettingsForm;
class MainMenu;

/// The main window: owns the emulator session, turns the desktop's events
/// into its calls, drives it from its timer and shows what it produces.
class MainWindow : public QMainWindow,
                     public machine::Host,
                     public SettingsOwner {
    Q_OBJECT
public:
    /// Design size of the client area (below the menu bar).
    static constexpr int kDesignClientWidth = 535;
    static constexpr int kDesignClientHeight = 536;
    /// Height of the tool bar at the top of the client area.
    static constexpr int kToolBarHeight = 25;

    /// @p args are the program's arguments without the program name.
    /// The window on the system's sound device.
    explicit MainWindow(const QStringList& args, QWidget* parent = nullptr);
    /// The window playing through @p waveOut (owned from now on), so that
    /// tests can run it without a sound device and its thread.
    MainWindow(const QStringList& args, std::unique_ptr<platform::WaveOut> waveOut, QWidget* parent = nullptr);
    /// The system's sound device, posting its notices to the GUI thread.
    static std::unique_ptr<platform::WaveOut> systemWaveOut();
    ~MainWindow() override;

    machine::Machine& machine() { return session_.machine(); }
    /// The running emulator the window drives.
    session::EmulatorSession& session() { return session_; }
    /// The options at run time, which the settings window edits.
    settings::SettingsStore& settingsStore() { return settingsStore_; }
    const settings::SettingsStore& settingsStore() const { return settingsStore_; }
    /// What the windows this one opens receive.
    WindowHost& windowHost() override { return windowHost_; }

    // Operations other windows call.
    void powerOn();
    void runFrame();
    void drawScreen() { presentation_->drawScreen(grayTV()); }
    /// Presents the picture in the stored render mode @p stored from now on
    /// (at creation, and when the settings window saves another mode).
    void applyRenderMode(int stored) override;
    /// The OpenGL presentation; null outside the OpenGL render mode.
    output::GlScreenView* glScreenView() const { return presentation_->glScreenView(); }
    void resetCpu();
    void toggleFullScreen();

    bool timerRunning() const;

    /// The paste command: the desktop clipboard typed into the machine.
    void pasteClipboard();
    /// Creates the log window when needed and shows it.
    void showLogWindow();
    LogWindow* logWindow() const { return logWindow_; }
    output::GdiScreen& screen() { return session_.screen(); }
    output::sound::Beeper& beeper() { return session_.beeper(); }
    output::ScreenView& screenView() { return presentation_->screenView(); }
    /// Gray TV: the check mark of GrayTv.
    bool grayTV() const;
    /// Stretched picture: the check mark of FullScreen.
    bool fullScreen() const;
    bool firstActivateDone() const { return !firstActivationPending_; }

    /// The settings window, which edits the settings store.
    void setSettingsForm(SettingsForm* form);
    SettingsForm* settingsForm() const { return settingsForm_; }
    void setTimerInterval(int milliseconds) override;
    int timerInterval() const;
    /// The File menu, which ends with the recent files.
    QMenu* fileMenu() const;
    RecentFilesMenu& recentFilesMenu() { return *recentFiles_; }
    /// A file name handed over by a later start of the program; whether the
    /// file went into the machine.
    bool openHandedOverFile(const QByteArray& name);
    // The commands of the menus and the tool bar.
    void openFile();
    void togglePause();
    void exitProgram();
    void toggleGrayTv();
    void toggleBlur();
    void openScreenSizeWindow() { forms_.screenSize.show(*this); }
    void setScreen256x256();
    void toggleSound();
    void toggleSoundView();
    void switchToRussian() { applyLanguage(Language::Russian); }
    void switchToEnglish() { applyLanguage(Language::English); }
    void openSettings();
    void toggleKeyboardWindow() { forms_.keyboard.toggle(*this); }
    void openPictureConverter() { forms_.pictureConverter.show(*this); }
    void openFontEditor() { forms_.fontEditor.show(*this); }
    void openAssemblerWorkbench() { forms_.assemblerWorkbench.show(*this); }
    void toggleNetworkWindow() { forms_.networkLink.toggle(*this); }
    void toggleMemoryDebugger();
    void toggleStepDebugger();
    void openGameDownloader() { forms_.gameDownloader.show(*this); }
    void openGameLibrary();
    void showAbout();
    void toggleAviRecording();
    void toggleJoystickCapture() { joystickCapture_->toggle(); }

    /// The menu bar, the context menu and the tool bar's buttons, by component name.
    MainMenu& menus() { return *menus_; }
    const MainMenu& menus() const { return *menus_; }
    /// The windows the commands open.
    CommandForms& forms() { return forms_; }
    /// The language state: the check mark of Russian.
    bool russianCaptions() const;
    CaptionFollowers& captionFollowers() { return captionFollowers_; }

    /// The client area is the window below the menu bar, tool bar included.
    void setClientSize(int width, int height);
    QSize clientSize() const;

    void saveSnapshot();
    void takeScreenshot();
    /// The screenshot format: the settings window's choice (0 bmp, 1 jpg, 2 png).
    int screenShotFormat() const;

    /// Runs @p f as an event handler: an error it throws is shown in the
    /// application's error box instead of escaping into the event loop.
    template <typename F>
    bool guarded(F&& f);

    files::avi::AviWriter& aviWriter() override { return session_.recorder(); }
    // SettingsOwner
    QWidget* ownerWidget() override { return this; }
    /// The session's recording is running (and aviTimer_ with it).
    bool recording() const;
    void recordAviFrame();
    /// Ends a running recording and completes its file.
    void stopAviRecording();

    /// The joystick tool button's capture.
    JoystickCapture& joystickCapture() { return *joystickCapture_; }

    /// Types a PC key as the on-screen keyboard does: a key press and its
    /// release, posted to this window and handled as the desktop's own.
    void postKeystroke(std::uint16_t virtualKey);

    // machine::Host
    void showMessage(std::string_view text) override;
    void setCaption(std::string_view text) override;
    std::string caption() const override;
    std::optional<std::string> chooseTapeFile() override;
    void loadFile(const std::string& path, bool autoStart) override;
    /// While the machine waits inside its run, every window open now takes
    /// no input, as under a modal dialog; the hand-over waits on
    /// machineWaitChanged.
    void machineWaitBegins() override;
    void machineWaitEnds() override;
    /// Whether the machine waits inside a run for its user now.
    bool machineWaiting() const { return machineWaitDepth_ > 0; }
    /// Loads as loadFile does; false when the file was refused or not
    /// recognised.
    virtual bool tryLoadFile(const std::string& path, bool autoStart);
    void presentNow() override;
    void presentFrame() override;
    bool logShown() const override;
    void appendLogLine(std::string_view line) override;
    void clearLog() override;
    bool quickRun() const override;
    void setCurrentFileName(const std::string& path) override;
    /// Option @p which in the settings store, as it stands now.
    std::string option(machine::Option which) const override;
    /// The file name snapshots are named after.
    const QString& currentFileName() const { return currentFileName_; }

signals:
    /// The first activation has powered the machine on.
    void firstActivated();
    /// The machine began (true) or ended (false) waiting inside a run for
    /// its user; nothing may load, reset or run it meanwhile.
    void machineWaitChanged(bool waiting);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    /// Whether a menu of the window (or the menu bar's keyboard navigation) is open.
    bool menuOpen() const;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void customEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void setUpWindow(const QStringList& args);
    /// Each activation once the window is on the screen; the first powers
    /// the machine on.
    void activateFirstTime();
    void tearDown();
    /// The store from config.ini, the complete file written first when there is none.
    void loadSettings();
    /// The primary screen's size, which the session's recorder is made for.
    static session::DesktopSize desktopSize();
    void createAviTimer();
    void showError(const QString& text);
    void buildCommands();
    void applyLanguage(Language language);
    int menuBarHeight(int width) const;

    /// The options, which the settings window edits.
    settings::SettingsStore settingsStore_;
    // The device before the session, whose beeper plays through it.
    std::unique_ptr<platform::WaveOut> waveOut_;
    session::EmulatorSession session_;
    /// The session's machine, which the window's handlers reach often.
    machine::Machine& machine_ = session_.machine();
    platform::PlatformTimer* frameTimer_ = nullptr;
    platform::PlatformTimer* aviTimer_ = nullptr;
    LogWindow* logWindow_ = nullptr;
    std::unique_ptr<JoystickCapture> joystickCapture_;
    QToolBar* toolBar_ = nullptr;
    std::unique_ptr<ScreenPresentation> presentation_;
    bool firstActivationPending_ = false;
    /// The window has been closed: the machine asks for no more files.
    bool closing_ = false;
    /// How deep the machine's waits for its user are nested, and the hold
    /// on the other windows' input while it waits.
    int machineWaitDepth_ = 0;
    std::unique_ptr<kit::InputHold> inputHold_;
    std::unique_ptr<MainMenu> menus_;
    CommandForms forms_;
    CaptionFollowers captionFollowers_;
    MainWindowHost windowHost_{*this, session_};
    QString currentFileName_;
    SettingsForm* settingsForm_ = nullptr;
    std::unique_ptr<RecentFilesMenu> recentFiles_;
    StoredWindowSize storedSize_{*this};
};

template <typename F>
bool MainWindow::guarded(F&& f)
{
    try {
        f();
        return true;
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
    } catch (...) {
        showError(QStringLiteral("Unknown error"));
    }
    return false;
}

} // namespace ostrovik::ui
