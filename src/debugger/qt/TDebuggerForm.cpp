#include "debugger/qt/TDebuggerForm.hpp"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include "machine/EmulatorControl.hpp"
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
    explicit PausedDuring(machine::Machine& m) : m_(m) { m_.Paused = 1; }
    ~PausedDuring() { m_.Paused = 0; }
    PausedDuring(const PausedDuring&) = delete;
    PausedDuring& operator=(const PausedDuring&) = delete;

private:
    machine::Machine& m_;
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

void TDebuggerForm::handle(const std::function<void()>& handler)
{
    host_.runGuarded(handler);
}

machine::Machine& TDebuggerForm::m()
{
    return host_.machine();
}

MutableMemory TDebuggerForm::ram()
{
    return MutableMemory(m().RAM);
}

void TDebuggerForm::FillFromMachine()
{
    machine::Machine& mm = m();
    StringGrid1->dump().fill(ram());
    AssFromTo(mm.r_PC, mm.r_PC + 100);
    ListBox4->clear();
    ListBox4->addItems(byteTable(mm.Ports));
    ListBox5->clear();
    ListBox5->addItems(byteTable(mm.flag_table));
}

void TDebuggerForm::TimerRefresh()
{
    const machine::Machine& mm = m();
    static const char* const kPrefixes[11] = {"r_B:", "r_C:", "r_D:", "r_E:", "r_H:", "r_L:",
                                              "r_A:", "r_F:", "r_PC:", "r_SP:", "clock:"};
    const std::int32_t values[11] = {mm.r_B, mm.r_C, mm.r_D, mm.r_E, mm.r_H, mm.r_L, mm.r_A, mm.r_F, mm.r_PC, mm.r_SP, mm.clock};
    for (int i = 0; i < 11; ++i)
        Labels[i]->setText(QLatin1String(kPrefixes[i]) + QString::number(values[i]));
    if (!CheckBoxMem->isChecked())
        return;
    const int first = (StringGrid1->topRow() - 1) * 16;
    StringGrid1->dump().write(ram(), first, first + 16 * StringGrid1->visibleRowCount());
}

void TDebuggerForm::AssFromTo(std::int32_t From, std::int32_t To)
{
    StringGridAss->AssFromTo(ram(), From, To, Gauge);
}

void TDebuggerForm::Button4Click()
{
    AssFromTo(StrToInt(textOf(*Edit4)), StrToInt(textOf(*Edit6)));
}

void TDebuggerForm::Button1Click()
{
    Gauge->setMaxValue(65535);
    Gauge->setProgress(0);
    ListBox2->clear();
    const std::int32_t v = StrToInt(textOf(*Edit7));
    searchInto(v, *ListBox2, *Label23);
}

void TDebuggerForm::searchInto(std::int32_t value, QListWidget& list, QLabel& count)
{
    const std::vector<int> found = findValue(ram(), value, [this](int a) { Gauge->setProgress(a); });
    list.addItems(decimalLines(found));
    if (found.empty())
        m().host().showMessage(kNotFound);
    else
        count.setText(QStringLiteral("Найдено:") + QString::number(found.size()));
}

void TDebuggerForm::Button3Click()
{
    std::int32_t value = 0, address = 0;
    if (CheckBox16_10->isChecked()) {
        value = HexToInt(textOf(*Edit3));
        address = HexToInt(textOf(*Edit2));
    } else {
        value = StrToInt(textOf(*Edit3));
        address = StrToInt(textOf(*Edit2));
    }
    poke(ram(), address, value);
}

void TDebuggerForm::Button5Click()
{
    Gauge->setMaxValue(65535);
    Gauge->setProgress(0);
    ListBox1->clear();
    const std::int32_t v = StrToInt(textOf(*Edit1));
    PausedDuring paused(m());
    if (ComboBoxPoisk->currentIndex() == 0) {
        searchInto(v, *ListBox1, *Label18);
    } else {
        Label18->setText(QStringLiteral("Запомнил:") + QString::number(finder_.remember(ram())));
    }
}

void TDebuggerForm::Button6Click()
{
    std::vector<std::string> lines;
    for (int i = 0; i < ListBox1->count(); ++i)
        lines.push_back(ListBox1->item(i)->text().toStdString());
    std::vector<std::string> memo;
    const auto appendMemo = [&] {
        for (const std::string& line : memo)
            Memo1->appendPlainText(QString::fromStdString(line));
    };
    int examined = 0;
    try {
        examined = recheck(ram(), textOf(*Edit1), lines, memo);
    } catch (...) {
        appendMemo();
        throw;
    }
    appendMemo();
    ListBox1->addItem(QString::number(examined));
}

void TDebuggerForm::Button2Click()
{
    ListBox3->addItems(decimalLines(finder_.droppedByOne(ram())));
}

void TDebuggerForm::Button7Click()
{
    saveMemoryDump(ram(), m().ProgramDir + "/memory.dat");
}

void TDebuggerForm::Button8Click()
{
    PausedDuring paused(m());
    loadMemoryDump(ram(), m().ProgramDir + "/memory.dat1");
}

void TDebuggerForm::Copyassemblercode1Click()
{
    QGuiApplication::clipboard()->setText(StringGridAss->selectedRowsText());
}

void TDebuggerForm::ListBoxMouseDown(QListWidget& list)
{
    if (list.count() == 0 || !list.currentItem())
        return;
    const std::int32_t a = StrToInt(list.currentItem()->text().toStdString());
    checkRange(a, 0, 65535);
    StringGrid1->setCurrentCell(a % 16 + 1, a / 16 + 1);
    StringGrid1->setFocus();
}

void TDebuggerForm::StringGrid1MouseMove(int column, int row)
{
    if (column < 1 || column > 16 || row < 1)
        return;
    const unsigned address = static_cast<unsigned>((row - 1) * 16 + column - 1);
    StatusPanel1->setText(QString::fromStdString("Adress:" + hex4(address) + " Byte:" + hex2(m().RAM[address])));
}

} // namespace ostrovik::debugger
