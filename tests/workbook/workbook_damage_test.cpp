// Files that are not workbooks, or damaged ones, give a message a user can act on; never a
// crash, a hang or a silent wrong value.
#include "xlsx_fixtures.h"

namespace medravolix::workbook {
namespace {

using namespace test;

// The message of opening the file and reading a cell of a sheet ("" if both work).
std::string errorReading(const fs::path& path, const std::string& sheet = "S") {
  return errorOf([&] { Workbook::open(path).cell(sheet, 1, 1); });
}

TEST(DamagedFiles, FilesThatAreNotWorkbooks) {
  ScratchDir dir;
  EXPECT_CONTAINS(errorReading(dir / "missing.xlsx"), "does not exist");
  EXPECT_CONTAINS(errorReading(dir.path()), "is a folder");
  std::ofstream(dir / "empty.xlsx").close();
  EXPECT_CONTAINS(errorReading(dir / "empty.xlsx"), "is not an .xlsx workbook (the file is empty)");
  std::ofstream(dir / "text.xlsx") << "Name;Value\nk1;0.5\n";
  EXPECT_CONTAINS(errorReading(dir / "text.xlsx"), "is not an .xlsx workbook");
  std::ofstream(dir / "old.xls") << std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)
                                 << std::string(600, '\0');
  EXPECT_CONTAINS(errorReading(dir / "old.xls"), "older .xls file");
  python("import sys, zipfile\nzipfile.ZipFile(sys.argv[1], 'w').writestr('notes.txt', 'hello')",
         {(dir / "plain.zip").string()});
  EXPECT_CONTAINS(errorReading(dir / "plain.zip"), "is not an .xlsx workbook (it holds no office");
}

TEST(DamagedFiles, BrokenPartsAndCellsThatCannotBe) {
  const std::string sheet = "xl/worksheets/sheet1.xml";
  const auto data = [](const std::string& rows) {
    return "<worksheet><sheetData>" + rows + "</sheetData></worksheet>";
  };
  const struct {
    std::string part;
    std::optional<std::string> content;
    std::string message;
  } cases[] = {
      {sheet, data("<row><c r=\"ZZZZZ99999999\"><v>1</v></c></row>"),
       "in sheet 'Data', the cell reference 'ZZZZZ99999999' is not a cell of a worksheet"},
      {sheet, data("<row r=\"1048577\"/>"), "the row number '1048577'"},
      {sheet, data("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>9</v></c></row>"),
       "cell A1 refers to a missing shared text"},
      {sheet, data("<row r=\"1\"><c r=\"A1\"><v>1,5</v></c></row>"),
       "cell A1 holds '1,5' where a number is stored"},
      {sheet, data("<row r=\"1\"><c r=\"XFD1\"><v>1</v></c><c><v>2</v></c></row>"),
       "beyond column 16,384"},
      {sheet, data("<row><c r=\"A1\"><v>1</v></row>"),
       "its part 'xl/worksheets/sheet1.xml' is not valid XML"},
      {"xl/workbook.xml", std::string("\0\1garbage", 9),
       "its part 'xl/workbook.xml' is not valid XML"},
      {sheet, std::nullopt, "the part 'xl/worksheets/sheet1.xml' of sheet 'Data' is missing"},
  };
  ScratchDir dir;
  makeOpenpyxlWorkbook(dir / "o.xlsx");
  // Cut in half; and bytes flipped inside the compressed sheet, so inflating or its checksum fails.
  python(R"(
import sys, zipfile
path = sys.argv[1]; info = zipfile.ZipFile(path).getinfo('xl/worksheets/sheet1.xml')
data = bytearray(open(path, 'rb').read()); open(sys.argv[2], 'wb').write(data[:len(data) // 2])
start = info.header_offset + 30 + len(info.filename) + len(info.extra)
for i in range(start + 10, start + info.compress_size - 4): data[i] ^= 0x5A
open(path, 'wb').write(bytes(data))
)",
         {(dir / "o.xlsx").string(), (dir / "cut.xlsx").string()});
  EXPECT_CONTAINS(errorReading(dir / "cut.xlsx", "Constants"), "is damaged");
  EXPECT_CONTAINS(errorReading(dir / "o.xlsx", "Constants"), "sheet1.xml' is broken");
  for (const auto& [part, content, message] : cases) {
    makeExcelLikeWorkbook(dir / "d.xlsx", {.parts = {{part, content}}});
    EXPECT_CONTAINS(errorReading(dir / "d.xlsx", "Data"), message);
  }
}

TEST(DamagedFiles, SheetThatUnpacksToHundredsOfMegabytes) {
  ScratchDir dir;
  Workbook::create({"S"}).saveAs(dir / "bomb.xlsx");
  python(R"(
import sys, zipfile
path = sys.argv[1]
with zipfile.ZipFile(path) as src: parts = [(i, src.read(i)) for i in src.infolist()]
with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as z:
    for info, data in parts:
        if info.filename != 'xl/worksheets/sheet1.xml':
            z.writestr(info, data)
            continue
        with z.open(info.filename, 'w', force_zip64=True) as f:
            f.write(b'<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>')
            for _ in range(180): f.write(b'<row/>' * (1 << 18))
            f.write(b'</sheetData></worksheet>')
)",
         {(dir / "bomb.xlsx").string()});
  ASSERT_LT(fs::file_size(dir / "bomb.xlsx"), 5u << 20);
  EXPECT_CONTAINS(errorReading(dir / "bomb.xlsx"), "unpacks to more than 256 MB");
}

}  // namespace
}  // namespace medravolix::workbook
