#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>

#include "debugger/MemoryTools.hpp"

namespace ostrovik::kit {
class WindowHost;
}
namespace ostrovik::machine {
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
class MemoryDebuggerForm : public QWidget {
    Q_OBJECT
public:
    explicit MemoryDebuggerForm(kit::WindowHost& host, QWidget* parent = nullptr);

    /// What the main window's command does before it shows the window: the
    /// whole dump, the disassembly from the program counter, ports and flags.
    void fillFromMachine();
    /// The run loop's refresh: register labels, and the visible dump rows
    /// when "Memory RealTime" is ticked.
    void refresh();
    void disassemble(std::int32_t from, std::int32_t to);

    // Event handlers, by the controls they serve.
    void disassembleTypedRange();
    void searchValue();
    void pokeValue();
    void startCheatSearch();
    void recheckCheat();
    void findDroppedByOne();
    void saveDump();
    void loadDump();
    void copyListing();
    void pickListedAddress(QListWidget& list);
    void showDumpCellAddress(int column, int row);

    HexDumpGrid& dumpGrid() { return *dumpGrid_; }
    ListingGrid& listingGrid() { return *listingGrid_; }
    ProgressGauge& gauge() { return *gauge_; }

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

    kit::WindowHost& host_;
    CheatFinder finder_;

    QLabel* registerLabels_[12] = {};
    QCheckBox* realTimeBox_ = nullptr;
    HexDumpGrid* dumpGrid_ = nullptr;
    QTabWidget* pages_ = nullptr;
    ListingGrid* listingGrid_ = nullptr;
    QLineEdit *cheatValueEdit_ = nullptr, *pokeAddressEdit_ = nullptr, *pokeValueEdit_ = nullptr, *listFromEdit_ = nullptr, *droppedValueEdit_ = nullptr,
              *listToEdit_ = nullptr, *searchValueEdit_ = nullptr;
    QListWidget *cheatAddressList_ = nullptr, *searchResultsList_ = nullptr, *droppedList_ = nullptr, *portsList_ = nullptr,
                *flagsList_ = nullptr;
    QLabel *cheatCountLabel_ = nullptr, *searchCountLabel_ = nullptr;
    QCheckBox* hexadecimalBox_ = nullptr;
    QComboBox* cheatKindBox_ = nullptr;
    QPlainTextEdit* cheatLog_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    ProgressGauge* gauge_ = nullptr;
};

} // namespace ostrovik::debugger
