// The chemistry's tables: the log10 of the 30 equilibrium constants, the charges and conductivity
// coefficients of the 11 species and the 24 ion pairs, and the two numbers of the conductivity
// sum. The batch reads them once from the sheets Constants and Parameters and every simulation
// shares them read-only; numbering as in especies_quimicas.h.
#pragma once

#include <array>

namespace medravolix {

struct TablasQuimicas {
  std::array<double, 31> LOG_K{};                       // constants 1..30; 0 switches one off
  std::array<double, 13> carga_especie{};               // species 1..11 (12, CO2, stays 0)
  std::array<double, 13> coef_conductividad_especie{};  // species 1..11
  std::array<double, 25> carga_par{};                   // pairs 1..24
  std::array<double, 25> coef_conductividad_par{};      // pairs 1..24
  double CE = 0.0;                                      // where the conductivity sum starts
  double FACTOR_CE = 0.0;  // the factor on every term of the conductivity sum
};

}  // namespace medravolix
