// The command-line harness `tool_table crops` on a copy of the sample workbook: one JSON object a
// line with its keys in order, a crop placed by a click, an Annotate read back from the copy, and
// the exit status of an event the window cannot take.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_support.h"

namespace medravolix::crop_tool {
namespace {

constexpr const char* kComprobar = R"PY(
import json, subprocess, sys, openpyxl
tool, libro = sys.argv[1], sys.argv[2]
def run(*events):
    p = subprocess.run([tool, 'crops', libro, *events], capture_output=True, text=True)
    return p.returncode, [json.loads(l) for l in p.stdout.splitlines()], p.stderr.strip()
rc, lineas, err = run('type=annual', 'crop=0', 'move=3140', 'click=yes', 'annotate=R1')
print('rc', rc, len(lineas), err)
print(all(list(l.keys()) == ['event', 'messages', 'list', 'grid', 'lengths', 'tip', 'series']
          for l in lineas), [l['event'] for l in lineas])
print(list(lineas[4]['series'].keys()))
print(lineas[1]['lengths'], lineas[2]['tip'], lineas[3]['list'])
kcb = lineas[4]['series']['KCB_MENSUAL']
ws = openpyxl.load_workbook(libro)['Crop_batch']
fila = next(r for r in range(2, ws.max_row + 1, 12) if ws.cell(r, 1).value == 'R1')
print('block', (fila - 2) % 12, [ws.cell(fila + m, 2).value for m in range(12)] == kcb,
      ws.cell(fila + 11, 5).value)
for bad in (['click=yes'], ['type=annual', 'crop=99'], ['type=tree', 'move=-5']):
    rc, lineas, err = run(*bad)
    print('bad', rc, len(lineas), err)
)PY";

// What a script prints when it runs tool_table on a copy of the sample (a folder and a file
// name with a blank in them); a script that fails fails the test.
std::string salidaDe(const char* guion) {
  testing::ScratchDir dir;
  const auto copia = testing::CopyOfSample(dir, "sample copy.xlsx");
  std::string salida;
  const std::string argumentos =
      "'" + (testing::BinaryDir() / "bench/tool_table").string() + "' '" + copia.string() + "'";
  EXPECT_EQ(testing::RunPython(guion, argumentos, salida), 0) << salida;
  return salida;
}

TEST(ToolTable, CropsModeOnACopyOfTheSample) {
  EXPECT_EQ(salidaDe(kComprobar),
            "rc 0 5 \n"
            "True ['type=annual', 'crop=0', 'move=3140', 'click=yes', 'annotate=R1']\n"
            "['KCB_MENSUAL', 'RAIZ_MENSUAL', 'COBERTURA_MENSUAL', 'RIEGO_MENSUAL', "
            "'NRIEGOS_MENSUAL', 'OCUPACION_MENSUAL']\n"
            "{'first': 75, 'last': 225, 'selected': 150} April 15th "
            "['Maize (grain): April 15th-September 12th']\n"
            "block 0 True Dec\n"
            "bad 1 0 tool_table: click=yes: the calendar takes no clicks\n"
            "bad 1 1 tool_table: crop=99: the crop list has no entry 99\n"
            "bad 1 1 tool_table: move=-5: the calendar has no position -5\n");
}

// "Annotate" into a workbook whose sheet cannot be read names the damage as a batch does, with
// nothing written, instead of searching every row of the sheet for room.
TEST(ToolTable, CropsAnnotateIntoADamagedSheetNamesTheDamage) {
  testing::ScratchDir dir;
  const auto copia = dir / "irrigat-batch-part-missing.xlsx";
  std::filesystem::copy_file(
      testing::SourceDir() / "tests/batch/data/irrigat-batch-part-missing.xlsx", copia);
  std::filesystem::permissions(
      copia, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  const std::string antes = testing::ReadFile(copia);
  const auto tool = testing::BinaryDir() / "bench/tool_table";
  std::string salida;
  ASSERT_EQ(
      testing::RunCommand("'" + tool.string() + "' crops '" + copia.string() +
                              "' type=annual crop=0 move=3140 click=yes annotate=NEW | tail -n 1",
                          salida),
      0);
  const std::string mensaje =
      "\"messages\": [\"Nothing was written to the workbook.\\r\\n\\r\\n" +
      std::string("The workbook '") + copia.string() +
      "' is damaged: the part 'xl/worksheets/sheet5.xml' of sheet 'Irrigat_batch' is missing. Open "
      "it in a spreadsheet program to repair it, or use a backup copy.\"]";
  EXPECT_NE(salida.find(mensaje), std::string::npos) << salida;
  EXPECT_EQ(testing::ReadFile(copia), antes);
}

// The event "wait" lets a script change the workbook between two events, each line printed as
// soon as its event ran: the lettuce chosen last (and not placed) is changed on disk while cotton
// stands on the calendar; the first Annotate is refused, the second writes cotton's wetted
// fraction (Annual_crops_irrigat!B3).
constexpr const char* kEsperar = R"PY(
import json, signal, subprocess, sys, openpyxl
signal.alarm(60)  # a line held back by the tool would block the script for ever
tool, libro = sys.argv[1], sys.argv[2]
eventos = ['type=annual', 'crop=1', 'move=3140', 'click=yes', 'crop=7', 'wait', 'annotate=WF1',
           'annotate=WF2']
p = subprocess.Popen([tool, 'crops', libro, *eventos], stdin=subprocess.PIPE,
                     stdout=subprocess.PIPE, text=True)
lineas = [json.loads(p.stdout.readline()) for _ in range(5)]
print(len(lineas[3]['list']), lineas[4]['list'] == lineas[3]['list'])
wb = openpyxl.load_workbook(libro)
wb['Annual_crops_growth']['D9'] = 0.55
wb.save(libro)
p.stdin.write('\n')
p.stdin.flush()
lineas += [json.loads(l) for l in p.stdout]
print('rc', p.wait(), [l['event'] for l in lineas[5:]])
print([len(l['messages']) for l in lineas[5:]])
wb = openpyxl.load_workbook(libro)
ws, algodon = wb['Irrigat_batch'], wb['Annual_crops_irrigat']
print(algodon['A3'].value, [(ws.cell(r, 1).value, ws.cell(r, 26).value == algodon['B3'].value)
                            for r in range(2, ws.max_row + 1) if ws.cell(r, 1).value in ('WF1', 'WF2')])
)PY";

TEST(ToolTable, CropsWaitLetsAScriptChangeTheWorkbookBetweenEvents) {
  EXPECT_EQ(salidaDe(kEsperar),
            "1 True\n"
            "rc 0 ['wait', 'annotate=WF1', 'annotate=WF2']\n"
            "[0, 1, 0]\n"
            "Cotton [('WF2', True)]\n");
}

}  // namespace
}  // namespace medravolix::crop_tool
