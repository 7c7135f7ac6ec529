// Workbooks for the tests, made at test time: one written by openpyxl (styles, number formats,
// a formula, a merged range, a defined name, a sheet name with blanks and non-ASCII letters),
// and one assembled part by part with Python's zipfile, as Excel and LibreOffice write them
// (shared strings with rich and phonetic runs, escapes, stored formula results, a shared and
// an array formula, a calculation chain, an "x:" prefix, rows and cells without "r", absolute,
// relative and ".." relationship targets, 1904 dates).
#pragma once

#include <filesystem>
#include <string>

#include "xlsx_test_helpers.h"

namespace medravolix::workbook::test {

inline void makeOpenpyxlWorkbook(const std::filesystem::path& path) {
  python(R"(
import sys, datetime, openpyxl
from openpyxl.styles import Font, PatternFill
from openpyxl.workbook.defined_name import DefinedName
wb = openpyxl.Workbook()
ws = wb.active
ws.title = 'Constants'
ws['A1'] = 'Name'; ws['B1'] = 'Value'
ws['A1'].font = Font(bold=True)
ws['A2'] = 'k1'; ws['B2'] = 0.5
ws['B2'].number_format = '0.00'
ws['B2'].fill = PatternFill('solid', fgColor='FFFF00')
ws['B3'] = 1e-20; ws['B4'] = -3; ws['A5'] = True; ws['B5'] = '=B2*2'
ws['C2'] = ' 12.5 '; ws['C3'] = 'abc'
ws['A6'] = datetime.datetime(2020, 1, 15)
ws['D1'] = 'merged'; ws.merge_cells('D1:E2')
ws['B8'] = 42
ws.column_dimensions['B'].width = 20
wb.defined_names.append(DefinedName('Factor', attr_text='Constants!$B$2'))
other = wb.create_sheet('Hoja de suelos ñandú')
other['A1'] = 'Suelo 1'; other['B1'] = 10; other['C1'] = 'ácido'
other['A3'] = 7
wb.save(sys.argv[1])
)",
         {path.string()});
}

// Variant switches of the hand-made package.
struct ExcelLikeOptions {
  bool chartsheet = false;       // a chart sheet among the sheets (openpyxl cannot read ours)
  bool odd_case_target = false;  // a target whose letters differ in case from the zip entry
  bool rows_out_of_order = false;
};

inline void makeExcelLikeWorkbook(const std::filesystem::path& path,
                                  const ExcelLikeOptions& options = {}) {
  python(R"(
import sys, zipfile
path, chartsheet, odd_case, disorder = sys.argv[1], sys.argv[2] == '1', sys.argv[3] == '1', sys.argv[4] == '1'
M = 'http://schemas.openxmlformats.org/spreadsheetml/2006/main'
R = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships'
CT = 'application/vnd.openxmlformats-officedocument.spreadsheetml.'
D = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
parts = {}
parts['[Content_Types].xml'] = D + '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">' \
  '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>' \
  '<Default Extension="xml" ContentType="application/xml"/>' \
  '<Override PartName="/xl/workbook.xml" ContentType="' + CT + 'sheet.main+xml"/>' \
  + ''.join('<Override PartName="/xl/worksheets/sheet%d.xml" ContentType="%sworksheet+xml"/>' % (i, CT) for i in (1, 2, 3)) + \
  '<Override PartName="/xl/sharedStrings.xml" ContentType="' + CT + 'sharedStrings+xml"/>' \
  '<Override PartName="/xl/styles.xml" ContentType="' + CT + 'styles+xml"/>' \
  '<Override PartName="/xl/calcChain.xml" ContentType="' + CT + 'calcChain+xml"/>' \
  + ('<Override PartName="/xl/chartsheets/sheet1.xml" ContentType="' + CT + 'chartsheet+xml"/>' if chartsheet else '') + \
  '</Types>'
parts['_rels/.rels'] = D + '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">' \
  '<Relationship Id="rId1" Type="' + R + '/officeDocument" Target="/xl/workbook.xml"/></Relationships>'
parts['xl/workbook.xml'] = D + '<workbook xmlns="' + M + '" xmlns:r="' + R + '">' \
  '<workbookPr date1904="1"/><bookViews><workbookView/></bookViews><sheets>' \
  '<sheet name="Data" sheetId="5" r:id="rId3"/>' \
  + ('<sheet name="Chart" sheetId="9" r:id="rId9"/>' if chartsheet else '') + \
  '<sheet name="Prefixed" sheetId="2" r:id="rId1"/><sheet name="Formulas" sheetId="1" r:id="rId2"/>' \
  '</sheets><definedNames><definedName name="Rate">Data!$B$2</definedName></definedNames>' \
  '<fileRecoveryPr repairLoad="1"/></workbook>'
sheet1_target = 'worksheets/SHEET1.xml' if odd_case else '../xl/worksheets/sheet1.xml'
parts['xl/_rels/workbook.xml.rels'] = D + '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">' \
  '<Relationship Id="rId1" Type="' + R + '/worksheet" Target="worksheets/sheet2.xml"/>' \
  '<Relationship Id="rId2" Type="' + R + '/worksheet" Target="/xl/worksheets/sheet3.xml"/>' \
  '<Relationship Id="rId3" Type="' + R + '/worksheet" Target="' + sheet1_target + '"/>' \
  '<Relationship Id="rId4" Type="' + R + '/sharedStrings" Target="sharedStrings.xml"/>' \
  '<Relationship Id="rId5" Type="' + R + '/styles" Target="styles.xml"/>' \
  '<Relationship Id="rId6" Type="' + R + '/calcChain" Target="calcChain.xml"/>' \
  '<Relationship Id="rId7" Type="' + R + '/worksheet" Target="http://example.com/x.xml" TargetMode="External"/>' \
  + ('<Relationship Id="rId9" Type="' + R + '/chartsheet" Target="chartsheets/sheet1.xml"/>' if chartsheet else '') + \
  '</Relationships>'
parts['xl/styles.xml'] = D + '<styleSheet xmlns="' + M + '"><numFmts count="1"><numFmt numFmtId="164" formatCode="0.000"/></numFmts>' \
  '<fonts count="2"><font><sz val="11"/><name val="Calibri"/></font><font><b/><sz val="11"/><name val="Calibri"/></font></fonts>' \
  '<fills count="2"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills>' \
  '<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>' \
  '<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>' \
  '<cellXfs count="3"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>' \
  '<xf numFmtId="164" fontId="1" fillId="0" borderId="0" xfId="0" applyNumberFormat="1" applyFont="1"/>' \
  '<xf numFmtId="10" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/></cellXfs>' \
  '<cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles></styleSheet>'
parts['xl/sharedStrings.xml'] = D + '<sst xmlns="' + M + '" count="7" uniqueCount="6">' \
  '<si><t>Id</t></si>' \
  '<si><r><rPr><b/></rPr><t>Bold</t></r><r><t xml:space="preserve"> and plain</t></r></si>' \
  '<si><t>漢字</t><rPh sb="0" eb="2"><t>カンジ</t></rPh><phoneticPr fontId="1"/></si>' \
  '<si><t>line_x000D_break _x005F_x0041_</t></si>' \
  '<si><t xml:space="preserve"> </t></si>' \
  '<si><t>12.5</t></si></sst>'
rows = [
  '<row r="1" spans="1:4"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c><c r="C1" t="s"><v>2</v></c><c r="D1" t="s"><v>3</v></c></row>',
  '<row r="2" spans="1:6"><c r="A2" t="s"><v>4</v></c><c r="B2" s="1"><v> 1.5E3 </v></c><c r="C2" t="b"><v>1</v></c>'
  '<c r="D2" t="e"><v>#DIV/0!</v></c><c r="E2" t="d"><v>2004-01-02T12:00:00Z</v></c><c r="F2" s="1"/></row>',
  '<row r="3"><c r="A3" t="inlineStr"><is><r><t>in</t></r><r><rPr><i/></rPr><t>line</t></r></is></c>'
  '<c r="B3" t="s"><v>5</v></c><c r="C3"><v>-0.25</v></c></row>',
  '<row r="6" s="2" customFormat="1"><c r="B6"><v>6</v></c></row>',
]
if disorder:
  rows = [rows[2], rows[0], rows[3], rows[1]]
parts['xl/worksheets/sheet1.xml'] = D + '<worksheet xmlns="' + M + '" xmlns:r="' + R + '"><dimension ref="A1:F6"/>' \
  '<cols><col min="5" max="5" width="12" style="2" customWidth="1"/></cols>' \
  '<sheetData>' + ''.join(rows) + '</sheetData></worksheet>'
parts['xl/worksheets/sheet2.xml'] = D + '<x:worksheet xmlns:x="' + M + '" xmlns:r="' + R + '"><x:sheetData>' \
  '<x:row r="2"><x:c r="B2"><x:v>1</x:v></x:c><x:c><x:v>2</x:v></x:c><x:c t="inlineStr"><x:is><x:t>three</x:t></x:is></x:c></x:row>' \
  '<x:row><x:c><x:v>4</x:v></x:c><x:c r="D3"><x:v>5</x:v></x:c></x:row>' \
  '</x:sheetData></x:worksheet>'
parts['xl/worksheets/sheet3.xml'] = D + '<worksheet xmlns="' + M + '"><dimension ref="A1:F5"/><sheetData>' \
  '<row r="1"><c r="A1"><v>2</v></c><c r="B1"><f>A1*3</f><v>6</v></c><c r="C1" t="str"><f>"x"&amp;A1</f><v>x2</v></c>' \
  '<c r="D1" t="b"><f>TRUE()</f><v>1</v></c><c r="E1"><f>A1+1</f></c></row>' \
  '<row r="2"><c r="A2"><v>3</v></c><c r="B2"><f t="shared" ref="B2:B4" si="0">A2*2</f><v>6</v></c></row>' \
  '<row r="3"><c r="A3"><v>4</v></c><c r="B3"><f t="shared" si="0"/><v>8</v></c></row>' \
  '<row r="4"><c r="A4"><v>5</v></c><c r="B4"><f t="shared" si="0"/><v>10</v></c></row>' \
  '<row r="5"><c r="D5"><f t="array" ref="D5:E5">A1:B1*2</f><v>4</v></c><c r="E5"><v>12</v></c>' \
  '<c r="F5"><f t="array" ref="F5">SUM(A1:A4)</f><v>14</v></c></row>' \
  '</sheetData></worksheet>'
parts['xl/calcChain.xml'] = D + '<calcChain xmlns="' + M + '"><c r="B1" i="3" l="1"/><c r="C1"/><c r="D1"/><c r="E1"/><c r="B2"/><c r="B3"/><c r="B4"/><c r="D5" a="1"/><c r="F5" a="1"/></calcChain>'
if chartsheet:
  parts['xl/chartsheets/sheet1.xml'] = D + '<chartsheet xmlns="' + M + '"><sheetViews><sheetView workbookViewId="0"/></sheetViews></chartsheet>'
with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as z:
  for name, text in parts.items():
    z.writestr(name, text.encode('utf-8'))
)",
         {path.string(), options.chartsheet ? "1" : "0", options.odd_case_target ? "1" : "0",
          options.rows_out_of_order ? "1" : "0"});
}

// Every sheet, merged range, defined name and non-empty cell (value, formula, number format,
// bold, fill) as openpyxl reads them, one per line, so two files can be compared line by line.
inline constexpr const char* kOpenpyxlDump = R"(
import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
print('sheets', wb.sheetnames)
for name in wb.defined_names.definedName:
    print('name', name.name, name.attr_text)
for ws in wb.worksheets:
    print('merged', ws.title, sorted(str(r) for r in ws.merged_cells.ranges))
    for row in ws.iter_rows():
        for c in row:
            if c.value is not None or c.style_id:
                print('cell', ws.title, c.coordinate, repr(c.value), c.number_format, c.font.b, c.fill.fgColor.rgb)
)";

}  // namespace medravolix::workbook::test
