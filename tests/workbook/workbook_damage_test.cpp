// Files that are not workbooks, or damaged ones, give a message a user can act on; never a
// crash, a hang or a silent wrong value.
#include <gtest/gtest.h>

#include "support/test_support.h"
#include "workbook/workbook.h"
#include "xlsx_fixtures.h"

namespace medravolix::workbook {
namespace {

namespace fs = std::filesystem;
using medravolix::testing::ScratchDir;

// The message of opening the file and reading a cell of its first sheet ("" if both work).
std::string errorReading(const fs::path& path, const std::string& sheet = "S") {
  try {
    const Workbook book = Workbook::open(path);
    book.cell(sheet, 1, 1);
  } catch (const WorkbookError& e) {
    return e.what();
  }
  return "";
}

// A workbook of one sheet "S" whose sheet XML is `sheet_data` inside <sheetData>.
fs::path workbookWithSheetData(const fs::path& path, const std::string& sheet_data) {
  Workbook::create({"S"}).saveAs(path);
  test::editZip(path, {{"xl/worksheets/sheet1.xml",
                        "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/"
                        "main\"><sheetData>" +
                            sheet_data + "</sheetData></worksheet>"}});
  return path;
}

#define EXPECT_MESSAGE(message, fragment) \
  EXPECT_NE((message).find(fragment), std::string::npos) << (message)

TEST(DamagedFiles, FilesThatAreNotWorkbooks) {
  ScratchDir dir;
  EXPECT_MESSAGE(errorReading(dir / "missing.xlsx"), "does not exist");
  EXPECT_MESSAGE(errorReading(dir.path()), "is a folder");
  std::ofstream(dir / "empty.xlsx").close();
  EXPECT_MESSAGE(errorReading(dir / "empty.xlsx"), "is not an .xlsx workbook (the file is empty)");
  std::ofstream(dir / "text.xlsx") << "Name;Value\nk1;0.5\n";
  EXPECT_MESSAGE(errorReading(dir / "text.xlsx"), "is not an .xlsx workbook");
  std::ofstream(dir / "old.xls") << std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)
                                 << std::string(600, '\0');
  EXPECT_MESSAGE(errorReading(dir / "old.xls"), "older .xls file");
  test::python(
      "import sys, zipfile\nzipfile.ZipFile(sys.argv[1], 'w').writestr('notes.txt', 'hello')",
      {(dir / "plain.zip").string()});
  EXPECT_MESSAGE(errorReading(dir / "plain.zip"), "is not an .xlsx workbook (it holds no office");
}

TEST(DamagedFiles, BrokenArchives) {
  ScratchDir dir;
  test::makeOpenpyxlWorkbook(dir / "o.xlsx");
  const std::string bytes = test::fileBytes(dir / "o.xlsx");
  std::ofstream(dir / "cut.xlsx", std::ios::binary) << bytes.substr(0, bytes.size() / 2);
  EXPECT_MESSAGE(errorReading(dir / "cut.xlsx", "Constants"), "is damaged");
  // Bytes flipped inside the compressed sheet: inflating or the checksum fails.
  test::python(R"(
import sys, zipfile
path = sys.argv[1]
z = zipfile.ZipFile(path); info = z.getinfo('xl/worksheets/sheet1.xml'); z.close()
data = bytearray(open(path, 'rb').read())
start = info.header_offset + 30 + len(info.filename) + len(info.extra)
for i in range(start + 10, start + info.compress_size - 4):
    data[i] ^= 0x5A
open(path, 'wb').write(bytes(data))
)",
               {(dir / "o.xlsx").string()});
  EXPECT_MESSAGE(errorReading(dir / "o.xlsx", "Constants"), "is damaged");
}

TEST(DamagedFiles, BrokenXml) {
  ScratchDir dir;
  const auto garbage = workbookWithSheetData(dir / "g.xlsx", "<row><c r=\"A1\"><v>1</v></row>");
  EXPECT_MESSAGE(errorReading(garbage), "its part 'xl/worksheets/sheet1.xml' is not valid XML");
  Workbook::create({"S"}).saveAs(dir / "w.xlsx");
  test::editZip(dir / "w.xlsx", {{"xl/workbook.xml", std::string("\0\1garbage", 9)}});
  EXPECT_MESSAGE(errorReading(dir / "w.xlsx"), "its part 'xl/workbook.xml' is not valid XML");
  Workbook::create({"S"}).saveAs(dir / "m.xlsx");
  test::editZip(dir / "m.xlsx", {{"xl/worksheets/sheet1.xml", std::nullopt}});
  EXPECT_MESSAGE(errorReading(dir / "m.xlsx"),
                 "the part 'xl/worksheets/sheet1.xml' of sheet 'S' is missing");
}

TEST(DamagedFiles, CellsThatCannotBe) {
  ScratchDir dir;
  EXPECT_MESSAGE(errorReading(workbookWithSheetData(
                     dir / "a.xlsx", "<row><c r=\"ZZZZZ99999999\"><v>1</v></c></row>")),
                 "in sheet 'S', the cell reference 'ZZZZZ99999999' is not a cell of a worksheet");
  EXPECT_MESSAGE(errorReading(workbookWithSheetData(dir / "b.xlsx", "<row r=\"1048577\"/>")),
                 "the row number '1048577'");
  EXPECT_MESSAGE(errorReading(workbookWithSheetData(
                     dir / "c.xlsx", "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>3</v></c></row>")),
                 "cell A1 refers to a missing shared text");
  EXPECT_MESSAGE(errorReading(workbookWithSheetData(
                     dir / "d.xlsx", "<row r=\"1\"><c r=\"A1\"><v>1,5</v></c></row>")),
                 "cell A1 holds '1,5' where a number is stored");
  std::string wide = "<row r=\"1\"><c r=\"XFD1\"><v>1</v></c><c><v>2</v></c></row>";
  EXPECT_MESSAGE(errorReading(workbookWithSheetData(dir / "e.xlsx", wide)), "beyond column 16,384");
}

TEST(DamagedFiles, SheetThatUnpacksToHundredsOfMegabytes) {
  ScratchDir dir;
  Workbook::create({"S"}).saveAs(dir / "bomb.xlsx");
  test::python(R"(
import sys, zipfile
path = sys.argv[1]
src = zipfile.ZipFile(path); parts = [(i, src.read(i.filename)) for i in src.infolist()]; src.close()
with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as z:
    for info, data in parts:
        if info.filename != 'xl/worksheets/sheet1.xml':
            z.writestr(info, data)
            continue
        with z.open('xl/worksheets/sheet1.xml', 'w', force_zip64=True) as f:
            f.write(b'<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>')
            chunk = b'<row/>' * (1 << 18)
            for _ in range(180):
                f.write(chunk)
            f.write(b'</sheetData></worksheet>')
)",
               {(dir / "bomb.xlsx").string()});
  ASSERT_LT(fs::file_size(dir / "bomb.xlsx"), 5u << 20);
  EXPECT_MESSAGE(errorReading(dir / "bomb.xlsx"), "unpacks to more than 256 MB");
}

}  // namespace
}  // namespace medravolix::workbook
