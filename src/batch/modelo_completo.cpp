#include "batch/modelo_completo.h"

#include "balance/cadena_balance.h"
#include "balance/etc_mensual.h"
#include "batch/lectura_constantes.h"
#include "chemistry/equilibrio_solucion.h"

namespace medravolix::batch {

void ModeloCompleto::prepararBatch(const workbook::Workbook& libro) {
  tablas_ = LEER_CONSTANTES_QUIMICAS(libro);
}

void ModeloCompleto::CARGAR_ETO_EXTERNA(EntradasSimulacion& sim) const {
  medravolix::CARGAR_ETO_EXTERNA(sim);
}

void ModeloCompleto::ejecutarCadena(Simulacion& sim) const {
  ejecutarCadenaBalance(sim);               // steps 1 to 8
  EQUILIBRIO_SOLUCION_SUELO(sim, tablas_);  // step 9
}

namespace {

// Runs the water balance of each simulation the driver gives before its soil solution.
class ConBalance : public FuenteSimulaciones {
 public:
  explicit ConBalance(FuenteSimulaciones& fuente) : fuente_(fuente) {}
  Simulacion* siguiente() override {
    while (Simulacion* sim = fuente_.siguiente()) {
      try {
        ejecutarCadenaBalance(*sim);  // steps 1 to 8
        return sim;
      } catch (...) {
        fuente_.terminada(*sim, std::current_exception());
      }
    }
    return nullptr;
  }
  void terminada(Simulacion& sim, std::exception_ptr fallo) override {
    fuente_.terminada(sim, fallo);
  }

 private:
  FuenteSimulaciones& fuente_;
};

}  // namespace

void ModeloCompleto::ejecutarCadenas(FuenteSimulaciones& fuente) const {
  ConBalance con_balance(fuente);
  equilibrioEnCarriles(con_balance, tablas_);  // step 9
}

}  // namespace medravolix::batch
