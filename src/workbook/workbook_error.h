// The error types of the workbook link: every message says what a user can do about it.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace medravolix::workbook {

class WorkbookError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A part of the file cannot be read as it stands (a broken or missing zip entry, XML that is not
// well-formed, a cell that cannot be placed): no cell of that part can be trusted. Reading the
// part again gives the same error, so callers stop at the first one instead of asking cell by cell.
class WorkbookDamaged : public WorkbookError {
 public:
  using WorkbookError::WorkbookError;
};

// How a message names a part of the file: "its part 'xl/styles.xml'", or for a worksheet's part
// "the part 'xl/worksheets/sheet1.xml' of sheet 'Sim_batch'", so the user knows which sheet.
inline std::string describePart(std::string_view part_name, std::string_view sheet = {}) {
  if (sheet.empty()) return "its part '" + std::string(part_name) + "'";
  return "the part '" + std::string(part_name) + "' of sheet '" + std::string(sheet) + "'";
}

}  // namespace medravolix::workbook
