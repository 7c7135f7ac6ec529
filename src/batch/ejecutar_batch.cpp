#include "batch/ejecutar_batch.h"

#include "batch/ejecutor_batch.h"
#include "batch/modelo_completo.h"

namespace medravolix::batch {

InformeBatch EJECUTAR_BATCH(workbook::Workbook& libro, const AjustesBatch& ajustes,
                            unsigned threads, const Progreso& progreso) {
  ModeloCompleto modelo;
  return ejecutarBatch(libro, ajustes, threads, progreso, modelo);
}

ResultadoOperacion ejecutarYGuardar(workbook::Workbook& libro, const AjustesBatch& ajustes,
                                    unsigned threads, const Progreso& progreso) {
  ModeloCompleto modelo;
  return ejecutarYGuardar(libro, ajustes, threads, progreso, modelo);
}

ResultadoOperacion ejecutarYGuardarComo(workbook::Workbook& libro,
                                        const std::filesystem::path& salida,
                                        const AjustesBatch& ajustes, unsigned threads,
                                        const Progreso& progreso) {
  ModeloCompleto modelo;
  return ejecutarYGuardarComo(libro, salida, ajustes, threads, progreso, modelo);
}

}  // namespace medravolix::batch
