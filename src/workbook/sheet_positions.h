// Where the rows and cells of a worksheet's XML stand: the one rule that the reader and the
// editor both follow, so that a value is written exactly where every reader will find it.
// A row's "r" is its number; a row without one follows the row before it. A cell's "r" names its
// place, which must lie in its own row; a cell without one (or with an empty one) follows the cell
// before it in its row. Anything else is damage that no rule can settle: PositionProblem says what.
#pragma once

#include <pugixml.hpp>
#include <stdexcept>

namespace medravolix::workbook {

class PositionProblem : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class SheetPositions {
 public:
  // The number of a <row> element; `previous` is the number of the row element before it (0 for
  // the first).
  static int rowNumber(pugi::xml_node row, int previous);
  // The column of a <c> element inside row `row`; `previous` is the column of the cell before
  // it in the same row element (0 for the first).
  static int cellColumn(pugi::xml_node cell, int row, int previous);
  // Whether the cell's place comes from its own "r" (false: it follows the cell before it).
  static bool hasOwnReference(pugi::xml_node cell);
};

}  // namespace medravolix::workbook
