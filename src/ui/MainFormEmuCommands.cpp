// The main window's commands: what its menu items and tool buttons do.

#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QToolBar>

#include "debugger/qt/TDebuggerForm.hpp"
#include "netlink/qt/TNetConnectionForm.hpp"
#include "output/qt/ScreenView.hpp"
#include "platform/qt/FileNames.hpp"
#include "output/qt/SetupScreenSizeForm.hpp"
#include "output/sound/qt/TSoundDrawForm.hpp"
#include "tools/qt/TAssemblerForm.hpp"
#include "tools/qt/TPictureToLVTForm.hpp"
#include "tools/qt/TZnakogeneratorForm.hpp"
#include "ui/DebuggerLink.hpp"
#include "ui/kit/Dialogs.hpp"
#include "ui/KeyboardForm.hpp"
#include "ui/MainFormEmu.hpp"
#include "ui/MainMenu.hpp"
#include "ui/SetUpForm.hpp"

namespace ostrovik::ui {

namespace {


constexpr int kImagePause = 7;
constexpr int kImagePaused = 8;
constexpr int kImageColourTV = 12;
constexpr int kImageGrayTV = 13;
constexpr int kImageSoundOn = 21;
constexpr int kImageSoundOff = 22;

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
    menus_ = std::make_unique<TMainMenu>(*this, *ToolBar1);
    menus_->setChecked(menu::N9, screen_->BlurEnabled != 0);
    screenView_->setStretch(fullScreen());
    forms_.SetupScreenSizeForm.setFactory([](TMainFormEmu& main) -> QWidget* {
        return new output::TSetupScreenSizeForm(
            [&main](int width, int height) { main.setClientSize(width, height); }, &main);
    });
    forms_.SoundDrawForm.setFactory([](TMainFormEmu& main) -> QWidget* {
        auto* form = new output::sound::TSoundDrawForm(&main);
        main.beeper().setSoundView(form);
        return form;
    });
    forms_.PictureToLVTForm.setFactory(
        [](TMainFormEmu& main) -> QWidget* { return new tools::TPictureToLVTForm(main.windowHost()); });
    forms_.ZnakogeneratorForm.setFactory(
        [](TMainFormEmu& main) -> QWidget* { return new tools::TZnakogeneratorForm(main.windowHost()); });
    forms_.AssemblerForm.setFactory(
        [](TMainFormEmu& main) -> QWidget* { return new tools::TAssemblerForm(main.windowHost()); });
    installGameForms();
    installDebuggers(*this);
    forms_.KeyboardForm.setFactory([](TMainFormEmu& main) -> QWidget* { return new TKeyboardForm(main.windowHost(), [&main](std::uint16_t key) { main.postKeystroke(key); }); });
    forms_.NetConnectionForm.setFactory(
        [](TMainFormEmu& main) -> QWidget* { return new netlink::TNetConnectionForm(main.windowHost()); });
    // Each tick asks the sound command whether to play.
    beeper_->setSoundSwitch([this] { return menus_->checked(menu::N13); });
    setClientSize(kDesignClientWidth, kDesignClientHeight);
}

bool TMainFormEmu::grayTV() const
{
    return menus_->checked(menu::N7);
}

bool TMainFormEmu::fullScreen() const
{
    return menus_->checked(menu::FullScreen1);
}

bool TMainFormEmu::russianCaptions() const
{
    return menus_->checked(menu::Russian1);
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

void TMainFormEmu::N2Click()
{
    // A cancelled dialog leaves the name empty, and snapshots are then
    // named from nothing.
    setOpenDialogFileName({});
    const QString folder = platform::FileNameText(machine_.ProgramDir);
    const std::optional<QString> path =
        dialogs().openFile(this, OpenDialogTitle(), folder, OpenDialogFilter());
    if (!path)
        return;
    const std::string name = platform::FileNamePath(*path);
    setOpenDialogFileName(name);
    setWindowTitle(QStringLiteral("Ostrovik:") + QDir::toNativeSeparators(*path));
    // The caption stays, and the file joins the recent ones, even when it is
    // refused: the load explains why.
    loadFile(name, true);
    AddFileInMRU(*path);
}

void TMainFormEmu::N11Click()
{
    const bool paused = !menus_->checked(menu::N11);
    menus_->setChecked(menu::N11, paused);
    const int image = paused ? kImagePaused : kImagePause;
    menus_->setImage(menu::N11, image);
    menus_->setImage(menu::ToolButton3, image);
    machine_.Paused = paused ? 1 : 0;
}

void TMainFormEmu::N4Click()
{
    if (recording())
        stopAviRecording();
    close();
}

// ---- picture -------------------------------------------------------------

void TMainFormEmu::N7Click()
{
    const bool gray = !grayTV();
    menus_->setChecked(menu::N7, gray);
    menus_->setImage(menu::ToolButton7, gray ? kImageGrayTV : kImageColourTV);
    // Every pixel changes colour, so nothing drawn before may be kept.
    machine_.invalidateScreen();
    if (machine_.RenderMode == 0)
        draw_screen();
    else if (machine_.RenderMode == 1)
        draw_screen_gl();
}

void TMainFormEmu::N9Click()
{
    screen_->BlurEnabled = screen_->BlurEnabled ? 0 : 1;
    menus_->setChecked(menu::N9, screen_->BlurEnabled != 0);
    // The picture shows the change at once, not only when the machine next
    // writes to video memory.
    if (machine_.RenderMode == 0) {
        draw_screen();
        screenView_->update();
    } else if (machine_.RenderMode == 1) {
        draw_screen_gl();
    }
}

void TMainFormEmu::ToolButton19Click()
{
    N9Click();
}

void TMainFormEmu::N33Click()
{
    forms_.SetupScreenSizeForm.show(*this);
}

void TMainFormEmu::N256x2561Click()
{
    setClientSize(256, 256);
    repaint();
}

void TMainFormEmu::N256x2562Click()
{
    N256x2561Click();
}

// ---- sound ---------------------------------------------------------------

void TMainFormEmu::N13Click()
{
    const bool on = !menus_->checked(menu::N13);
    menus_->setChecked(menu::N13, on);
    const int image = on ? kImageSoundOn : kImageSoundOff;
    menus_->setImage(menu::N13, image);
    menus_->setImage(menu::ToolButton18, image);
    if (on) {
        // The device opens again with the next buffer.
        beeper_->InitAudio();
    } else {
        beeper_->CloseAudio();
        forms_.SoundDrawForm.hide();
    }
}

void TMainFormEmu::N28Click()
{
    // There is nothing to show while sound is off.
    if (menus_->checked(menu::N13))
        forms_.SoundDrawForm.toggle(*this);
}

void TMainFormEmu::ToolButton21Click()
{
    N28Click();
}

// ---- windows -------------------------------------------------------------

void TMainFormEmu::N26Click()
{
    // The settings window exists from the start; opening it reloads the file.
    if (SetUpForm)
        SetUpForm->ShowFromMenu();
    else
        forms_.SetUpForm.show(*this);
}

void TMainFormEmu::LogTextOut1Click()
{
    showLogWindow();
}

void TMainFormEmu::Znakogenerator1Click()
{
    forms_.ZnakogeneratorForm.show(*this);
}

void TMainFormEmu::Assemblereditor1Click()
{
    forms_.AssemblerForm.show(*this);
}

void TMainFormEmu::ToolButton25Click()
{
    Assemblereditor1Click();
}

void TMainFormEmu::PictureToLVT1Click()
{
    forms_.PictureToLVTForm.show(*this);
}

void TMainFormEmu::ToolButton22Click()
{
    PictureToLVT1Click();
}

void TMainFormEmu::Onlinegamesitegames1Click()
{
    forms_.OnlineGamesForm.show(*this);
}

void TMainFormEmu::N10Click()
{
    forms_.KeyboardForm.toggle(*this);
}

void TMainFormEmu::N23Click()
{
    forms_.NetConnectionForm.toggle(*this);
}

void TMainFormEmu::ToolButton24Click()
{
    // The machine stands still while the step debugger is about; hiding the
    // debugger lets it run on.
    machine_.Paused = 1;
    forms_.DebaggerStepForm.toggle(*this);
}

void TMainFormEmu::Debuggerstepbystep1Click()
{
    ToolButton24Click();
}

void TMainFormEmu::N6Click()
{
    if (forms_.DebuggerForm.visible()) {
        forms_.DebuggerForm.hide();
        return;
    }
    forms_.DebuggerForm.ensure(*this);
    if (debugger::TDebuggerForm* form = debuggerForm(*this))
        guarded([form] { form->FillFromMachine(); });
    forms_.DebuggerForm.show(*this);
}

// ---- about ---------------------------------------------------------------

void TMainFormEmu::N22Click()
{
    dialogs().message(this, QStringLiteral("Ostrovik"), QString::fromUtf8(kAboutText));
}

void TMainFormEmu::ToolButton11Click()
{
    N22Click();
}

void TMainFormEmu::N31Click()
{
    pasteClipboard();
}

} // namespace ostrovik::ui
