#pragma once

#include <array>
#include <cstdint>

#include <QString>
#include <QWidget>

#include "machine/Option.hpp"
#include "ui/Mru.hpp"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

namespace ostrovik::ui {

class TJoyKeySetup;
class TMainFormEmu;
class TRadioGroup;

/// The settings window. Besides editing config.ini it holds the options at
/// run time: the other windows read its controls at the moment they need an
/// option. It exists from program start to exit and is only ever hidden.
class TSetUpForm : public QWidget {
    Q_OBJECT
public:
    /// Client area of the window.
    static constexpr int kClientWidth = 515;
    static constexpr int kClientHeight = 429;

    /// @p mainForm (may be null in tests) owns the window, gets the timer
    /// interval from the track bar and carries the recent-files menu.
    explicit TSetUpForm(TMainFormEmu* mainForm);

    /// Shows the window (the settings command) and loads the stored options
    /// into it, as its activation does. Only this reloads: a key captured in
    /// the key-capture dialog stays on its button until Save.
    void ShowFromMenu();

    /// Every option from config.ini into the controls and the joystick key
    /// words; writes the complete file first when there is none.
    void ReadAllOptionsFromIni();

    /// "Сохранить": the complete write, then the window hides. False when a
    /// write failed (the message has been shown and the window stays).
    bool Button1Click();
    /// "Отмена": hides the window without writing.
    void Button2Click();

    void TrackBar1Change();
    void ComboBox1Change();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void Button9Click();
    void Button10Click();
    void Button11Click();
    void Button12Click();

    /// The state of option @p which as the complete write would store it:
    /// "1"/"0" for a check box, the decimal index, position or value for the
    /// others, the codec box's text.
    QString option(machine::Option which) const;
    /// Checks or clears the check box of the on/off option @p which.
    void setOptionChecked(machine::Option which, bool checked);

    /// The recent-files list (the File menu of the main window).
    void ReadMRU();
    void SaveMRU();
    void AddMruMenuItem(const QString& FileName, int Index);

    /// The eight joystick key words (virtual-key codes), 0 until the first load.
    std::uint16_t JoyKeyUp = 0;
    std::uint16_t JoyKeyDown = 0;
    std::uint16_t JoyKeyLeft = 0;
    std::uint16_t JoyKeyRight = 0;
    std::uint16_t JoyKey1 = 0;
    std::uint16_t JoyKey2 = 0;
    std::uint16_t JoyKey3 = 0;
    std::uint16_t JoyKey4 = 0;
    /// Word @p index in the order up, down, left, right, 1 … 4.
    std::uint16_t& joyKey(int index);
    /// Sets word @p index and the caption of its button (not the file).
    void setJoyKey(int index, std::uint16_t key);

    /// The key-capture dialog the joystick key buttons open; made here when
    /// the program has not made it.
    TJoyKeySetup& joyKeySetup();
    void setJoyKeySetup(TJoyKeySetup* dialog) { JoyKeySetup = dialog; }

    /// Recently loaded files, newest first.
    TMruFiles MRUFiles;

    QGroupBox* GroupBox1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QCheckBox* CheckBox5 = nullptr;
    QCheckBox* CheckBox7 = nullptr;
    QCheckBox* CheckBox8 = nullptr;
    QCheckBox* CheckBox9 = nullptr;
    QCheckBox* CheckBox10 = nullptr;
    QCheckBox* CheckBox11 = nullptr;
    QCheckBox* CheckBox12 = nullptr;

    QGroupBox* GroupBox2 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QCheckBox* CheckBox6 = nullptr;
    QLabel* Label3 = nullptr;
    QSpinBox* SpinEdit1 = nullptr;

    QGroupBox* GroupBox3 = nullptr;
    QSlider* TrackBar1 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label7 = nullptr;

    QGroupBox* GroupBox4 = nullptr;
    QComboBox* ComboBox3 = nullptr;

    TRadioGroup* RadioGroup1 = nullptr;

    QGroupBox* JoyGroupBox = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* Button8 = nullptr;
    QPushButton* Button9 = nullptr;
    QPushButton* Button10 = nullptr;
    QPushButton* Button11 = nullptr;
    QPushButton* Button12 = nullptr;
    TRadioGroup* RadioGroup2 = nullptr;

    QLabel* Label6 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

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
    void openJoyKeySetup(int index);
    void centreOnMainForm();
    /// The chosen line of the codec box, or -1 for none or typed text.
    int codecIndex() const;

    TMainFormEmu* MainFormEmu;
    TJoyKeySetup* JoyKeySetup = nullptr;
    std::array<QCheckBox*, 11> optionBoxes_{};
    std::array<QPushButton*, 8> joyButtons_{};
};

} // namespace ostrovik::ui
