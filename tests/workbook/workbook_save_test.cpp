// The surgical save: what is written changes, everything else stays as it was, as openpyxl
// reads it back and as the zip's own bytes show.
#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <cmath>
#include <regex>
#include <set>
#include <sstream>

#include "support/test_support.h"
#include "workbook/workbook.h"
#include "xlsx_fixtures.h"

namespace medravolix::workbook {
namespace {

using medravolix::testing::ScratchDir;
using test::python;

std::set<std::string> lines(const std::string& text) {
  std::set<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.insert(line);
  return out;
}

// Lines of `a` missing from `b`.
std::set<std::string> minus(const std::set<std::string>& a, const std::set<std::string>& b) {
  std::set<std::string> out;
  std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::inserter(out, out.end()));
  return out;
}

// Entry names in order, with each entry's compressed bytes.
std::vector<std::pair<std::string, std::string>> rawEntries(const std::filesystem::path& path) {
  int error = 0;
  zip_t* z = zip_open(path.c_str(), ZIP_RDONLY, &error);
  EXPECT_NE(z, nullptr);
  std::vector<std::pair<std::string, std::string>> entries;
  for (zip_int64_t i = 0; z && i < zip_get_num_entries(z, 0); ++i) {
    zip_stat_t st;
    zip_stat_index(z, i, 0, &st);
    std::string data(st.comp_size, '\0');
    zip_file_t* f = zip_fopen_index(z, i, ZIP_FL_COMPRESSED);
    zip_fread(f, data.data(), data.size());
    zip_fclose(f);
    entries.emplace_back(st.name, data);
  }
  if (z) zip_discard(z);
  return entries;
}

TEST(SaveOpenpyxlWorkbook, OnlyWrittenCellsChangeForOpenpyxl) {
  ScratchDir dir;
  const auto path = dir / "o.xlsx";
  test::makeOpenpyxlWorkbook(path);
  const auto before = lines(python(test::kOpenpyxlDump, {path.string()}));
  Workbook book = Workbook::open(path);
  book.setCell("Constants", 2, 2, CellValue::number(0.75));        // styled number
  book.setCell("Constants", 5, 2, CellValue::text("no formula"));  // over a formula
  book.setCell("Constants", 3, 3, CellValue());                    // cleared
  book.setCell("Constants", 8, 1, CellValue::text("before B8"));   // new cell ahead of one
  book.setCell("Constants", 12, 3, CellValue::number(-1.25e300));  // new row at the end
  book.setCell("Constants", 7, 6, CellValue::number(3));           // new row in the middle
  book.setCell("Hoja de suelos ñandú", 2, 1, CellValue::text("Suelo 2"));
  book.save();
  const auto after = lines(python(test::kOpenpyxlDump, {path.string()}));
  EXPECT_EQ(minus(before, after),
            (std::set<std::string>{"cell Constants B2 0.5 0.00 False 00FFFF00",
                                   "cell Constants B5 '=B2*2' General False 00000000",
                                   "cell Constants C3 'abc' General False 00000000"}));
  EXPECT_EQ(
      minus(after, before),
      (std::set<std::string>{"cell Constants B2 0.75 0.00 False 00FFFF00",
                             "cell Constants B5 'no formula' General False 00000000",
                             "cell Constants A8 'before B8' General False 00000000",
                             "cell Constants C12 -1.25e+300 General False 00000000",
                             "cell Constants F7 3 General False 00000000",
                             "cell Hoja de suelos ñandú A2 'Suelo 2' General False 00000000"}));
  const Workbook again = Workbook::open(path);
  EXPECT_EQ(again.cell("Constants", 5, 2), CellValue::text("no formula"));
  EXPECT_EQ(again.lastRow("Constants"), 12);
  EXPECT_EQ(python("import sys, openpyxl\nprint(openpyxl.load_workbook(sys.argv[1])['Constants']."
                   "dimensions)",
                   {path.string()}),
            "A1:F12\n");
}

TEST(SaveExcelLikeWorkbook, UntouchedEntriesAreCopiedByteForByte) {
  ScratchDir dir;
  const auto path = dir / "x.xlsx";
  test::makeExcelLikeWorkbook(path);
  const auto before = rawEntries(path);
  Workbook book = Workbook::open(path);
  book.setCell("Prefixed", 2, 2, CellValue::number(10));
  book.save();
  const auto after = rawEntries(path);
  ASSERT_EQ(after.size(), before.size());  // no formula was dropped: the chain stays
  for (std::size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(after[i].first, before[i].first);  // same order
    const bool rewritten =
        before[i].first == "xl/worksheets/sheet2.xml" || before[i].first == "xl/workbook.xml";
    EXPECT_EQ(after[i].second == before[i].second, !rewritten) << before[i].first;
  }
}

TEST(SaveExcelLikeWorkbook, OverwrittenFormulaDropsTheCalculationChain) {
  ScratchDir dir;
  const auto path = dir / "x.xlsx";
  test::makeExcelLikeWorkbook(path);
  const auto before = lines(python(test::kOpenpyxlDump, {path.string()}));
  Workbook book = Workbook::open(path);
  book.setCell("Formulas", 3, 2, CellValue::number(99));  // a shared formula's member
  book.setCell("Formulas", 1, 2, CellValue::text("typed"));
  book.save();
  EXPECT_EQ(python("import sys, zipfile\nprint('xl/calcChain.xml' in zipfile.ZipFile(sys.argv[1])."
                   "namelist())",
                   {path.string()}),
            "False\n");
  EXPECT_EQ(test::readPart(path, "[Content_Types].xml").find("calcChain"), std::string::npos);
  EXPECT_EQ(test::readPart(path, "xl/_rels/workbook.xml.rels").find("calcChain"),
            std::string::npos);
  // The full recalculation request goes where the schema orders it: before fileRecoveryPr.
  const std::string workbook_xml = test::readPart(path, "xl/workbook.xml");
  EXPECT_NE(workbook_xml.find("</definedNames><calcPr fullCalcOnLoad=\"1\"/><fileRecoveryPr"),
            std::string::npos)
      << workbook_xml;
  const auto after = lines(python(test::kOpenpyxlDump, {path.string()}));
  EXPECT_EQ(minus(before, after),
            (std::set<std::string>{"cell Formulas B1 '=A1*3' General False 00000000",
                                   "cell Formulas B3 '=A3*2' General False 00000000"}));
  EXPECT_EQ(minus(after, before),
            (std::set<std::string>{"cell Formulas B1 'typed' General False 00000000",
                                   "cell Formulas B3 99 General False 00000000"}));
  // The master keeps the shared text, so the other member still reads it.
  const std::string sheet = test::readPart(path, "xl/worksheets/sheet3.xml");
  EXPECT_NE(sheet.find("<c r=\"B3\"><v>99</v></c>"), std::string::npos) << sheet;
  EXPECT_NE(sheet.find("<f t=\"shared\" ref=\"B2:B4\" si=\"0\">A2*2</f>"), std::string::npos);
}

TEST(SaveExcelLikeWorkbook, SharedMastersAndArrayRangesAreRefused) {
  ScratchDir dir;
  test::makeExcelLikeWorkbook(dir / "x.xlsx");
  Workbook book = Workbook::open(dir / "x.xlsx");
  for (const auto& [row, column] : {std::pair{2, 2}, std::pair{5, 4}, std::pair{5, 5}}) {
    try {
      book.setCell("Formulas", row, column, CellValue::number(1));
      ADD_FAILURE() << "overwrote " << cellReference(row, column);
    } catch (const WorkbookError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(cellReference("Formulas", row, column) + " ", 0), 0u)
          << e.what();
    }
  }
  EXPECT_THROW(book.checkWritable("Formulas", 2, 2), WorkbookError);
  EXPECT_NO_THROW(book.checkWritable("Formulas", 4, 2));  // a member may be overwritten
  EXPECT_NO_THROW(book.checkWritable("Formulas", 5, 6));  // a one-cell array formula too
  EXPECT_FALSE(book.isModified());
}

TEST(SaveExcelLikeWorkbook, RewrittenSheetsAreInOrderWithPrefixStylesAndSpans) {
  ScratchDir dir;
  const auto path = dir / "x.xlsx";
  test::makeExcelLikeWorkbook(path, {.rows_out_of_order = true});
  Workbook book = Workbook::open(path);
  book.setCell("Data", 4, 2, CellValue::number(4));  // a new row between 3 and 6
  book.setCell("Data", 2, 8, CellValue::number(8));  // widens row 2's spans
  book.setCell("Data", 6, 1, CellValue::number(1));  // the formatted row lends its style
  book.setCell("Data", 4, 5, CellValue::number(5));  // the styled column lends its style
  book.setCell("Data", 2, 2, CellValue::text("\ttab"));
  book.setCell("Prefixed", 3, 2, CellValue::text("new"));
  book.save();
  const std::string data = test::readPart(path, "xl/worksheets/sheet1.xml");
  std::vector<int> rows;
  const std::regex row_number("<row r=\"(\\d+)\"");
  for (auto it = std::sregex_iterator(data.begin(), data.end(), row_number);
       it != std::sregex_iterator(); ++it) {
    rows.push_back(std::stoi((*it)[1]));
  }
  EXPECT_EQ(rows, (std::vector<int>{1, 2, 3, 4, 6}));
  EXPECT_NE(data.find("<dimension ref=\"A1:H6\"/>"), std::string::npos);
  EXPECT_NE(data.find("<row r=\"2\" spans=\"1:8\">"), std::string::npos);
  EXPECT_NE(data.find("<c r=\"A6\" s=\"2\"><v>1</v></c><c r=\"B6\">"), std::string::npos);
  EXPECT_NE(data.find("<c r=\"B4\"><v>4</v></c><c r=\"E4\" s=\"2\"><v>5</v></c>"),
            std::string::npos);
  EXPECT_NE(data.find("<c r=\"B2\" s=\"1\" t=\"inlineStr\"><is><t xml:space=\"preserve\">\ttab"),
            std::string::npos)
      << data;
  const std::string prefixed = test::readPart(path, "xl/worksheets/sheet2.xml");
  EXPECT_NE(prefixed.find("<x:row r=\"3\"><x:c r=\"A3\"><x:v>4</x:v></x:c><x:c r=\"B3\" "
                          "t=\"inlineStr\"><x:is><x:t>new</x:t></x:is></x:c><x:c r=\"D3\">"),
            std::string::npos)
      << prefixed;
  EXPECT_NE(prefixed.find("<x:dimension ref=\"A2:D3\"/><x:sheetData>"), std::string::npos);
  const Workbook again = Workbook::open(path);
  EXPECT_EQ(again.cell("Data", 2, 2), CellValue::text("\ttab"));
  EXPECT_EQ(again.cell("Data", 1, 4), CellValue::text("line\rbreak _x0041_"));
  EXPECT_EQ(again.cell("Prefixed", 3, 2), CellValue::text("new"));
  EXPECT_EQ(again.cell("Prefixed", 3, 4), CellValue::number(5));
  const std::string dump = python(test::kOpenpyxlDump, {path.string()});
  for (const char* line : {"cell Prefixed B3 'new' General", "cell Data A6 1 0.00% False",
                           "cell Data E4 5 0.00% False", "cell Data B4 4 General"}) {
    EXPECT_NE(dump.find(line), std::string::npos) << line << " not in\n" << dump;
  }
}

TEST(SaveValues, TextsAndNumbersAreCheckedAndKeptExactly) {
  ScratchDir dir;
  const auto path = dir / "v.xlsx";
  Workbook book = Workbook::create({"S"});
  const std::string longest(kMaxTextLength, 'x');
  std::string too_long_in_utf16(kMaxTextLength - 1, 'x');
  too_long_in_utf16 += "😀";  // one character, two UTF-16 units
  EXPECT_THROW(book.setCell("S", 1, 1, CellValue::text(longest + "x")), WorkbookError);
  EXPECT_THROW(book.setCell("S", 1, 1, CellValue::text(too_long_in_utf16)), WorkbookError);
  EXPECT_THROW(book.setCell("S", 1, 1, CellValue::text("bad \xFF byte")), WorkbookError);
  EXPECT_THROW(book.setCell("S", 1, 1, CellValue::number(std::nan(""))), WorkbookError);
  EXPECT_THROW(book.setCell("S", 1, kMaxColumns + 1, CellValue::number(1)), WorkbookError);
  EXPECT_THROW(book.setCell("Nope", 1, 1, CellValue::number(1)), WorkbookError);
  EXPECT_FALSE(book.isModified());
  const std::vector<CellValue> values = {CellValue::text(longest),
                                         CellValue::text("a\rb\x01c_x0041_\n"),
                                         CellValue::text("  "),
                                         CellValue::text("😀 ünï"),
                                         CellValue::number(0.1 + 0.2),
                                         CellValue::number(-0.0),
                                         CellValue::number(5e-324),
                                         CellValue::number(1.7976931348623157e308),
                                         CellValue::number(123456789012345)};
  for (std::size_t i = 0; i < values.size(); ++i) {
    book.setCell("S", static_cast<int>(i) + 1, 1, values[i]);
  }
  book.saveAs(path);
  const Workbook again = Workbook::open(path);
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(again.cell("S", static_cast<int>(i) + 1, 1), values[i]) << "row " << i + 1;
  }
  EXPECT_EQ(python("import sys, openpyxl\nws = openpyxl.load_workbook(sys.argv[1])['S']\n"
                   "print(len(ws['A1'].value), repr(ws['A3'].value), repr(ws['A4'].value), "
                   "ws['A5'].value == 0.1 + 0.2)",
                   {path.string()}),
            "32767 '  ' '😀 ünï' True\n");
}

}  // namespace
}  // namespace medravolix::workbook
