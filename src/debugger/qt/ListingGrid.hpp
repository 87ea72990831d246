#pragma once

#include <QAbstractTableModel>
#include <QTableView>

#include <cstdint>
#include <vector>

#include "debugger/Disassembler.hpp"

namespace ostrovik::debugger {

class ProgressGauge;

/// The listing as the grid reads it: one row per instruction and one empty
/// row after them. The texts are made when a row is shown, so a listing of
/// the whole memory costs one small record per instruction.
class ListingModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(std::vector<Instruction> rows);
    const std::vector<Instruction>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<Instruction> rows_;
};

/// The disassembly grid `StringGridAss`: four columns without headers or
/// grid lines, whole rows selected, each column in its own colour.
class ListingGrid : public QTableView {
    Q_OBJECT
public:
    explicit ListingGrid(QWidget* parent = nullptr);

    /// Lists @p from … @p to (inclusive) of @p ram. With a gauge, its range
    /// is 0 … To − From and it follows the rows; a start after the end then
    /// fails with the gauge's error, the grid already emptied.
    void disassemble(Memory ram, std::int32_t from, std::int32_t to, ProgressGauge* gauge = nullptr);

    ListingModel& listing() { return model_; }
    /// The cell's text as the grid shows it.
    QString cell(int column, int row) const;
    /// The copy command's text for the selected rows, top to bottom.
    QString selectedRowsText() const;

private:
    ListingModel model_;
};

} // namespace ostrovik::debugger
