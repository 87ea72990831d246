#pragma once

#include <functional>

#include <array>
#include <cstdint>
#include <string_view>

#include <QImage>
#include <QWidget>

class QLabel;
class QToolButton;

namespace ostrovik::kit {
class WindowHost;
}

namespace ostrovik::ui {

using kit::WindowHost;

/// The on-screen keyboard: a picture of the machine's keyboard with a flat
/// button over each key. A click types the PC key of that key into the main
/// window, as if it had been pressed on the PC's keyboard; the two alphabet
/// keys at the ends of the bottom row press the machine's matrix directly.
class KeyboardForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 585;
    static constexpr int kClientHeight = 259;
    static constexpr int kPictureWidth = 1024;
    static constexpr int kPictureHeight = 381;
    /// What the СБР key types.
    static constexpr std::string_view kTestText = "Pack my box with five jugs";

    /// A key of the picture types through @p typeKey, which presses and
    /// releases a PC key (a virtual-key code) in the main window.
    KeyboardForm(WindowHost& host, std::function<void(std::uint16_t)> typeKey);

    /// Presses and releases PC key @p key in the main window.
    void typeKey(std::uint8_t key);
    /// Types @p text key by key, Latin letters in upper case.
    void typeText(std::string_view text);

    /// The PC key that types @p character under the active keyboard layout,
    /// 0 when that layout cannot type it.
    static std::uint16_t keyForCharacter(char character);

    /// The button over key @p position, 1 … 79 in the order of the key table.
    QToolButton* keyButton(int position) const { return buttons_.at(static_cast<std::size_t>(position - 1)); }


    /// The keyboard picture at its own size.
    static QImage keyboardPicture();

private:
    void pressKey(int number);
    void centreOnMainForm();

    WindowHost& host_;
    /// The keyboard picture under the buttons.
    QLabel* picture_ = nullptr;
    std::function<void(std::uint16_t)> typeKey_;
    std::array<QToolButton*, 79> buttons_{};
    /// Shown once already, and so placed.
    bool placed_ = false;

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace ostrovik::ui
