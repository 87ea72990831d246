// The main window's commands: what its menu items and tool buttons do,
// the caption language among them.

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QMenuBar>
#include <QToolBar>

#include <filesystem>

#include "debugger/qt/MemoryDebuggerForm.hpp"
#include "games/CatalogueSite.hpp"
#include "games/GameLibrary.hpp"
#include "output/qt/ScreenView.hpp"
#include "platform/qt/FileNames.hpp"
#include "ui/DebuggerLink.hpp"
#include "kit/Dialogs.hpp"
#include "kit/Text.hpp"
#include "ui/MainWindow.hpp"
#include "ui/MainMenu.hpp"
#include "ui/SettingsForm.hpp"
#include "ui/TapeOpenDialog.hpp"

namespace ostrovik::ui {

using kit::CaptionWindow;
using kit::applyCaptionSet;
using kit::dialogs;
using kit::fromUtf8;

namespace {

const char* const kAboutText =
    "Привет всем владельцам DU-01 Rizi!\n"
    "\n"
    "Спасибо всем, кто помогал эмулятору появиться на свет: советами, программами, "
    "описаниями машины и проверкой.\n"
    "\n"
    "Сайт проекта: http://localhost/\n"
    "\n"
    "Альфа 0.98_5 — разработчики Ostrovik, 2026";

} // namespace

void MainWindow::buildCommands()
{
    menus_ = std::make_unique<MainMenu>(*this, *toolBar_);
    recentFiles_ = std::make_unique<RecentFilesMenu>(fileMenu(), *this, [this](const QString& path) {
        return guarded([&] { loadFile(platform::fileNamePath(path), true); });
    });
    menus_->setChecked(menu::Blur, session_.screen().blurEnabled != 0);
    screenView().setStretch(fullScreen());
    installCommandForms(*this);
    setClientSize(kDesignClientWidth, kDesignClientHeight);
}

bool MainWindow::grayTV() const
{
    return menus_->checked(menu::GrayTv);
}

bool MainWindow::fullScreen() const
{
    return menus_->checked(menu::FullScreen);
}

bool MainWindow::russianCaptions() const
{
    return menus_->checked(menu::Russian);
}

int MainWindow::menuBarHeight(int width) const
{
    const QWidget* bar = menuWidget();
    if (!bar || bar->isHidden())
        return 0;
    if (isVisible())
        return bar->height();
    const int h = bar->heightForWidth(width);
    return h >= 0 ? h : bar->sizeHint().height();
}

void MainWindow::setClientSize(int width, int height)
{
    resize(width, height + menuBarHeight(width));
}

QSize MainWindow::clientSize() const
{
    return {width(), height() - menuBarHeight(width())};
}

// ---- file ----------------------------------------------------------------

void MainWindow::openFile()
{
    // A cancelled dialog leaves the name empty, and snapshots are then
    // named from nothing.
    setCurrentFileName({});
    const QString folder = platform::fileNameText(machine_.programDir);
    const std::optional<QString> path =
        dialogs().openFile(this, TapeOpenDialog::title(), folder, TapeOpenDialog::filter(),
                           TapeOpenDialog::defaultSuffix());
    if (!path)
        return;
    const std::string name = platform::fileNamePath(*path);
    setCurrentFileName(name);
    setWindowTitle(QStringLiteral("Ostrovik:") + QDir::toNativeSeparators(*path));
    // The caption stays, and the file joins the recent ones, even when it is
    // refused: the load explains why.
    loadFile(name, true);
    recentFiles_->add(*path);
}

void MainWindow::togglePause()
{
    const bool paused = !menus_->checked(menu::Pause);
    menus_->showPaused(paused);
    session_.setPaused(paused);
}

void MainWindow::exitProgram()
{
    if (recording())
        stopAviRecording();
    close();
}

// ---- picture -------------------------------------------------------------

void MainWindow::toggleGrayTv()
{
    menus_->showGrayTv(!grayTV());
    // Every pixel changes colour, so nothing drawn before may be kept.
    machine_.invalidateScreen();
    presentFrame();
}

void MainWindow::toggleBlur()
{
    session_.screen().blurEnabled = session_.screen().blurEnabled ? 0 : 1;
    menus_->setChecked(menu::Blur, session_.screen().blurEnabled != 0);
    presentation_->redrawBlur(grayTV());
}

void MainWindow::setScreen256x256()
{
    setClientSize(256, 256);
    repaint();
}

// ---- sound ---------------------------------------------------------------

void MainWindow::toggleSound()
{
    const bool on = !menus_->checked(menu::Sound);
    menus_->showSoundOn(on);
    session_.setSoundOn(on);
    if (!on)
        forms_.soundView.hide();
}

void MainWindow::toggleSoundView()
{
    // There is nothing to show while sound is off.
    if (menus_->checked(menu::Sound))
        forms_.soundView.toggle(*this);
}

// ---- windows -------------------------------------------------------------

void MainWindow::setSettingsForm(SettingsForm* form)
{
    settingsForm_ = form;
    forms_.settings.setFactory([form](MainWindow&) -> QWidget* { return form; });
    if (!form)
        return;
    // It exists from the start, so every language switch reaches it.
    captionFollowers_.follow(*form, CaptionWindow::Settings);
    connect(joystickCapture_.get(), &JoystickCapture::captureChanged, form->joystickGroup, &QWidget::setEnabled);
}

void MainWindow::openSettings()
{
    // The settings window exists from the start; opening it reloads the file.
    if (settingsForm_)
        settingsForm_->showFromMenu();
    else
        forms_.settings.show(*this);
}

void MainWindow::toggleStepDebugger()
{
    // The machine stands still while the step debugger is about; hiding the
    // debugger lets it run on.
    session_.setPaused(true);
    forms_.stepDebugger.toggle(*this);
}

void MainWindow::toggleMemoryDebugger()
{
    if (forms_.memoryDebugger.visible()) {
        forms_.memoryDebugger.hide();
        return;
    }
    forms_.memoryDebugger.ensure(*this);
    if (debugger::MemoryDebuggerForm* form = debuggerForm(*this))
        guarded([form] { form->fillFromMachine(); });
    forms_.memoryDebugger.show(*this);
}

void MainWindow::openGameLibrary()
{
    const std::string root = games::libraryRoot(machine_.programDir);
    std::error_code ec;
    if (!std::filesystem::is_directory(root, ec)) {
        dialogs().message(this, QStringLiteral("Ostrovik"),
                          fromUtf8(games::rootMissingMessage(root, games::kCatalogueGamesAddress)));
        std::filesystem::create_directories(root, ec);
        return;
    }
    if (games::countGames(root) == 0) {
        dialogs().message(this, QStringLiteral("Ostrovik"),
                          fromUtf8(games::noGamesMessage(root, games::kCatalogueGamesAddress)));
        return;
    }
    forms_.gameLibrary.show(*this);
}

// ---- language ----------------------------------------------------------

void MainWindow::applyLanguage(Language language)
{
    menus_->setChecked(menu::Russian, language == Language::Russian);
    menus_->setChecked(menu::English, language == Language::English);
    // The window caption comes first in the main set; it drops any file name.
    applyCaptionSet(*this, CaptionWindow::MainWindow, language);
    captionFollowers_.apply(language);
}

// ---- about ---------------------------------------------------------------

void MainWindow::showAbout()
{
    dialogs().message(this, QStringLiteral("Ostrovik"), QString::fromUtf8(kAboutText));
}

} // namespace ostrovik::ui
