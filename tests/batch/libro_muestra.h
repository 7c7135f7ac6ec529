// The sample workbook's sheets, made in memory from data/sample/*.csv (the file that the build
// assembles from the same tables is used by the end-to-end test).
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "workbook/csv_table.h"
#include "workbook/workbook.h"

namespace medravolix::batch::prueba {

inline workbook::Workbook libroMuestra() {
  std::vector<std::filesystem::path> tablas;
  for (const auto& e : std::filesystem::directory_iterator(testing::SourceDir() / "data/sample")) {
    if (e.path().extension() == ".csv") tablas.push_back(e.path());
  }
  std::sort(tablas.begin(), tablas.end());
  std::vector<std::string> hojas;
  for (const auto& t : tablas) hojas.push_back(t.stem().string().substr(3));  // "01_Sim_batch"
  auto libro = workbook::Workbook::create(hojas);
  for (std::size_t k = 0; k < tablas.size(); ++k) {
    const auto tabla = workbook::CsvTable::read(tablas[k]);
    for (int r = 1; r <= tabla.rowCount(); ++r) {
      for (int c = 1; c <= tabla.columnCount(); ++c) {
        if (!tabla.cell(r, c).isEmpty()) libro.setCell(hojas[k], r, c, tabla.cell(r, c));
      }
    }
  }
  return libro;
}

}  // namespace medravolix::batch::prueba
