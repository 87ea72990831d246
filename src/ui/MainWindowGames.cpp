// The game library's windows as the main window's commands open them.
#include <filesystem>

#include "games/CatalogueSite.hpp"
#include "games/GameLibrary.hpp"
#include "games/qt/GameLibraryForm.hpp"
#include "games/qt/GameDownloaderForm.hpp"
#include "kit/Captions.hpp"
#include "kit/Dialogs.hpp"
#include "ui/MainWindow.hpp"
#include "kit/Text.hpp"

namespace ostrovik::ui {

using kit::CaptionWindow;
using kit::dialogs;
using kit::fromUtf8;

void MainWindow::installGameForms()
{
    forms_.gameLibrary.setFactory([](MainWindow& main) -> QWidget* {
        auto* form = new games::GameLibraryForm(main.windowHost(), &main);
        main.windowHost().adoptCaptions(*form, CaptionWindow::GameLibrary);
        return form;
    });
    forms_.gameDownloader.setFactory([](MainWindow& main) -> QWidget* {
        auto* form = new games::GameDownloaderForm(main.windowHost(), &main);
        main.windowHost().adoptCaptions(*form, CaptionWindow::GameDownloader);
        return form;
    });
}

void MainWindow::openGameLibrary()
{
    const std::string root = games::LibraryRoot(machine_.programDir);
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
