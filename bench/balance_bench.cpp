// The water-balance chain (steps 1 to 8) per simulation: every simulation of the sample
// workbook, and a deep, dry, sandy profile under a desert climate, whose lower layers need many
// yearly passes to fill. Counters: yearly passes, balance runs and stress passes per simulation.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "balance/cadena_balance.h"
#include "balance/etc_mensual.h"
#include "batch/lectura_batch.h"
#include "simulation/simulacion.h"
#include "workbook/csv_table.h"
#include "workbook/workbook.h"

namespace {

using namespace medravolix;

// The sample workbook in memory, from its CSV tables.
workbook::Workbook libroMuestra() {
  const std::filesystem::path carpeta =
      std::filesystem::path(MEDRAVOLIX_SOURCE_DIR) / "data/sample";
  std::vector<std::filesystem::path> tablas;
  for (const auto& e : std::filesystem::directory_iterator(carpeta)) {
    if (e.path().extension() == ".csv") tablas.push_back(e.path());
  }
  std::sort(tablas.begin(), tablas.end());
  std::vector<std::string> hojas;
  for (const auto& t : tablas) hojas.push_back(t.stem().string().substr(3));
  auto libro = workbook::Workbook::create(hojas);
  for (std::size_t k = 0; k < tablas.size(); ++k) {
    const auto tabla = workbook::CsvTable::read(tablas[k]);
    for (int r = 1; r <= tabla.rowCount(); ++r) {
      for (int c = 1; c <= tabla.columnCount(); ++c) {
        if (!tabla.cell(r, c).isEmpty()) libro.setCell(hojas[k], r, c, tabla.cell(r, c));
      }
    }
  }
  return libro;
}

// The inputs of every sample simulation whose five inputs are found, as the batch reads them.
std::vector<Simulacion> simulacionesMuestra() {
  const workbook::Workbook libro = libroMuestra();
  std::vector<Simulacion> sims;
  for (int i = 1; i <= batch::CONTAR_SIMULACIONES(libro); ++i) {
    Simulacion sim;
    batch::LEER_SIMULACION(libro, i, sim);
    const bool completa = batch::BUSCAR_SUELO(libro, sim) && batch::BUSCAR_CLIMA(libro, sim) &&
                          batch::BUSCAR_CULTIVO(libro, sim) && batch::BUSCAR_RIEGO(libro, sim) &&
                          batch::BUSCAR_AGUA(libro, sim);
    CARGAR_ETO_EXTERNA(sim);
    if (completa) sims.push_back(std::move(sim));
  }
  return sims;
}

Mensual mensual(std::initializer_list<double> doce) {
  Mensual serie{};
  int m = 1;
  for (double v : doce) serie[m++] = v;
  return serie;
}

// A deep dune sand (400 cm simulated) under date palms in a desert climate, irrigated just
// above what the palms use: a few mm a year drain below the roots and fill the deep layers over
// thousands of yearly passes, and the stress passes do not settle before the 51st.
Simulacion arenaProfundaSeca() {
  Simulacion sim;
  sim.PROF_EVAPORATIVA = 15;
  sim.PROF_SIMULACION = 400;
  sim.OPCION_CAPACIDAD = OpcionCapacidad::Pedotransferencia;
  sim.NUM_FILAS_SUELO = 2;
  sim.PROF_FILA = {0, 40, 400};
  sim.ARENA_FILA = {0, 90, 94};
  sim.ARCILLA_FILA = {0, 4, 2};
  sim.SAT_FILA = {0, 0.27, 0.26};
  sim.CC_FILA = {0, 0.07, 0.06};
  sim.PMP_FILA = {0, 0.02, 0.02};
  sim.DENSIDAD_FILA = {0, 1.55, 1.6};
  sim.PIEDRAS_FILA = {0, 2, 5};
  sim.CALIZA_FILA = {0, 6, 4};
  sim.MO_FILA = {0, 0.4, 0.1};
  sim.YESO_FILA = {0, 0, 0};
  sim.ESTACION.PRECIPITACION = mensual({22, 20, 25, 7, 3, 1, 25, 28, 17, 15, 17, 22});
  sim.ESTACION.DIAS_LLUVIA = mensual({3, 3, 3, 1, 1, 0, 3, 4, 2, 2, 2, 3});
  sim.ESTACION.ETO_EXTERNA = mensual({65, 82, 140, 190, 245, 265, 262, 238, 190, 140, 85, 60});
  sim.KCB_MENSUAL.fill(0.85);
  sim.RAIZ_MENSUAL.fill(100);
  sim.COBERTURA_MENSUAL.fill(0.4);
  sim.DATOS_RIEGO.RIEGO_MENSUAL = mensual({14, 21, 56, 84, 112, 123, 123, 112, 84, 56, 21, 14});
  sim.DATOS_RIEGO.NRIEGOS_MENSUAL = mensual({1, 1, 2, 3, 4, 4, 4, 4, 3, 2, 1, 1});
  sim.DATOS_RIEGO.FRACCION_MOJADA = 0.5;
  sim.PATRON_EXTRACCION = {0, 0.4, 0.3, 0.2, 0.1};
  CARGAR_ETO_EXTERNA(sim);
  return sim;
}

// Runs the chain on a fresh copy of `entradas` per iteration, as the batch does for every
// simulation, and reports the work of the last run.
void ejecutarCadena(benchmark::State& state, const Simulacion& entradas, bool reutilizar) {
  Simulacion ultima;
  for (auto _ : state) {
    Simulacion sim = entradas;
    sim.balance.reutilizarUltimaCorrida = reutilizar;
    ejecutarCadenaBalance(sim);
    benchmark::DoNotOptimize(sim.ET_REAL_ANUAL);
    if (state.iterations() == 1) ultima = sim;
    ultima.balance.pasadasBalance = sim.balance.pasadasBalance;
    ultima.balance.corridasBalance = sim.balance.corridasBalance;
    ultima.balance.ITERACIONES_ESTRES = sim.balance.ITERACIONES_ESTRES;
  }
  state.counters["yearly_passes"] = static_cast<double>(ultima.balance.pasadasBalance);
  state.counters["balance_runs"] = ultima.balance.corridasBalance;
  state.counters["stress_passes"] = ultima.balance.ITERACIONES_ESTRES;
}

void registrar() {
  for (const Simulacion& sim : simulacionesMuestra()) {
    const std::string nombre = "sample/" + sim.SIMULACION.ID_SIMULACION.toDisplayText();
    benchmark::RegisterBenchmark(nombre.c_str(), [sim](benchmark::State& s) {
      ejecutarCadena(s, sim, true);
    })->Unit(benchmark::kMicrosecond);
  }
  const Simulacion arena = arenaProfundaSeca();
  benchmark::RegisterBenchmark("deep_dry_sand/reuse", [arena](benchmark::State& s) {
    ejecutarCadena(s, arena, true);
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("deep_dry_sand/no_reuse", [arena](benchmark::State& s) {
    ejecutarCadena(s, arena, false);
  })->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  registrar();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
