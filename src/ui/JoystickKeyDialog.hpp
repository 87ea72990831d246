#pragma once

#include <cstdint>

#include <QDialog>
#include <QLabel>

namespace ostrovik::settings {
class SettingsStore;
}

namespace ostrovik::ui {

/// A flat panel that acts as a button when clicked.
class ClickPanel : public QLabel {
    Q_OBJECT
public:
    ClickPanel(const QString& caption, QWidget* parent);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

/// The key-capture dialog of the joystick keys: the settings window opens it
/// for one direction or button, the user presses the PC key that it should
/// play, and "OK" gives that key to the settings store (config.ini gets it
/// at the next Save). "X" closes it without a change.
class JoystickKeyDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 282;
    static constexpr int kClientHeight = 93;

    /// @p owner (the settings window) owns the dialog; @p store receives the
    /// captured key.
    JoystickKeyDialog(QWidget& owner, settings::SettingsStore& store);

    /// The virtual key of the last key pressed in the dialog: 0 at first,
    /// kept from one opening to the next.
    static std::uint16_t capturedKey;

    /// Which key word to set: 1 up, 2 down, 3 left, 4 right, 5 … 8 the
    /// buttons 1 … 4. Set by the opening button.
    int bindingIndex = 0;

    void formActivate();
    /// A key pressed in the dialog: any key, Tab, Shift, Ctrl and Alt included.
    void pressKey(std::uint16_t key);
    /// "OK": the joystick key of bindingIndex gets the captured key, then the dialog closes.
    void acceptKey();
    /// "X": closes without storing.
    void cancelKey();

    QLabel* promptLabel = nullptr;
    QLabel* targetLabel = nullptr;
    QLabel* keyLabel = nullptr;
    ClickPanel* okPanel = nullptr;
    ClickPanel* closePanel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void setKeyBackground(const QColor& colour);

    QWidget& owner_;
    settings::SettingsStore& store_;
    /// A key was pressed since the dialog was opened.
    bool keyPressed_ = false;
};

} // namespace ostrovik::ui
