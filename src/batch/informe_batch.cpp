// The texts of a batch's report.
#include "batch/ejecutar_batch.h"

namespace medravolix::batch {

std::string InformeBatch::mensajeSinDatos() const {
  if (LISTA_SIN_DATOS.empty()) return "";
  return "Can't find input data for these simulations: \r\n" + LISTA_SIN_DATOS;
}

std::string InformeBatch::mensajeObservadas() const {
  if (observadas.empty()) return "";
  std::string texto = "These simulations were refused or computed only in part:";
  for (const auto& o : observadas) texto += "\r\n" + o.id + ": " + o.motivo;
  return texto;
}

}  // namespace medravolix::batch
