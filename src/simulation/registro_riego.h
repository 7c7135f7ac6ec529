// The irrigation of a simulation.
#pragma once

#include <string>

#include "common/series.h"

namespace medravolix {

struct REGISTRO_RIEGO {
  std::string NOMBRE_RIEGO;
  Mensual NRIEGOS_MENSUAL{};     // number of irrigations of each month
  Mensual RIEGO_MENSUAL{};       // irrigation depth of each month, mm
  double RIEGO_ANUAL = 0.0;      // mm, summed by the water balance
  double FRACCION_MOJADA = 0.0;  // fraction of the soil surface wetted
};

}  // namespace medravolix
