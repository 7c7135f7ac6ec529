// Writes cell values into a worksheet's XML in place, touching nothing else: a written cell keeps
// its style and loses its type, formula and metadata; new rows and cells go in ascending order;
// a text is written inline; the used range (<dimension>) and the rows' spans follow the cells.
#pragma once

#include <pugixml.hpp>
#include <string>
#include <utility>
#include <vector>

#include "workbook/cell_value.h"

namespace medravolix::workbook {

class SheetEditor {
 public:
  // Prepares the sheet for editing: every row and cell gets an explicit reference, and rows and
  // cells are put in ascending order if they were not. Rows and cells are placed by
  // SheetPositions, as the reader places them; give it only a sheet the reader has accepted.
  explicit SheetEditor(pugi::xml_document& document);

  // Writes the value (empty clears the cell, keeping its style). Returns true when the cell held
  // a formula, which is removed.
  bool write(int row, int column, const CellValue& value);
  // Sets <dimension ref> to the range of the sheet's cells.
  void updateDimension();

 private:
  struct ColumnStyle {
    int first = 0;
    int last = 0;
    std::string style;
  };
  void readColumnStyles();
  void prepareRows();
  static void orderCells(pugi::xml_node row, int row_number);
  pugi::xml_node findRow(int row, bool create);
  pugi::xml_node findCell(pugi::xml_node row, int row_number, int column, bool create);
  void styleNewCell(pugi::xml_node row, pugi::xml_node cell, int column) const;
  static bool clearValue(pugi::xml_node cell);
  void fillValue(pugi::xml_node cell, const CellValue& value) const;
  static void widenSpans(pugi::xml_node row, int column);
  void ensureSheetData();

  pugi::xml_node root_;
  pugi::xml_node sheet_data_;
  std::string prefix_;
  std::vector<std::pair<int, pugi::xml_node>> rows_;  // ascending by row number
  std::vector<ColumnStyle> column_styles_;
};

}  // namespace medravolix::workbook
