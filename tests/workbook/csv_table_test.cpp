#include "workbook/csv_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/test_support.h"
#include "workbook/workbook_error.h"

namespace medravolix::workbook {
namespace {

CellValue num(double d) {
  return CellValue::number(d);
}
CellValue text(const char* s) {
  return CellValue::text(s);
}

TEST(CsvTable, QuotedFieldsAreTextsAndUnquotedNumbersAreNumbers) {
  const auto t = CsvTable::parse("\"7\",7,-2.5e1, 12 ,abc,,\"\"\n", "t.csv");
  ASSERT_EQ(t.rowCount(), 1);
  EXPECT_EQ(t.cell(1, 1), text("7"));
  EXPECT_EQ(t.cell(1, 2), num(7));
  EXPECT_EQ(t.cell(1, 3), num(-25));
  EXPECT_EQ(t.cell(1, 4), num(12));  // blanks around a number, as the workbook reads them
  EXPECT_EQ(t.cell(1, 5), text("abc"));
  EXPECT_EQ(t.cell(1, 6), CellValue());  // an empty field is an empty cell
  EXPECT_EQ(t.cell(1, 7), text(""));     // a quoted empty field is the empty text
  EXPECT_EQ(t.columnCount(), 7);
  // Not numbers in the C locale: they stay texts.
  const auto u = CsvTable::parse("1_000,0x10,inf,nan,\"1,5\",1.5.2\n", "u.csv");
  for (int c = 1; c <= 6; ++c) EXPECT_TRUE(u.cell(1, c).isText()) << c;
  EXPECT_EQ(u.cell(1, 5), text("1,5"));
}

TEST(CsvTable, QuotesSeparatorsAndLineBreaksInsideQuotedFields) {
  const auto t = CsvTable::parse("\"a \"\"b\"\"\",\"x,y\",\"two\r\nlines\"\r\nnext", "t.csv");
  ASSERT_EQ(t.rowCount(), 2);
  EXPECT_EQ(t.cell(1, 1), text("a \"b\""));
  EXPECT_EQ(t.cell(1, 2), text("x,y"));
  EXPECT_EQ(t.cell(1, 3), text("two\r\nlines"));
  EXPECT_EQ(t.cell(2, 1), text("next"));  // the last record needs no line break
}

TEST(CsvTable, RecordsLinesAndEmptyRows) {
  // LF, CRLF and lone CR end records; an empty line is a row of empty cells; the final line
  // break adds no row; rows may differ in length.
  const auto t = CsvTable::parse(
      "\xEF\xBB\xBF"
      "a,b,c\r\n\nd\re,\n",
      "t.csv");
  ASSERT_EQ(t.rowCount(), 4);
  EXPECT_EQ(t.cell(1, 1), text("a"));  // the byte-order mark is not part of the text
  EXPECT_EQ(t.cell(1, 3), text("c"));
  EXPECT_TRUE(t.cell(2, 1).isEmpty());
  EXPECT_EQ(t.cell(3, 1), text("d"));
  EXPECT_EQ(t.cell(4, 1), text("e"));
  EXPECT_TRUE(t.cell(4, 2).isEmpty());
  EXPECT_TRUE(t.cell(3, 2).isEmpty());  // beyond the record
  EXPECT_TRUE(t.cell(9, 9).isEmpty());  // beyond the table
  EXPECT_TRUE(t.cell(0, 1).isEmpty());
  EXPECT_EQ(t.columnCount(), 3);
  EXPECT_EQ(CsvTable::parse("", "e.csv").rowCount(), 0);
}

TEST(CsvTable, KeepsUtf8Text) {
  const auto t = CsvTable::parse("Almería,\"T (°C)\",日本\n", "t.csv");
  EXPECT_EQ(t.cell(1, 1), text("Almería"));
  EXPECT_EQ(t.cell(1, 2), text("T (°C)"));
  EXPECT_EQ(t.cell(1, 3), text("日本"));
}

void ExpectError(const std::string& csv, const std::string& message_part) {
  try {
    CsvTable::parse(csv, "bad.csv");
    ADD_FAILURE() << "no error for: " << csv;
  } catch (const WorkbookError& e) {
    EXPECT_NE(std::string(e.what()).find(message_part), std::string::npos) << e.what();
  }
}

TEST(CsvTable, MalformedTextIsRefusedWithTheLine) {
  ExpectError("a\nb,\"open\nstill open", "bad.csv, line 2: the quoted field that starts here");
  ExpectError("a\n\"x\"y\n", "bad.csv, line 2: there is text after the closing quote");
  ExpectError("ok\nab\"c\n", "bad.csv, line 2: a quote stands inside a field");
  ExpectError("ok\n\"two\nlines\",\xC3(\n", "line 3: the text is not valid UTF-8");
  ExpectError("\xC0\xAF\n", "not valid UTF-8");          // overlong
  ExpectError("\xED\xA0\x80\n", "not valid UTF-8");      // a surrogate
  ExpectError("\xF4\x90\x80\x80\n", "not valid UTF-8");  // above U+10FFFF
  ExpectError("\xE2\x82\n", "not valid UTF-8");          // cut short
}

TEST(CsvTable, ReadsFilesAndNamesAMissingOne) {
  testing::ScratchDir dir;
  {
    std::ofstream f(dir / "t.csv", std::ios::binary);
    f << "\"id\",1\n";
  }
  const auto t = CsvTable::read(dir / "t.csv");
  EXPECT_EQ(t.cell(1, 2), num(1));
  try {
    CsvTable::read(dir / "missing.csv");
    ADD_FAILURE() << "no error for a missing file";
  } catch (const WorkbookError& e) {
    EXPECT_NE(std::string(e.what()).find("missing.csv"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace medravolix::workbook
