// The command-line harness `tool_table eto` on a copy of the sample workbook: one JSON object a
// line with its keys in order, the stations' options and values, events that annotate the copy,
// the exit status of an event that cannot run, and a station that cannot be loaded, whose line
// holds no other station's data and whose message belongs to its event.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_support.h"

namespace medravolix::eto_tool {
namespace {

constexpr const char* kComprobar = R"PY(
import json, subprocess, sys, openpyxl
tool, libro = sys.argv[1], sys.argv[2]
def run(*events):
    p = subprocess.run([tool, 'eto', libro, *events], capture_output=True, text=True)
    return p.returncode, [json.loads(l) for l in p.stdout.splitlines()], p.stderr.strip()
def station(l):
    return [l['k'], l['summary'][0], l['humidity_source'], l['radiation_source'], l['enabled'],
            [None if e is None else len(e) for e in l['eto']], [m.split('\r')[0] for m in l['messages']]]
rc, lineas, err = run()
print(rc, err, list(lineas[0].keys()))
for l in lineas: print(*station(l))
print('external', lineas[4]['eto'][4][0], 'hargreaves', round(lineas[0]['eto'][2][0], 1))
rc, lineas, err = run('station=4', 'method=1', 'annotate=PM T', 'annotate=')
print(rc, [(list(l.keys()), l['event'], l['messages']) for l in lineas][1:3])
print('pm', round(lineas[1]['eto'][6], 1), lineas[0]['eto'] == [0] * 12)
ws = openpyxl.load_workbook(libro)['Clim_batch']
print('row74', [ws.cell(74, c).value for c in (1, 2, 3, 5)], ws.cell(80, 4).value == lineas[1]['eto'][6])
for bad in (['station=0', 'method=1'], ['station=9'], ['speed=1']):
    print('bad', *run(*bad)[0::2])
wb = openpyxl.load_workbook(libro)
wb['Clim_data'].cell(30, 10).value = 'n/a'
wb.save(libro)
rc, lineas, err = run()
print(rc, err)
for l in lineas[1:4]: print(*station(l))
rc, lineas, err = run('station=4', 'station=2', 'method=2')
print(rc, [(l['event'], len(l['messages']), l['enabled'][1]) for l in lineas])
print(lineas[1]['messages'][0].split('\r\n\r\n')[1:])
)PY";

TEST(ToolTable, EtoModeOnACopyOfTheSample) {
  testing::ScratchDir dir;
  const auto copia = testing::CopyOfSample(dir, "sample copy.xlsx");
  const auto tool = testing::BinaryDir() / "bench/tool_table";
  std::string salida;
  ASSERT_EQ(
      testing::RunPython(kComprobar, "'" + tool.string() + "' '" + copia.string() + "'", salida), 0)
      << salida;
  EXPECT_EQ(salida,
            "0  ['k', 'entry', 'summary', 'humidity_source', 'radiation_source', 'enabled', "
            "'eto', 'messages']\n"
            "0 Almería Aeropuerto 0 1 [True, False, True, False, False] "
            "[12, None, 12, None, None] []\n"
            "1 Murcia-Alcantarilla BA 0 1 [True, False, True, False, False] "
            "[12, None, 12, None, None] []\n"
            "2 Zaragoza Aeropuerto 0 1 [True, False, True, False, False] "
            "[12, None, 12, None, None] []\n"
            "3 Valencia 0 1 [True, False, True, False, False] [12, None, 12, None, None] []\n"
            "4 Maricopa 1 2 [True, True, True, True, True] [12, 12, 12, 12, 12] []\n"
            "5 Cabinda 3 2 [True, True, True, False, True] [12, 12, 12, None, 12] []\n"
            "external 63.2 hargreaves 44.0\n"
            "0 [(['event', 'messages', 'enabled', 'eto'], 'method=1', []), "
            "(['event', 'messages', 'enabled', 'eto'], 'annotate=PM T', [])]\n"
            "pm 256.3 True\n"
            "row74 ['PM T', 18.2, 2.3, 'Jan'] True\n"
            "bad 1 tool_table: method=1: the method option 1 is disabled\n"
            "bad 1 tool_table: station=9: the list has no station 9\n"
            "bad 1 tool_table: speed=1: unknown event 'speed=1'\n"
            "1 tool_table: station 2 could not be loaded\n"
            "1 Murcia-Alcantarilla BA 0 1 [True, False, True, False, False] "
            "[12, None, 12, None, None] []\n"
            "2  0 0 [False, False, False, False, False] [None, None, None, None, None] "
            "[\"The station 'Zaragoza Aeropuerto-AEMET 9434 1981-2010' cannot be loaded:\"]\n"
            "3 Valencia 0 1 [True, False, True, False, False] [12, None, 12, None, None] []\n"
            "0 [('station=4', 0, True), ('station=2', 1, True), ('method=2', 0, True)]\n"
            "['Clim_data!J30 holds the text \"n/a\" where a number is expected.', "
            "\"The window still shows the station 'Maricopa-AZMET 2003-2020'.\"]\n");
}

// "Annotate" into a workbook whose sheet cannot be read names the damage as a batch does, with
// nothing written, instead of searching every row of the sheet for room.
TEST(ToolTable, EtoAnnotateIntoADamagedSheetNamesTheDamage) {
  testing::ScratchDir dir;
  const auto copia = dir / "clim-batch-bad-number.xlsx";
  std::filesystem::copy_file(testing::SourceDir() / "tests/batch/data/clim-batch-bad-number.xlsx",
                             copia);
  std::filesystem::permissions(
      copia, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  const std::string antes = testing::ReadFile(copia);
  const auto tool = testing::BinaryDir() / "bench/tool_table";
  std::string salida;
  ASSERT_EQ(testing::RunCommand("'" + tool.string() + "' eto '" + copia.string() +
                                    "' station=0 method=0 annotate=NEW | tail -n 1",
                                salida),
            0);
  const std::string mensaje =
      "\"messages\": [\"Nothing was written to the workbook.\\r\\n\\r\\n" +
      std::string("The workbook '") + copia.string() +
      "' is damaged: in sheet 'Clim_batch', cell B3 holds '25,1' where a number is stored. Open it "
      "in a spreadsheet program to repair it, or use a backup copy.\"]";
  EXPECT_NE(salida.find(mensaje), std::string::npos) << salida;
  EXPECT_EQ(testing::ReadFile(copia), antes);
}

}  // namespace
}  // namespace medravolix::eto_tool
