// The one error type of the workbook link: its message says what a user can do about it.
#pragma once

#include <stdexcept>
#include <string>

namespace medravolix::workbook {

class WorkbookError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace medravolix::workbook
