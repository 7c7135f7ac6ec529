// The surgical save: what is written changes and everything else stays as it was, as openpyxl
// reads it back and as the zip's own bytes show; new workbooks made from scratch.
#include <algorithm>
#include <cmath>
#include <regex>
#include <set>
#include <sstream>

#include "xlsx_fixtures.h"

namespace medravolix::workbook {
namespace {

using namespace test;
using Lines = std::set<std::string>;

Lines openpyxlView(const fs::path& path) {
  Lines out;
  std::istringstream in(python(kOpenpyxlDump, {path.string()}));
  for (std::string line; std::getline(in, line);) out.insert(line);
  return out;
}

// The lines that `after` lost and gained against `before`.
std::pair<Lines, Lines> changes(const Lines& before, const Lines& after) {
  Lines lost, gained;
  std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                      std::inserter(lost, lost.end()));
  std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                      std::inserter(gained, gained.end()));
  return {lost, gained};
}

// Each zip entry's name and a digest of its compressed bytes, in the zip's order.
std::string rawEntries(const fs::path& path) {
  return python(R"(
import sys, zipfile, struct, hashlib
f = open(sys.argv[1], 'rb')
for i in zipfile.ZipFile(sys.argv[1]).infolist():
    f.seek(i.header_offset + 26); n, e = struct.unpack('<HH', f.read(4)); f.seek(n + e, 1)
    print(i.filename, hashlib.md5(f.read(i.compress_size)).hexdigest())
)",
                {path.string()});
}

TEST(SaveWorkbook, OnlyWrittenCellsChangeForOpenpyxl) {
  ScratchDir dir;
  const auto path = dir / "o.xlsx";
  makeOpenpyxlWorkbook(path);
  const Lines before = openpyxlView(path);
  Workbook book = Workbook::open(path);
  book.setCell("Constants", 2, 2, CellValue::number(0.75));        // styled number
  book.setCell("Constants", 5, 2, CellValue::text("no formula"));  // over a formula
  book.setCell("Constants", 3, 3, CellValue());                    // cleared
  book.setCell("Constants", 8, 1, CellValue::text("before B8"));   // new cell ahead of one
  book.setCell("Constants", 12, 3, CellValue::number(-1.25e300));  // new row at the end
  book.setCell("Constants", 7, 6, CellValue::number(3));           // new row in the middle
  book.setCell("Hoja de suelos ñandú", 2, 1, CellValue::text("Suelo 2"));
  book.save();
  EXPECT_EQ(
      changes(before, openpyxlView(path)),
      (std::pair<Lines, Lines>{{"cell Constants B2 0.5 0.00 False 00FFFF00",
                                "cell Constants B5 '=B2*2' General False 00000000",
                                "cell Constants C3 'abc' General False 00000000"},
                               {"cell Constants B2 0.75 0.00 False 00FFFF00",
                                "cell Constants B5 'no formula' General False 00000000",
                                "cell Constants A8 'before B8' General False 00000000",
                                "cell Constants C12 -1.25e+300 General False 00000000",
                                "cell Constants F7 3 General False 00000000",
                                "cell Hoja de suelos ñandú A2 'Suelo 2' General False 00000000"}}));
  EXPECT_EQ(Workbook::open(path).lastRow("Constants"), 12);
}

TEST(SaveWorkbook, UntouchedEntriesAreCopiedByteForByte) {
  ScratchDir dir;
  const auto path = dir / "x.xlsx";
  makeExcelLikeWorkbook(path);
  const std::string before = rawEntries(path);
  Workbook book = Workbook::open(path);
  book.setCell("Prefixed", 2, 2, CellValue::number(10));
  book.save();
  const std::string after = rawEntries(path);
  EXPECT_NE(after, before);  // the sheet, and the workbook part asking for recalculation
  const std::regex rewritten("(xl/worksheets/sheet2.xml|xl/workbook.xml) [0-9a-f]+");
  EXPECT_EQ(std::regex_replace(after, rewritten, "$1"),
            std::regex_replace(before, rewritten, "$1"));
}

TEST(SaveWorkbook, OverwrittenFormulaDropsTheCalculationChain) {
  ScratchDir dir;
  const auto path = dir / "x.xlsx";
  makeExcelLikeWorkbook(path);
  const Lines before = openpyxlView(path);
  Workbook book = Workbook::open(path);
  book.setCell("Formulas", 3, 2, CellValue::number(99));  // a shared formula's member
  book.setCell("Formulas", 1, 2, CellValue::text("typed"));
  book.save();
  EXPECT_EQ(rawEntries(path).find("calcChain"), std::string::npos);
  for (const char* part : {"[Content_Types].xml", "xl/_rels/workbook.xml.rels"}) {
    EXPECT_EQ(readPart(path, part).find("calcChain"), std::string::npos) << part;
  }
  // The full recalculation request goes where the schema orders it: before fileRecoveryPr.
  EXPECT_CONTAINS(readPart(path, "xl/workbook.xml"),
                  "</definedNames><calcPr fullCalcOnLoad=\"1\"/><fileRecoveryPr");
  EXPECT_EQ(changes(before, openpyxlView(path)),
            (std::pair<Lines, Lines>{{"cell Formulas B1 '=A1*3' General False 00000000",
                                      "cell Formulas B3 '=A3*2' General False 00000000"},
                                     {"cell Formulas B1 'typed' General False 00000000",
                                      "cell Formulas B3 99 General False 00000000"}}));
  // The master keeps the shared text, so the other member still reads it.
  const std::string sheet = readPart(path, "xl/worksheets/sheet3.xml");
  EXPECT_CONTAINS(sheet, "<c r=\"B3\"><v>99</v></c>");
  EXPECT_CONTAINS(sheet, "<f t=\"shared\" ref=\"B2:B4\" si=\"0\">A2*2</f>");
}

TEST(SaveWorkbook, SharedMastersAndArrayRangesAreRefused) {
  ScratchDir dir;
  makeExcelLikeWorkbook(dir / "x.xlsx");
  Workbook book = Workbook::open(dir / "x.xlsx");
  for (const auto& [row, column] : {std::pair{2, 2}, std::pair{5, 4}, std::pair{5, 5}}) {
    EXPECT_EQ(errorOf([&] {
                book.setCell("Formulas", row, column, CellValue::number(1));
              }).rfind(cellReference("Formulas", row, column) + " ", 0),
              0u);
  }
  EXPECT_NO_THROW(book.checkWritable("Formulas", 4, 2));  // a member may be overwritten
  EXPECT_NO_THROW(book.checkWritable("Formulas", 5, 6));  // a one-cell array formula too
  EXPECT_FALSE(book.isModified());
}

TEST(SaveWorkbook, RewrittenSheetsAreInOrderWithPrefixStylesAndSpans) {
  ScratchDir dir;
  const auto path = dir / "x.xlsx";
  makeExcelLikeWorkbook(path, {.rows_out_of_order = true});
  Workbook book = Workbook::open(path);
  book.setCell("Data", 4, 2, CellValue::number(4));  // a new row between 3 and 6
  book.setCell("Data", 2, 8, CellValue::number(8));  // widens row 2's spans
  book.setCell("Data", 6, 1, CellValue::number(1));  // the formatted row lends its style
  book.setCell("Data", 4, 5, CellValue::number(5));  // the styled column lends its style
  book.setCell("Data", 2, 2, CellValue::text("\ttab"));
  book.setCell("Prefixed", 3, 2, CellValue::text("new"));
  book.save();
  const std::string data = readPart(path, "xl/worksheets/sheet1.xml");
  std::string rows;
  const std::regex row_number("<row r=\"(\\d+)\"");
  for (std::sregex_iterator it(data.begin(), data.end(), row_number), end; it != end; ++it) {
    rows += (*it)[1].str() + " ";
  }
  EXPECT_EQ(rows, "1 2 3 4 6 ");
  for (const char* xml :
       {"<dimension ref=\"A1:H6\"/>", "<row r=\"2\" spans=\"1:8\">",
        "<c r=\"A6\" s=\"2\"><v>1</v></c><c r=\"B6\">",
        "<c r=\"B4\"><v>4</v></c><c r=\"E4\" s=\"2\"><v>5</v></c>",
        "<c r=\"B2\" s=\"1\" t=\"inlineStr\"><is><t xml:space=\"preserve\">\ttab"}) {
    EXPECT_CONTAINS(data, xml);
  }
  const std::string prefixed = readPart(path, "xl/worksheets/sheet2.xml");
  EXPECT_CONTAINS(prefixed, "<x:dimension ref=\"A2:D3\"/><x:sheetData>");
  EXPECT_CONTAINS(prefixed,
                  "<x:row r=\"3\"><x:c r=\"A3\"><x:v>4</x:v></x:c><x:c r=\"B3\" t=\"inlineStr\">"
                  "<x:is><x:t>new</x:t></x:is></x:c><x:c r=\"D3\">");
  const std::string dump = python(kOpenpyxlDump, {path.string()});
  for (const char* line : {"cell Prefixed B3 'new' General", "cell Data A6 1 0.00% False",
                           "cell Data E4 5 0.00% False", "cell Data B4 4 General"}) {
    EXPECT_CONTAINS(dump, line);
  }
}

// Rows and cells that take their place from the one before them (no "r", or an empty one) are
// written where the reader found them, and the saved file reads back with no cell moved.
TEST(SaveWorkbook, CellsPlacedByTheirNeighboursAreWrittenWhereTheyWereRead) {
  ScratchDir dir;
  const auto path = dir / "x.xlsx";
  const std::string rows =
      "<row r=\"2\"><c r=\"\"><v>1</v></c><c r=\"\"><v>2</v></c><c r=\"D2\"><v>4</v></c>"
      "<c><v>5</v></c></row><row><c><v>6</v></c><c r=\"\"><v>7</v></c></row>";
  makeExcelLikeWorkbook(path, {.parts = {{"xl/worksheets/sheet1.xml",
                                          "<worksheet xmlns=\"http://schemas.openxmlformats.org/"
                                          "spreadsheetml/2006/main\"><sheetData>" +
                                              rows + "</sheetData></worksheet>"}}});
  Workbook book = Workbook::open(path);
  const std::string before = "_ _ _ _ _\n1 2 _ 4 5\n6 7 _ _ _\n";
  ASSERT_EQ(grid(book, "Data", 3, 5), before);
  book.setCell("Data", 2, 2, CellValue::number(20));
  book.setCell("Data", 2, 3, CellValue::number(30));
  book.setCell("Data", 3, 2, CellValue());
  book.setCell("Data", 3, 5, CellValue::number(50));
  book.save();
  const std::string after = "_ _ _ _ _\n1 20 30 4 5\n6 _ _ _ 50\n";
  EXPECT_EQ(grid(book, "Data", 3, 5), after);
  EXPECT_EQ(grid(Workbook::open(path), "Data", 3, 5), after);
  EXPECT_CONTAINS(python(kOpenpyxlDump, {path.string()}), "cell Data C2 30 General");
}

TEST(NewWorkbook, ValuesAreCheckedAndReadBackExactlyByOpenpyxlAndByItself) {
  ScratchDir dir;
  const auto path = dir / "new.xlsx";
  Workbook book = Workbook::create({"S", "Suelo ñandú 2"});
  const std::string longest = std::string(kMaxTextLength - 1, 'x') + "ñ";  // 32,768 bytes
  const std::string too_long_in_utf16 = longest.substr(1) + "😀";           // two UTF-16 units
  for (const auto& bad : {CellValue::text(longest + "x"), CellValue::text(too_long_in_utf16),
                          CellValue::text("bad \xFF byte"), CellValue::number(std::nan(""))}) {
    EXPECT_THROW(book.setCell("S", 1, 1, bad), WorkbookError);
  }
  EXPECT_THROW(book.setCell("S", 1, kMaxColumns + 1, CellValue::number(1)), WorkbookError);
  EXPECT_THROW(book.setCell("Nope", 1, 1, CellValue::number(1)), WorkbookError);
  EXPECT_FALSE(book.isModified());
  const std::vector<CellValue> values = {
      CellValue::text(longest),     CellValue::text("a\rb\x01c_x0041_\n"),
      CellValue::text("  "),        CellValue::text("😀 ünï"),
      CellValue::number(0.1 + 0.2), CellValue::number(-2.5e-7),
      CellValue::number(5e-324),    CellValue::number(1.7976931348623157e308),
      CellValue::number(7),         CellValue::text(" blanks & <tags> ")};
  for (std::size_t i = 0; i < values.size(); ++i) {
    book.setCell("S", static_cast<int>(i) + 1, 30, values[i]);
  }
  book.setCell("S", 11, 30, CellValue::text("gone"));
  book.setCell("S", 11, 30, CellValue());  // cleared again
  book.setCell("Suelo ñandú 2", 5, 2, CellValue::text("ácido"));
  book.saveAs(path);
  EXPECT_FALSE(book.isModified());
  const Workbook again = Workbook::open(path);
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(again.cell("S", static_cast<int>(i) + 1, 30), values[i]) << "row " << i + 1;
  }
  EXPECT_EQ(again.lastRow("S"), 10);
  EXPECT_CONTAINS(readPart(path, "xl/worksheets/sheet1.xml"), "<dimension ref=\"AD1:AD10\"/>");
  EXPECT_EQ(python(R"(
import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1]); ws = wb['S']
print(wb.sheetnames, ws.max_row, len(ws['AD1'].value), *[repr(c.value) for c in ws['AD'][2:]],
      wb['Suelo ñandú 2']['B5'].value, ws['AD5'].value == 0.1 + 0.2)
)",
                   {path.string()}),
            "['S', 'Suelo ñandú 2'] 10 32767 '  ' '😀 ünï' 0.30000000000000004 -2.5e-07 5e-324 "
            "1.7976931348623157e+308 7 ' blanks & <tags> ' ácido True\n");
}

TEST(NewWorkbook, BadSheetNamesAndSavesWithoutAFileAreRefused) {
  for (const auto& names : std::vector<std::vector<std::string>>{
           {}, {""}, {"a/b"}, {std::string(32, 'n')}, {"Same", "same"}}) {
    EXPECT_THROW(Workbook::create(names), WorkbookError) << names.size();
  }
  Workbook book = Workbook::create({std::string(31, 'n'), "Parameters"});
  EXPECT_THROW(book.save(), WorkbookError);
  EXPECT_FALSE(book.reloadIfChanged());
}

}  // namespace
}  // namespace medravolix::workbook
