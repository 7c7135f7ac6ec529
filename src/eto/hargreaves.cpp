#include "eto/hargreaves.h"

#include <cmath>

#include "common/calendario.h"
#include "eto/total_mensual.h"

namespace medravolix::eto {

Hargreaves CALCULAR_ETO_HARGREAVES(const REGISTRO_CLIMA& ESTACION) {
  Hargreaves h;
  h.extraterrestre = CALCULAR_RADIACION_EXTRATERRESTRE(ESTACION);
  for (int16_t MES = 1; MES <= 12; ++MES) {
    // Below -17.8 degrees Celsius the temperature term turns negative: 0 mm.
    h.ETO_MENSUAL[MES] = totalMensualEto(DIAS_MES(MES) * 0.0009384 * (ESTACION.TMEDIA[MES] + 17.8) *
                                         std::pow(ESTACION.TMAX[MES] - ESTACION.TMIN[MES], 0.5) *
                                         h.extraterrestre.RA[MES]);
  }
  return h;
}

}  // namespace medravolix::eto
