// The FAO-24 Blaney-Criddle reference evapotranspiration: the factor f = p (0.46 T + 8.13)
// turned into ETo by a and b coefficients chosen by classes of minimum humidity, sunshine ratio
// and wind.
#pragma once

#include "common/series.h"
#include "simulation/registro_clima.h"

namespace medravolix::eto {

struct CoeficientesBC {
  double a = 0;
  double b = 0;
};

struct BlaneyCriddle {
  Mensual PORCENTAJE_HORAS_LUZ{};  // p, % of the year's daytime hours a day
  Mensual FACTOR_BC{};             // f, mm a day
  Mensual RAZON_INSOLACION{};      // n / N
  double COEF_A_BC = 0;            // a and b of the last month computed (December)
  double COEF_B_BC = 0;
  Mensual ETO_MENSUAL{};  // mm a month
};

// The a and b of the table: humidity classes below 20, 20 to 50, above 50 %; sunshine ratio
// below 0.6, 0.6 to 0.8, above 0.8; wind below 2, 2 to 5, above 5 m/s. A boundary value belongs
// to the middle class.
CoeficientesBC coeficientesBlaneyCriddle(double hr_min, double razon_insolacion, double viento);

// Every month; one without sunrise at the station's latitude (N = 0) has 0 mm.
BlaneyCriddle CALCULAR_ETO_BLANEY_CRIDDLE(const REGISTRO_CLIMA& ESTACION);

}  // namespace medravolix::eto
