// Builds the sample workbook from its CSV tables: make_sample_workbook OUTPUT.xlsx TABLE.csv...
// Each table becomes one sheet, in the order given; a file named "NN_Sheet_name.csv" gives the
// sheet "Sheet_name" (the leading digits and underscore only order the files).
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "workbook/csv_table.h"
#include "workbook/workbook.h"

namespace {

namespace fs = std::filesystem;
using medravolix::workbook::CsvTable;
using medravolix::workbook::Workbook;

std::string sheetName(const fs::path& csv) {
  const std::string stem = csv.stem().string();
  size_t digits = 0;
  while (digits < stem.size() && stem[digits] >= '0' && stem[digits] <= '9') ++digits;
  if (digits > 0 && digits + 1 < stem.size() && stem[digits] == '_') return stem.substr(digits + 1);
  return stem;
}

void fillSheet(Workbook& book, const std::string& sheet, const CsvTable& table) {
  for (int row = 1; row <= table.rowCount(); ++row) {
    for (int column = 1; column <= table.columnCount(); ++column) {
      const auto& value = table.cell(row, column);
      if (!value.isEmpty()) book.setCell(sheet, row, column, value);
    }
  }
}

void build(const fs::path& output, const std::vector<fs::path>& tables) {
  std::vector<std::string> names;
  std::vector<CsvTable> contents;
  for (const auto& csv : tables) {
    names.push_back(sheetName(csv));
    contents.push_back(CsvTable::read(csv));
  }
  auto book = Workbook::create(names);
  for (size_t i = 0; i < names.size(); ++i) fillSheet(book, names[i], contents[i]);
  if (output.has_parent_path()) fs::create_directories(output.parent_path());
  book.saveAs(output);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s OUTPUT.xlsx TABLE.csv...\n", argv[0]);
    return 2;
  }
  try {
    build(argv[1], std::vector<fs::path>(argv + 2, argv + argc));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_sample_workbook: %s\n", e.what());
    return 1;
  }
  return 0;
}
