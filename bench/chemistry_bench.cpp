// The soil-solution equilibrium of one simulation, for waters and soils like the sample
// workbook's: time per solve, and the passes of each loop it ran (counters per solve).
#include <benchmark/benchmark.h>

#include "chemistry/equilibrio_solucion.h"
#include "chemistry/tablas_prueba.h"  // tests/chemistry: the sample workbook's chemistry tables
#include "simulation/simulacion.h"

namespace {

using medravolix::prueba::Agua;
using medravolix::prueba::Suelo;

struct Caso {
  Agua agua;    // Na K Ca Mg Cl NO3 SO4 (mmol/L), alkalinity (meq/L)
  Suelo suelo;  // log pCO2, saturation extract's factor, calcite and gypsum (%)
};

// Waters of the sample workbook on its soils, at typical saturation-extract factors.
constexpr Caso kCasos[] = {
    {{0.35, 0.03, 1.3, 0.3, 0.3, 0.03, 0.45, 2.35}, {-2.0, 2.0, 40, 1.0}},  // canal, calcareous
    {{3.2, 0.08, 2.5, 1, 2.9, 0.15, 2.2, 2.83}, {-2.0, 3.0, 20, 35}},       // Ebro, gypsiferous
    {{9, 0.6, 2.5, 1.8, 8.5, 0.7, 2.2, 4.6}, {-2.5, 4.0, 8, 0}},            // reclaimed, sandy
    {{8.864, 0.18, 6.265, 2.779, 9.513, 0.5, 6.125, 4.399}, {-2.0, 3.0, 28, 1}},  // Rio Grande
    {{10, 0.1, 0.6, 0.5, 3, 0.1, 1, 7.2}, {-1.7, 3.0, 28, 1.0}},                  // sodic, clay
    {{71.74, 0.67, 3.045, 3.645, 63.5, 0.2, 7.97, 6.66}, {-2.0, 2.5, 29, 0.5}},  // saline, alluvial
};

void BM_EquilibrioSolucionSuelo(benchmark::State& state) {
  const medravolix::TablasQuimicas tablas = medravolix::prueba::TablasReferencia();
  const Caso& caso = kCasos[state.range(0)];
  medravolix::Simulacion sim = medravolix::prueba::SimulacionCon(caso.agua, caso.suelo);
  for (auto _ : state) {
    medravolix::EQUILIBRIO_SOLUCION_SUELO(sim, tablas);
    benchmark::DoNotOptimize(sim.CE);
  }
  const medravolix::PasadasQuimica& n = sim.QUIMICA.PASADAS;
  state.counters["gypsum"] = static_cast<double>(n.yeso);
  state.counters["calcite"] = static_cast<double>(n.calcita);
  state.counters["ionic_strength"] = static_cast<double>(n.fuerza_ionica);
  state.counters["ion_pair"] = static_cast<double>(n.pares);
  state.counters["pH"] = sim.PH;
}
BENCHMARK(BM_EquilibrioSolucionSuelo)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
