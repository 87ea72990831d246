#pragma once

#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>

#include "machine/EmulatorControl.hpp"

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QTextEdit;

namespace ostrovik::games {

/// The game library browser: the games beside the executable with their two
/// screenshots, description and rating, and a button that starts one.
class TGamesForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 733;
    static constexpr int kClientHeight = 508;

    explicit TGamesForm(machine::EmulatorControl& emulator, QWidget* parent = nullptr);
    ~TGamesForm() override;

    void FormActivate();
    void ListBox1Click();
    void ListBox1DblClick();
    void Button1Click();
    void Button2Click();
    void DrawStar(std::uint8_t Mark);
    /// Black over the whole rating area.
    void clearRating();

    QFrame* Panel1;
    QListWidget* ListBox1;
    QFrame* Panel2;
    QFrame* Panel4;
    QLabel* Label1;
    QLabel* Image5;
    QLabel* Image3;
    QLabel* Image4;
    QLabel* Image1;
    QLabel* Image2;
    QTextEdit* Memo1;
    QFrame* Panel3;
    QPushButton* Button1;
    QPushButton* Button2;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    /// The games of the library, as the list shows them.
    void listGames();
    /// The screenshots and the description of @p game.
    void showPictures(const std::string& game);
    void showRating(const std::string& game);
    void placePanel2Children();
    std::string root() const;
    std::string selectedGame() const;

    machine::EmulatorControl& emulator_;
    bool centred_ = false;
};

} // namespace ostrovik::games
