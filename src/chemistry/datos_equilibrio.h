// What the equilibrium solver of the soil solution takes and what it gives, as plain values: no
// simulation, no workbook.
#pragma once

#include <array>

#include "chemistry/tablas_quimicas.h"
#include "simulation/estado_quimica.h"
#include "simulation/registro_especie.h"

namespace medravolix {

struct EntradaEquilibrio {
  std::array<double, 13> CONC_TOTAL{};  // mol/L of solution: species 3..9 (the rest unused)
  double ALCALINIDAD = 0.0;             // eq/L
  double PCO2 = 0.0;                    // the soil's CO2 pressure, atm
  double CALCITA_DISPONIBLE = 0.0;      // mol of calcite per litre of solution
  double YESO_DISPONIBLE = 0.0;         // mol of gypsum per litre of solution
  TablasQuimicas tablas;
};

struct SalidaEquilibrio {
  std::array<REGISTRO_ESPECIE, 13> ESPECIES{};  // species 1..12
  double ALCALINIDAD = 0.0;                     // eq/L
  double PH = 0.0;
  double CE = 0.0;
  // The solver's own variables as the solve left them: pairs, constants, stocks, the last
  // mineral steps, its loop counters and the passes of every loop (PASADAS).
  EstadoQuimica estado;
};

}  // namespace medravolix
