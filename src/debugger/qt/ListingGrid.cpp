#include "debugger/qt/ListingGrid.hpp"

#include <QApplication>
#include <QFont>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <array>

#include "debugger/MemoryTools.hpp"
#include "debugger/qt/ProgressGauge.hpp"

namespace ostrovik::debugger {

namespace {

constexpr int kColumns = 4;

/// Tahoma's narrow bold fits a mnemonic into its 60 pixels; the condensed
/// DejaVu stands in for it where Tahoma is missing.
const QFont& listingFont(bool bold)
{
    static const std::array<QFont, 2> fonts = [] {
        QFont f;
        f.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed")});
        f.setPixelSize(11);
        QFont b = f;
        b.setBold(true);
        return std::array<QFont, 2>{f, b};
    }();
    return fonts[bold ? 1 : 0];
}

QString columnText(const Instruction& in, int column)
{
    switch (column) {
    case 0:
        return QString::fromStdString(addressText(in));
    case 1:
        return QString::fromStdString(bytesText(in));
    case 2:
        return QString::fromStdString(mnemonicText(in));
    default:
        return QString::fromStdString(operandText(in));
    }
}

/// Draws the grid's cell as usual, then its text again 2 pixels in from
/// the cell's corner in the column's colour and weight, over the
/// selection's highlight too.
class ListingDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        // The background and the selection's highlight; the text comes next.
        QStyleOptionViewItem plain = option;
        initStyleOption(&plain, index);
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &plain, painter, widget);
        painter->save();
        painter->setFont(index.data(Qt::FontRole).value<QFont>());
        painter->setPen(index.data(Qt::ForegroundRole).value<QColor>());
        painter->drawText(option.rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }
};

} // namespace

void ListingModel::setRows(std::vector<Instruction> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int ListingModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size()) + 1;
}

int ListingModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant ListingModel::data(const QModelIndex& index, int role) const
{
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        if (index.row() < static_cast<int>(rows_.size()))
            return columnText(rows_[static_cast<std::size_t>(index.row())], column);
        return QString();
    case Qt::ForegroundRole:
        // Address and bytes navy, mnemonic black, operand maroon.
        return column < 2 ? QColor(0, 0, 128) : column == 2 ? QColor(0, 0, 0) : QColor(128, 0, 0);
    case Qt::FontRole:
        return listingFont(column != 1);
    default:
        return {};
    }
}

ListingGrid::ListingGrid(QWidget* parent) : QTableView(parent), model_(this)
{
    setObjectName(QStringLiteral("StringGridAss"));
    setModel(&model_);
    setItemDelegate(new ListingDelegate(this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(20);
    horizontalHeader()->setDefaultSectionSize(60);
    setShowGrid(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWordWrap(false);
}

void ListingGrid::disassemble(Memory ram, std::int32_t from, std::int32_t to, ProgressGauge* gauge)
{
    model_.setRows({});
    setColumnWidth(0, 60);
    setColumnWidth(1, 150);
    setColumnWidth(2, 60);
    if (gauge) {
        gauge->setProgress(0);
        gauge->setMaxValue(static_cast<long long>(to) - from);
    }
    std::vector<Instruction> rows = debugger::disassemble(ram, from, to, [gauge](int row) {
        if (gauge)
            gauge->setProgress(row);
    });
    model_.setRows(std::move(rows));
    if (gauge)
        gauge->setProgress(0);
}

QString ListingGrid::cell(int column, int row) const
{
    return model_.index(row, column).data().toString();
}

QString ListingGrid::selectedRowsText() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return {};
    const auto [top, bottom] = std::minmax_element(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) {
        return a.row() < b.row();
    });
    const std::vector<Instruction>& listed = model_.rows();
    const auto first = static_cast<std::size_t>(top->row());
    const auto last = std::min(static_cast<std::size_t>(bottom->row()) + 1, listed.size());
    QString text;
    if (first < last)
        text = QString::fromStdString(listingCopyText(std::span(listed).subspan(first, last - first)));
    // The empty row after the listing copies as an empty instruction.
    if (static_cast<std::size_t>(bottom->row()) >= listed.size())
        text += QStringLiteral("\t \r\n");
    return text;
}

} // namespace ostrovik::debugger
