#include "ui/qt/grid_table.h"

#include <QHeaderView>

#include "ui/twips.h"

namespace medravolix::ui::qt {

GridTable::GridTable(QWidget* parent) : QTableWidget(parent) {
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::NoSelection);
  setFocusPolicy(Qt::NoFocus);
  horizontalHeader()->hide();
  verticalHeader()->hide();
  horizontalHeader()->setMinimumSectionSize(1);
  setWordWrap(false);
}

void GridTable::showGrid(const GridState& grid) {
  setRowCount(grid.rows());
  setColumnCount(grid.cols());
  const QBrush shade = palette().brush(QPalette::Button);
  // Rows as tall as a line of the grid's font, so the rows of a small grid fit its place.
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  for (int c = 0; c < grid.cols(); ++c) setColumnWidth(c, twipsToPixels(grid.columnWidth(c)));
  for (int r = 0; r < grid.rows(); ++r) {
    for (int c = 0; c < grid.cols(); ++c) {
      QTableWidgetItem* cell = item(r, c);
      if (!cell) {
        cell = new QTableWidgetItem;
        cell->setFlags(Qt::ItemIsEnabled);
        setItem(r, c, cell);
      }
      cell->setText(QString::fromStdString(grid.text(r, c)));
      if (r < grid.fixedRows()) cell->setBackground(shade);
    }
  }
}

}  // namespace medravolix::ui::qt
