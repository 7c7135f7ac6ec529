// The soil-solution equilibrium of one simulation, for waters and soils like the sample
// workbook's: time per solve, and the passes of each loop it ran (counters per solve); and the
// same solutions many at a time, alone one after the other against several in flight with their
// ionic-strength loops in vector lanes (AVX2, or SSE2 forced).
#include <benchmark/benchmark.h>

#include <deque>
#include <memory>
#include <vector>

#include "chemistry/carriles_fuerza_ionica.h"
#include "chemistry/equilibrio_carriles.h"
#include "chemistry/equilibrio_solucion.h"
#include "chemistry/resolucion_equilibrio.h"
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

// The six solutions, each at four concentration factors: 24 solves per iteration.
std::deque<medravolix::Simulacion> lote() {
  std::deque<medravolix::Simulacion> sims;
  for (int factor = 0; factor < 4; ++factor) {
    for (const Caso& c : kCasos) {
      Suelo suelo = c.suelo;
      suelo.factor_sat += factor;
      sims.push_back(medravolix::prueba::SimulacionCon(c.agua, suelo));
    }
  }
  return sims;
}

void BM_LoteUnaTrasOtra(benchmark::State& state) {
  const medravolix::TablasQuimicas tablas = medravolix::prueba::TablasReferencia();
  std::deque<medravolix::Simulacion> sims = lote();
  for (auto _ : state) {
    for (auto& sim : sims) medravolix::EQUILIBRIO_SOLUCION_SUELO(sim, tablas);
  }
  state.counters["solves_per_s"] = benchmark::Counter(
      static_cast<double>(sims.size()), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_LoteUnaTrasOtra)->Unit(benchmark::kMillisecond);

class Fuente : public medravolix::FuenteSimulaciones {
 public:
  explicit Fuente(std::deque<medravolix::Simulacion>& sims) : sims_(sims) {}
  medravolix::Simulacion* siguiente() override {
    return k_ < sims_.size() ? &sims_[k_++] : nullptr;
  }
  void terminada(medravolix::Simulacion&, std::exception_ptr) override {}

 private:
  std::deque<medravolix::Simulacion>& sims_;
  std::size_t k_ = 0;
};

void BM_LoteEnCarriles(benchmark::State& state) {
  const medravolix::TablasQuimicas tablas = medravolix::prueba::TablasReferencia();
  std::deque<medravolix::Simulacion> sims = lote();
  for (auto _ : state) {
    Fuente fuente(sims);
    medravolix::equilibrioEnCarriles(fuente, tablas);
  }
  state.counters["solves_per_s"] = benchmark::Counter(
      static_cast<double>(sims.size()), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_LoteEnCarriles)->Unit(benchmark::kMillisecond);

// The ionic-strength loops alone: the first runs of each solve above, plain and in lanes.
struct Corridas {
  std::deque<std::unique_ptr<medravolix::ResolucionEquilibrio>> resoluciones;
  std::vector<const medravolix::BucleFuerzaIonica*> bucles;
  std::vector<medravolix::TrabajoFuerzaIonica> entradas;
};

Corridas corridasGrabadas() {
  Corridas c;
  for (auto& sim : lote()) {
    const auto entrada =
        medravolix::prepararEquilibrio(sim, medravolix::prueba::TablasReferencia());
    c.resoluciones.push_back(std::make_unique<medravolix::ResolucionEquilibrio>(*entrada));
    for (int n = 0; n < 200; ++n) {
      medravolix::BucleFuerzaIonica* bucle = c.resoluciones.back()->avanzar();
      if (bucle == nullptr) break;
      c.bucles.push_back(bucle);
      c.entradas.push_back(bucle->trabajo());
      bucle->correr();
    }
  }
  return c;
}

void BM_CorridasFuerzaIonica(benchmark::State& state) {
  const Corridas grabadas = corridasGrabadas();
  const int modo = static_cast<int>(state.range(0));  // 0 plain, 1 lanes, 2 lanes with SSE2
  std::vector<medravolix::TrabajoFuerzaIonica> trabajos;
  constexpr int kN = medravolix::CarrilesFuerzaIonica::kCarriles;
  for (auto _ : state) {
    state.PauseTiming();
    trabajos = grabadas.entradas;
    state.ResumeTiming();
    if (modo == 0) {
      for (std::size_t k = 0; k < trabajos.size(); ++k) grabadas.bucles[k]->correr(trabajos[k]);
      continue;
    }
    medravolix::CarrilesFuerzaIonica carriles(modo == 2);
    std::size_t k = 0;
    const auto llenar = [&](int l) {
      if (k < trabajos.size()) carriles.cargar(l, *grabadas.bucles[k], trabajos[k]), ++k;
    };
    for (int l = 0; l < kN; ++l) llenar(l);
    while (carriles.algunoOcupado()) {
      std::array<std::exception_ptr, kN> fallos{};
      const unsigned fin = carriles.pasada(fallos);
      for (int l = 0; l < kN; ++l) {
        if (fin & (1u << l)) llenar(l);
      }
    }
  }
  state.counters["runs_per_s"] = benchmark::Counter(static_cast<double>(grabadas.entradas.size()),
                                                    benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_CorridasFuerzaIonica)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
