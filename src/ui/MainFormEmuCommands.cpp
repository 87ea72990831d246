// The main window's commands: what its menu items and tool buttons do.

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QMenuBar>
#include <QToolBar>

#include "debugger/qt/MemoryDebuggerForm.hpp"
#include "netlink/qt/NetworkLinkForm.hpp"
#include "output/qt/ScreenView.hpp"
#include "platform/qt/FileNames.hpp"
#include "output/qt/ScreenSizeForm.hpp"
#include "output/sound/qt/TSoundDrawForm.hpp"
#include "tools/qt/AssemblerWorkbench.hpp"
#include "tools/qt/PictureConverterForm.hpp"
#include "tools/qt/FontEditorForm.hpp"
#include "ui/DebuggerLink.hpp"
#include "ui/kit/Dialogs.hpp"
#include "ui/KeyboardForm.hpp"
#include "ui/MainFormEmu.hpp"
#include "ui/MainMenu.hpp"
#include "ui/SetUpForm.hpp"

namespace ostrovik::ui {

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

void TMainFormEmu::buildCommands()
{
    menus_ = std::make_unique<TMainMenu>(*this, *toolBar_);
    menus_->setChecked(menu::Blur, screen_->BlurEnabled != 0);
    screenView_->setStretch(fullScreen());
    forms_.screenSize.setFactory([](TMainFormEmu& main) -> QWidget* {
        return new output::ScreenSizeForm(
            [&main](int width, int height) { main.setClientSize(width, height); }, &main);
    });
    forms_.soundView.setFactory([](TMainFormEmu& main) -> QWidget* {
        auto* form = new output::sound::TSoundDrawForm(&main);
        main.beeper().setSoundView(form);
        return form;
    });
    forms_.pictureConverter.setFactory(
        [](TMainFormEmu& main) -> QWidget* { return new tools::PictureConverterForm(main.windowHost()); });
    forms_.fontEditor.setFactory(
        [](TMainFormEmu& main) -> QWidget* { return new tools::FontEditorForm(main.windowHost()); });
    forms_.assemblerWorkbench.setFactory(
        [](TMainFormEmu& main) -> QWidget* { return new tools::AssemblerWorkbench(main.windowHost()); });
    installGameForms();
    installDebuggers(*this);
    forms_.keyboard.setFactory([](TMainFormEmu& main) -> QWidget* { return new TKeyboardForm(main.windowHost(), [&main](std::uint16_t key) { main.postKeystroke(key); }); });
    forms_.networkLink.setFactory(
        [](TMainFormEmu& main) -> QWidget* { return new netlink::NetworkLinkForm(main.windowHost()); });
    // Each tick asks the sound command whether to play.
    beeper_->setSoundSwitch([this] { return menus_->checked(menu::Sound); });
    setClientSize(kDesignClientWidth, kDesignClientHeight);
}

bool TMainFormEmu::grayTV() const
{
    return menus_->checked(menu::GrayTv);
}

bool TMainFormEmu::fullScreen() const
{
    return menus_->checked(menu::FullScreen);
}

bool TMainFormEmu::russianCaptions() const
{
    return menus_->checked(menu::Russian);
}

int TMainFormEmu::menuBarHeight(int width) const
{
    const QWidget* bar = menuWidget();
    if (!bar || bar->isHidden())
        return 0;
    if (isVisible())
        return bar->height();
    const int h = bar->heightForWidth(width);
    return h >= 0 ? h : bar->sizeHint().height();
}

void TMainFormEmu::setClientSize(int width, int height)
{
    resize(width, height + menuBarHeight(width));
}

QSize TMainFormEmu::clientSize() const
{
    return {width(), height() - menuBarHeight(width())};
}

// ---- file ----------------------------------------------------------------

void TMainFormEmu::openFile()
{
    // A cancelled dialog leaves the name empty, and snapshots are then
    // named from nothing.
    setOpenDialogFileName({});
    const QString folder = platform::FileNameText(machine_.ProgramDir);
    const std::optional<QString> path =
        dialogs().openFile(this, openDialogTitle(), folder, openDialogFilter(), openDialogDefaultSuffix());
    if (!path)
        return;
    const std::string name = platform::FileNamePath(*path);
    setOpenDialogFileName(name);
    setWindowTitle(QStringLiteral("Ostrovik:") + QDir::toNativeSeparators(*path));
    // The caption stays, and the file joins the recent ones, even when it is
    // refused: the load explains why.
    loadFile(name, true);
    addRecentFile(*path);
}

void TMainFormEmu::togglePause()
{
    const bool paused = !menus_->checked(menu::Pause);
    menus_->setChecked(menu::Pause, paused);
    const Icon image = paused ? Icon::Paused : Icon::Pause;
    menus_->setImage(menu::Pause, image);
    menus_->setImage(menu::PauseButton, image);
    machine_.Paused = paused ? 1 : 0;
}

void TMainFormEmu::exitProgram()
{
    if (recording())
        stopAviRecording();
    close();
}

// ---- picture -------------------------------------------------------------

void TMainFormEmu::toggleGrayTv()
{
    const bool gray = !grayTV();
    menus_->setChecked(menu::GrayTv, gray);
    menus_->setImage(menu::GrayTvButton, gray ? Icon::GrayTv : Icon::ColourTv);
    // Every pixel changes colour, so nothing drawn before may be kept.
    machine_.invalidateScreen();
    if (machine_.RenderMode == 0)
        drawScreen();
    else if (machine_.RenderMode == 1)
        drawScreenGl();
}

void TMainFormEmu::toggleBlur()
{
    screen_->BlurEnabled = screen_->BlurEnabled ? 0 : 1;
    menus_->setChecked(menu::Blur, screen_->BlurEnabled != 0);
    // The picture shows the change at once, not only when the machine next
    // writes to video memory.
    if (machine_.RenderMode == 0) {
        drawScreen();
        screenView_->update();
    } else if (machine_.RenderMode == 1) {
        drawScreenGl();
    }
}

void TMainFormEmu::openScreenSizeWindow()
{
    forms_.screenSize.show(*this);
}

void TMainFormEmu::setScreen256x256()
{
    setClientSize(256, 256);
    repaint();
}

// ---- sound ---------------------------------------------------------------

void TMainFormEmu::toggleSound()
{
    const bool on = !menus_->checked(menu::Sound);
    menus_->setChecked(menu::Sound, on);
    const Icon image = on ? Icon::SoundOn : Icon::SoundOff;
    menus_->setImage(menu::Sound, image);
    menus_->setImage(menu::SoundButton, image);
    if (on) {
        // The device opens again with the next buffer.
        beeper_->InitAudio();
    } else {
        beeper_->CloseAudio();
        forms_.soundView.hide();
    }
}

void TMainFormEmu::toggleSoundView()
{
    // There is nothing to show while sound is off.
    if (menus_->checked(menu::Sound))
        forms_.soundView.toggle(*this);
}

// ---- windows -------------------------------------------------------------

void TMainFormEmu::setSetUpForm(TSetUpForm* form)
{
    setUpForm_ = form;
    forms_.settings.setFactory([form](TMainFormEmu&) -> QWidget* { return form; });
    if (!form)
        return;
    // It exists from the start, so every language switch reaches it.
    captionFollowers_.follow(*form, CaptionWindow::Settings);
    connect(this, &TMainFormEmu::joystickCaptureChanged, form->joystickGroup, &QWidget::setEnabled);
}

void TMainFormEmu::openSettings()
{
    // The settings window exists from the start; opening it reloads the file.
    if (setUpForm_)
        setUpForm_->showFromMenu();
    else
        forms_.settings.show(*this);
}

void TMainFormEmu::openFontEditor()
{
    forms_.fontEditor.show(*this);
}

void TMainFormEmu::openAssemblerWorkbench()
{
    forms_.assemblerWorkbench.show(*this);
}

void TMainFormEmu::openPictureConverter()
{
    forms_.pictureConverter.show(*this);
}

void TMainFormEmu::openGameDownloader()
{
    forms_.gameDownloader.show(*this);
}

void TMainFormEmu::toggleKeyboardWindow()
{
    forms_.keyboard.toggle(*this);
}

void TMainFormEmu::toggleNetworkWindow()
{
    forms_.networkLink.toggle(*this);
}

void TMainFormEmu::toggleStepDebugger()
{
    // The machine stands still while the step debugger is about; hiding the
    // debugger lets it run on.
    machine_.Paused = 1;
    forms_.stepDebugger.toggle(*this);
}

void TMainFormEmu::toggleMemoryDebugger()
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

// ---- about ---------------------------------------------------------------

void TMainFormEmu::showAbout()
{
    dialogs().message(this, QStringLiteral("Ostrovik"), QString::fromUtf8(kAboutText));
}

} // namespace ostrovik::ui
