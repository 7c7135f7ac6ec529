// A read-only grid control: shows a ui::GridState in a QTableWidget, its fixed rows shaded as
// headings, its columns at their widths in twips. The user can look but not edit or select.
#pragma once

#include <QTableWidget>

#include "ui/grid_state.h"

namespace medravolix::ui::qt {

class GridTable : public QTableWidget {
  Q_OBJECT
 public:
  explicit GridTable(QWidget* parent = nullptr);

  // Shows the grid's size, texts and column widths.
  void showGrid(const GridState& grid);
};

}  // namespace medravolix::ui::qt
