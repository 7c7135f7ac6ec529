// A batch from a workbook file to the saved file, read back by an independent reader
// (python3-openpyxl); the failed save; and the run_batch program.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

#include "batch/ejecutar_batch.h"
#include "support/test_support.h"

namespace medravolix::batch {
namespace {

namespace fs = std::filesystem;
using testing::RunPython;
using testing::ScratchDir;

// A copy of the sample workbook that the build assembles (tests never touch the built file).
fs::path copiaMuestra(const ScratchDir& dir) {
  const fs::path copia = dir / "sample copy.xlsx";
  fs::copy_file(testing::BinaryDir() / "share" / "medravolix" / "sample.xlsx", copia);
  return copia;
}

std::string leer(const fs::path& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

// Checks the saved results: every simulation that ran has its 21 SSol_batch columns and 12
// WBal_batch rows, the annual columns are the sums of the months, and a simulation that did not
// run has no row. Prints one line per fault, then the ids that have no results.
constexpr const char* kComprobar = R"PY(
import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
sim, ssol, wbal = wb['Sim_batch'], wb['SSol_batch'], wb['WBal_batch']
sin = []
i = 1
while sim.cell(i + 1, 1).value is not None:
    ident = sim.cell(i + 1, 1).value
    fila = [ssol.cell(i + 1, c).value for c in range(1, 22)]
    meses = [[wbal.cell(12 * (i - 1) + 1 + m, c).value for c in range(1, 8)] for m in range(1, 13)]
    if fila[0] is None:
        sin.append(str(ident))
        if any(v is not None for v in fila) or any(v is not None for r in meses for v in r):
            print('FAULT', ident, 'has part of a result')
    else:
        if fila[0] != ident or any(v is None for v in fila):
            print('FAULT', ident, 'SSol row', fila)
        if sim.cell(i + 1, 9).value != 64 or sim.cell(i + 1, 10).value != 'Yes':
            print('FAULT', ident, 'settings in Sim_batch')
        for r in meses:
            if r[0] != ident or any(not isinstance(v, (int, float)) for v in r[1:]):
                print('FAULT', ident, 'WBal row', r)
        for anual, mensual in ((5, 2), (6, 3), (7, 7), (8, 4), (9, 5), (10, 6)):
            total = sum(r[mensual - 1] for r in meses)
            if abs(total - fila[anual - 1]) > 1e-9 * max(1.0, abs(total)):
                print('FAULT', ident, 'column', anual, fila[anual - 1], 'months', total)
    i += 1
print('WITHOUT', ','.join(sin))
)PY";

TEST(GuardarBatch, SampleWorkbookRunsAndIsSavedWithEveryResult) {
  ScratchDir dir;
  const fs::path archivo = copiaMuestra(dir);
  workbook::Workbook libro = workbook::Workbook::open(archivo);
  std::vector<double> progreso;
  const auto r = ejecutarYGuardar(libro, {}, 0, [&](double p) { progreso.push_back(p); });
  ASSERT_EQ(r.estado, EstadoOperacion::Completado) << r.motivo;
  EXPECT_EQ(r.informe.mensajeSinDatos(),
            "Can't find input data for these simulations: \r\n\r\nS14, ");
  EXPECT_EQ(progreso.size(), static_cast<std::size_t>(r.informe.NUM_SIMULACIONES));
  std::string salida;
  ASSERT_EQ(RunPython(kComprobar, "'" + archivo.string() + "'", salida), 0) << salida;
  EXPECT_EQ(salida.find("FAULT"), std::string::npos) << salida;
  EXPECT_NE(salida.find("WITHOUT S14\n"), std::string::npos) << salida;
}

TEST(GuardarBatch, AFailedSaveIsReportedAsNotSavedAndLeavesTheFile) {
  ScratchDir dir;
  const fs::path archivo = copiaMuestra(dir);
  const std::string antes = leer(archivo);
  workbook::Workbook libro = workbook::Workbook::open(archivo);
  workbook::Workbook::setSaveHookForTests([](std::string_view etapa) {
    if (etapa == "rename") throw std::runtime_error("the disk is full");
  });
  const auto r = ejecutarYGuardar(libro, {}, 2, nullptr);
  workbook::Workbook::setSaveHookForTests(nullptr);
  EXPECT_EQ(r.estado, EstadoOperacion::NoGuardado);
  EXPECT_NE(r.motivo.find("the disk is full"), std::string::npos) << r.motivo;
  EXPECT_EQ(r.informe.ejecutadas, 13);
  EXPECT_EQ(leer(archivo), antes);
}

TEST(GuardarBatch, CellsThatCannotBeReadRefuseOnlyTheirSimulations) {
  ScratchDir dir;
  const fs::path archivo = copiaMuestra(dir);
  // Formulas without a stored value, as some libraries write them: the id of simulation 2, and
  // the clay of the first horizon of the soil of simulation 6.
  const std::string editar =
      "import sys, openpyxl\n"
      "wb = openpyxl.load_workbook(sys.argv[1])\n"
      "wb['Sim_batch']['A3'] = '=\"S\"&\"02\"'\n"
      "soil = wb['Sim_batch']['C7'].value\n"
      "ws = wb['Soil_batch']\n"
      "r = next(r for r in range(1, ws.max_row + 1) if ws.cell(r, 1).value == soil)\n"
      "ws.cell(r, 6).value = '=2*10'\n"
      "print(r)\n"
      "wb.save(sys.argv[1])\n";
  std::string fila;
  ASSERT_EQ(RunPython(editar, "'" + archivo.string() + "'", fila), 0) << fila;
  workbook::Workbook libro = workbook::Workbook::open(archivo);
  const auto r = ejecutarYGuardar(libro, {}, 0, nullptr);
  ASSERT_EQ(r.estado, EstadoOperacion::Completado) << r.motivo;
  const auto& inf = r.informe;
  EXPECT_EQ(inf.NUM_SIMULACIONES, 14);
  ASSERT_GE(inf.observadas.size(), 2u);
  EXPECT_EQ(inf.observadas[0].id, "row 3");  // the id itself cannot be read
  EXPECT_NE(inf.observadas[0].motivo.find("Sim_batch!A3"), std::string::npos);
  EXPECT_EQ(inf.observadas[1].id, "S06");
  EXPECT_NE(inf.observadas[1].motivo.find("Soil_batch!F" + fila.substr(0, fila.size() - 1)),
            std::string::npos)
      << inf.observadas[1].motivo;
  EXPECT_GE(inf.rechazadas, 2);
  EXPECT_TRUE(libro.cell("SSol_batch", 3, 1).isEmpty());
  EXPECT_EQ(libro.cell("SSol_batch", 4, 1), workbook::CellValue::text("S03"));
}

// Runs a command; returns its exit status and what it printed on standard output.
int ejecutar(const std::string& orden, std::string& salida) {
  FILE* tubo = popen(orden.c_str(), "r");
  if (!tubo) return -1;
  char buffer[4096];
  salida.clear();
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, tubo)) > 0;) salida.append(buffer, n);
  const int estado = pclose(tubo);
  return WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
}

TEST(RunBatch, CopiesRunsSavesAndSummarises) {
  ScratchDir dir;
  const fs::path archivo = copiaMuestra(dir);
  const std::string antes = leer(archivo);
  const std::string programa = (testing::BinaryDir() / "bench" / "run_batch").string();
  const std::string salida_xlsx = (dir / "out.xlsx").string();
  std::string salida;
  ASSERT_EQ(ejecutar("'" + programa + "' '" + archivo.string() + "' '" + salida_xlsx +
                         "' --threads 3 --solution drainage --simulation-depth 100",
                     salida),
            0)
      << salida;
  const std::regex resumen(
      "(^|\n)simulations: 14, run: 13, missing input: 1, refused: 0, seconds: [0-9]+\\.[0-9]{4}, "
      "per second: [0-9]+\\.[0-9]\n$");
  EXPECT_TRUE(std::regex_search(salida, resumen)) << salida;
  EXPECT_NE(salida.find("Can't find input data for these simulations: \n\nS14, \n"),
            std::string::npos)
      << salida;
  EXPECT_EQ(leer(archivo), antes);
  const auto resultado = workbook::Workbook::open(salida_xlsx);
  EXPECT_EQ(resultado.cell("Sim_batch", 2, 8), workbook::CellValue::number(100));
  EXPECT_EQ(resultado.cell("SSol_batch", 2, 11), workbook::CellValue::text("drainage"));

  for (const char* mal : {"--evaporative-depth 1.5", "--simulation-depth 32768",
                          "--evaporative-depth -1", "--capacity other", "--threads 0"}) {
    EXPECT_EQ(ejecutar("'" + programa + "' '" + archivo.string() + "' '" + salida_xlsx + "' " +
                           mal + " 2>/dev/null",
                       salida),
              1)
        << mal;
  }
  EXPECT_EQ(ejecutar("'" + programa + "' '" + (dir / "none.xlsx").string() + "' '" + salida_xlsx +
                         "' 2>/dev/null",
                     salida),
            1);
}

}  // namespace
}  // namespace medravolix::batch
