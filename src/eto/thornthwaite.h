// Thornthwaite's reference evapotranspiration: a power law of the monthly mean temperature
// scaled by the annual heat index, corrected for day length and month length.
#pragma once

#include "common/series.h"
#include "simulation/registro_clima.h"

namespace medravolix::eto {

struct Thornthwaite {
  double INDICE_CALOR = 0;  // annual heat index I
  double EXPONENTE_A = 0;   // exponent a
  Mensual ETO_MENSUAL{};    // mm a month
};

// The annual heat index: the sum of (T / 5)^1.514 over the months warmer than 0 degrees Celsius
// (a month at or below freezing adds nothing).
double CALCULAR_INDICE_CALOR(const Mensual& TMEDIA);

// a = 6.75e-7 I^3 - 7.71e-5 I^2 + 0.01792 I + 0.49239.
double EXPONENTE_THORNTHWAITE(double I);

// 16 mm x (10 T / I)^a x N / 12 x days / 30 for every month; a month at or below 0 degrees
// Celsius (and every month of a year without a month above freezing) has 0 mm.
Thornthwaite CALCULAR_ETO_THORNTHWAITE(const REGISTRO_CLIMA& ESTACION);

}  // namespace medravolix::eto
