// The whole batch: the sample workbook's simulations repeated up to the largest batch (2729),
// loaded from a file, run and saved, on one thread and on every core; and the chain of each
// sample simulation alone, with the passes its loops make.
//
// The workbook is assembled from the sample tables (data/sample/*.csv) by the project's writer.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <thread>

#include <unistd.h>

#include "batch/ejecutar_batch.h"
#include "batch/ejecutor_batch.h"
#include "batch/hojas_batch.h"
#include "batch/lectura_batch.h"
#include "batch/modelo_completo.h"
#include "workbook/csv_table.h"
#include "workbook/workbook.h"

namespace {

namespace fs = std::filesystem;
using medravolix::EntradasSimulacion;
using medravolix::Simulacion;
using medravolix::workbook::Workbook;
namespace batch = medravolix::batch;

fs::path carpeta() {
  static const fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / ("medravolix-batch-bench-" + std::to_string(getpid()));
    fs::create_directories(d);
    return d;
  }();
  return dir;
}

Workbook muestraEnMemoria() {
  std::vector<fs::path> tablas;
  for (const auto& e : fs::directory_iterator(fs::path(MEDRAVOLIX_SOURCE_DIR) / "data/sample")) {
    if (e.path().extension() == ".csv") tablas.push_back(e.path());
  }
  std::sort(tablas.begin(), tablas.end());
  std::vector<std::string> hojas;
  for (const auto& t : tablas) hojas.push_back(t.stem().string().substr(3));
  Workbook libro = Workbook::create(hojas);
  for (std::size_t k = 0; k < tablas.size(); ++k) {
    const auto tabla = medravolix::workbook::CsvTable::read(tablas[k]);
    for (int r = 1; r <= tabla.rowCount(); ++r) {
      for (int c = 1; c <= tabla.columnCount(); ++c) {
        if (!tabla.cell(r, c).isEmpty()) libro.setCell(hojas[k], r, c, tabla.cell(r, c));
      }
    }
  }
  return libro;
}

// The sample workbook with its Sim_batch rows repeated up to 2729 simulations, as a file.
const fs::path& plantilla() {
  static const fs::path ruta = [] {
    Workbook libro = muestraEnMemoria();
    const int base = batch::CONTAR_SIMULACIONES(libro);
    for (int i = base + 1; i <= batch::kMaxSimulaciones; ++i) {
      for (int c = 1; c <= 6; ++c) {
        libro.setCell(batch::kHojaSimulaciones, i + 1, c,
                      libro.cell(batch::kHojaSimulaciones, (i - 1) % base + 2, c));
      }
    }
    const fs::path p = carpeta() / "batch2729.xlsx";
    libro.saveAs(p);
    return p;
  }();
  return ruta;
}

unsigned hilos(const benchmark::State& state) {
  const auto n = static_cast<unsigned>(state.range(0));
  return n != 0 ? n : std::max(1u, std::thread::hardware_concurrency());
}

// Load, batch and save: what run_batch times.
void BM_BatchCompleto(benchmark::State& state) {
  const fs::path trabajo = carpeta() / "trabajo.xlsx";
  int simulaciones = 0;
  for (auto _ : state) {
    state.PauseTiming();
    fs::copy_file(plantilla(), trabajo, fs::copy_options::overwrite_existing);
    state.ResumeTiming();
    Workbook libro = Workbook::open(trabajo);
    const auto r = batch::ejecutarYGuardar(libro, {}, hilos(state), nullptr);
    if (r.estado != batch::EstadoOperacion::Completado) state.SkipWithError(r.motivo.c_str());
    simulaciones = r.informe.NUM_SIMULACIONES;
  }
  state.counters["sims_per_s"] =
      benchmark::Counter(simulaciones, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["s_per_sim"] = benchmark::Counter(
      simulaciones, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["threads"] = hilos(state);
}
BENCHMARK(BM_BatchCompleto)->Arg(1)->Arg(8)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

// The batch alone on the workbook in memory, and the load and the save alone.
void BM_SoloBatch(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    Workbook libro = Workbook::open(plantilla());
    state.ResumeTiming();
    batch::EJECUTAR_BATCH(libro, {}, hilos(state), nullptr);
    state.PauseTiming();
    libro = Workbook::create({"x"});
    state.ResumeTiming();
  }
  state.counters["sims_per_s"] =
      benchmark::Counter(batch::kMaxSimulaciones, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_SoloBatch)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

// Everything but the model: load, the reading of every input, the formatting and writing of the
// same number of result cells, and the save. The chain is replaced by one that only fills results.
class SinModelo : public batch::ModeloSimulacion {
 public:
  void prepararBatch(const Workbook&) override {}
  void CARGAR_ETO_EXTERNA(EntradasSimulacion& sim) const override {
    sim.ETO_MENSUAL = sim.ESTACION.ETO_EXTERNA;
  }
  void ejecutarCadena(Simulacion& sim) const override {
    sim.NUM_CAPAS = 64;
    sim.FACTOR_CONCENTRACION_CC = sim.FACTOR_CONCENTRACION_SAT = sim.FRACCION_LAVADO = 0.5;
    sim.SOLUCION_CON_VALOR = true;
    for (int m = 1; m <= 12; ++m) sim.ET_REAL_MENSUAL[m] = sim.ETO_MENSUAL[m] / 3;
  }
};

void BM_BatchSinModelo(benchmark::State& state) {
  const fs::path trabajo = carpeta() / "trabajo.xlsx";
  for (auto _ : state) {
    state.PauseTiming();
    fs::copy_file(plantilla(), trabajo, fs::copy_options::overwrite_existing);
    state.ResumeTiming();
    Workbook libro = Workbook::open(trabajo);
    SinModelo modelo;
    const auto r = batch::ejecutarYGuardar(libro, {}, 1, nullptr, modelo);
    if (r.estado != batch::EstadoOperacion::Completado) state.SkipWithError(r.motivo.c_str());
  }
}
BENCHMARK(BM_BatchSinModelo)->Unit(benchmark::kMillisecond)->UseRealTime();

// The chain of each sample simulation alone (the balance and the soil solution), with the
// passes of its loops per simulation.
void BM_CadenaPorSimulacion(benchmark::State& state) {
  const Workbook libro = muestraEnMemoria();
  batch::ModeloCompleto modelo;
  modelo.prepararBatch(libro);
  std::vector<Simulacion> entradas;
  for (int i = 1; i <= batch::CONTAR_SIMULACIONES(libro); ++i) {
    Simulacion sim;
    batch::LEER_SIMULACION(libro, i, sim);
    bool completa = batch::BUSCAR_SUELO(libro, sim) && batch::BUSCAR_CLIMA(libro, sim) &&
                    batch::BUSCAR_CULTIVO(libro, sim);
    modelo.CARGAR_ETO_EXTERNA(sim);
    completa = completa && batch::BUSCAR_RIEGO(libro, sim) && batch::BUSCAR_AGUA(libro, sim);
    if (completa) entradas.push_back(sim);
  }
  std::map<std::string, double> pasadas;
  for (auto _ : state) {
    for (const auto& e : entradas) {
      Simulacion sim = e;
      modelo.ejecutarCadena(sim);
      pasadas["balance"] += static_cast<double>(sim.balance.pasadasBalance);
      pasadas["ionic_strength"] += static_cast<double>(sim.QUIMICA.PASADAS.fuerza_ionica);
      pasadas["ion_pair"] += static_cast<double>(sim.QUIMICA.PASADAS.pares);
      pasadas["calcite"] += static_cast<double>(sim.QUIMICA.PASADAS.calcita);
      pasadas["gypsum"] += static_cast<double>(sim.QUIMICA.PASADAS.yeso);
      benchmark::DoNotOptimize(sim.CE);
    }
  }
  const double n = static_cast<double>(entradas.size()) * static_cast<double>(state.iterations());
  for (const auto& [nombre, total] : pasadas) state.counters[nombre + "_per_sim"] = total / n;
  state.counters["sims_per_s"] = benchmark::Counter(static_cast<double>(entradas.size()),
                                                    benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_CadenaPorSimulacion)->Unit(benchmark::kMillisecond);

// Prints the speed-up of the whole batch on 8 threads over 1 after the table.
class Informe : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        tiempos_[run.benchmark_name()] = run.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const auto uno = tiempos_.find("BM_BatchCompleto/1/real_time");
    const auto ocho = tiempos_.find("BM_BatchCompleto/8/real_time");
    if (uno != tiempos_.end() && ocho != tiempos_.end()) {
      std::printf("speed-up of the whole batch, 8 threads over 1: %.2f\n",
                  uno->second / ocho->second);
    }
  }

 private:
  std::map<std::string, double> tiempos_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Informe informe;
  benchmark::RunSpecifiedBenchmarks(&informe);
  std::error_code ec;
  fs::remove_all(carpeta(), ec);
  benchmark::Shutdown();
  return 0;
}
