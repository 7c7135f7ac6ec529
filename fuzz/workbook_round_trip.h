// What the workbook layer must keep for any file, however damaged: it refuses the file or a sheet
// with a WorkbookError, or else the cells it reads are the cells a save writes back. Cells are
// read, a few written, the workbook saved and opened again; the written cells must hold what was
// written and every other cell what it held. Shared by the fuzzing harness and by the test that
// replays what fuzzing found.
#pragma once

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "common/number_text.h"
#include "workbook/new_workbook.h"
#include "workbook/workbook.h"
#include "workbook/zip_archive.h"
#include "workbook/zip_builder.h"

namespace medravolix::fuzz {

namespace wb = medravolix::workbook;

// The file a fuzzing input stands for: an input that starts as a zip ("PK") is a whole .xlsx
// file; any other is the XML of the first sheet of a new workbook with sheets "S" and "T", so
// that it reaches the sheet reader and editor without first passing the zip's checksums.
inline std::string workbookOfInput(std::string bytes) {
  if (bytes.starts_with("PK")) return bytes;
  static const auto base =
      std::make_shared<const std::string>(wb::NewWorkbook::package({"S", "T"}));
  static const wb::ZipArchive archive(base, "fuzz");
  wb::ZipBuilder builder;
  for (std::size_t i = 0; i < archive.entryCount(); ++i) {
    if (archive.entryName(i) == "xl/worksheets/sheet1.xml") {
      builder.add(archive.entryName(i), std::move(bytes));
    } else {
      builder.copyRaw(archive, i);
    }
  }
  return builder.finish();
}

// A cell as a short text: "_" empty, a number's decimal, a text in quotes, "!" unreadable.
inline std::string cellText(const wb::Workbook& book, const std::string& sheet, int row,
                            int column) {
  try {
    const wb::CellValue value = book.cell(sheet, row, column);
    if (value.isEmpty()) return "_";
    return value.isNumber() ? plainDecimal(value.asNumber()) : "'" + value.asText() + "'";
  } catch (const wb::WorkbookError&) {
    return "!";
  }
}

using CellMap = std::map<std::tuple<std::string, int, int>, std::string>;

// The block of cells the check looks at: the first rows and columns of every readable sheet.
inline CellMap readBlock(const wb::Workbook& book, const std::vector<std::string>& sheets) {
  CellMap cells;
  for (const auto& sheet : sheets) {
    const int rows = std::min(book.lastRow(sheet), 40) + 2;
    for (int row = 1; row <= rows; ++row) {
      for (int column = 1; column <= 8; ++column) {
        cells[{sheet, row, column}] = cellText(book, sheet, row, column);
      }
    }
  }
  return cells;
}

// Writes a number, a text and an empty value where the sheet allows it; returns what the block
// should then hold.
inline CellMap writeSome(wb::Workbook& book, const std::vector<std::string>& sheets,
                         CellMap expected) {
  for (const auto& sheet : sheets) {
    const int last = std::min(book.lastRow(sheet), 40) + 1;
    const std::tuple<int, int, wb::CellValue, std::string> writes[] = {
        {1, 1, wb::CellValue::number(2.5), "2.5"},
        {2, 3, wb::CellValue::text(" a<&>b "), "' a<&>b '"},
        {last, 2, wb::CellValue::number(-7), "-7"},
        {2, 1, wb::CellValue(), "_"}};
    for (const auto& [row, column, value, text] : writes) {
      try {
        book.setCell(sheet, row, column, value);
        expected[{sheet, row, column}] = text;
      } catch (const wb::WorkbookError&) {
      }
    }
  }
  return expected;
}

// "" when `book` holds every cell of `expected` as it says; otherwise the first that differs.
inline std::string differences(const wb::Workbook& book, const CellMap& expected,
                               const char* when) {
  for (const auto& [where, text] : expected) {
    const auto& [sheet, row, column] = where;
    const std::string now = cellText(book, sheet, row, column);
    if (now != text) {
      return wb::cellReference(sheet, row, column) + " should hold " + text + " " + when +
             " but holds " + now;
    }
  }
  return "";
}

// "" when the layer kept its promise for the file at `input`; otherwise what broke.
inline std::string checkRoundTrip(const std::filesystem::path& input,
                                  const std::filesystem::path& saved) {
  std::optional<wb::Workbook> book;
  try {
    book.emplace(wb::Workbook::open(input));
  } catch (const wb::WorkbookError&) {
    return "";
  }
  std::vector<std::string> sheets;
  for (const auto& sheet : book->sheetNames()) {
    try {
      book->requireSheet(sheet);
      book->lastRow(sheet);
      sheets.push_back(sheet);
    } catch (const wb::WorkbookError&) {
    }
    if (sheets.size() == 3) break;
  }
  const CellMap expected = writeSome(*book, sheets, readBlock(*book, sheets));
  std::string broken = differences(*book, expected, "once written");
  if (!broken.empty()) return broken;
  try {
    book->saveAs(saved);
  } catch (const wb::WorkbookError&) {
    return "";
  }
  try {
    return differences(wb::Workbook::open(saved), expected, "after the save");
  } catch (const wb::WorkbookError& e) {
    return std::string("the saved workbook cannot be read: ") + e.what();
  }
}

}  // namespace medravolix::fuzz
