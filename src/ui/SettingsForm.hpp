#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include <QString>
#include <QWidget>

#include "machine/Option.hpp"
#include "settings/SettingsStore.hpp"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

namespace ostrovik::kit {
class RadioGroup;
}

namespace ostrovik::ui {

using kit::RadioGroup;

class JoystickKeyDialog;
class SettingsOwner;

/// The settings window: it shows the settings store and edits it, a change
/// of a control reaching the store at once, and loads and saves the store.
/// It exists from program start to exit and is only ever hidden.
class SettingsForm : public QWidget {
    Q_OBJECT
public:
    /// Client area of the window.
    static constexpr int kClientWidth = 515;
    static constexpr int kClientHeight = 429;

    /// The window edits @p store; @p owner (may be null in tests) owns the
    /// window and gets the timer interval from the track bar.
    SettingsForm(settings::SettingsStore& store, SettingsOwner* owner);
    ~SettingsForm() override;

    settings::SettingsStore& store() { return store_; }

    /// Shows the window (the settings command) and loads the stored options
    /// into it, as its activation does. Only this reloads: a key captured in
    /// the key-capture dialog stays on its button until Save.
    void showFromMenu();

    /// Every option from config.ini into the store, and so into the
    /// controls; writes the complete file first when there is none.
    void readAllOptions();

    /// "Сохранить": the complete write, then the window hides. False when a
    /// write failed (the message has been shown and the window stays).
    bool save();
    /// "Отмена": hides the window without writing.
    void cancel();

    void speedChanged();
    void codecChanged();
    void listCodecs();
    void configureCodec();
    void chooseJoyUpKey();
    void chooseJoyLeftKey();
    void chooseJoyRightKey();
    void chooseJoyDownKey();
    void chooseJoyKey1();
    void chooseJoyKey2();
    void chooseJoyKey3();
    void chooseJoyKey4();

    /// The state of option @p which as the complete write would store it:
    /// "1"/"0" for a check box, the decimal index, position or value for the
    /// others, the codec box's text.
    QString option(machine::Option which) const;

    /// The key-capture dialog the joystick key buttons open; made here when
    /// the program has not made it.
    JoystickKeyDialog& joystickKeyDialog();
    void setJoystickKeyDialog(JoystickKeyDialog* dialog) { joystickKeyDialog_ = dialog; }

    QGroupBox* optionsGroup = nullptr;
    QCheckBox* fullScreenBox = nullptr;
    QCheckBox* grayTvBox = nullptr;
    QCheckBox* blurBox = nullptr;
    QCheckBox* borderColourBox = nullptr;
    QCheckBox* russianBox = nullptr;
    QCheckBox* screen256Box = nullptr;
    QCheckBox* runBasicBox = nullptr;
    QCheckBox* soundBox = nullptr;
    QCheckBox* quickRunBox = nullptr;
    QCheckBox* patch058CBox = nullptr;
    QCheckBox* oneCopyBox = nullptr;

    QGroupBox* videoGroup = nullptr;
    QLabel* codecLabel = nullptr;
    QComboBox* codecBox = nullptr;
    QPushButton* listCodecsButton = nullptr;
    QPushButton* codecOptionsButton = nullptr;
    QLabel* qualityLabel = nullptr;
    QComboBox* qualityBox = nullptr;
    QCheckBox* onTheFlyBox = nullptr;
    QLabel* frameTimeLabel = nullptr;
    QSpinBox* frameTimeBox = nullptr;

    QGroupBox* speedGroup = nullptr;
    QSlider* speedSlider = nullptr;
    QLabel* fastLabel = nullptr;
    QLabel* slowLabel = nullptr;
    QLabel* intervalLabel = nullptr;

    QGroupBox* renderingGroup = nullptr;
    QComboBox* renderingBox = nullptr;

    RadioGroup* screenshotFormatGroup = nullptr;

    QGroupBox* joystickGroup = nullptr;
    QPushButton* joyUpButton = nullptr;
    QPushButton* joyLeftButton = nullptr;
    QPushButton* joyRightButton = nullptr;
    QPushButton* joyDownButton = nullptr;
    QPushButton* joyKey1Button = nullptr;
    QPushButton* joyKey2Button = nullptr;
    QPushButton* joyKey3Button = nullptr;
    QPushButton* joyKey4Button = nullptr;
    RadioGroup* joystickTargetGroup = nullptr;

    QLabel* continuedLabel = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* cancelButton = nullptr;

    /// The eleven stored check boxes in the order of config.ini.
    QCheckBox* optionBox(int index) const { return optionBoxes_.at(static_cast<std::size_t>(index)); }
    /// The button that shows joystick key @p index.
    QPushButton* joyButton(int index) const { return joyButtons_.at(static_cast<std::size_t>(index)); }

private:
    void buildOptions();
    void buildVideo();
    void buildSpeed();
    void buildRendering();
    void buildJoystick();
    void openJoystickKeyDialog(int index);
    void centreOnMainForm();
    /// Each control's changes go to the store.
    void connectControls();
    /// Shows in the controls what changed in the store.
    void showChange(const settings::StoreChange& change);
    /// Runs @p edit as a change made in a control, which the store need not
    /// show back.
    template <typename F>
    void fromControl(F&& edit);
    /// The chosen line of the codec box, or -1 for none or typed text.
    int codecIndex() const;

    settings::SettingsStore& store_;
    SettingsOwner* owner_;
    std::shared_ptr<const settings::SettingsStore::Listener> subscription_;
    bool editingFromControl_ = false;
    JoystickKeyDialog* joystickKeyDialog_ = nullptr;
    std::array<QCheckBox*, 11> optionBoxes_{};
    std::array<QPushButton*, 8> joyButtons_{};
};

} // namespace ostrovik::ui
