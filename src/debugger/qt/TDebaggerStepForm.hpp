#pragma once

#include <QWidget>

#include <functional>

class QComboBox;
class QLineEdit;

namespace ostrovik::machine {
class EmulatorControl;
}

namespace ostrovik::debugger {

class ListingGrid;

/// The step debugger: one instruction, a number of T-states, or a run from
/// a typed address at a time, with the disassembly from the program
/// counter, the registers, the T-state count and the ports after each step.
/// The main window pauses the machine while it is shown; hiding it lets the
/// machine run on.
class TDebaggerStepForm : public QWidget {
    Q_OBJECT
public:
    explicit TDebaggerStepForm(machine::EmulatorControl& host, QWidget* parent = nullptr);

    /// The register view from the machine as it stands.
    void ShowABCD_PC_SP();
    /// "One step (F8)": the view first, then one instruction and the screen.
    void SpeedButton3Click();
    /// "Step over (F9)": the T-states of Edit13, the screen, then the view.
    void SpeedButton4Click();
    /// "Run from": the program counter from Edit12, then one step.
    void SpeedButton1Click();

    ListingGrid& listingGrid() { return *StringGridAss; }

protected:
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void refreshListing();
    void handle(const std::function<void()>& handler);

    machine::EmulatorControl& host_;
    ListingGrid* StringGridAss = nullptr;
    QLineEdit* Edit12 = nullptr;
    QLineEdit* Edit13 = nullptr;
    /// A = Edit1, B … L = Edit2 … Edit7, SP = Edit8, PC = Edit9, F = Edit10, clock = Edit11.
    QLineEdit* Edits[11] = {};
    QComboBox* ComboBox1 = nullptr;
};

} // namespace ostrovik::debugger
