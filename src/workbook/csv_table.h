// A table of cell values read from CSV text (RFC 4180, UTF-8), used to keep sheets as reviewable
// text. Typing rule: a field in double quotes is always a text (so "7" stays a text); an unquoted
// field that is wholly a number is a number; an empty unquoted field is an empty cell; any other
// unquoted field is a text.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "workbook/cell_value.h"

namespace medravolix::workbook {

class CsvTable {
 public:
  // Parses CSV text. Records end with LF, CRLF or CR; a line break inside quotes belongs to the
  // field; the last record may lack its line break; a UTF-8 byte-order mark at the start is
  // skipped. `source` names the text in error messages. Throws WorkbookError, naming the source
  // and the line, for an unclosed quote, a quote inside an unquoted field, text after a closing
  // quote, or bytes that are not UTF-8.
  static CsvTable parse(std::string_view text, std::string_view source);
  // Reads and parses a file; throws WorkbookError when it cannot be read.
  static CsvTable read(const std::filesystem::path& path);

  int rowCount() const { return static_cast<int>(rows_.size()); }
  // The number of fields of the longest record.
  int columnCount() const;
  // Row and column counted from 1; a cell outside the table (or beyond its record) is empty.
  const CellValue& cell(int row, int column) const;

 private:
  std::vector<std::vector<CellValue>> rows_;
};

}  // namespace medravolix::workbook
