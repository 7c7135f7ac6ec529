#include "workbook/sheet_index.h"

#include <algorithm>

namespace medravolix::workbook {

void SheetIndex::add(int row, IndexedCell cell) {
  if (rows_.empty() || row > rows_.back().number) {
    rows_.push_back(Row{row, {}});
  } else if (row < rows_.back().number) {
    ordered_ = false;
    rows_.push_back(Row{row, {}});
  } else if (!rows_.back().cells.empty() && cell.column <= rows_.back().cells.back().column) {
    ordered_ = false;
  }
  rows_.back().cells.push_back(std::move(cell));
}

void SheetIndex::orderCells(std::vector<IndexedCell>& cells) {
  std::stable_sort(cells.begin(), cells.end(),
                   [](const IndexedCell& a, const IndexedCell& b) { return a.column < b.column; });
  // Of cells at the same column, the last one read wins.
  std::vector<IndexedCell> unique;
  unique.reserve(cells.size());
  for (auto& cell : cells) {
    if (!unique.empty() && unique.back().column == cell.column) {
      unique.back() = std::move(cell);
    } else {
      unique.push_back(std::move(cell));
    }
  }
  cells = std::move(unique);
}

void SheetIndex::finishReading() {
  if (ordered_) return;
  std::stable_sort(rows_.begin(), rows_.end(),
                   [](const Row& a, const Row& b) { return a.number < b.number; });
  std::vector<Row> merged;
  for (auto& row : rows_) {
    if (!merged.empty() && merged.back().number == row.number) {
      auto& cells = merged.back().cells;
      cells.insert(cells.end(), std::make_move_iterator(row.cells.begin()),
                   std::make_move_iterator(row.cells.end()));
    } else {
      merged.push_back(std::move(row));
    }
  }
  for (auto& row : merged) orderCells(row.cells);
  rows_ = std::move(merged);
  ordered_ = true;
}

std::vector<SheetIndex::Row>::const_iterator SheetIndex::findRow(int row) const {
  // Reads usually walk down a sheet: try the last row found and the one after it first.
  for (std::size_t i = last_row_hit_; i < rows_.size() && i <= last_row_hit_ + 1; ++i) {
    if (rows_[i].number == row) return rows_.begin() + static_cast<std::ptrdiff_t>(i);
  }
  const auto it = std::lower_bound(rows_.begin(), rows_.end(), row,
                                   [](const Row& r, int number) { return r.number < number; });
  if (it != rows_.end() && it->number == row) {
    last_row_hit_ = static_cast<std::size_t>(it - rows_.begin());
    return it;
  }
  return rows_.end();
}

const IndexedCell* SheetIndex::find(int row, int column) const {
  const auto row_it = findRow(row);
  if (row_it == rows_.end()) return nullptr;
  const auto& cells = row_it->cells;
  const auto it =
      std::lower_bound(cells.begin(), cells.end(), column,
                       [](const IndexedCell& cell, int wanted) { return cell.column < wanted; });
  return (it != cells.end() && it->column == column) ? &*it : nullptr;
}

void SheetIndex::set(int row, IndexedCell cell) {
  auto row_it = std::lower_bound(rows_.begin(), rows_.end(), row,
                                 [](const Row& r, int number) { return r.number < number; });
  if (row_it == rows_.end() || row_it->number != row) row_it = rows_.insert(row_it, Row{row, {}});
  auto& cells = row_it->cells;
  const auto it =
      std::lower_bound(cells.begin(), cells.end(), cell.column,
                       [](const IndexedCell& c, int wanted) { return c.column < wanted; });
  if (it != cells.end() && it->column == cell.column) {
    *it = std::move(cell);
  } else {
    cells.insert(it, std::move(cell));
  }
}

void SheetIndex::erase(int row, int column) {
  auto row_it = std::lower_bound(rows_.begin(), rows_.end(), row,
                                 [](const Row& r, int number) { return r.number < number; });
  if (row_it == rows_.end() || row_it->number != row) return;
  auto& cells = row_it->cells;
  std::erase_if(cells, [column](const IndexedCell& c) { return c.column == column; });
  if (cells.empty()) rows_.erase(row_it);
  last_row_hit_ = 0;
}

std::size_t SheetIndex::cellCount() const {
  std::size_t count = 0;
  for (const auto& row : rows_) count += row.cells.size();
  return count;
}

void SheetIndex::addLock(const FormulaLock& lock) {
  if (lock.kind == FormulaLock::Kind::SharedMaster) {
    shared_masters_[{lock.master.row, lock.master.column}] = lock;
  } else {
    arrays_.push_back(lock);
  }
}

const FormulaLock* SheetIndex::lockAt(int row, int column) const {
  const auto it = shared_masters_.find({row, column});
  if (it != shared_masters_.end()) return &it->second;
  for (const auto& lock : arrays_) {
    if (lock.range.contains(row, column)) return &lock;
  }
  return nullptr;
}

}  // namespace medravolix::workbook
