// Reading workbooks written by other programs: openpyxl, and packages assembled part by part
// the way Excel and LibreOffice write them.
#include "xlsx_fixtures.h"

namespace medravolix::workbook {
namespace {

using namespace test;

TEST(ReadWorkbook, WrittenByOpenpyxl) {
  ScratchDir dir;
  makeOpenpyxlWorkbook(dir / "o.xlsx");
  const Workbook book = Workbook::open(dir / "o.xlsx");
  EXPECT_EQ(book.sheetNames(), (std::vector<std::string>{"Constants", "Hoja de suelos ñandú"}));
  // TRUE reads 1, 15 Jan 2020 its serial day; D2:E2 lie inside the merged range.
  EXPECT_EQ(grid(book, "Constants", 8, 5),
            "'Name' 'Value' _ 'merged' _\n'k1' 0.5 ' 12.5 ' _ _\n"
            "_ 0.00000000000000000001 'abc' _ _\n_ -3 _ _ _\n1 ! _ _ _\n43845 _ _ _ _\n"
            "_ _ _ _ _\n_ 42 _ _ _\n");
  EXPECT_EQ(grid(book, "Hoja de suelos ñandú", 3, 3), "'Suelo 1' 10 'ácido'\n_ _ _\n7 _ _\n");
  EXPECT_TRUE(book.cell("Constants", kMaxRows, kMaxColumns).isEmpty());
  EXPECT_EQ(book.lastRow("Constants"), 8);
  EXPECT_EQ(book.lastRow("Hoja de suelos ñandú"), 3);
  EXPECT_FALSE(book.uses1904Dates());
  EXPECT_EQ(book.number("Constants", 2, 3), 12.5);  // the text " 12.5 "
  EXPECT_EQ(book.number("Constants", 7, 2), 0.0);   // empty
  EXPECT_EQ(errorOf([&] { book.number("Constants", 3, 3); }),
            "Constants!C3 holds the text \"abc\" where a number is expected");
  Workbook blank = Workbook::create({"S"});  // a cell that looks empty and is not
  blank.setCell("S", 1, 1, CellValue::text(" "));
  EXPECT_EQ(errorOf([&] { blank.number("S", 1, 1); }),
            "S!A1 looks empty but holds the text \" \" where a number is expected: clear the "
            "cell or type a number in it");
  // openpyxl stores no value for a formula: reading it must not give a silent 0.
  EXPECT_CONTAINS(errorOf([&] { book.number("Constants", 5, 2); }),
                  "Constants!B5 holds a formula whose value was never stored");
  EXPECT_TRUE(book.hasSheet("constants"));  // sheet names ignore case, as in spreadsheets
  EXPECT_EQ(errorOf([&] { book.cell("Parameters", 1, 1); }),
            "The workbook has no sheet named 'Parameters'");
  EXPECT_CONTAINS(errorOf([&] { book.cell("Constants", kMaxRows + 1, 1); }), "1,048,576 rows");
  EXPECT_NE(errorOf([&] { book.cell("Constants", 1, kMaxColumns + 1); }), "");
  EXPECT_NE(errorOf([&] { book.cell("Constants", 0, 1); }), "");
}

TEST(ReadWorkbook, AssembledAsExcelAndLibreOfficeWriteThem) {
  ScratchDir dir;
  makeExcelLikeWorkbook(dir / "x.xlsx");
  const Workbook book = Workbook::open(dir / "x.xlsx");
  EXPECT_EQ(book.sheetNames(), (std::vector<std::string>{"Data", "Prefixed", "Formulas"}));
  // Shared strings: rich runs joined, the phonetic run left out, escapes decoded, a lone blank
  // kept; a boolean, an error, a 1904 date (2 Jan 2004 noon), a styled empty cell, inline runs.
  EXPECT_EQ(grid(book, "Data", 6, 6),
            "'Id' 'Bold and plain' '漢字' 'line\rbreak _x0041_' _ _\n' ' 1500 1 ! 36526.5 _\n"
            "'inline' '12.5' -0.25 _ _ _\n_ _ _ _ _ _\n_ _ _ _ _ _\n_ 6 _ _ _ _\n");
  // An "x:" prefix; rows and cells without "r" follow the one before.
  EXPECT_EQ(grid(book, "Prefixed", 3, 4), "_ _ _ _\n_ 1 2 'three'\n4 _ _ 5\n");
  // Formulas give their stored results, members of shared and array formulas too.
  EXPECT_EQ(grid(book, "Formulas", 5, 6),
            "2 6 'x2' 1 ! _\n3 6 _ _ _ _\n4 8 _ _ _ _\n5 10 _ _ _ _\n_ _ _ 4 12 14\n");
  EXPECT_EQ(errorOf([&] { book.cell("Data", 2, 4); }),
            "Data!D2 holds the error #DIV/0! instead of a value");
  EXPECT_CONTAINS(errorOf([&] { book.cell("Formulas", 1, 5); }), "Formulas!E1 holds a formula");
  EXPECT_TRUE(book.uses1904Dates());
  EXPECT_EQ(book.lastRow("Data"), 6);
  EXPECT_EQ(book.lastRow("Prefixed"), 3);

  makeExcelLikeWorkbook(dir / "chart.xlsx", {.chartsheet = true});
  EXPECT_EQ(Workbook::open(dir / "chart.xlsx").sheetNames(), book.sheetNames());
  makeExcelLikeWorkbook(dir / "case.xlsx", {.odd_case_target = true});
  EXPECT_EQ(grid(Workbook::open(dir / "case.xlsx"), "Data", 6, 6), grid(book, "Data", 6, 6));
  makeExcelLikeWorkbook(dir / "disorder.xlsx", {.rows_out_of_order = true});
  const Workbook disorder = Workbook::open(dir / "disorder.xlsx");
  EXPECT_EQ(grid(disorder, "Data", 6, 6), grid(book, "Data", 6, 6));
  EXPECT_EQ(disorder.lastRow("Data"), 6);
  makeExcelLikeWorkbook(dir / "blank.xlsx", {.blank_in_part_name = true});
  EXPECT_EQ(grid(Workbook::open(dir / "blank.xlsx"), "Prefixed", 3, 4),
            grid(book, "Prefixed", 3, 4));
}

}  // namespace
}  // namespace medravolix::workbook
