// How each window that a command of the main window opens is made.

#include "ui/CommandForms.hpp"

#include "games/qt/GameDownloaderForm.hpp"
#include "games/qt/GameLibraryForm.hpp"
#include "kit/Captions.hpp"
#include "netlink/qt/NetworkLinkForm.hpp"
#include "output/qt/ScreenSizeForm.hpp"
#include "output/sound/qt/SoundViewForm.hpp"
#include "tools/qt/AssemblerWorkbench.hpp"
#include "tools/qt/FontEditorForm.hpp"
#include "tools/qt/PictureConverterForm.hpp"
#include "ui/DebuggerLink.hpp"
#include "ui/KeyboardForm.hpp"
#include "ui/MainWindow.hpp"

namespace ostrovik::ui {

using kit::CaptionWindow;

void installCommandForms(MainWindow& main)
{
    CommandForms& forms = main.forms();
    forms.screenSize.setFactory([](MainWindow& m) -> QWidget* {
        return new output::ScreenSizeForm([&m](int width, int height) { m.setClientSize(width, height); }, &m);
    });
    forms.soundView.setFactory([](MainWindow& m) -> QWidget* {
        auto* form = new output::sound::SoundViewForm(&m);
        m.beeper().setSoundView(form);
        return form;
    });
    forms.pictureConverter.setFactory(
        [](MainWindow& m) -> QWidget* { return new tools::PictureConverterForm(m.windowHost()); });
    forms.fontEditor.setFactory([](MainWindow& m) -> QWidget* { return new tools::FontEditorForm(m.windowHost()); });
    forms.assemblerWorkbench.setFactory(
        [](MainWindow& m) -> QWidget* { return new tools::AssemblerWorkbench(m.windowHost()); });
    forms.gameLibrary.setFactory([](MainWindow& m) -> QWidget* {
        auto* form = new games::GameLibraryForm(m.windowHost(), &m);
        m.windowHost().adoptCaptions(*form, CaptionWindow::GameLibrary);
        return form;
    });
    forms.gameDownloader.setFactory([](MainWindow& m) -> QWidget* {
        auto* form = new games::GameDownloaderForm(m.windowHost(), &m);
        m.windowHost().adoptCaptions(*form, CaptionWindow::GameDownloader);
        return form;
    });
    installDebuggers(main);
    forms.keyboard.setFactory([](MainWindow& m) -> QWidget* {
        return new KeyboardForm(m.windowHost(), [&m](std::uint16_t key) { m.postKeystroke(key); });
    });
    forms.networkLink.setFactory(
        [](MainWindow& m) -> QWidget* { return new netlink::NetworkLinkForm(m.windowHost()); });
}

} // namespace ostrovik::ui
