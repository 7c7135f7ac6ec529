#include "workbook/csv_table.h"

#include "xlsx_fixtures.h"

namespace medravolix::workbook {
namespace {

using namespace test;

TEST(CsvTable, FieldsRecordsAndTypes) {
  // A byte-order mark; LF, CRLF and lone CR end records; quoted fields are texts, unquoted
  // numbers (in the C locale, blanks around allowed) are numbers; the last record needs no break.
  const auto t = CsvTable::parse(
      "\xEF\xBB\xBF\"7\",7,-2.5e1, 12 ,abc,,\"\"\r\n\n"
      "\"a \"\"b\"\"\",\"x,y\",\"two\r\nlines\"\r"
      "Almería,日本,1_000,0x10,inf,nan,\"1,5\",1.5.2\nnext",
      "t.csv");
  EXPECT_EQ(grid(6, 8, [&](int row, int column) { return t.cell(row, column); }),
            "'7' 7 -25 12 'abc' _ '' _\n_ _ _ _ _ _ _ _\n'a \"b\"' 'x,y' 'two\r\nlines' _ _ _ _ _\n"
            "'Almería' '日本' '1_000' '0x10' 'inf' 'nan' '1,5' '1.5.2'\n'next' _ _ _ _ _ _ _\n"
            "_ _ _ _ _ _ _ _\n");
  EXPECT_TRUE(t.cell(0, 1).isEmpty());
  EXPECT_EQ(t.rowCount(), 5);
  EXPECT_EQ(t.columnCount(), 8);
  EXPECT_EQ(CsvTable::parse("a\n", "a.csv").rowCount(), 1);  // the final break adds no row
}

TEST(CsvTable, MalformedTextAndMissingFilesAreRefusedWithTheLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"a\nb,\"open\nstill open", "bad.csv, line 2: the quoted field that starts here"},
      {"a\n\"x\"y\n", "bad.csv, line 2: there is text after the closing quote"},
      {"ok\nab\"c\n", "bad.csv, line 2: a quote stands inside a field"},
      {"ok\n\"two\nlines\",\xC3(\n", "line 3: the text is not valid UTF-8"}};
  for (const auto& [csv, message] : cases) {
    EXPECT_CONTAINS(errorOf([&] { CsvTable::parse(csv, "bad.csv"); }), message);
  }
  ScratchDir dir;
  std::ofstream(dir / "t.csv", std::ios::binary) << "\"id\",1\n";
  EXPECT_EQ(CsvTable::read(dir / "t.csv").cell(1, 2), CellValue::number(1));
  EXPECT_CONTAINS(errorOf([&] { CsvTable::read(dir / "missing.csv"); }), "missing.csv");
}

}  // namespace
}  // namespace medravolix::workbook
