// Fixed-size series of the model: months are indexed 1..12 from January (index 0 is the previous
// December where a procedure needs it, unused otherwise); layers 1..64 from the surface.
#pragma once

#include <array>

namespace medravolix {

inline constexpr int kMeses = 12;
inline constexpr int kCapas = 64;

using Mensual = std::array<double, kMeses + 1>;
using PorCapa = std::array<double, kCapas + 1>;
// Month-by-layer arrays: the month is the first index, [m][j].
using MesCapa = std::array<PorCapa, kMeses + 1>;

}  // namespace medravolix
