#include "debugger/qt/HexDumpGrid.hpp"

#include <QFontDatabase>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>

#include <algorithm>

#include "debugger/HexText.hpp"
#include "debugger/MemoryTools.hpp"
#include "debugger/qt/KeyFilter.hpp"

namespace ostrovik::debugger {

namespace {

bool isEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

/// Hex digits and Enter pass; every other typed character, Backspace
/// included, is dropped.
KeyFilter* dumpKeyFilter(QObject* parent)
{
    return new KeyFilter(KeyFilter::hexDigits(), false, true, parent);
}

} // namespace

/// The cell editor: the dump's key rules, and Enter moves on.
class HexCellDelegate : public QStyledItemDelegate {
public:
    explicit HexCellDelegate(HexDumpGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        editor->installEventFilter(dumpKeyFilter(editor));
        return editor;
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent*>(event))) {
            auto* editor = static_cast<QWidget*>(object);
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            grid_.moveToNextCell();
            return true;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    HexDumpGrid& grid_;
};

void HexDumpModel::fill(Memory ram)
{
    std::copy(ram.begin(), ram.end(), bytes_.begin());
    written_.set();
    typed_.clear();
    emit dataChanged(index(0, 0), index(kRows - 1, kColumns - 1));
}

void HexDumpModel::write(Memory ram, int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, 0xFFFF);
    if (first > last)
        return;
    for (int a = first; a <= last; ++a) {
        bytes_[static_cast<std::size_t>(a)] = ram[static_cast<std::size_t>(a)];
        written_.set(static_cast<std::size_t>(a));
    }
    const int top = first / 16, bottom = last / 16;
    if (!typed_.isEmpty())
        typed_.removeIf([&](const auto& cell) {
            const int row = cell.key() / kColumns, column = cell.key() % kColumns;
            const int address = row * 16 + std::min(column, 15);
            return column < 16 ? address >= first && address <= last : row >= top && row <= bottom;
        });
    emit dataChanged(index(top, 0), index(bottom, kColumns - 1));
}

int HexDumpModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kRows;
}

int HexDumpModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant HexDumpModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const auto typed = typed_.constFind(index.row() * kColumns + index.column());
    if (typed != typed_.constEnd())
        return *typed;
    const int base = index.row() * 16;
    if (index.column() < 16) {
        const auto a = static_cast<std::size_t>(base + index.column());
        return written_[a] ? QString::fromLatin1(hex2(bytes_[a]).c_str()) : QString();
    }
    QString text;
    for (int i = 0; i < 16; ++i) {
        const auto a = static_cast<std::size_t>(base + i);
        if (written_[a])
            text += QLatin1Char(dumpCharacter(bytes_[a]));
    }
    return text;
}

bool HexDumpModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid())
        return false;
    typed_.insert(index.row() * kColumns + index.column(), value.toString());
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags HexDumpModel::flags(const QModelIndex& index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

QVariant HexDumpModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return section < 16 ? QString::number(section, 16).toUpper() : QString();
    return QString::fromLatin1((hex4(static_cast<unsigned>(section) * 16) + ":").c_str());
}

HexDumpGrid::HexDumpGrid(QWidget* parent) : QTableView(parent), model_(this)
{
    setObjectName(QStringLiteral("dumpGrid"));
    setModel(&model_);
    setItemDelegate(new HexCellDelegate(*this));
    keys_ = dumpKeyFilter(this);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(8);
    setFont(font);
    setShowGrid(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed);
    setWordWrap(false);
    setMouseTracking(true);
    // The fixed row and column are white, like the cells.
    setStyleSheet(QStringLiteral("QHeaderView::section { background: white; border: none; padding-left: 2px; }"
                                 "QTableCornerButton::section { background: white; border: none; }"));
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        header->setMinimumSectionSize(1);
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setDefaultSectionSize(20);
        header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    horizontalHeader()->resizeSection(16, 120);
    horizontalHeader()->setFixedHeight(20);
    verticalHeader()->setFixedWidth(40);
}

int HexDumpGrid::topRow() const
{
    // At the end of the scroll range the view aligns the last row with the
    // bottom edge, and the row at the top is then cut.
    int row = std::max(rowAt(0), 0);
    if (rowViewportPosition(row) < 0 && row + 1 < HexDumpModel::kRows)
        ++row;
    return row + 1;
}

int HexDumpGrid::visibleRowCount() const
{
    const int top = topRow();
    const int room = viewport()->height() - std::max(rowViewportPosition(top - 1), 0);
    const int fit = room / std::max(rowHeight(0), 1);
    return std::clamp(fit, 0, HexDumpModel::kRows - top + 1);
}

QPoint HexDumpGrid::currentCell() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? QPoint(i.column() + 1, i.row() + 1) : QPoint(0, 0);
}

void HexDumpGrid::setCurrentCell(int column, int row)
{
    const QModelIndex i = model_.index(row - 1, column - 1);
    setCurrentIndex(i);
    scrollTo(i);
}

QString HexDumpGrid::cell(int column, int row) const
{
    if (row == 0)
        return column == 0 ? QString() : model_.headerData(column - 1, Qt::Horizontal, Qt::DisplayRole).toString();
    if (column == 0)
        return model_.headerData(row - 1, Qt::Vertical, Qt::DisplayRole).toString();
    return model_.index(row - 1, column - 1).data().toString();
}

void HexDumpGrid::moveToNextCell()
{
    const QPoint c = currentCell();
    if (c.y() == 0)
        return;
    if (c.x() < HexDumpModel::kColumns)
        setCurrentCell(c.x() + 1, c.y());
    else
        setCurrentCell(1, c.y() < HexDumpModel::kRows ? c.y() + 1 : 1);
}

void HexDumpGrid::keyPressEvent(QKeyEvent* event)
{
    if (isEnter(event)) {
        moveToNextCell();
        event->accept();
        return;
    }
    if (keys_->drops(*event)) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void HexDumpGrid::mouseMoveEvent(QMouseEvent* event)
{
    QTableView::mouseMoveEvent(event);
    const QModelIndex i = indexAt(event->position().toPoint());
    if (i.isValid())
        emit cellHovered(i.column() + 1, i.row() + 1);
}

} // namespace ostrovik::debugger
