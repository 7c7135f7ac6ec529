#include "eto/radiacion_extraterrestre.h"

#include <cmath>

#include "common/calendario.h"
#include "eto/geometria_solar.h"

namespace medravolix::eto {

// Ra = 24 x 60 / pi x Gsc x dr x (ws sin p sin d + cos p cos d sin ws), with the solar constant
// Gsc = 0.0820 MJ m-2 min-1 (118.08 = 24 x 60 x 0.0820). Where the sun only grazes the horizon
// the solver stops a few thousandths of a radian short of 0 and Ra comes out at or below 0: the
// day has no sunrise, ws = Ra = 0, like the days of the polar night.
TerminosSolares terminosSolares(double latitud, int16_t J) {
  TerminosSolares t;
  const double p = anguloLatitud(latitud);
  t.d = declinacionSolar(J);
  t.dr = 1 + 0.033 * std::cos(kDosPi * J / 365);
  t.ws = anguloPuestaSol(latitud, t.d);
  t.ra = 118.08 / kPi * t.dr *
         (t.ws * std::sin(p) * std::sin(t.d) + std::cos(p) * std::cos(t.d) * std::sin(t.ws));
  if (t.ra <= 0) {
    t.ws = 0;
    t.ra = 0;
  }
  return t;
}

RadiacionExtraterrestre CALCULAR_RADIACION_EXTRATERRESTRE(const REGISTRO_CLIMA& ESTACION) {
  RadiacionExtraterrestre r;
  for (int16_t MES = 1; MES <= 12; ++MES) {
    const TerminosSolares t =
        terminosSolares(ESTACION.LATITUD, DIA_JULIANO(DIA_MEDIO_MES(MES), MES));
    r.DECLINACION[MES] = t.d;
    r.DISTANCIA_RELATIVA[MES] = t.dr;
    r.ANGULO_PUESTA_SOL[MES] = t.ws;
    r.RA[MES] = t.ra;
  }
  return r;
}

}  // namespace medravolix::eto
