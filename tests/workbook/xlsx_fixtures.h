// Workbooks for the tests, made at test time with Python: one written by openpyxl (styles, number
// formats, a formula, a merged range, a defined name, a sheet name with blanks and non-ASCII
// letters), and one zipped from parts written by hand as Excel and LibreOffice write them
// (shared strings with rich and phonetic runs, escapes, stored formula results, shared and array
// formulas, a calculation chain, an "x:" prefix, rows and cells without "r", absolute, relative
// and ".." relationship targets, 1904 dates). Also zip editing and openpyxl's view of a file.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "workbook/workbook.h"

namespace medravolix::workbook::test {

namespace fs = std::filesystem;
using medravolix::testing::ReadFile;
using medravolix::testing::ScratchDir;

// The names in a folder, sorted.
inline std::vector<std::string> folderListing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// A workbook with one number, `first` in S!A1, saved by the workbook itself.
inline fs::path smallWorkbook(const fs::path& path, double first = 1) {
  Workbook book = Workbook::create({"S"});
  book.setCell("S", 1, 1, CellValue::number(first));
  book.saveAs(path);
  return path;
}

// Runs a Python script; a failing script fails the test and gives "".
inline std::string python(const std::string& script, const std::vector<std::string>& args = {}) {
  std::string joined, out;
  for (const auto& arg : args) joined += "'" + arg + "' ";
  const int code = medravolix::testing::RunPython(script, joined, out);
  EXPECT_EQ(code, 0) << "python failed:\n" << script << "\noutput:\n" << out;
  return code == 0 ? out : std::string();
}

// The message of the WorkbookError that `action` throws ("" when it throws none).
template <typename Action>
std::string errorOf(Action action) {
  try {
    action();
  } catch (const WorkbookError& e) {
    return e.what();
  }
  return "";
}

#define EXPECT_CONTAINS(text, fragment) \
  EXPECT_NE((text).find(fragment), std::string::npos) << (text)

// A block of cells from row 1 and column 1 as text, one line a row: a number as its plain
// decimal, a text in quotes, "_" for empty and "!" for a cell that cannot be read.
template <typename CellAt>
std::string grid(int rows, int columns, CellAt cell_at) {
  std::string out;
  for (int row = 1; row <= rows; ++row) {
    for (int column = 1; column <= columns; ++column) {
      out += column > 1 ? " " : "";
      try {
        const CellValue value = cell_at(row, column);
        out += value.isEmpty()    ? "_"
               : value.isNumber() ? plainDecimal(value.asNumber())
                                  : "'" + value.asText() + "'";
      } catch (const WorkbookError&) {
        out += "!";
      }
    }
    out += "\n";
  }
  return out;
}

inline std::string grid(const Workbook& book, const std::string& sheet, int rows, int columns) {
  return grid(rows, columns, [&](int row, int column) { return book.cell(sheet, row, column); });
}

// The text of one part of the zip.
inline std::string readPart(const fs::path& xlsx, const std::string& name) {
  return python(
      "import sys, zipfile\nsys.stdout.write(zipfile.ZipFile(sys.argv[1]).read("
      "sys.argv[2]).decode('utf-8'))",
      {xlsx.string(), name});
}

inline void makeOpenpyxlWorkbook(const fs::path& path) {
  python(R"(
import sys, datetime, openpyxl
from openpyxl.styles import Font, PatternFill
from openpyxl.workbook.defined_name import DefinedName
wb = openpyxl.Workbook()
ws = wb.active; ws.title = 'Constants'
ws['A1'] = 'Name'; ws['B1'] = 'Value'; ws['A1'].font = Font(bold=True)
ws['A2'] = 'k1'; ws['B2'] = 0.5; ws['B2'].number_format = '0.00'
ws['B2'].fill = PatternFill('solid', fgColor='FFFF00')
ws['B3'] = 1e-20; ws['B4'] = -3; ws['A5'] = True; ws['B5'] = '=B2*2'
ws['C2'] = ' 12.5 '; ws['C3'] = 'abc'; ws['A6'] = datetime.datetime(2020, 1, 15)
ws['D1'] = 'merged'; ws.merge_cells('D1:E2')
ws['B8'] = 42
wb.defined_names.append(DefinedName('Factor', attr_text='Constants!$B$2'))
other = wb.create_sheet('Hoja de suelos ñandú')
other['A1'] = 'Suelo 1'; other['B1'] = 10; other['C1'] = 'ácido'; other['A3'] = 7
wb.save(sys.argv[1])
)",
         {path.string()});
}

struct ExcelLikeOptions {
  bool chartsheet = false;       // a chart sheet among the sheets (openpyxl cannot read it)
  bool odd_case_target = false;  // a target whose letters differ in case from the zip entry
  bool rows_out_of_order = false;
  bool blank_in_part_name = false;  // "sheet 2.xml", reached by the target "sheet%202.xml"
  std::map<std::string, std::optional<std::string>> parts = {};  // replaced, or left out
};

// The parts in tests/workbook/data/excel_like, zipped, with the variants of `options`.
inline void makeExcelLikeWorkbook(const fs::path& path, const ExcelLikeOptions& options = {}) {
  ScratchDir dir;
  std::vector<std::string> args{
      (medravolix::testing::SourceDir() / "tests/workbook/data/excel_like").string(),
      path.string()};
  for (bool flag : {options.chartsheet, options.odd_case_target, options.rows_out_of_order,
                    options.blank_in_part_name})
    args.push_back(flag ? "1" : "0");
  for (const auto& [name, content] : options.parts) {
    const auto file = dir / std::to_string(args.size());
    if (content) std::ofstream(file, std::ios::binary) << *content;
    args.insert(args.end(), {name, content ? file.string() : "-"});
  }
  python(R"(
import sys, os, re, zipfile
src, path, (chart, odd_case, disorder, blank) = sys.argv[1], sys.argv[2], [a == '1' for a in sys.argv[3:7]]
parts = {os.path.relpath(os.path.join(d, f), src): open(os.path.join(d, f), encoding='utf-8').read()
         for d, _, files in os.walk(src) for f in files}
def edit(name, old, new): parts[name] = parts[name].replace(old, new, 1)
if odd_case: edit('xl/_rels/workbook.xml.rels', '../xl/worksheets/sheet1.xml', 'worksheets/SHEET1.xml')
if blank:
  edit('xl/_rels/workbook.xml.rels', 'worksheets/sheet2.xml', 'worksheets/sheet%202.xml')
  parts['xl/worksheets/sheet 2.xml'] = parts.pop('xl/worksheets/sheet2.xml')
if disorder:
  rows = re.findall('<row .*?</row>', parts['xl/worksheets/sheet1.xml'])
  edit('xl/worksheets/sheet1.xml', ''.join(rows), ''.join(rows[i] for i in (2, 0, 3, 1)))
if chart:
  R, S = 'http://schemas.openxmlformats.org/', 'spreadsheetml.chartsheet'
  edit('xl/workbook.xml', '<sheet name="Prefixed"', '<sheet name="Chart" sheetId="9" r:id="rId9"/><sheet name="Prefixed"')
  edit('xl/_rels/workbook.xml.rels', '</Relationships>', '<Relationship Id="rId9" Type="' + R +
       'officeDocument/2006/relationships/chartsheet" Target="chartsheets/sheet1.xml"/></Relationships>')
  edit('[Content_Types].xml', '</Types>', '<Override PartName="/xl/chartsheets/sheet1.xml" '
       'ContentType="application/vnd.openxmlformats-officedocument.' + S + '+xml"/></Types>')
  parts['xl/chartsheets/sheet1.xml'] = '<chartsheet xmlns="' + R + 'spreadsheetml/2006/main"><sheetViews>' \
       '<sheetView workbookViewId="0"/></sheetViews></chartsheet>'
for name, f in zip(sys.argv[7::2], sys.argv[8::2]):
  if f == '-': del parts[name]
  else: parts[name] = open(f, encoding='utf-8').read()
with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as z:
  for name in sorted(parts): z.writestr(name, parts[name].encode('utf-8'))
)",
         args);
}

// Every sheet, merged range, defined name and non-empty or styled cell (value, number format,
// bold, fill) as openpyxl reads them, one per line, so two files can be compared line by line.
inline constexpr const char* kOpenpyxlDump = R"(
import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
print('sheets', wb.sheetnames)
for name in wb.defined_names.definedName:
    print('name', name.name, name.attr_text)
for ws in wb.worksheets:
    print('merged', ws.title, sorted(str(r) for r in ws.merged_cells.ranges))
    for row in ws.iter_rows():
        for c in row:
            if c.value is not None or c.style_id:
                print('cell', ws.title, c.coordinate, repr(c.value), c.number_format, c.font.b, c.fill.fgColor.rgb)
)";

}  // namespace medravolix::workbook::test
