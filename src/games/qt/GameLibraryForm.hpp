#pragma once

#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "kit/WindowHost.hpp"

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QTextEdit;

namespace ostrovik::games {

/// The game library browser: the games beside the executable with their two
/// screenshots, description and rating, and a button that starts one.
class GameLibraryForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 733;
    static constexpr int kClientHeight = 508;

    explicit GameLibraryForm(kit::WindowHost& emulator, QWidget* parent = nullptr);
    ~GameLibraryForm() override;

    void refreshGameList();
    void showSelectedGame();
    void runSelectedGameOnDoubleClick();
    void runSelectedGame();
    void exitLibrary();
    void drawStars(std::uint8_t mark);
    /// Black over the whole rating area.
    void clearRating();

    QFrame* listPanel;
    QListWidget* gameList;
    QFrame* picturePanel;
    QFrame* ratingPanel;
    QLabel* rankingLabel;
    QLabel* starsView;
    QLabel* starView;
    QLabel* halfStarView;
    QLabel* firstShotView;
    QLabel* secondShotView;
    QTextEdit* descriptionView;
    QFrame* buttonPanel;
    QPushButton* runButton;
    QPushButton* exitButton;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setUpViews();
    /// The games of the library, as the list shows them.
    void listGames();
    /// The screenshots and the description of @p game.
    void showPictures(const std::string& game);
    /// The stars of @p game. A first line of mark.txt that is no rating
    /// throws before anything is drawn, so the stars stay as they were.
    void showRating(const std::string& game);
    /// A game whose files cannot be read shows nothing, rather than what
    /// another game showed before it.
    void clearShownGame();
    /// The line under a cut description in the caption language of now.
    void followCaptionLanguage();
    void placePictures();
    std::string root() const;
    std::string selectedGame() const;

    kit::WindowHost& emulator_;
    bool centred_ = false;
    /// The language of the line under the description shown, when it is cut.
    std::optional<kit::Language> cutLineLanguage_;
};

} // namespace ostrovik::games
