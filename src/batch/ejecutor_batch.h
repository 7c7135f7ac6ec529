// The batch driver with the model as a parameter; EJECUTAR_BATCH and ejecutarYGuardar
// (ejecutar_batch.h) run it with the full model of the soil water balance and soil solution.
//
// The batch runs in three phases. First, on the calling thread, every simulation listed in
// Sim_batch is read: its ids and its five inputs, into a fresh state each. Then the chains of
// the simulations whose inputs were all found run on a pool of threads; each result is formatted
// into cells as its chain ends, and progress is reported on the calling thread as simulations
// finish. Last, on the calling thread, every target cell is checked and the cells are written in
// Sim_batch order. A simulation's results do not depend on the number of threads.
#pragma once

#include "batch/ejecutar_batch.h"
#include "batch/modelo_simulacion.h"

namespace medravolix::batch {

InformeBatch ejecutarBatch(workbook::Workbook& libro, const AjustesBatch& ajustes, unsigned threads,
                           const Progreso& progreso, ModeloSimulacion& modelo);

ResultadoOperacion ejecutarYGuardar(workbook::Workbook& libro, const AjustesBatch& ajustes,
                                    unsigned threads, const Progreso& progreso,
                                    ModeloSimulacion& modelo);

ResultadoOperacion ejecutarYGuardarComo(workbook::Workbook& libro,
                                        const std::filesystem::path& salida,
                                        const AjustesBatch& ajustes, unsigned threads,
                                        const Progreso& progreso, ModeloSimulacion& modelo);

}  // namespace medravolix::batch
