#include "ui/grid_state.h"

#include <algorithm>
#include <stdexcept>

namespace medravolix::ui {

GridState::GridState(int rows, int cols, int fixed_rows) : fixed_rows_(fixed_rows) {
  resize(rows, cols);
}

void GridState::resize(int rows, int cols) {
  if (rows < 0 || cols < 0) throw std::out_of_range("a grid cannot have a negative size");
  std::vector<std::string> texts(static_cast<std::size_t>(rows) * cols);
  for (int r = 0; r < std::min(rows, rows_); ++r) {
    for (int c = 0; c < std::min(cols, cols_); ++c) texts[r * cols + c] = texts_[index(r, c)];
  }
  texts_ = std::move(texts);
  widths_.resize(cols, kDefaultColumnWidth);
  rows_ = rows;
  cols_ = cols;
}

int GridState::index(int row, int col) const {
  if (row < 0 || row >= rows_ || col < 0 || col >= cols_) {
    throw std::out_of_range("no such cell in the grid");
  }
  return row * cols_ + col;
}

const std::string& GridState::text(int row, int col) const {
  return texts_[index(row, col)];
}

void GridState::setText(int row, int col, std::string text) {
  texts_[index(row, col)] = std::move(text);
}

std::vector<std::string> GridState::rowTexts(int row) const {
  std::vector<std::string> out;
  for (int c = 0; c < cols_; ++c) out.push_back(text(row, c));
  return out;
}

double GridState::columnWidth(int col) const {
  return widths_.at(col);
}

void GridState::setColumnWidth(int col, double twips) {
  widths_.at(col) = twips;
}

}  // namespace medravolix::ui
