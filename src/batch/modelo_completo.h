// The whole model of a simulation: the monthly soil water balance with its concentration
// factors, then the equilibrium of the soil solution, with the chemistry's tables read once per
// batch from Constants and Parameters.
#pragma once

#include "batch/modelo_simulacion.h"
#include "chemistry/tablas_quimicas.h"

namespace medravolix::batch {

class ModeloCompleto : public ModeloSimulacion {
 public:
  void prepararBatch(const workbook::Workbook& libro) override;
  void CARGAR_ETO_EXTERNA(EntradasSimulacion& sim) const override;
  void ejecutarCadena(Simulacion& sim) const override;
  // The soil solutions of several simulations in flight at once (see equilibrio_carriles.h).
  void ejecutarCadenas(FuenteSimulaciones& fuente) const override;

 private:
  TablasQuimicas tablas_;
};

}  // namespace medravolix::batch
