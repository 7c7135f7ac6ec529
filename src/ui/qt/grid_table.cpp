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
  const QBrush sombra = palette().brush(QPalette::Button);
  for (int c = 0; c < grid.cols(); ++c) setColumnWidth(c, twipsToPixels(grid.columnWidth(c)));
  for (int r = 0; r < grid.rows(); ++r) {
    for (int c = 0; c < grid.cols(); ++c) {
      QTableWidgetItem* celda = item(r, c);
      if (!celda) {
        celda = new QTableWidgetItem;
        celda->setFlags(Qt::ItemIsEnabled);
        setItem(r, c, celda);
      }
      celda->setText(QString::fromStdString(grid.text(r, c)));
      if (r < grid.fixedRows()) celda->setBackground(sombra);
    }
  }
}

}  // namespace medravolix::ui::qt
