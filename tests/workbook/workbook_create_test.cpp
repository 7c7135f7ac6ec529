// A new workbook made from scratch, saved, and read back by openpyxl and by the workbook itself.
#include <gtest/gtest.h>

#include "support/test_support.h"
#include "workbook/workbook.h"
#include "xlsx_test_helpers.h"

namespace medravolix::workbook {
namespace {

using medravolix::testing::ScratchDir;
using test::python;

constexpr const char* kDumpAll = R"(
import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
print('|'.join(wb.sheetnames))
for ws in wb.worksheets:
    for row in ws.iter_rows():
        for c in row:
            if c.value is not None:
                print(ws.title, c.coordinate, type(c.value).__name__, repr(c.value))
)";

TEST(NewWorkbook, WrittenCellsAreReadBackByOpenpyxlAndByItself) {
  ScratchDir dir;
  const auto path = dir / "new.xlsx";
  Workbook book = Workbook::create({"Sim_batch", "Suelo ñandú 2"});
  EXPECT_EQ(book.sheetNames(), (std::vector<std::string>{"Sim_batch", "Suelo ñandú 2"}));
  book.setCell("Sim_batch", 1, 1, CellValue::text("Id"));
  book.setCell("Sim_batch", 2, 1, CellValue::number(7));
  book.setCell("Sim_batch", 2, 3, CellValue::number(0.1));
  book.setCell("Sim_batch", 2, 2, CellValue::number(-2.5e-7));
  book.setCell("Sim_batch", 10, 30, CellValue::text(" blanks & <tags> "));
  book.setCell("Sim_batch", 3, 1, CellValue::text("gone"));
  book.setCell("Sim_batch", 3, 1, CellValue());  // cleared again
  book.setCell("Suelo ñandú 2", 5, 2, CellValue::text("ácido"));
  EXPECT_TRUE(book.isModified());
  book.saveAs(path);
  EXPECT_FALSE(book.isModified());
  EXPECT_EQ(book.path(), path);

  EXPECT_EQ(python(kDumpAll, {path.string()}),
            "Sim_batch|Suelo ñandú 2\n"
            "Sim_batch A1 str 'Id'\n"
            "Sim_batch A2 int 7\n"
            "Sim_batch B2 float -2.5e-07\n"
            "Sim_batch C2 float 0.1\n"
            "Sim_batch AD10 str ' blanks & <tags> '\n"
            "Suelo ñandú 2 B5 str 'ácido'\n");

  const Workbook again = Workbook::open(path);
  EXPECT_EQ(again.cell("Sim_batch", 2, 2), CellValue::number(-2.5e-7));
  EXPECT_EQ(again.cell("Sim_batch", 10, 30), CellValue::text(" blanks & <tags> "));
  EXPECT_TRUE(again.cell("Sim_batch", 3, 1).isEmpty());
  EXPECT_EQ(again.lastRow("Sim_batch"), 10);
  EXPECT_EQ(again.lastRow("Suelo ñandú 2"), 5);
}

TEST(NewWorkbook, DimensionCoversTheWrittenCells) {
  ScratchDir dir;
  Workbook book = Workbook::create({"A"});
  book.setCell("A", 4, 3, CellValue::number(1));
  book.setCell("A", 2, 5, CellValue::number(1));
  book.saveAs(dir / "d.xlsx");
  EXPECT_EQ(
      python("import sys, openpyxl\nprint(openpyxl.load_workbook(sys.argv[1])['A'].dimensions)",
             {(dir / "d.xlsx").string()}),
      "C2:E4\n");
}

TEST(NewWorkbook, BadSheetNamesAreRefused) {
  EXPECT_THROW(Workbook::create({}), WorkbookError);
  EXPECT_THROW(Workbook::create({""}), WorkbookError);
  EXPECT_THROW(Workbook::create({"a/b"}), WorkbookError);
  EXPECT_THROW(Workbook::create({"this name is longer than 31 chars"}), WorkbookError);
  EXPECT_THROW(Workbook::create({"Same", "same"}), WorkbookError);
  EXPECT_NO_THROW(Workbook::create({"Constants", "Parameters"}));
}

TEST(NewWorkbook, SaveWithoutAFileNameIsRefused) {
  Workbook book = Workbook::create({"A"});
  EXPECT_THROW(book.save(), WorkbookError);
  EXPECT_FALSE(book.reloadIfChanged());
}

}  // namespace
}  // namespace medravolix::workbook
