// The game library's windows as the main window's commands open them.
#include <filesystem>

#include <QCheckBox>

#include "games/CatalogueSite.hpp"
#include "games/GameLibrary.hpp"
#include "games/qt/TGamesForm.hpp"
#include "games/qt/TOnlineGamesForm.hpp"
#include "ui/Captions.hpp"
#include "platform/qt/FileNames.hpp"
#include "ui/Dialogs.hpp"
#include "ui/MainFormEmu.hpp"
#include "ui/SetUpForm.hpp"

namespace ostrovik::ui {

namespace {

/// The main window's side of the game library's windows.
class MainGamesHost final : public games::GamesHost {
public:
    explicit MainGamesHost(TMainFormEmu& main) : main_(main) {}

    std::string programDir() const override { return main_.machine().ProgramDir; }
    void message(QWidget* parent, const QString& text) override
    {
        dialogs().message(parent, QStringLiteral("Ostrovik"), text);
    }
    void error(QWidget* parent, const QString& text) override { dialogs().error(parent, text); }
    bool quickRun() const override { return main_.quickRun(); }
    void setQuickRun(bool checked) override
    {
        if (TSetUpForm* setUp = main_.setUpForm())
            setUp->CheckBox10->setChecked(checked);
    }
    void ResetComp() override
    {
        main_.guarded([this] { main_.machine().ResetComp(); });
    }
    void setPaused(std::uint8_t paused) override { main_.machine().Paused = paused; }
    void setMainCaption(const QString& caption) override { main_.setWindowTitle(caption); }
    void NewLoadFile(const QString& path, bool autoStart) override
    {
        main_.guarded([&] { main_.loadFile(platform::FileNamePath(path), autoStart); });
    }
    void AddFileInMRU(const QString& path) override { main_.AddFileInMRU(path); }
    void setOpenDialogFileName(const QString& path) override
    {
        main_.setOpenDialogFileName(platform::FileNamePath(path));
    }
    void bringMainForward() override
    {
        main_.raise();
        main_.activateWindow();
        main_.setFocus();
    }

private:
    TMainFormEmu& main_;
};

QString fromUtf8(const std::string& s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

void TMainFormEmu::installGameForms()
{
    forms_.GamesForm.setFactory([](TMainFormEmu& main) -> QWidget* {
        auto* form = new games::TGamesForm(std::make_unique<MainGamesHost>(main), &main);
        adoptCaptions(main, *form, CaptionWindow::GamesForm);
        return form;
    });
    forms_.OnlineGamesForm.setFactory([](TMainFormEmu& main) -> QWidget* {
        auto* form = new games::TOnlineGamesForm(std::make_unique<MainGamesHost>(main), &main);
        adoptCaptions(main, *form, CaptionWindow::OnlineGamesForm);
        return form;
    });
}

void TMainFormEmu::OffLine1Click()
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
    forms_.GamesForm.show(*this);
}

} // namespace ostrovik::ui
