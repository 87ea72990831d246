#pragma once

#include <QWidget>

#include <functional>

class QComboBox;
class QLineEdit;

namespace ostrovik::kit {
class WindowHost;
}

namespace ostrovik::debugger {

class ListingGrid;

/// The step debugger: one instruction, a number of T-states, or a run from
/// a typed address at a time, with the disassembly from the program
/// counter, the registers, the T-state count and the ports after each step.
/// The main window pauses the machine while it is shown; hiding it lets the
/// machine run on.
class StepDebuggerForm : public QWidget {
    Q_OBJECT
public:
    explicit StepDebuggerForm(kit::WindowHost& host, QWidget* parent = nullptr);

    /// The register view from the machine as it stands.
    void showRegisters();
    /// "One step (F8)": the view first, then one instruction and the screen.
    void step();
    /// "Step over (F9)": the T-states of tStatesEdit_, the screen, then the view.
    void stepOver();
    /// "Run from": the program counter from runFromEdit_, then one step.
    void runFrom();

    ListingGrid& listingGrid() { return *listingGrid_; }

protected:
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showStartingState();
    void refreshListing();
    void handle(const std::function<void()>& handler);

    kit::WindowHost& host_;
    ListingGrid* listingGrid_ = nullptr;
    QLineEdit* runFromEdit_ = nullptr;
    QLineEdit* tStatesEdit_ = nullptr;
    /// A = aEdit, B … L = bEdit … lEdit, SP = spEdit, PC = pcEdit, F = fEdit, clock = clockEdit.
    QLineEdit* registerEdits_[11] = {};
    QComboBox* portsBox_ = nullptr;
};

} // namespace ostrovik::debugger
