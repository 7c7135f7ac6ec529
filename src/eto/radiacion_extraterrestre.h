// Extraterrestrial radiation of each month's middle day at the station's latitude (FAO-56).
#pragma once

#include <cstdint>

#include "common/series.h"
#include "simulation/registro_clima.h"

namespace medravolix::eto {

struct RadiacionExtraterrestre {
  Mensual DECLINACION{};         // solar declination, rad
  Mensual DISTANCIA_RELATIVA{};  // inverse relative Earth-Sun distance dr
  Mensual ANGULO_PUESTA_SOL{};   // sunset hour angle ws, rad
  Mensual RA{};                  // MJ m-2 day-1
};

// The terms of one day of the year J at a latitude (degrees).
struct TerminosSolares {
  double d = 0, dr = 0, ws = 0, ra = 0;
};
TerminosSolares terminosSolares(double latitud, int16_t J);

// The terms of each month's middle day (15, or 14 in February).
RadiacionExtraterrestre CALCULAR_RADIACION_EXTRATERRESTRE(const REGISTRO_CLIMA& ESTACION);

// A month whose middle day has no sunrise at the station's latitude (ws = 0, so Ra = N = 0):
// also one where the sun only grazes the horizon and Ra would not be positive.
inline bool mesSinSalidaDelSol(const RadiacionExtraterrestre& r, int mes) {
  return r.ANGULO_PUESTA_SOL[mes] == 0;
}

}  // namespace medravolix::eto
