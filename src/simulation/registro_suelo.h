// The soil of one simulation: its horizons as read, and the 64 layers they are cut into.
#pragma once

#include <cstdint>
#include <vector>

#include "common/series.h"

namespace medravolix {

// Horizon arrays run 1..NUM_HORIZONTES (PROF_HORIZONTE from 0, the surface); layer arrays run
// 1..64 (PROF_CAPA from 0). Every layer value is a thickness-weighted sum of horizon values, so
// the layer arrays start at zero for every simulation.
struct REGISTRO_SUELO {
  int16_t NUM_HORIZONTES = 0;
  std::vector<double> PROF_HORIZONTE;      // bottom of horizon k, cm
  PorCapa PROF_CAPA{};                     // bottom of layer j, cm
  std::vector<double> PIEDRAS_HORIZONTE;   // stones, % of volume
  std::vector<double> ARCILLA_HORIZONTE;   // clay, %
  std::vector<double> ARENA_HORIZONTE;     // sand, %
  std::vector<double> DENSIDAD_HORIZONTE;  // bulk density, g/cm3
  std::vector<double> MO_HORIZONTE;        // organic matter, %
  std::vector<double> PMP_HORIZONTE;       // wilting point, m3/m3
  std::vector<double> CC_HORIZONTE;        // field capacity, m3/m3
  std::vector<double> SAT_HORIZONTE;       // water content at saturation, kg/kg
  std::vector<double> CALIZA_HORIZONTE;    // CaCO3, % by mass
  std::vector<double> YESO_HORIZONTE;      // gypsum, % by mass
  PorCapa PIEDRAS_CAPA{};                  // stones of layer j, % of volume
  PorCapa ARENA_CAPA{};                    // sand of layer j, % (pedotransfer method)
  PorCapa PMP_CAPA{};                      // wilting point of layer j, m3/m3
  PorCapa CC_CAPA{};                       // field capacity of layer j, m3/m3
  PorCapa CALIZA_CAPA{};                   // CaCO3 of layer j, % by mass (pedotransfer method)
};

}  // namespace medravolix
