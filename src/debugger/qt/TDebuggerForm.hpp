#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>

#include "debugger/MemoryTools.hpp"

namespace ostrovik::machine {
class EmulatorControl;
class Machine;
}

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QTabWidget;

namespace ostrovik::debugger {

class HexDumpGrid;
class ListingGrid;
class ProgressGauge;

/// The memory debugger: the hex dump of all memory, the registers, ports and
/// flag table, a disassembly, value search and poke, the cheat finder and
/// the memory dump. Every read and write goes to the RAM array itself.
class TDebuggerForm : public QWidget {
    Q_OBJECT
public:
    explicit TDebuggerForm(machine::EmulatorControl& host, QWidget* parent = nullptr);

    /// What the main window's command does before it shows the window: the
    /// whole dump, the disassembly from the program counter, ports and flags.
    void FillFromMachine();
    /// The run loop's refresh: register labels, and the visible dump rows
    /// when "Memory RealTime" is ticked.
    void TimerRefresh();
    void AssFromTo(std::int32_t From, std::int32_t To);

    // Event handlers, by the controls they serve.
    void Button4Click();
    void Button1Click();
    void Button3Click();
    void Button5Click();
    void Button6Click();
    void Button2Click();
    void Button7Click();
    void Button8Click();
    void Copyassemblercode1Click();
    void ListBoxMouseDown(QListWidget& list);
    void StringGrid1MouseMove(int column, int row);

    HexDumpGrid& dumpGrid() { return *StringGrid1; }
    ListingGrid& listingGrid() { return *StringGridAss; }
    ProgressGauge& gauge() { return *Gauge; }

private:
    void buildLeftPanel(QWidget& panel);
    QWidget* buildAssemblerTab();
    QWidget* buildPortsTab();
    QWidget* buildSearchTab();
    QWidget* buildCrackTab();
    void buildStatusBar(QWidget& bar);
    /// A line edit that takes hex digits, Backspace and Enter only.
    QLineEdit* numberEdit(const char* name, const QString& text);
    /// The search: every address holding @p value's low byte into @p list,
    /// their number into @p count, or the not-found message.
    void searchInto(std::int32_t value, QListWidget& list, QLabel& count);
    /// Runs @p handler as an event handler of this window.
    void handle(const std::function<void()>& handler);

    MutableMemory ram();
    machine::Machine& m();

    machine::EmulatorControl& host_;
    CheatFinder finder_;

    QLabel* Labels[12] = {};
    QCheckBox* CheckBoxMem = nullptr;
    HexDumpGrid* StringGrid1 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    ListingGrid* StringGridAss = nullptr;
    QLineEdit *Edit1 = nullptr, *Edit2 = nullptr, *Edit3 = nullptr, *Edit4 = nullptr, *Edit5 = nullptr,
              *Edit6 = nullptr, *Edit7 = nullptr;
    QListWidget *ListBox1 = nullptr, *ListBox2 = nullptr, *ListBox3 = nullptr, *ListBox4 = nullptr,
                *ListBox5 = nullptr;
    QLabel *Label18 = nullptr, *Label23 = nullptr;
    QCheckBox* CheckBox16_10 = nullptr;
    QComboBox* ComboBoxPoisk = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QLabel* StatusPanel1 = nullptr;
    ProgressGauge* Gauge = nullptr;
};

} // namespace ostrovik::debugger
