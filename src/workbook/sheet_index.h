// The cells of one worksheet as read from its XML, indexed by row and column for fast look-up:
// rows in ascending order, each with its cells in ascending column order. Cells that hold
// nothing (styled but empty) are not kept. Also records the cells that may not be overwritten.
#pragma once

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "workbook/cell_ref.h"
#include "workbook/cell_value.h"

namespace medravolix::workbook {

struct IndexedCell {
  enum class State : std::uint8_t { Value, Error, FormulaWithoutValue };
  int column = 0;
  State state = State::Value;
  CellValue value;  // for State::Error, the error's text ("#DIV/0!")
};

// A formula that covers more than its own cell: the master of a shared formula (whose text the
// other cells of `range` borrow), or an array formula or data table filling `range`.
struct FormulaLock {
  enum class Kind : std::uint8_t { SharedMaster, Array };
  Kind kind = Kind::Array;
  CellPosition master;
  CellRange range;
};

class SheetIndex {
 public:
  // Adds a cell while the sheet is read, in any order; a later cell at the same place wins.
  void add(int row, IndexedCell cell);
  // Puts rows and cells in order after reading (a no-op for the usual, ordered sheet).
  void finishReading();

  const IndexedCell* find(int row, int column) const;
  void set(int row, IndexedCell cell);
  void erase(int row, int column);
  // The last row that holds a cell (0 when none does).
  int lastRow() const { return rows_.empty() ? 0 : rows_.back().number; }
  std::size_t cellCount() const;

  void addLock(const FormulaLock& lock);
  // The formula that forbids overwriting this cell, if any.
  const FormulaLock* lockAt(int row, int column) const;

 private:
  struct Row {
    int number = 0;
    std::vector<IndexedCell> cells;
  };
  std::vector<Row>::const_iterator findRow(int row) const;
  static void orderCells(std::vector<IndexedCell>& cells);

  std::vector<Row> rows_;
  bool ordered_ = true;
  mutable std::size_t last_row_hit_ = 0;
  std::map<std::pair<int, int>, FormulaLock> shared_masters_;
  std::vector<FormulaLock> arrays_;
};

}  // namespace medravolix::workbook
