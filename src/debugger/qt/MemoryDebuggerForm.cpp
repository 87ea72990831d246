#include "debugger/qt/MemoryDebuggerForm.hpp"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include "kit/WindowHost.hpp"
#include "debugger/HexText.hpp"
#include "debugger/Numbers.hpp"
#include "debugger/qt/HexDumpGrid.hpp"
#include "debugger/qt/ListingGrid.hpp"
#include "debugger/qt/ProgressGauge.hpp"
#include "machine/Machine.hpp"

namespace ostrovik::debugger {

namespace {

std::string textOf(const QLineEdit& edit)
{
    return edit.text().toStdString();
}

/// The pause flag set for the length of one operation on memory; cleared
/// again however the operation ends.
class PausedDuring {
public:
    explicit PausedDuring(machine::Machine& m) : machine_(m) { machine_.paused = 1; }
    ~PausedDuring() { machine_.paused = 0; }
    PausedDuring(const PausedDuring&) = delete;
    PausedDuring& operator=(const PausedDuring&) = delete;

private:
    machine::Machine& machine_;
};

QStringList decimalLines(const std::vector<int>& addresses)
{
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(addresses.size()));
    for (int a : addresses)
        lines.append(QString::number(a));
    return lines;
}

/// "XX=YY" for each of 256 values.
template <typename Value>
QStringList byteTable(const Value& values)
{
    QStringList lines;
    for (unsigned i = 0; i < 256; ++i)
        lines.append(QString::fromStdString(hex2(i) + "=" + hex2(values[i])));
    return lines;
}

constexpr const char* kNotFound = "Значение не найдено !!!";

} // namespace

void MemoryDebuggerForm::handle(const std::function<void()>& handler)
{
    host_.runGuarded(handler);
}

machine::Machine& MemoryDebuggerForm::m()
{
    return host_.machine();
}

MutableMemory MemoryDebuggerForm::ram()
{
    return MutableMemory(m().ram);
}

void MemoryDebuggerForm::fillFromMachine()
{
    machine::Machine& mm = m();
    dumpGrid_->dump().fill(ram());
    disassemble(mm.regPC, mm.regPC + 100);
    portsList_->clear();
    portsList_->addItems(byteTable(mm.ports));
    flagsList_->clear();
    flagsList_->addItems(byteTable(mm.flagTable));
}

void MemoryDebuggerForm::refresh()
{
    const machine::Machine& mm = m();
    static const char* const kPrefixes[11] = {"r_B:", "r_C:", "r_D:", "r_E:", "r_H:", "r_L:",
                                              "r_A:", "r_F:", "r_PC:", "r_SP:", "clock:"};
    const std::int32_t values[11] = {mm.regB, mm.regC, mm.regD, mm.regE, mm.regH, mm.regL, mm.regA, mm.regF, mm.regPC, mm.regSP, mm.clock};
    for (int i = 0; i < 11; ++i)
        registerLabels_[i]->setText(QLatin1String(kPrefixes[i]) + QString::number(values[i]));
    if (!realTimeBox_->isChecked())
        return;
    const int first = (dumpGrid_->topRow() - 1) * 16;
    dumpGrid_->dump().write(ram(), first, first + 16 * dumpGrid_->visibleRowCount());
}

void MemoryDebuggerForm::disassemble(std::int32_t from, std::int32_t to)
{
    listingGrid_->disassemble(ram(), from, to, gauge_);
}

void MemoryDebuggerForm::disassembleTypedRange()
{
    disassemble(strToInt(textOf(*listFromEdit_)), strToInt(textOf(*listToEdit_)));
}

void MemoryDebuggerForm::searchValue()
{
    gauge_->setMaxValue(65535);
    gauge_->setProgress(0);
    searchResultsList_->clear();
    const std::int32_t v = strToInt(textOf(*searchValueEdit_));
    searchInto(v, *searchResultsList_, *searchCountLabel_);
}

void MemoryDebuggerForm::searchInto(std::int32_t value, QListWidget& list, QLabel& count)
{
    const std::vector<int> found = findValue(ram(), value, [this](int a) { gauge_->setProgress(a); });
    list.addItems(decimalLines(found));
    if (found.empty())
        m().host().showMessage(kNotFound);
    else
        count.setText(QStringLiteral("Найдено:") + QString::number(found.size()));
}

void MemoryDebuggerForm::pokeValue()
{
    std::int32_t value = 0, address = 0;
    if (hexadecimalBox_->isChecked()) {
        value = hexToInt(textOf(*pokeValueEdit_));
        address = hexToInt(textOf(*pokeAddressEdit_));
    } else {
        value = strToInt(textOf(*pokeValueEdit_));
        address = strToInt(textOf(*pokeAddressEdit_));
    }
    poke(ram(), address, value);
}

void MemoryDebuggerForm::startCheatSearch()
{
    gauge_->setMaxValue(65535);
    gauge_->setProgress(0);
    cheatAddressList_->clear();
    const std::int32_t v = strToInt(textOf(*cheatValueEdit_));
    PausedDuring paused(m());
    if (cheatKindBox_->currentIndex() == 0) {
        searchInto(v, *cheatAddressList_, *cheatCountLabel_);
    } else {
        cheatCountLabel_->setText(QStringLiteral("Запомнил:") + QString::number(finder_.remember(ram())));
    }
}

void MemoryDebuggerForm::recheckCheat()
{
    std::vector<std::string> lines;
    for (int i = 0; i < cheatAddressList_->count(); ++i)
        lines.push_back(cheatAddressList_->item(i)->text().toStdString());
    std::vector<std::string> memo;
    const auto appendMemo = [&] {
        for (const std::string& line : memo)
            cheatLog_->appendPlainText(QString::fromStdString(line));
    };
    int examined = 0;
    try {
        examined = recheck(ram(), textOf(*cheatValueEdit_), lines, memo);
    } catch (...) {
        appendMemo();
        throw;
    }
    appendMemo();
    cheatAddressList_->addItem(QString::number(examined));
}

void MemoryDebuggerForm::findDroppedByOne()
{
    droppedList_->addItems(decimalLines(finder_.droppedByOne(ram())));
}

void MemoryDebuggerForm::saveDump()
{
    saveMemoryDump(ram(), m().programDir + "/memory.dat");
}

void MemoryDebuggerForm::loadDump()
{
    PausedDuring paused(m());
    loadMemoryDump(ram(), m().programDir + "/memory.dat1");
}

void MemoryDebuggerForm::copyListing()
{
    QGuiApplication::clipboard()->setText(listingGrid_->selectedRowsText());
}

void MemoryDebuggerForm::pickListedAddress(QListWidget& list)
{
    if (list.count() == 0 || !list.currentItem())
        return;
    const std::int32_t a = strToInt(list.currentItem()->text().toStdString());
    checkRange(a, 0, 65535);
    dumpGrid_->setCurrentCell(a % 16 + 1, a / 16 + 1);
    dumpGrid_->setFocus();
}

void MemoryDebuggerForm::showDumpCellAddress(int column, int row)
{
    if (column < 1 || column > 16 || row < 1)
        return;
    const unsigned address = static_cast<unsigned>((row - 1) * 16 + column - 1);
    statusLabel_->setText(QString::fromStdString("Adress:" + hex4(address) + " Byte:" + hex2(m().ram[address])));
}

} // namespace ostrovik::debugger
