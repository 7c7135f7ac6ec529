// The batch: every simulation listed in Sim_batch, run on the workbook in memory, and the
// operation that runs a batch and saves the workbook, used by the desktop and by run_batch.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "simulation/simulacion.h"
#include "workbook/workbook.h"

namespace medravolix::batch {

using medravolix::AjustesBatch;

// A simulation that was refused for its data, or computed only in part, with the reason.
struct SimulacionObservada {
  std::string id;      // the simulation id as text
  std::string motivo;  // why
};

struct InformeBatch {
  int NUM_SIMULACIONES = 0;
  int ejecutadas = 0;           // chains run and written (in full or in part)
  int sin_datos = 0;            // simulations with an input missing
  int rechazadas = 0;           // simulations refused for their data
  std::string LISTA_SIN_DATOS;  // "\r\nid, " for each simulation without complete input
  std::vector<SimulacionObservada> observadas;  // refused or computed in part, in batch order

  // "Can't find input data for these simulations: \r\n" + LISTA_SIN_DATOS, or "" when none.
  std::string mensajeSinDatos() const;
  // One line per refused or partly computed simulation, or "" when none.
  std::string mensajeObservadas() const;
};

// The batch cannot start (a sheet missing, a chemistry cell that is not a number, too many
// simulations): nothing was written.
class BatchRechazado : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Progress after each simulation, in whole percent (PROGRESO). Called from the batch's thread.
using Progreso = std::function<void(double)>;

// Runs the batch on the workbook in memory; threads = 0 means one per core. Throws BatchRechazado.
InformeBatch EJECUTAR_BATCH(workbook::Workbook& libro, const AjustesBatch& ajustes,
                            unsigned threads, const Progreso& progreso);

enum class EstadoOperacion { Rechazado, NoGuardado, Completado };

struct ResultadoOperacion {
  EstadoOperacion estado = EstadoOperacion::Rechazado;
  std::string motivo;  // why it was refused or not saved
  InformeBatch informe;
};

// Reloads the workbook if it changed on disk, runs the batch and saves the workbook. When the
// results are not saved, the workbook in memory is read again from its file, without them.
ResultadoOperacion ejecutarYGuardar(workbook::Workbook& libro, const AjustesBatch& ajustes,
                                    unsigned threads, const Progreso& progreso);

// Runs the batch on the workbook as read and saves the result as another file, `salida`, written
// beside it and renamed over it like every save, so that a failure or a kill never leaves a
// truncated file; the workbook's own file is never written. Messages about the workbook's data
// name the workbook, not `salida`.
ResultadoOperacion ejecutarYGuardarComo(workbook::Workbook& libro,
                                        const std::filesystem::path& salida,
                                        const AjustesBatch& ajustes, unsigned threads,
                                        const Progreso& progreso);

}  // namespace medravolix::batch
