// The soil-solution equilibrium of one simulation, for waters and soils like the sample
// workbook's: time per solve, and the passes of each loop it ran (counters per solve).
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>

#include "batch/simulacion.h"
#include "chemistry/equilibrio_solucion.h"
#include "chemistry/tablas_quimicas.h"

namespace {

using medravolix::Simulacion;
using medravolix::TablasQuimicas;

// The chemistry tables of the sample workbook (WATEQ4F constants, limiting conductivities).
TablasQuimicas Tablas() {
  TablasQuimicas t;
  t.LOG_K = {0,    -1.468, -14.00, -6.352, -10.329, -8.48, -4.58, 0,     0,    1.22, 2.56,
             0,    0,      0,      0,      0,       0,     0,     0,     0.70, 0.85, 2.30,
             2.37, -0.25,  0,      1.106,  1.07,    1.27,  0,     3.224, 2.98};
  t.CARGA_ESPECIE = {0, 1, 1, 1, 1, 2, 2, 1, 1, 2, 1, 2, 0};
  t.COEF_CONDUCTIVIDAD_ESPECIE = {0,     349.65, 198,  50.10, 73.50, 59.47, 53.0,
                                  76.35, 71.46,  80.0, 44.5,  69.3,  0};
  t.CARGA_PAR = {0, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0};
  t.COEF_CONDUCTIVIDAD_PAR[13] = 50.0;
  t.COEF_CONDUCTIVIDAD_PAR[14] = 56.3;
  t.COEF_CONDUCTIVIDAD_PAR[19] = 19.0;
  t.COEF_CONDUCTIVIDAD_PAR[20] = 17.95;
  t.COEF_CONDUCTIVIDAD_PAR[21] = 45.1;
  t.CE = 0.115;
  t.FACTOR_CE = 0.000803;
  return t;
}

struct Caso {
  std::array<double, 8> agua;  // Na K Ca Mg Cl NO3 SO4 (mmol/L), alkalinity (meq/L)
  double log_pco2, factor, caliza_pct, yeso_pct;
};

// Waters of the sample workbook on its soils, at typical saturation-extract factors.
constexpr Caso kCasos[] = {
    {{0.35, 0.03, 1.3, 0.3, 0.3, 0.03, 0.45, 2.35}, -2.0, 2.0, 40, 1.0},        // canal, calcareous
    {{3.2, 0.08, 2.5, 1, 2.9, 0.15, 2.2, 2.83}, -2.0, 3.0, 20, 35},             // Ebro, gypsiferous
    {{9, 0.6, 2.5, 1.8, 8.5, 0.7, 2.2, 4.6}, -2.5, 4.0, 8, 0},                  // reclaimed, sandy
    {{8.864, 0.18, 6.265, 2.779, 9.513, 0.5, 6.125, 4.399}, -2.0, 3.0, 28, 1},  // Rio Grande
    {{10, 0.1, 0.6, 0.5, 3, 0.1, 1, 7.2}, -1.7, 3.0, 28, 1.0},                  // sodic, clay
    {{71.74, 0.67, 3.045, 3.645, 63.5, 0.2, 7.97, 6.66}, -2.0, 2.5, 29, 0.5},   // saline, alluvial
};

Simulacion Preparar(const Caso& c) {
  Simulacion sim;
  for (int s = 3; s <= 9; ++s) sim.COMPOSICION_AGUA[s] = c.agua[s - 3];
  sim.ALCALINIDAD_AGUA = c.agua[7];
  sim.PCO2 = std::pow(10.0, c.log_pco2);
  sim.OPCION_SOLUCION = "saturación";
  sim.FACTOR_CONCENTRACION_SAT = c.factor;
  sim.SAT_PERFIL = 0.45;
  sim.CC_PERFIL = 0.27;
  sim.CALIZA_PERFIL = c.caliza_pct;
  sim.YESO_PERFIL = c.yeso_pct;
  return sim;
}

void BM_EquilibrioSolucionSuelo(benchmark::State& state) {
  const TablasQuimicas tablas = Tablas();
  const Caso& caso = kCasos[state.range(0)];
  Simulacion sim = Preparar(caso);
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
