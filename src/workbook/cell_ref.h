// Cell references in the A1 form of worksheets: "D7" is row 7, column 4; "B2:C5" is a range.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace medravolix::workbook {

struct CellPosition {
  int row = 0;
  int column = 0;
};

struct CellRange {
  CellPosition first;
  CellPosition last;
  bool contains(int row, int column) const {
    return row >= first.row && row <= last.row && column >= first.column && column <= last.column;
  }
  std::string toText() const;
};

// "AB" -> 28. Nothing when the letters are missing or name a column beyond the last one.
std::optional<int> parseColumnLetters(std::string_view letters);
std::string columnLetters(int column);

// "D7" (a leading "$" on either part is accepted) -> row 7, column 4. Nothing for anything that is
// not a reference inside the 1,048,576 rows and 16,384 columns of a worksheet.
std::optional<CellPosition> parseCellReference(std::string_view reference);
// "B2:C5" or a single cell "B2"; nothing when it is not a range in the usual order.
std::optional<CellRange> parseCellRange(std::string_view reference);

}  // namespace medravolix::workbook
