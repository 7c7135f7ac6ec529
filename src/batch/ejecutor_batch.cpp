#include "batch/ejecutor_batch.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "batch/escritura_batch.h"
#include "batch/hojas_batch.h"
#include "batch/lectura_batch.h"
#include "batch/resultados_posibles.h"
#include "common/calendario.h"

namespace medravolix::batch {

using workbook::Workbook;
using workbook::WorkbookError;

namespace {

// One simulation of the batch, from its reading to its cells.
struct Caso {
  enum class Estado { SinDatos, Rechazada, Pendiente, Ejecutada };
  int i = 0;
  Estado estado = Estado::Pendiente;
  std::string id;       // the simulation id as text
  std::string motivo;   // why it was refused, or which results have no value
  FilasEntradas filas;  // where its inputs were found
  std::unique_ptr<EntradasSimulacion> entradas;
  LoteEscrituras escrituras;
};

// Reports PROGRESO = i x 100 / N, rounded, once for each simulation handled, in order.
class ReporteProgreso {
 public:
  ReporteProgreso(int total, const Progreso& progreso) : total_(total), progreso_(progreso) {}
  void hasta(int hechas) {
    for (; reportadas_ < hechas; ++reportadas_) {
      const double PROGRESO = REDONDEAR(static_cast<double>(reportadas_ + 1) * 100 / total_, 0);
      if (progreso_) progreso_(PROGRESO);
    }
  }

 private:
  int total_;
  int reportadas_ = 0;
  const Progreso& progreso_;
};

std::string unirAvisos(const std::vector<std::string>& avisos) {
  std::string texto;
  for (const auto& aviso : avisos) texto += (texto.empty() ? "" : "; ") + aviso;
  return texto;
}

class EjecutorBatch {
 public:
  EjecutorBatch(Workbook& libro, const AjustesBatch& ajustes, ModeloSimulacion& modelo)
      : libro_(libro), ajustes_(ajustes), modelo_(modelo) {}

  InformeBatch ejecutar(unsigned threads, const Progreso& progreso) {
    comprobarInicio();
    for (auto& caso : casos_) leer(caso);
    calcular(threads, progreso);
    escribir();
    return informe();
  }

 private:
  // The checks that refuse the whole batch before anything runs.
  void comprobarInicio() {
    try {
      for (const auto hoja : kHojasBatch) libro_.requireSheet(hoja);
      const int n = CONTAR_SIMULACIONES(libro_);
      if (n > kMaxSimulaciones) {
        throw BatchRechazado("Sim_batch lists " + std::to_string(n) +
                             " simulations; a batch can hold at most " +
                             std::to_string(kMaxSimulaciones));
      }
      modelo_.prepararBatch(libro_);
      casos_.resize(n);
      for (int i = 1; i <= n; ++i) casos_[i - 1].i = i;
    } catch (const WorkbookError& e) {
      throw BatchRechazado(e.what());
    }
  }

  // The ids and the five inputs, in the order the model needs them: soil, climate, crop, the
  // given reference ET, irrigation and irrigation water.
  void leer(Caso& caso) {
    auto entradas = std::make_unique<EntradasSimulacion>();
    EntradasSimulacion& sim = *entradas;
    try {
      LEER_SIMULACION(libro_, caso.i, sim);
      bool completos = true;
      const auto encontrada = [&](std::optional<int> fila, int& donde) {
        completos = completos && fila.has_value();
        donde = fila.value_or(0);
      };
      FilasEntradas& filas = caso.filas;
      encontrada(BUSCAR_SUELO(libro_, sim), filas.suelo);
      filas.horizontes = sim.NUM_FILAS_SUELO;
      encontrada(BUSCAR_CLIMA(libro_, sim), filas.clima);
      encontrada(BUSCAR_CULTIVO(libro_, sim), filas.cultivo);
      modelo_.CARGAR_ETO_EXTERNA(sim);
      encontrada(BUSCAR_RIEGO(libro_, sim), filas.riego);
      encontrada(BUSCAR_AGUA(libro_, sim), filas.agua);
      caso.id = sim.SIMULACION.ID_SIMULACION.toDisplayText();
      caso.estado = completos ? Caso::Estado::Pendiente : Caso::Estado::SinDatos;
      if (completos) caso.entradas = std::move(entradas);
    } catch (const workbook::WorkbookDamaged& e) {
      // A sheet that cannot be read fails every simulation alike: the batch is refused, not run
      // with each simulation refused for the same damage.
      throw BatchRechazado(e.what());
    } catch (const std::exception& e) {
      const auto& id = sim.SIMULACION.ID_SIMULACION;
      caso.id = id.isEmpty() ? "row " + std::to_string(filaSimulacion(caso.i)) : id.toDisplayText();
      rechazar(caso, e.what());
    }
  }

  static void rechazar(Caso& caso, std::string motivo) {
    caso.estado = Caso::Estado::Rechazada;
    caso.motivo = std::move(motivo);
    caso.entradas.reset();
    caso.escrituras.clear();
  }

  // Hands the pending simulations to the model on one thread, taking them from a counter that
  // the threads share, and puts each one's cells and messages into its case as it comes back.
  // The model may keep several in flight.
  class FuenteCasos : public FuenteSimulaciones {
   public:
    FuenteCasos(const EjecutorBatch& ejecutor, const std::vector<Caso*>& pendientes,
                std::atomic<std::size_t>& siguiente, const std::atomic<bool>& parar,
                const std::function<void()>& hecha)
        : ejecutor_(ejecutor),
          pendientes_(pendientes),
          siguiente_(siguiente),
          parar_(parar),
          hecha_(hecha) {}

    Simulacion* siguiente() override {
      for (;;) {
        if (parar_) return nullptr;
        const std::size_t k = siguiente_++;
        if (k >= pendientes_.size()) return nullptr;
        Caso& caso = *pendientes_[k];
        try {
          auto nueva = std::make_unique<EnCurso>();
          nueva->caso = &caso;
          static_cast<AjustesBatch&>(nueva->sim) = ejecutor_.ajustes_;
          static_cast<EntradasSimulacion&>(nueva->sim) = std::move(*caso.entradas);
          caso.entradas.reset();
          en_curso_.push_back(std::move(nueva));
          return &en_curso_.back()->sim;
        } catch (const std::exception& e) {
          rechazar(caso, e.what());
          hecha_();
        }
      }
    }

    void terminada(Simulacion& sim, std::exception_ptr fallo) override {
      const auto es_esta = [&](const auto& e) { return &e->sim == &sim; };
      const auto it = std::find_if(en_curso_.begin(), en_curso_.end(), es_esta);
      Caso& caso = *(*it)->caso;
      try {
        if (fallo) std::rethrow_exception(fallo);
        caso.escrituras = escribirResultados(sim, caso.i);
        caso.motivo = unirAvisos(sim.AVISOS);
        caso.estado = Caso::Estado::Ejecutada;
      } catch (const ResultadoImposible& e) {
        rechazar(caso, e.what() + ("; " + textoEntradas(caso.i, caso.filas, e.entradas())));
      } catch (const CalculoRechazado& e) {
        // No one cell is at fault: the inputs of the step that failed, taken together.
        rechazar(caso, e.what() + ("; " + textoEntradas(caso.i, caso.filas, entradasDelPaso(e))));
      } catch (const std::exception& e) {
        rechazar(caso, e.what());
      }
      en_curso_.erase(it);
      hecha_();
    }

   private:
    struct EnCurso {
      Simulacion sim;
      Caso* caso = nullptr;
    };
    const EjecutorBatch& ejecutor_;
    const std::vector<Caso*>& pendientes_;
    std::atomic<std::size_t>& siguiente_;
    const std::atomic<bool>& parar_;
    const std::function<void()>& hecha_;
    std::vector<std::unique_ptr<EnCurso>> en_curso_;
  };

  void calcular(unsigned threads, const Progreso& progreso) {
    std::vector<Caso*> pendientes;
    for (auto& caso : casos_)
      if (caso.estado == Caso::Estado::Pendiente) pendientes.push_back(&caso);
    const int ya_hechas = static_cast<int>(casos_.size() - pendientes.size());
    ReporteProgreso reporte(static_cast<int>(casos_.size()), progreso);
    reporte.hasta(ya_hechas);
    unsigned hilos = threads != 0 ? threads : std::max(1u, std::thread::hardware_concurrency());
    hilos = std::min<unsigned>(hilos, static_cast<unsigned>(pendientes.size()));
    if (hilos <= 1) {
      std::atomic<std::size_t> siguiente{0};
      const std::atomic<bool> parar{false};
      int hechas = ya_hechas;
      const std::function<void()> hecha = [&] { reporte.hasta(++hechas); };
      FuenteCasos fuente(*this, pendientes, siguiente, parar, hecha);
      modelo_.ejecutarCadenas(fuente);
      return;
    }
    calcularEnHilos(pendientes, hilos, ya_hechas, reporte);
  }

  void calcularEnHilos(const std::vector<Caso*>& pendientes, unsigned hilos, int ya_hechas,
                       ReporteProgreso& reporte) {
    std::atomic<std::size_t> siguiente{0};
    std::atomic<bool> parar{false};
    std::mutex mutex;
    std::condition_variable aviso;
    int hechas = ya_hechas;  // guarded by mutex
    const std::function<void()> hecha = [&] {
      {
        const std::lock_guard<std::mutex> cierre(mutex);
        ++hechas;
      }
      aviso.notify_one();
    };
    const auto trabajar = [&] {
      FuenteCasos fuente(*this, pendientes, siguiente, parar, hecha);
      modelo_.ejecutarCadenas(fuente);
    };
    std::vector<std::jthread> grupo;
    try {
      for (unsigned h = 0; h < hilos; ++h) {
        try {
          grupo.emplace_back(trabajar);
        } catch (const std::system_error&) {
          if (grupo.empty()) throw;
          break;  // fewer threads than asked for: those started share the work
        }
      }
      const int total = static_cast<int>(casos_.size());
      for (int vistas = ya_hechas; vistas < total;) {
        std::unique_lock<std::mutex> cierre(mutex);
        aviso.wait(cierre, [&] { return hechas > vistas; });
        vistas = hechas;
        cierre.unlock();
        reporte.hasta(vistas);
      }
    } catch (...) {
      parar = true;
      throw;  // the threads are joined as the group goes away
    }
  }

  // Every target cell is checked before the first write; a simulation with a cell that may not
  // be overwritten is refused whole.
  void escribir() {
    for (auto& caso : casos_) {
      if (caso.estado != Caso::Estado::Ejecutada) continue;
      try {
        comprobarEscrituras(libro_, caso.escrituras);
      } catch (const WorkbookError& e) {
        rechazar(caso, std::string("its results cannot be written: ") + e.what());
      }
    }
    for (auto& caso : casos_) {
      if (caso.estado == Caso::Estado::Ejecutada) aplicarEscrituras(libro_, caso.escrituras);
      caso.escrituras = LoteEscrituras();
    }
  }

  InformeBatch informe() const {
    InformeBatch inf;
    inf.NUM_SIMULACIONES = static_cast<int>(casos_.size());
    for (const auto& caso : casos_) {
      switch (caso.estado) {
        case Caso::Estado::SinDatos:
          ++inf.sin_datos;
          inf.LISTA_SIN_DATOS += "\r\n" + caso.id + ", ";
          break;
        case Caso::Estado::Rechazada:
          ++inf.rechazadas;
          inf.observadas.push_back({caso.id, caso.motivo});
          break;
        case Caso::Estado::Ejecutada:
          ++inf.ejecutadas;
          if (!caso.motivo.empty()) inf.observadas.push_back({caso.id, caso.motivo});
          break;
        case Caso::Estado::Pendiente:
          break;
      }
    }
    return inf;
  }

  Workbook& libro_;
  const AjustesBatch& ajustes_;
  ModeloSimulacion& modelo_;
  std::vector<Caso> casos_;
};

}  // namespace

InformeBatch ejecutarBatch(Workbook& libro, const AjustesBatch& ajustes, unsigned threads,
                           const Progreso& progreso, ModeloSimulacion& modelo) {
  return EjecutorBatch(libro, ajustes, modelo).ejecutar(threads, progreso);
}

namespace {

// Results that were not saved are dropped from memory as well, so that the workbook in memory is
// the file again and a later save never writes them unannounced. When the file cannot be read,
// the next operation finds it changed and refuses to run.
ResultadoOperacion noGuardado(Workbook& libro, ResultadoOperacion resultado, std::string motivo) {
  resultado.estado = EstadoOperacion::NoGuardado;
  resultado.motivo = std::move(motivo);
  try {
    if (libro.isModified()) libro.reload();
  } catch (const WorkbookError&) {
  }
  return resultado;
}

}  // namespace

namespace {

// Runs the batch on the workbook in memory; false when it was refused or stopped, with the
// reason in `resultado`.
bool ejecutarEnMemoria(Workbook& libro, const AjustesBatch& ajustes, unsigned threads,
                       const Progreso& progreso, ModeloSimulacion& modelo,
                       ResultadoOperacion& resultado) {
  try {
    resultado.informe = ejecutarBatch(libro, ajustes, threads, progreso, modelo);
    return true;
  } catch (const BatchRechazado& e) {
    resultado.estado = EstadoOperacion::Rechazado;
    resultado.motivo = e.what();
  } catch (const std::exception& e) {
    resultado =
        noGuardado(libro, std::move(resultado), std::string("The batch stopped: ") + e.what());
  }
  return false;
}

}  // namespace

ResultadoOperacion ejecutarYGuardar(Workbook& libro, const AjustesBatch& ajustes, unsigned threads,
                                    const Progreso& progreso, ModeloSimulacion& modelo) {
  ResultadoOperacion resultado;
  try {
    libro.reloadIfChanged();
  } catch (const WorkbookError& e) {
    resultado.estado = EstadoOperacion::Rechazado;
    resultado.motivo =
        std::string("The workbook could not be read again from its file: ") + e.what();
    return resultado;
  }
  if (!ejecutarEnMemoria(libro, ajustes, threads, progreso, modelo, resultado)) return resultado;
  try {
    if (libro.isModified()) libro.save();
  } catch (const std::exception& e) {
    return noGuardado(libro, std::move(resultado), e.what());
  }
  resultado.estado = EstadoOperacion::Completado;
  return resultado;
}

ResultadoOperacion ejecutarYGuardarComo(Workbook& libro, const std::filesystem::path& salida,
                                        const AjustesBatch& ajustes, unsigned threads,
                                        const Progreso& progreso, ModeloSimulacion& modelo) {
  ResultadoOperacion resultado;
  if (!ejecutarEnMemoria(libro, ajustes, threads, progreso, modelo, resultado)) return resultado;
  try {
    libro.saveAs(salida);
  } catch (const std::exception& e) {
    return noGuardado(libro, std::move(resultado), e.what());
  }
  resultado.estado = EstadoOperacion::Completado;
  return resultado;
}

}  // namespace medravolix::batch
