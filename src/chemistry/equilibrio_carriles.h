// The soil solutions of many simulations on one thread, up to eight in flight at once: while one
// simulation's ionic-strength loop runs in a lane of CarrilesFuerzaIonica, the others run in the
// other lanes, and a lane whose run ends takes the next run that waits (the same simulation's
// next one, or the next simulation's first). Each simulation gets, bit for bit, what
// EQUILIBRIO_SOLUCION_SUELO gives it alone.
#pragma once

#include <exception>

#include "chemistry/tablas_quimicas.h"
#include "simulation/simulacion.h"

namespace medravolix {

// Where the simulations come from and where they go back to.
class FuenteSimulaciones {
 public:
  virtual ~FuenteSimulaciones() = default;
  // The next simulation to run, or nullptr when there is none left. It stays the source's and
  // must not move until it comes back through terminada.
  virtual Simulacion* siguiente() = 0;
  // The simulation has been run; fallo holds why it could not be, or is empty.
  virtual void terminada(Simulacion& sim, std::exception_ptr fallo) = 0;
};

// EQUILIBRIO_SOLUCION_SUELO for every simulation the source gives, whose chain has come to the
// soil solution; one after another where the lanes do not pay (no AVX2).
void equilibrioEnCarriles(FuenteSimulaciones& fuente, const TablasQuimicas& tablas);

}  // namespace medravolix
