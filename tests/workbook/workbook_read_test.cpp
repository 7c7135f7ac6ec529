// Reading workbooks written by other programs: openpyxl, and packages assembled part by part
// the way Excel and LibreOffice write them.
#include <gtest/gtest.h>

#include "support/test_support.h"
#include "workbook/workbook.h"
#include "xlsx_fixtures.h"

namespace medravolix::workbook {
namespace {

using medravolix::testing::Near;
using medravolix::testing::ScratchDir;

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

TEST(ReadOpenpyxlWorkbook, ValuesTextsAndNumbersAreRead) {
  ScratchDir dir;
  test::makeOpenpyxlWorkbook(dir / "o.xlsx");
  const Workbook book = Workbook::open(dir / "o.xlsx");
  EXPECT_EQ(book.sheetNames(), (std::vector<std::string>{"Constants", "Hoja de suelos ñandú"}));
  EXPECT_EQ(book.cell("Constants", 1, 1), CellValue::text("Name"));
  EXPECT_EQ(book.cell("Constants", 2, 2), CellValue::number(0.5));
  EXPECT_EQ(book.cell("Constants", 3, 2), CellValue::number(1e-20));
  EXPECT_EQ(book.cell("Constants", 4, 2), CellValue::number(-3));
  EXPECT_EQ(book.cell("Constants", 5, 1), CellValue::number(1));      // TRUE
  EXPECT_EQ(book.cell("Constants", 6, 1), CellValue::number(43845));  // 15 Jan 2020
  EXPECT_EQ(book.cell("Constants", 1, 4), CellValue::text("merged"));
  EXPECT_TRUE(book.cell("Constants", 2, 4).isEmpty());  // inside the merged range
  EXPECT_TRUE(book.cell("Constants", 7, 2).isEmpty());
  EXPECT_TRUE(book.cell("Constants", kMaxRows, kMaxColumns).isEmpty());
  EXPECT_EQ(book.lastRow("Constants"), 8);
  EXPECT_EQ(book.cell("Hoja de suelos ñandú", 1, 3), CellValue::text("ácido"));
  EXPECT_EQ(book.lastRow("Hoja de suelos ñandú"), 3);
  EXPECT_FALSE(book.uses1904Dates());
}

TEST(ReadOpenpyxlWorkbook, NumbersTakeNumericTextsAndRefuseOtherTexts) {
  ScratchDir dir;
  test::makeOpenpyxlWorkbook(dir / "o.xlsx");
  const Workbook book = Workbook::open(dir / "o.xlsx");
  EXPECT_TRUE(Near(12.5, book.number("Constants", 2, 3), 0.0));  // the text " 12.5 "
  EXPECT_EQ(book.number("Constants", 7, 2), 0.0);                // empty
  EXPECT_EQ(errorOf([&] { book.number("Constants", 3, 3); }),
            "Constants!C3 holds the text \"abc\" where a number is expected");
  // openpyxl stores no value for a formula: reading it must not give a silent 0.
  const std::string formula = errorOf([&] { book.number("Constants", 5, 2); });
  EXPECT_NE(formula.find("Constants!B5"), std::string::npos) << formula;
  EXPECT_NE(formula.find("open and save the workbook in a spreadsheet program so that its "
                         "formulas are computed"),
            std::string::npos)
      << formula;
}

TEST(ReadOpenpyxlWorkbook, SheetsAndReferencesAreChecked) {
  ScratchDir dir;
  test::makeOpenpyxlWorkbook(dir / "o.xlsx");
  const Workbook book = Workbook::open(dir / "o.xlsx");
  EXPECT_TRUE(book.hasSheet("Constants"));
  EXPECT_TRUE(book.hasSheet("constants"));  // sheet names ignore case, as in spreadsheets
  EXPECT_FALSE(book.hasSheet("Parameters"));
  EXPECT_EQ(errorOf([&] { book.requireSheet("Parameters"); }),
            "The workbook has no sheet named 'Parameters'");
  EXPECT_EQ(errorOf([&] { book.cell("Parameters", 1, 1); }),
            "The workbook has no sheet named 'Parameters'");
  EXPECT_NE(errorOf([&] { book.cell("Constants", kMaxRows + 1, 1); }).find("1,048,576 rows"),
            std::string::npos);
  EXPECT_NE(errorOf([&] { book.cell("Constants", 1, kMaxColumns + 1); }), "");
  EXPECT_NE(errorOf([&] { book.cell("Constants", 0, 1); }), "");
}

TEST(ReadExcelLikeWorkbook, SharedStringsInlineStringsAndTypedCells) {
  ScratchDir dir;
  test::makeExcelLikeWorkbook(dir / "x.xlsx");
  const Workbook book = Workbook::open(dir / "x.xlsx");
  EXPECT_EQ(book.sheetNames(), (std::vector<std::string>{"Data", "Prefixed", "Formulas"}));
  EXPECT_TRUE(book.uses1904Dates());
  EXPECT_EQ(book.cell("Data", 1, 1), CellValue::text("Id"));
  EXPECT_EQ(book.cell("Data", 1, 2), CellValue::text("Bold and plain"));  // rich runs joined
  EXPECT_EQ(book.cell("Data", 1, 3), CellValue::text("漢字"));            // phonetic run left out
  EXPECT_EQ(book.cell("Data", 1, 4), CellValue::text("line\rbreak _x0041_"));  // escapes decoded
  EXPECT_EQ(book.cell("Data", 2, 1), CellValue::text(" "));  // a blank that must survive parsing
  EXPECT_EQ(book.cell("Data", 2, 2), CellValue::number(1500));
  EXPECT_EQ(book.cell("Data", 2, 3), CellValue::number(1));
  EXPECT_EQ(errorOf([&] { book.cell("Data", 2, 4); }),
            "Data!D2 holds the error #DIV/0! instead of a value");
  EXPECT_TRUE(Near(36526.5, book.number("Data", 2, 5), 1e-9));  // 2 Jan 2004 noon, 1904 dates
  EXPECT_TRUE(book.cell("Data", 2, 6).isEmpty());               // styled but empty
  EXPECT_EQ(book.cell("Data", 3, 1), CellValue::text("inline"));
  EXPECT_EQ(book.cell("Data", 3, 2), CellValue::text("12.5"));
  EXPECT_EQ(book.number("Data", 3, 2), 12.5);
  EXPECT_EQ(book.cell("Data", 3, 3), CellValue::number(-0.25));
  EXPECT_EQ(book.lastRow("Data"), 6);
}

TEST(ReadExcelLikeWorkbook, PrefixedSheetWithRowsAndCellsWithoutReferences) {
  ScratchDir dir;
  test::makeExcelLikeWorkbook(dir / "x.xlsx");
  const Workbook book = Workbook::open(dir / "x.xlsx");
  EXPECT_EQ(book.cell("Prefixed", 2, 2), CellValue::number(1));
  EXPECT_EQ(book.cell("Prefixed", 2, 3), CellValue::number(2));
  EXPECT_EQ(book.cell("Prefixed", 2, 4), CellValue::text("three"));
  EXPECT_EQ(book.cell("Prefixed", 3, 1), CellValue::number(4));
  EXPECT_EQ(book.cell("Prefixed", 3, 4), CellValue::number(5));
  EXPECT_EQ(book.lastRow("Prefixed"), 3);
}

TEST(ReadExcelLikeWorkbook, FormulasGiveTheirStoredResults) {
  ScratchDir dir;
  test::makeExcelLikeWorkbook(dir / "x.xlsx");
  const Workbook book = Workbook::open(dir / "x.xlsx");
  EXPECT_EQ(book.cell("Formulas", 1, 2), CellValue::number(6));
  EXPECT_EQ(book.cell("Formulas", 1, 3), CellValue::text("x2"));
  EXPECT_EQ(book.cell("Formulas", 1, 4), CellValue::number(1));
  EXPECT_NE(errorOf([&] { book.cell("Formulas", 1, 5); }).find("Formulas!E1 holds a formula"),
            std::string::npos);
  EXPECT_EQ(book.cell("Formulas", 3, 2), CellValue::number(8));   // a shared formula's member
  EXPECT_EQ(book.cell("Formulas", 5, 5), CellValue::number(12));  // inside an array formula
}

TEST(ReadExcelLikeWorkbook, OtherSheetKindsAndPackageVariants) {
  ScratchDir dir;
  test::makeExcelLikeWorkbook(dir / "chart.xlsx", {.chartsheet = true});
  EXPECT_EQ(Workbook::open(dir / "chart.xlsx").sheetNames(),
            (std::vector<std::string>{"Data", "Prefixed", "Formulas"}));
  test::makeExcelLikeWorkbook(dir / "case.xlsx", {.odd_case_target = true});
  EXPECT_EQ(Workbook::open(dir / "case.xlsx").cell("Data", 1, 1), CellValue::text("Id"));
  test::makeExcelLikeWorkbook(dir / "disorder.xlsx", {.rows_out_of_order = true});
  const Workbook disorder = Workbook::open(dir / "disorder.xlsx");
  EXPECT_EQ(disorder.cell("Data", 1, 2), CellValue::text("Bold and plain"));
  EXPECT_EQ(disorder.cell("Data", 3, 3), CellValue::number(-0.25));
  EXPECT_EQ(disorder.cell("Data", 6, 2), CellValue::number(6));
  EXPECT_EQ(disorder.lastRow("Data"), 6);
  // A percent-encoded target for an entry whose name has a blank.
  Workbook created = Workbook::create({"S"});
  created.setCell("S", 1, 1, CellValue::number(8));
  created.saveAs(dir / "blank.xlsx");
  const std::string sheet = test::readPart(dir / "blank.xlsx", "xl/worksheets/sheet1.xml");
  std::string rels = test::readPart(dir / "blank.xlsx", "xl/_rels/workbook.xml.rels");
  rels.replace(rels.find("worksheets/sheet1.xml"), 21, "worksheets/my%20sheet.xml");
  test::editZip(dir / "blank.xlsx", {{"xl/worksheets/sheet1.xml", std::nullopt},
                                     {"xl/worksheets/my sheet.xml", sheet},
                                     {"xl/_rels/workbook.xml.rels", rels}});
  EXPECT_EQ(Workbook::open(dir / "blank.xlsx").cell("S", 1, 1), CellValue::number(8));
}

}  // namespace
}  // namespace medravolix::workbook
