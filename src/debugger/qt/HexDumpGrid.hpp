#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QTableView>

#include <array>
#include <bitset>
#include <cstdint>

#include "debugger/Disassembler.hpp"

namespace ostrovik::debugger {

/// The dump's cells: 4,096 rows of 16 bytes and their characters. It keeps
/// the bytes as last written from memory and makes the texts when a row is
/// shown; what the user types into a cell stays there (it is never written
/// to memory) until that row is written again.
class KeyFilter;

class HexDumpModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kRows = 4096;
    static constexpr int kColumns = 17; ///< 16 bytes and the character column

    using QAbstractTableModel::QAbstractTableModel;

    /// Writes every row from @p ram.
    void fill(Memory ram);
    /// Writes the bytes @p first … @p last (inclusive, never past 0xFFFF).
    void write(Memory ram, int first, int last);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::array<std::uint8_t, 65536> bytes_{};
    std::bitset<65536> written_;
    QHash<int, QString> typed_; ///< by row × kColumns + column
};

/// The memory debugger's hex dump grid. Its header row and address column are
/// the grid's fixed row and column, so grid row r and column c (both from 1)
/// are the model's row r − 1 and column c − 1.
class HexDumpGrid : public QTableView {
    Q_OBJECT
public:
    explicit HexDumpGrid(QWidget* parent = nullptr);

    HexDumpModel& dump() { return model_; }

    /// The grid's top visible row and how many rows are fully visible.
    int topRow() const;
    int visibleRowCount() const;
    /// The current cell as grid column and row; (0, 0) when there is none.
    QPoint currentCell() const;
    void setCurrentCell(int column, int row);
    /// The text of grid cell (@p column, @p row).
    QString cell(int column, int row) const;

signals:
    /// The mouse pointer is over grid cell (@p column, @p row).
    void cellHovered(int column, int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    friend class HexCellDelegate;
    /// Enter: one column right, from the character column to the first byte
    /// of the next row, from the last cell to the first.
    void moveToNextCell();

    HexDumpModel model_;
    KeyFilter* keys_ = nullptr;
};

} // namespace ostrovik::debugger
