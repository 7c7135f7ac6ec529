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
       "cell A1 refers to the shared text '9', which is not a text of the workbook's table of 6"},
      // A shared-text index is a whole number in digits, not the first digits of a text.
      {sheet, data("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>1e3</v></c></row>"),
       "cell A1 refers to the shared text '1e3'"},
      {sheet, data("<row r=\"1\"><c r=\"A1\" t=\"s\"><v></v></c></row>"),
       "cell A1 refers to the shared text ''"},
      // Places that programs settle differently: a cell outside its row, two cells at one place
      // (in one row element or in two with the same number), an attribute given twice.
      {sheet, data("<row r=\"2\"><c r=\"A9\"><v>1</v></c></row>"),
       "in sheet 'Data', the cell A9 is written inside row 2"},
      {sheet, data("<row r=\"1\"><c r=\"B1\"><v>1</v></c><c r=\"B1\"/></row>"),
       "in sheet 'Data', cell B1 is given twice"},
      {sheet, data("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row><row r=\"1\"><c><v>2</v></c></row>"),
       "cell A1 is given twice"},
      {sheet, data("<row r=\"1\"><c r=\"A1\" r=\"Z1\"><v>1</v></c></row>"),
       "the part 'xl/worksheets/sheet1.xml' of sheet 'Data' is not valid XML (the element <c> at "
       "byte 34 gives its attribute 'r' twice ('A1' and 'Z1'))"},
      {"xl/workbook.xml", "<workbook a=\"1\" a=\"2\"/>",
       "its part 'xl/workbook.xml' is not valid XML"},
      {sheet, data("<row r=\"1\"><c r=\"A1\"><v>1,5</v></c></row>"),
       "cell A1 holds '1,5' where a number is stored"},
      {sheet, data("<row r=\"1\"><c r=\"XFD1\"><v>1</v></c><c><v>2</v></c></row>"),
       "beyond column 16,384"},
      {sheet, data("<row><c r=\"A1\"><v>1</v></row>"),
       "the part 'xl/worksheets/sheet1.xml' of sheet 'Data' is not valid XML"},
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
  EXPECT_CONTAINS(errorReading(dir / "o.xlsx", "Constants"),
                  "the part 'xl/worksheets/sheet1.xml' of sheet 'Constants' is broken");
  for (const auto& [part, content, message] : cases) {
    makeExcelLikeWorkbook(dir / "d.xlsx", {.parts = {{part, content}}});
    EXPECT_CONTAINS(errorReading(dir / "d.xlsx", "Data"), message);
  }
}

// Small copies of the damaged workbooks that a mutation fuzzer made of the sample (made by
// data/findings/make_findings.py): the damage is named, with the sheet, as soon as the sheet is
// asked for, and the same error comes back at once for every later cell of it.
TEST(DamagedFiles, FoundByFuzzingAreNamedAtOnceWithTheirCause) {
  const struct {
    const char* file;
    const char* sheet;
    const char* message;
  } cases[] = {
      {"damaged-sim-batch-ref.xlsx", "Sim_batch",
       "in sheet 'Sim_batch', the cell reference 'A0' is not a cell of a worksheet"},
      {"damaged-sim-batch-crc.xlsx", "Sim_batch",
       "the part 'xl/worksheets/sheet1.xml' of sheet 'Sim_batch' is broken (its compressed data "
       "are damaged)"},
      {"missing-sim-batch-part.xlsx", "Sim_batch",
       "the part 'xl/worksheets/sheet1.xml' of sheet 'Sim_batch' is missing"},
      {"rowmismatch.xlsx", "SSol_batch",
       "in sheet 'SSol_batch', the cell A9 is written inside row 2"},
      {"dupattr.xlsx", "SSol_batch", "gives its attribute 'r' twice ('A2' and 'Z2')"},
      {"dupcell.xlsx", "SSol_batch", "in sheet 'SSol_batch', cell W1 is given twice"},
  };
  for (const auto& [file, sheet, message] : cases) {
    SCOPED_TRACE(file);
    const Workbook book =
        Workbook::open(medravolix::testing::SourceDir() / "tests/workbook/data/findings" / file);
    EXPECT_TRUE(book.hasSheet(sheet));
    const std::string first = errorOf([&] { book.requireSheet(sheet); });
    EXPECT_CONTAINS(first, message);
    EXPECT_CONTAINS(first, "is damaged");
    for (int row = 1; row <= 1000; ++row) {
      ASSERT_EQ(errorOf([&] { book.cell(sheet, row, 1); }), first);
    }
    EXPECT_THROW(book.requireSheet(sheet), WorkbookDamaged);
    EXPECT_EQ(book.cell("Soil_batch", 1, 1), CellValue());  // the other sheets read as before
  }
}

TEST(DamagedFiles, OpenDocumentSpreadsheetsAreNamedAsSuch) {
  ScratchDir dir;
  python(
      "import sys, zipfile\nzipfile.ZipFile(sys.argv[1], 'w').writestr('mimetype', "
      "'application/vnd.oasis.opendocument.spreadsheet')",
      {(dir / "table.ods").string()});
  std::ofstream(dir / "flat.fods") << "<?xml version=\"1.0\"?>\n<office:document "
                                      "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:"
                                      "office:1.0\" office:mimetype=\"application/"
                                      "vnd.oasis.opendocument.spreadsheet\"/>";
  for (const char* name : {"table.ods", "flat.fods"}) {
    EXPECT_CONTAINS(errorReading(dir / name),
                    "is an OpenDocument spreadsheet (.ods), not an Excel workbook. Open it in "
                    "LibreOffice, save it as an Excel workbook (.xlsx) and choose that file.");
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
