// The Hargreaves reference evapotranspiration: temperature, its daily range and the
// extraterrestrial radiation.
#pragma once

#include "common/series.h"
#include "eto/radiacion_extraterrestre.h"
#include "simulation/registro_clima.h"

namespace medravolix::eto {

struct Hargreaves {
  RadiacionExtraterrestre extraterrestre;
  Mensual ETO_MENSUAL{};  // mm a month
};

// 0.0023 x 0.408 (T + 17.8) (Tmax - Tmin)^0.5 Ra a day; Tmax >= Tmin in every month is the
// caller's to check (eto/datos_metodo.h).
Hargreaves CALCULAR_ETO_HARGREAVES(const REGISTRO_CLIMA& ESTACION);

}  // namespace medravolix::eto
