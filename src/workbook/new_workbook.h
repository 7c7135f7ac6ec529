// The package of a new, empty workbook with the given sheets: the least a spreadsheet program
// needs (content types, relationships, workbook, styles, one empty worksheet per sheet).
#pragma once

#include <string>
#include <vector>

namespace medravolix::workbook {

class NewWorkbook {
 public:
  // Throws WorkbookError when a name is not a valid sheet name or names repeat.
  static void checkSheetNames(const std::vector<std::string>& sheet_names);
  // The .xlsx file's bytes.
  static std::string package(const std::vector<std::string>& sheet_names);
};

}  // namespace medravolix::workbook
