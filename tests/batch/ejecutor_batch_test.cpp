// The batch driver with a stand-in model on small workbooks, and with the full model on copies of
// the sample workbook, the saved file read back by an independent reader (python3-openpyxl).
#include "batch/ejecutor_batch.h"

#include <gtest/gtest.h>

#include <fstream>

#include "batch/lectura_batch.h"
#include "batch/libro_prueba.h"
#include "support/test_support.h"

namespace medravolix::batch {
namespace {

namespace fs = std::filesystem;
using namespace prueba;
using workbook::Workbook;

// A result from a few inputs. The first horizon's depth picks a case: 1 cm refuses the
// simulation, 2 cm leaves its solution without value, 3 cm asks for lower bounds.
class ModeloDePrueba : public ModeloSimulacion {
 public:
  void prepararBatch(const Workbook& libro) override { (void)libro.number("Constants", 5, 2); }
  void CARGAR_ETO_EXTERNA(EntradasSimulacion& sim) const override {
    sim.ETO_MENSUAL = sim.ESTACION.ETO_EXTERNA;
  }
  void ejecutarCadena(Simulacion& sim) const override {
    const int16_t primera = sim.PROF_FILA.at(1);
    if (primera == 1) throw SimulacionRechazada("the first horizon is too thin");
    sim.FACTOR_CONCENTRACION_CC = sim.ARCILLA_FILA.at(2) + sim.DATOS_RIEGO.FRACCION_MOJADA;
    sim.SOLUCION_CON_VALOR = primera != 2;
    if (primera == 2) sim.AVISOS.push_back("layer 1 does not drain");
    sim.SALIDA_MAYOR_QUE = primera == 3;
  }
};

// The batch's report and the progress it reported.
std::pair<InformeBatch, std::vector<double>> correr(LibroPrueba& p, unsigned hilos = 1,
                                                    const AjustesBatch& ajustes = {}) {
  std::vector<double> progreso;
  ModeloDePrueba modelo;
  const auto informe = ejecutarBatch(
      p.libro, ajustes, hilos, [&](double v) { progreso.push_back(v); }, modelo);
  return {informe, progreso};
}

// Every result cell that a batch of a few simulations may write.
std::string resultados(const Workbook& libro) {
  std::string celdas;
  for (int r = 1; r <= 40; ++r) {
    celdas += linea(libro, kHojaSimulaciones, r, 11) + " | " + linea(libro, kHojaSolucion, r, 22) +
              " | " + linea(libro, kHojaBalance, r, 8) + "\n";
  }
  return celdas;
}

TEST(EjecutarBatch, NoneOrThreeSimulationsReportProgressAndWriteTheirRows) {
  for (int n : {0, 3}) {
    for (unsigned hilos : {1u, 3u}) {
      LibroPrueba p(n);
      const auto [informe, progreso] =
          correr(p, hilos, {10, 120, 64, OpcionCapacidad::Empirica, OpcionSolucion::Drenaje});
      EXPECT_EQ(progreso, (n ? std::vector<double>{33, 67, 100} : std::vector<double>{}));
      EXPECT_EQ(informe.mensajeSinDatos() + informe.mensajeObservadas(), "");
      for (int i = 1; i <= 4; ++i) {
        const std::string id = i <= n ? "'sim" + std::to_string(i) + "'" : "-";
        EXPECT_EQ(linea(p.libro, kHojaSolucion, i + 1, 1), id);
        EXPECT_EQ(linea(p.libro, kHojaBalance, 12 * i + 1, 1), id);
      }
      if (n == 0) continue;
      EXPECT_EQ(linea(p.libro, kHojaSimulaciones, 4, 10),
                "'sim3' 'C3' 'S3' 'W3' 'R3' 'C3' 10 120 64 'No'");
      EXPECT_EQ(linea(p.libro, kHojaSolucion, 4, 21),
                "'sim3' 9.79 - - 0 0 0 0 0 0 'drainage' 0 0 0 0 0 0 0 0 0 0");
      // December: rainfall, irrigation and the given reference ET, loaded after the climate.
      EXPECT_EQ(linea(p.libro, kHojaBalance, 37, 7), "'sim3' 422 16 424 0 0 0");
    }
  }
}

TEST(EjecutarBatch, MissingInputIsListedAndTheNextSimulationsWriteTheirOwnRows) {
  LibroPrueba p(4);
  p.poner(kHojaSimulaciones, 2, 3, T("no such soil"));  // simulation 1
  p.poner(kHojaSimulaciones, 3, 1, N(7));               // simulation 2, listed as 7,
  p.poner(kHojaSimulaciones, 3, 6, CellValue());        // has no crop id
  p.poner(kHojaSimulaciones, 6, 1, T(""));  // the empty text ends the list like an empty cell
  p.poner(kHojaSimulaciones, 7, 1, T("not a simulation"));
  for (int r = 1; r <= 50; ++r) {
    p.poner(kHojaSolucion, r, 1, T("old"));
    p.poner(kHojaBalance, r, 1, T("old"));
  }
  const auto [informe, progreso] = correr(p);
  EXPECT_EQ(informe.mensajeSinDatos(),
            "Can't find input data for these simulations: \r\n\r\nsim1, \r\n7, ");
  EXPECT_EQ(progreso, (std::vector<double>{25, 50, 75, 100}));
  std::string filas;  // around the rows of simulations 3 and 4
  for (int r : {3, 4, 5, 6}) filas += linea(p.libro, kHojaSolucion, r, 1) + " ";
  for (int r : {25, 26, 37, 38, 49, 50}) filas += linea(p.libro, kHojaBalance, r, 1) + " ";
  EXPECT_EQ(filas, "'old' 'sim3' 'sim4' 'old' 'old' 'sim3' 'sim3' 'sim4' 'sim4' 'old' ");
  EXPECT_TRUE(p.libro.cell(kHojaSimulaciones, 2, 7).isEmpty());
}

TEST(EjecutarBatch, RefusedAndPartlyComputedAreListedInOrderOnSeveralThreads) {
  LibroPrueba p(12);
  p.poner(kHojaSuelos, 1, 3, N(1));      // the model refuses simulation 1
  p.poner(kHojaSuelos, 3, 3, N(2));      // simulation 2 is computed in part
  p.poner(kHojaSuelos, 5, 3, N(3));      // simulation 3 gets lower bounds
  p.poner(kHojaAguas, 5, 5, T("lots"));  // simulation 5: a text where a number goes
  p.poner(kHojaSolucion, 2, 1, T("earlier"));
  const auto [informe, progreso] = correr(p, 8);
  EXPECT_EQ(informe.rechazadas, 2);
  EXPECT_EQ(informe.ejecutadas, 10);
  ASSERT_EQ(informe.observadas.size(), 3u);
  EXPECT_CONTIENE(informe.observadas[2].motivo, "Wat_batch!E5");
  EXPECT_EQ(informe.mensajeObservadas(),
            "These simulations were refused or computed only in part:\r\nsim1: the first "
            "horizon is too thin\r\nsim2: layer 1 does not drain\r\nsim5: " +
                informe.observadas[2].motivo);
  EXPECT_EQ(linea(p.libro, kHojaSolucion, 2, 1), "'earlier'");  // nothing for simulation 1
  EXPECT_EQ(linea(p.libro, kHojaSolucion, 3, 12), "'sim2' 8.78 - - 0 0 0 0 0 0 'saturation' -");
  EXPECT_EQ(linea(p.libro, kHojaSolucion, 4, 2), "'sim3' '> 10'");
  EXPECT_EQ(linea(p.libro, kHojaSolucion, 6, 1), "-");  // nothing for simulation 5
}

TEST(EjecutarYGuardar, ABatchRefusedBeforeItStartsWritesNothing) {
  ModeloDePrueba modelo;
  const auto rechazo = [&](Workbook& libro) {
    const auto antes = resultados(libro);
    const auto r = ejecutarYGuardar(libro, {}, 1, nullptr, modelo);
    EXPECT_EQ(r.estado, EstadoOperacion::Rechazado);
    EXPECT_EQ(resultados(libro), antes);
    return r.motivo;
  };
  auto sin_parametros = Workbook::create({kHojasBatch.begin(), kHojasBatch.end() - 1});
  EXPECT_EQ(rechazo(sin_parametros), "The workbook has no sheet named 'Parameters'");
  LibroPrueba p(2);
  p.poner("Constants", 5, 2, T("n/a"));
  EXPECT_CONTIENE(rechazo(p.libro), "Constants!B5");
  p.poner("Constants", 5, 2, N(1));
  for (int i = 3; i <= kMaxSimulaciones + 1; ++i) p.poner(kHojaSimulaciones, i + 1, 1, N(i));
  EXPECT_CONTIENE(rechazo(p.libro), "2730 simulations");
  p.poner(kHojaSimulaciones, kMaxSimulaciones + 2, 1, CellValue());
  const auto r = ejecutarYGuardar(p.libro, {}, 1, nullptr, modelo);
  EXPECT_EQ(r.informe.ejecutadas, 2);                // 2729 simulations are still a batch
  EXPECT_EQ(r.estado, EstadoOperacion::NoGuardado);  // a workbook made in memory has no file
}

// The damaged workbooks that a mutation fuzzer made of the sample (small copies beside the
// workbook tests): the batch is refused before it starts, naming the sheet and the damage, and
// the file is left as it was; not run with every simulation refused, nor counted row by row.
TEST(EjecutarYGuardar, ADamagedSheetRefusesTheBatchWithItsCause) {
  const struct {
    const char* archivo;
    const char* motivo;
  } casos[] = {
      {"damaged-sim-batch-ref.xlsx", "in sheet 'Sim_batch', the cell reference 'A0'"},
      {"damaged-sim-batch-crc.xlsx", "of sheet 'Sim_batch' is broken"},
      {"missing-sim-batch-part.xlsx", "of sheet 'Sim_batch' is missing"},
      {"rowmismatch.xlsx", "in sheet 'SSol_batch', the cell A9 is written inside row 2"},
      {"dupattr.xlsx", "of sheet 'SSol_batch' is not valid XML"},
      {"dupcell.xlsx", "in sheet 'SSol_batch', cell W1 is given twice"},
  };
  testing::ScratchDir dir;
  ModeloDePrueba modelo;
  for (const auto& [archivo, motivo] : casos) {
    const fs::path copia = dir / archivo;
    fs::copy_file(testing::SourceDir() / "tests/workbook/data/findings" / archivo, copia);
    const auto antes = fs::last_write_time(copia);
    Workbook libro = Workbook::open(copia);
    const auto r = ejecutarYGuardar(libro, {}, 1, nullptr, modelo);
    EXPECT_EQ(r.estado, EstadoOperacion::Rechazado) << archivo;
    EXPECT_CONTIENE(r.motivo, "The workbook '" + copia.string() + "' is damaged: ");
    EXPECT_CONTIENE(r.motivo, motivo);
    EXPECT_EQ(fs::last_write_time(copia), antes);
  }
}

// Every simulation that ran has its settings, its 21 SSol_batch columns and 12 WBal_batch rows,
// and the annual columns are the sums of the months. Prints a line per fault, then the ids
// without results.
constexpr const char* kComprobar = R"PY(
import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
sim, ssol, wbal = wb['Sim_batch'], wb['SSol_batch'], wb['WBal_batch']
sin, i = [], 0
while sim.cell(i + 2, 1).value is not None:
    i += 1
    ident = sim.cell(i + 1, 1).value
    fila = [ssol.cell(i + 1, c).value for c in range(1, 22)]
    meses = [[wbal.cell(12 * (i - 1) + 1 + m, c).value for c in range(1, 8)] for m in range(1, 13)]
    ajustes = [sim.cell(i + 1, c).value for c in range(7, 11)]
    if fila[0] is None:
        sin.append(str(ident))
    elif fila[0] != ident or None in fila or fila[10] != 'saturation' or \
            ajustes != [15, 90, 64, 'Yes'] or any(r[0] != ident for r in meses):
        print('FAULT', ident, fila, ajustes, meses)
    else:
        for anual, mensual in ((5, 2), (6, 3), (7, 7), (8, 4), (9, 5), (10, 6)):
            total = sum(r[mensual - 1] for r in meses)  # fails on a cell that is not a number
            if abs(total - fila[anual - 1]) > 1e-9 * max(1.0, abs(total)):
                print('FAULT', ident, 'column', anual, fila[anual - 1], 'months', total)
print('WITHOUT', ','.join(sin))
)PY";

TEST(BatchMuestra, SavedResultsReadBackAndTheSameForAnyThreadCountAndOrder) {
  testing::ScratchDir dir;
  const fs::path archivo = testing::CopyOfSample(dir);
  Workbook libro = Workbook::open(archivo);
  Workbook atras = Workbook::open(archivo);
  const int n = CONTAR_SIMULACIONES(libro);
  for (int i = 1; i <= n; ++i) {
    for (int c = 1; c <= 6; ++c) {
      atras.setCell(kHojaSimulaciones, i + 1, c, libro.cell(kHojaSimulaciones, n + 2 - i, c));
    }
  }
  const auto r = ejecutarYGuardar(libro, {}, 0, nullptr);
  ASSERT_EQ(r.estado, EstadoOperacion::Completado) << r.motivo;
  EXPECT_EQ(r.informe.mensajeSinDatos(),
            "Can't find input data for these simulations: \r\n\r\nS14, ");
  std::string salida;
  ASSERT_EQ(testing::RunPython(kComprobar, "'" + archivo.string() + "'", salida), 0) << salida;
  EXPECT_EQ(salida.find("FAULT"), std::string::npos) << salida;
  EXPECT_CONTIENE(salida, "WITHOUT S14\n");
  // The same simulations on one thread in the reverse order give the same cells.
  EJECUTAR_BATCH(atras, {}, 1, nullptr);
  const auto celdas = [](const Workbook& libro, int i) {
    std::string texto =
        linea(libro, kHojaSimulaciones, i + 1, 10) + linea(libro, kHojaSolucion, i + 1, 21);
    for (int m = 1; m <= 12; ++m) texto += "\n" + linea(libro, kHojaBalance, filaBalance(i, m), 7);
    return texto;
  };
  for (int i = 1; i <= n; ++i) EXPECT_EQ(celdas(libro, i), celdas(atras, n + 1 - i)) << i;
}

TEST(BatchMuestra, AFailedSaveIsReportedAsNotSavedAndLeavesTheFile) {
  testing::ScratchDir dir;
  const fs::path archivo = testing::CopyOfSample(dir);
  const auto antes = fs::last_write_time(archivo);
  Workbook libro = Workbook::open(archivo);
  libro.setSaveHookForTests([](std::string_view etapa) {
    if (etapa == "rename") throw std::runtime_error("the disk is full");
  });
  const auto r = ejecutarYGuardar(libro, {}, 2, nullptr);
  libro.setSaveHookForTests(nullptr);
  EXPECT_EQ(r.estado, EstadoOperacion::NoGuardado);
  EXPECT_CONTIENE(r.motivo, "the disk is full");
  EXPECT_EQ(r.informe.ejecutadas, 13);
  EXPECT_EQ(fs::last_write_time(archivo), antes);
  // The unsaved results are gone from memory too: a later batch that writes nothing (every
  // simulation refused) must not save them behind the user's back.
  EXPECT_FALSE(libro.isModified());
  EXPECT_TRUE(libro.cell(kHojaSolucion, 2, 1).isEmpty());
  {
    Workbook otro = Workbook::open(archivo);  // meanwhile saved from a spreadsheet program
    otro.setCell(kHojaSolucion, 2, 30, T("note"));
    otro.save();
  }
  const auto otra = ejecutarYGuardar(
      libro, {32767, 1, 64, OpcionCapacidad::Pedotransferencia, OpcionSolucion::Saturacion}, 2,
      nullptr);
  EXPECT_EQ(otra.estado, EstadoOperacion::Completado) << otra.motivo;
  EXPECT_EQ(otra.informe.ejecutadas, 0);
  EXPECT_EQ(libro.cell(kHojaSolucion, 2, 30), T("note"));  // the batch read the file again first
  EXPECT_TRUE(Workbook::open(archivo).cell(kHojaSolucion, 2, 1).isEmpty());
}

// run_batch saves its result as OUTPUT through the atomic save, and names the WORKBOOK it was
// given in its messages; a refused batch leaves no OUTPUT at all.
int runBatch(const fs::path& libro, const fs::path& salida, std::string& mensajes) {
  return testing::RunCommand("'" + (testing::BinaryDir() / "bench/run_batch").string() + "' '" +
                                 libro.string() + "' '" + salida.string() + "' --threads 2 2>&1",
                             mensajes);
}

TEST(RunBatch, OutputIsSavedAtomicallyAndMessagesNameTheWorkbook) {
  testing::ScratchDir dir;
  fs::create_directory(dir / "out");
  const fs::path danado = dir / "damaged.xlsx";
  fs::copy_file(testing::SourceDir() / "tests/workbook/data/findings/damaged-sim-batch-ref.xlsx",
                danado);
  std::string mensajes;
  EXPECT_EQ(runBatch(danado, dir / "out" / "result.xlsx", mensajes), 1);
  EXPECT_CONTIENE(mensajes, "The workbook '" + danado.string() +
                                "' is damaged: in sheet "
                                "'Sim_batch', the cell reference 'A0'");
  EXPECT_EQ(mensajes.find("result.xlsx"), std::string::npos) << mensajes;
  EXPECT_TRUE(fs::is_empty(dir / "out"));

  const fs::path muestra = testing::CopyOfSample(dir);
  const auto antes = fs::last_write_time(muestra);
  std::ofstream(dir / "out" / "result.xlsx") << "an older result";
  ASSERT_EQ(runBatch(muestra, dir / "out" / "result.xlsx", mensajes), 0) << mensajes;
  EXPECT_CONTIENE(mensajes, "simulations: 14, run: 13");
  EXPECT_EQ(fs::last_write_time(muestra), antes);
  EXPECT_TRUE(Workbook::open(dir / "out" / "result.xlsx").cell(kHojaSolucion, 2, 12).isNumber());
  std::vector<fs::path> en_out(fs::directory_iterator(dir / "out"), fs::directory_iterator());
  EXPECT_EQ(en_out, std::vector<fs::path>{dir / "out" / "result.xlsx"});
}

// The sample with Maize's root-uptake shares typed as fractions: the two simulations irrigated
// as Maize are refused with the cells named, the others run as before.
TEST(RunBatch, UptakeSharesTypedAsFractionsRefuseTheirSimulations) {
  testing::ScratchDir dir;
  const fs::path libro = dir / "fractions.xlsx";
  fs::copy_file(testing::SourceDir() / "tests/batch/data/users/uptake-shares-as-fractions.xlsx",
                libro);
  fs::permissions(libro, fs::perms::owner_write, fs::perm_options::add);
  std::string mensajes;
  ASSERT_EQ(runBatch(libro, dir / "out.xlsx", mensajes), 0) << mensajes;
  const std::string motivo =
      ": the shares of root water uptake (%) of the four quarters of the root zone, "
      "Irrigat_batch!AA2, AB2, AC2 and AD2, are 0.4, 0.3, 0.2 and 0.1, which sum to 1; they must "
      "sum to 100 (percentages, top quarter first, such as 40, 30, 20 and 10)";
  EXPECT_CONTIENE(mensajes, "\nS01" + motivo);
  EXPECT_CONTIENE(mensajes, "\n13" + motivo);
  EXPECT_CONTIENE(mensajes, "simulations: 14, run: 11, missing input: 1, refused: 2");
  const Workbook salida = Workbook::open(dir / "out.xlsx");
  EXPECT_TRUE(salida.cell(kHojaSolucion, 2, 10).isEmpty());   // S01 wrote nothing
  EXPECT_TRUE(salida.cell(kHojaSolucion, 3, 10).isNumber());  // S02 ran
}

// --help and -h print the usage on standard output and succeed, whatever else is given.
TEST(RunBatch, HelpPrintsTheUsage) {
  const std::string programa = "'" + (testing::BinaryDir() / "bench/run_batch").string() + "'";
  for (const char* args : {" --help", " -h", " a.xlsx b.xlsx --help", " --threads -h"}) {
    std::string salida;
    EXPECT_EQ(testing::RunCommand(programa + args + " 2>/dev/null", salida), 0) << args;
    EXPECT_EQ(salida.rfind("usage: run_batch WORKBOOK OUTPUT", 0), 0u) << args << ": " << salida;
  }
}

}  // namespace
// An existing OUTPUT that is write-protected is refused before the batch runs, and kept.
TEST(RunBatch, AWriteProtectedOutputIsRefusedBeforeTheBatch) {
  testing::ScratchDir dir;
  const fs::path muestra = testing::CopyOfSample(dir);
  const fs::path salida = dir / "result.xlsx";
  std::ofstream(salida) << "an older result";
  fs::permissions(salida, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  std::string mensajes;
  EXPECT_EQ(runBatch(muestra, salida, mensajes), 1);
  EXPECT_EQ(mensajes, "run_batch: The workbook '" + salida.string() +
                          "' is write-protected (its permissions give no one the right to write "
                          "it), so nothing was written to it. Make the file writable (for example "
                          "with chmod u+w) and try again.\n");
  EXPECT_EQ(testing::ReadFile(salida), "an older result");
  std::vector<fs::path> en_dir(fs::directory_iterator(dir.path()), fs::directory_iterator());
  EXPECT_EQ(en_dir.size(), 2u);
}

}  // namespace medravolix::batch
