// Activity coefficients of the soil solution's species and ion pairs, and the tolerance every
// loop of the solver is built on.
#pragma once

#include <cstdint>

namespace medravolix {

// The kind argument of COEFICIENTE_ACTIVIDAD.
inline constexpr int16_t kEspecieLibre = 0;
inline constexpr int16_t kParIonico = -1;

// Halves 1 for as long as 1 + EPSILON is still greater than 1 in double precision: 2^-53.
double CALCULAR_EPSILON();

// Activity coefficient at ionic strength I (mol/L) of a species or pair of charge z:
//   z != 0                  Davies:  log g = -0.512 z^2 (sqrt(I) / (1 + sqrt(I)) - 0.3 I)
//   neutral pair 15, 16, 23, 24 (CaSO4, MgSO4, CaCO3, MgCO3):  log g = 0.033 I^2 - 0.3 I
//   any other neutral pair:  log g = -11.7021 (I / (1 + 60.8128 I) - 0.0319 I^2) - 0.044 I^3
//   neutral free species:    log g = 0.1 I (salting-out of dissolved CO2)
// Neutrality follows only from the charge read from Parameters.
double COEFICIENTE_ACTIVIDAD(double I, double z, int16_t kind, int16_t index);

}  // namespace medravolix
