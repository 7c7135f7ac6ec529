// The model a batch runs for each simulation: what the chain needs from the workbook once per
// batch, the copy of the given reference evapotranspiration that the look-ups call for, and the
// chain itself. The batch takes it as a parameter so that the driver can be exercised on its own.
#pragma once

#include "chemistry/equilibrio_carriles.h"
#include "simulation/simulacion.h"
#include "workbook/workbook.h"

namespace medravolix::batch {

class ModeloSimulacion {
 public:
  virtual ~ModeloSimulacion() = default;

  // Reads what every simulation of the batch shares (the chemistry's tables), on the thread that
  // holds the workbook, before any simulation runs. Throws workbook::WorkbookError naming the
  // sheet or the cell when it cannot.
  virtual void prepararBatch(const workbook::Workbook& libro) = 0;

  // Copies the given reference evapotranspiration into the monthly series the chain uses.
  virtual void CARGAR_ETO_EXTERNA(EntradasSimulacion& sim) const = 0;

  // The chain of one simulation, from the soil profile to the soil solution. Runs on several
  // threads at once, each on a state of its own. Throws SimulacionRechazada (or another
  // std::exception) when the simulation cannot be computed; a result without value is left empty
  // and its reason added to sim.AVISOS.
  virtual void ejecutarCadena(Simulacion& sim) const = 0;

  // The chains of the simulations the source gives, on this thread, until it has none left; each
  // goes back through terminada with what ejecutarCadena would have thrown. A model may keep
  // several in flight at once; each simulation's results are those of ejecutarCadena.
  virtual void ejecutarCadenas(FuenteSimulaciones& fuente) const {
    while (Simulacion* sim = fuente.siguiente()) {
      std::exception_ptr fallo;
      try {
        ejecutarCadena(*sim);
      } catch (...) {
        fallo = std::current_exception();
      }
      fuente.terminada(*sim, fallo);
    }
  }
};

}  // namespace medravolix::batch
