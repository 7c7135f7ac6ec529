#include "eto/thornthwaite.h"

#include <cmath>

#include "common/calendario.h"
#include "eto/geometria_solar.h"

namespace medravolix::eto {

double CALCULAR_INDICE_CALOR(const Mensual& TMEDIA) {
  double INDICE_CALOR = 0;
  for (int16_t MES = 1; MES <= 12; ++MES) {
    if (TMEDIA[MES] > 0) INDICE_CALOR += std::pow(TMEDIA[MES] / 5, 1.514);
  }
  return INDICE_CALOR;
}

double EXPONENTE_THORNTHWAITE(double I) {
  return (0.01792 * I + 0.49239) - 7.71e-5 * std::pow(I, 2) + 6.75e-7 * std::pow(I, 3);
}

Thornthwaite CALCULAR_ETO_THORNTHWAITE(const REGISTRO_CLIMA& ESTACION) {
  Thornthwaite t;
  t.INDICE_CALOR = CALCULAR_INDICE_CALOR(ESTACION.TMEDIA);
  t.EXPONENTE_A = EXPONENTE_THORNTHWAITE(t.INDICE_CALOR);
  for (int16_t MES = 1; MES <= 12; ++MES) {
    const double T = ESTACION.TMEDIA[MES];
    if (T <= 0 || t.INDICE_CALOR <= 0) continue;  // no evaporative demand below freezing
    const double N = HORAS_LUZ_DIA(ESTACION.LATITUD, MES);
    t.ETO_MENSUAL[MES] =
        16.0 / 360 * DIAS_MES(MES) * std::pow(10 * T / t.INDICE_CALOR, t.EXPONENTE_A) * N;
  }
  return t;
}

}  // namespace medravolix::eto
