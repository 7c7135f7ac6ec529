#include "ui/qt/grid_table.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace medravolix::ui::qt {
namespace {

TEST(GridTable, ShowsTheTextsReadOnlyAtTheColumnWidthsAndKeepsCellsOnResize) {
  GridState grid(2, 3);
  grid.setText(0, 0, "Station");
  grid.setText(1, 2, "T/ºC");
  grid.setColumnWidth(1, 1500);
  grid.resize(3, 2);  // the texts that remain stay
  EXPECT_EQ(grid.text(0, 0), "Station");
  EXPECT_EQ(grid.rowTexts(1), (std::vector<std::string>{"", ""}));
  EXPECT_THROW(grid.text(0, 2), std::out_of_range);
  grid.resize(2, 3);
  grid.setText(1, 2, "T/ºC");
  GridTable table;
  table.showGrid(grid);
  ASSERT_EQ(table.rowCount(), 2);
  ASSERT_EQ(table.columnCount(), 3);
  EXPECT_EQ(table.item(0, 0)->text(), QStringLiteral("Station"));
  EXPECT_EQ(table.item(1, 2)->text(), QString::fromUtf8("T/ºC"));
  EXPECT_EQ(table.columnWidth(1), 100);  // 1500 twips
  EXPECT_EQ(table.columnWidth(0), 64);   // the default 960 twips
  EXPECT_FALSE(table.item(1, 0)->flags() & Qt::ItemIsEditable);
  EXPECT_FALSE(table.item(1, 0)->flags() & Qt::ItemIsSelectable);
  grid.setText(0, 0, "Crop");
  table.showGrid(grid);
  EXPECT_EQ(table.item(0, 0)->text(), QStringLiteral("Crop"));
}

}  // namespace
}  // namespace medravolix::ui::qt
