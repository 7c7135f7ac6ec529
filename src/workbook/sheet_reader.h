// Reads the cells of a worksheet's XML into a SheetIndex: numbers, shared and inline strings,
// formula results as stored by the program that last computed them, booleans as 1 and 0, error
// cells and ISO dates. Rows and cells stand where SheetPositions puts them; a sheet where that
// rule cannot settle a cell's place (two cells at one place, a cell outside its row) is damaged.
#pragma once

#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/sheet_index.h"

namespace medravolix::workbook {

class SharedStrings;

class SheetReader {
 public:
  SheetReader(std::string_view sheet_name, std::string_view workbook_label,
              const SharedStrings& shared_strings, bool uses_1904_dates);
  // Throws WorkbookError naming the sheet and the cell when the XML is not a valid worksheet.
  SheetIndex read(const pugi::xml_document& document) const;

 private:
  [[noreturn]] void damaged(std::string_view what) const;
  int rowNumber(pugi::xml_node row, int previous) const;
  int readCell(pugi::xml_node cell, int row, int previous_column, SheetIndex& index) const;
  int cellColumn(pugi::xml_node cell, int row, int previous_column) const;
  void checkPlacesUnique(std::vector<CellPosition>& places) const;
  void readFormula(pugi::xml_node formula, CellPosition at, SheetIndex& index) const;
  bool readValue(std::string_view type, pugi::xml_node value, pugi::xml_node inline_text,
                 CellPosition at, IndexedCell& cell) const;
  const std::string& sharedText(std::string_view index_text, CellPosition at) const;
  double readNumber(std::string_view text, CellPosition at) const;

  std::string sheet_name_;
  std::string workbook_label_;
  const SharedStrings& shared_strings_;
  bool uses_1904_dates_;
};

// An ISO 8601 date and time ("1976-11-22T08:30:00Z") as a spreadsheet day number.
std::optional<double> isoDateToSerial(std::string_view text, bool uses_1904_dates);

}  // namespace medravolix::workbook
