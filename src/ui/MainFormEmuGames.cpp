// The game library's windows as the main window's commands open them.
#include <filesystem>

#include "games/CatalogueSite.hpp"
#include "games/GameLibrary.hpp"
#include "games/qt/GameLibraryForm.hpp"
#include "games/qt/GameDownloaderForm.hpp"
#include "ui/kit/Captions.hpp"
#include "ui/kit/Dialogs.hpp"
#include "ui/MainFormEmu.hpp"
#include "ui/kit/Text.hpp"

namespace ostrovik::ui {

void TMainFormEmu::installGameForms()
{
    forms_.gameLibrary.setFactory([](TMainFormEmu& main) -> QWidget* {
        auto* form = new games::GameLibraryForm(main.windowHost(), &main);
        main.windowHost().adoptCaptions(*form, CaptionWindow::GameLibrary);
        return form;
    });
    forms_.gameDownloader.setFactory([](TMainFormEmu& main) -> QWidget* {
        auto* form = new games::GameDownloaderForm(main.windowHost(), &main);
        main.windowHost().adoptCaptions(*form, CaptionWindow::GameDownloader);
        return form;
    });
}

void TMainFormEmu::openGameLibrary()
{
    const std::string root = games::LibraryRoot(machine_.ProgramDir);
    std::error_code ec;
    if (!std::filesystem::is_directory(root, ec)) {
        dialogs().message(this, QStringLiteral("Ostrovik"),
                          fromUtf8(games::RootMissingMessage(root, games::kCatalogueGamesAddress)));
        std::filesystem::create_directories(root, ec);
        return;
    }
    if (games::CountGames(root) == 0) {
        dialogs().message(this, QStringLiteral("Ostrovik"),
                          fromUtf8(games::NoGamesMessage(root, games::kCatalogueGamesAddress)));
        return;
    }
    forms_.gameLibrary.show(*this);
}

} // namespace ostrovik::ui
