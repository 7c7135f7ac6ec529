// The equilibrium of one simulation's soil solution: free species and ion pairs by mass action
// with conditional constants, activity coefficients from the ionic strength, the carbonate system
// fixed by the alkalinity and the soil's CO2 pressure, then calcite and gypsum, each dissolved as
// far as the soil's stock allows and precipitated without limit; last the pH and the electrical
// conductivity.
//
// Loops, outermost first, each with its own counter in ITERACIONES and its own cap:
//   gypsum pass (51) > calcite pass (51) > ionic-strength pass (101) > ion-pair pass (101).
// The tolerances come from EPSILON = 2^-53: an ion-pair or ionic-strength pass ends its loop only
// when the free concentrations or the ionic strength no longer change by more than EPSILON
// percent; calcite and gypsum stop when the calcium total changes by less than 10^4 x EPSILON
// and 10^5 x EPSILON percent.
#pragma once

#include <optional>

#include "chemistry/datos_equilibrio.h"
#include "chemistry/tablas_quimicas.h"
#include "simulation/simulacion.h"

namespace medravolix {

// The last step of a simulation's chain. Starts from zeros, loads the irrigation water and
// prepares the chosen solution (see preparacion_solucion.h), then solves it with the tables.
// Fills ESPECIES, ALCALINIDAD, PH, CE, QUIMICA and sets SOLUCION_CON_VALOR; when the solution has
// no value (a factor or water content it needs has none) it only adds the reason to AVISOS.
// Throws SimulacionRechazada as resolverEquilibrio does.
void EQUILIBRIO_SOLUCION_SUELO(Simulacion& sim, const TablasQuimicas& tablas);

// The equilibrium of one solution, from zeros and the tables. Throws SimulacionRechazada when it
// cannot be computed ([H+] of 0, a calcite equation without a usable start or root, a pH of a
// non-positive activity, a result that is not finite).
SalidaEquilibrio resolverEquilibrio(const EntradaEquilibrio& entrada);

// The two halves of EQUILIBRIO_SOLUCION_SUELO around the solve: the solution's input, or none
// when it has no value (the reason added to AVISOS); and the solve's results put in place.
std::optional<EntradaEquilibrio> prepararEquilibrio(Simulacion& sim, const TablasQuimicas& tablas);
void ponerEquilibrio(Simulacion& sim, const SalidaEquilibrio& salida);

}  // namespace medravolix
