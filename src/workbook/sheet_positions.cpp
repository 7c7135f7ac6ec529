#include "workbook/sheet_positions.h"

#include <charconv>
#include <string>
#include <string_view>

#include "workbook/cell_ref.h"
#include "workbook/workbook.h"

namespace medravolix::workbook {

int SheetPositions::rowNumber(pugi::xml_node row, int previous) {
  const pugi::xml_attribute r = row.attribute("r");
  if (!r) {
    if (previous >= kMaxRows) throw PositionProblem("a row lies beyond row 1,048,576");
    return previous + 1;
  }
  const std::string_view text = r.value();
  int number = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size() || number < 1 ||
      number > kMaxRows) {
    throw PositionProblem("the row number '" + std::string(text) + "' is not a row of a worksheet");
  }
  return number;
}

bool SheetPositions::hasOwnReference(pugi::xml_node cell) {
  return *cell.attribute("r").value() != '\0';
}

int SheetPositions::cellColumn(pugi::xml_node cell, int row, int previous) {
  if (!hasOwnReference(cell)) {
    if (previous >= kMaxColumns) {
      throw PositionProblem("row " + std::to_string(row) + " has cells beyond column 16,384");
    }
    return previous + 1;
  }
  const std::string_view reference = cell.attribute("r").value();
  const auto parsed = parseCellReference(reference);
  if (!parsed) {
    throw PositionProblem("the cell reference '" + std::string(reference) +
                          "' is not a cell of a worksheet");
  }
  // Programs disagree on where such a cell stands (at its reference, or in its row), so a value
  // written to one place would be read from the other.
  if (parsed->row != row) {
    throw PositionProblem("the cell " + std::string(reference) + " is written inside row " +
                          std::to_string(row));
  }
  return parsed->column;
}

}  // namespace medravolix::workbook
