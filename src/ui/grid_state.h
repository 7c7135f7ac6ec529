// What a read-only grid control shows: its texts cell by cell, how many of its top rows are
// fixed heading rows, and the width of each column in twips. Controllers fill it; the Qt side
// shows it (ui/qt/grid_table.h).
#pragma once

#include <string>
#include <vector>

namespace medravolix::ui {

class GridState {
 public:
  GridState() = default;
  GridState(int rows, int cols, int fixed_rows = 1);

  // Changes the size, keeping the texts of the cells that remain; new cells are empty, new
  // columns get the default width.
  void resize(int rows, int cols);

  int rows() const { return rows_; }
  int cols() const { return cols_; }
  int fixedRows() const { return fixed_rows_; }

  // Row and column count from 0; std::out_of_range outside the grid.
  const std::string& text(int row, int col) const;
  void setText(int row, int col, std::string text);
  // All the texts of a row, left to right.
  std::vector<std::string> rowTexts(int row) const;

  double columnWidth(int col) const;
  void setColumnWidth(int col, double twips);

  // The width a new column gets, twips.
  static constexpr double kDefaultColumnWidth = 960;

 private:
  int index(int row, int col) const;

  int rows_ = 0;
  int cols_ = 0;
  int fixed_rows_ = 1;
  std::vector<std::string> texts_;
  std::vector<double> widths_;
};

}  // namespace medravolix::ui
