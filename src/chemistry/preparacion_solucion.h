// Set-up of one simulation's soil solution: the irrigation water's composition, and the
// reference soil solution chosen in the batch settings with its stocks of calcite and gypsum.
#pragma once

#include "simulation/simulacion.h"

namespace medravolix {

// Totals of species 3..9 and ALCALINIDAD from the irrigation water, as read (mmol/L, meq/L).
void CARGAR_COMPOSICION_AGUA(Simulacion& sim);

// Chooses the concentration factor and water content of OPCION_SOLUCION, turns the profile's
// calcite and gypsum into stocks per litre of solution and scales the water to mol/L of the
// solution. Returns false, with the reason added to AVISOS, when the solution has no value: the
// factor or the water content it needs has none, or the water content is 0.
[[nodiscard]] bool PREPARAR_SOLUCION_SUELO(Simulacion& sim);

}  // namespace medravolix
