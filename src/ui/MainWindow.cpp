#include "kit/InputHold.hpp"
#include "ui/MainWindow.hpp"
#include "ui/ProgramDialogs.hpp"
#include "platform/qt/FileNames.hpp"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>

#include "debugger/qt/MemoryDebuggerForm.hpp"
#include "files/LoadFile.hpp"
#include "machine/Keyboard.hpp"
#include "output/qt/ScreenView.hpp"
#include "output/sound/qt/GuiPost.hpp"
#include "platform/qt/KeyMap.hpp"
#include "platform/qt/PlatformTimer.hpp"
#include "platform/sdl/SdlWaveOut.hpp"
#include "platform/VirtualKeys.hpp"
#include "ui/DebuggerLink.hpp"
#include "ui/DesktopServices.hpp"
#include "ui/ExposedActivation.hpp"
#include "kit/Dialogs.hpp"
#include "kit/Settings.hpp"
#include "ui/MainMenu.hpp"
#include "kit/Text.hpp"

namespace ostrovik::ui {

using kit::configFilePath;
using kit::dialogs;
using kit::fromUtf8;

std::unique_ptr<platform::WaveOut> MainWindow::systemWaveOut()
{
    return std::make_unique<platform::SdlWaveOut>(output::sound::postToGuiThread());
}

MainWindow::MainWindow(const QStringList& args, QWidget* parent) : MainWindow(args, systemWaveOut(), parent) {}

MainWindow::MainWindow(const QStringList& args, std::unique_ptr<platform::WaveOut> waveOut, QWidget* parent)
    : QMainWindow(parent), settingsStore_([] { return configFilePath(); }), waveOut_(std::move(waveOut)),
      session_(*this, *waveOut_, desktopSize())
{
    setObjectName(QStringLiteral("MainFormEmu"));
    setWindowTitle(QStringLiteral("Ostrovik"));
    installProgramDialogs();

    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("toolBar"));
    toolBar_->setMovable(false);
    toolBar_->setFixedHeight(kToolBarHeight);
    addToolBar(Qt::TopToolBarArea, toolBar_);

    presentation_ = std::make_unique<ScreenPresentation>(session_, *this, kToolBarHeight);
    setCentralWidget(&presentation_->screenView());
    buildCommands();

    frameTimer_ = new platform::PlatformTimer(this);
    frameTimer_->setObjectName(QStringLiteral("frameTimer_"));
    frameTimer_->setInterval(1);
    connect(frameTimer_, &platform::PlatformTimer::timeout, this,
            [this] { guarded([this] { runFrame(); }); });

    createAviTimer();

    joystickCapture_ = std::make_unique<JoystickCapture>(session_, settingsStore_, *menus_, *this);
    setFocusPolicy(Qt::StrongFocus);
    new ExposedActivation(*this, [this] { activateFirstTime(); });

    machine_.programDir = platform::executableFolder();
    setUpWindow(args);
}

MainWindow::~MainWindow()
{
    tearDown();
}

bool MainWindow::menuOpen() const
{
    const QMenuBar* bar = menuBar();
    return QApplication::activePopupWidget() != nullptr || (bar && bar->activeAction() != nullptr);
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    // Keys typed into an open menu choose its items; the machine must not
    // see them. Releases still go through, so no key stays held.
    if (menuOpen()) {
        event->accept();
        return;
    }
    const platform::KeyStroke key = platform::virtualKeyOf(*event);
    std::uint32_t keyFlags = 0;
    if (key.vk == platform::VK_CONTROL)
        keyFlags = key.side == platform::KeySide::Right ? machine::kRightCtrlKeyFlags : machine::kLeftCtrlKeyFlags;
    guarded([&] { session_.keyDown(key.vk, keyFlags, desktopKeyboardLayout()); });
    event->accept();
}

void MainWindow::keyReleaseEvent(QKeyEvent* event)
{
    // The desktop repeats a held key as release/press pairs; the machine
    // sees only the repeated presses, as it would from a PC keyboard.
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    const platform::KeyStroke key = platform::virtualKeyOf(*event);
    guarded([&] { session_.keyUp(key.vk); });
    event->accept();
}

void MainWindow::postKeystroke(std::uint16_t virtualKey)
{
    QCoreApplication::postEvent(this, new platform::SynthesisedKeyEvent(virtualKey, true));
    QCoreApplication::postEvent(this, new platform::SynthesisedKeyEvent(virtualKey, false));
}

void MainWindow::customEvent(QEvent* event)
{
    if (event->type() != platform::SynthesisedKeyEvent::type()) {
        QMainWindow::customEvent(event);
        return;
    }
    const auto* key = static_cast<platform::SynthesisedKeyEvent*>(event);
    // No Ctrl key is ever made, so the message part has nothing to do.
    if (key->down)
        guarded([&] { session_.keyDown(key->vk, 0, desktopKeyboardLayout()); });
    else
        guarded([&] { session_.keyUp(key->vk); });
}

bool MainWindow::focusNextPrevChild(bool)
{
    // Tab belongs to the machine's keyboard, not to focus navigation.
    return false;
}

void MainWindow::powerOn()
{
    session_.powerOn();
    frameTimer_->setEnabled(true);
}

void MainWindow::runFrame()
{
    if (!session_.runFrame())
        return;
    if (debugger::MemoryDebuggerForm* debugger = debuggerForm(*this); debugger && debugger->isVisible())
        debugger->refresh();
}

void MainWindow::presentFrame()
{
    presentation_->presentFrame(grayTV());
}

void MainWindow::applyRenderMode(int stored)
{
    presentation_->applyRenderMode(stored, grayTV());
}

void MainWindow::resetCpu()
{
    guarded([this] { session_.reset(); });
}

void MainWindow::toggleFullScreen()
{
    menus_->setChecked(menu::FullScreen, !fullScreen());
    screenView().setStretch(fullScreen());
}

bool MainWindow::timerRunning() const
{
    return frameTimer_->isEnabled();
}

void MainWindow::showError(const QString& text)
{
    dialogs().error(this, text);
}

void MainWindow::showMessage(std::string_view text)
{
    dialogs().message(this, QStringLiteral("Ostrovik"), fromUtf8(text));
}

void MainWindow::setCaption(std::string_view text)
{
    setWindowTitle(fromUtf8(text));
}

std::string MainWindow::caption() const
{
    return windowTitle().toStdString();
}

void MainWindow::loadFile(const std::string& path, bool autoStart)
{
    tryLoadFile(path, autoStart);
}

bool MainWindow::tryLoadFile(const std::string& path, bool autoStart)
{
    return files::newLoadFile(machine_, path, autoStart);
}

void MainWindow::presentNow()
{
    // Also while paused, when no tick will draw it.
    presentation_->presentFrame(grayTV());
}

void MainWindow::setCurrentFileName(const std::string& path)
{
    currentFileName_ = platform::fileNameText(path);
}

} // namespace ostrovik::ui
