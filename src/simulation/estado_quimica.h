// Working variables of the soil-solution chemistry that no other subsystem reads: the ion pairs,
// the equilibrium constants, the stocks of calcite and gypsum, and the solver's loop variables.
// Every simulation starts from zeros, so nothing carries over from the simulation before.
#pragma once

#include <array>
#include <cstdint>

#include "simulation/registro_especie.h"

namespace medravolix {

// Indexes of ITERACIONES, the solver's four loop counters.
inline constexpr int kIteracionYeso = 1;
inline constexpr int kIteracionCalcita = 2;
inline constexpr int kIteracionFuerzaIonica = 3;
inline constexpr int kIteracionPares = 4;

// How many passes of each loop one solve ran in all (for reports and benchmarks).
struct PasadasQuimica {
  int64_t yeso = 0;           // gypsum passes
  int64_t calcita = 0;        // calcite passes
  int64_t fuerza_ionica = 0;  // ionic-strength passes
  int64_t pares = 0;          // ion-pair passes
  int64_t newton = 0;         // Newton steps of the calcite equation
};

struct EstadoQuimica {
  std::array<REGISTRO_ESPECIE, 25> PARES{};         // 1..24, pair 4a + c: ligand a, cation c
  std::array<REGISTRO_CONSTANTE, 31> CONSTANTES{};  // 1..30

  // ---- set-up of the solution ----
  double FACTOR_SOLUCION = 0.0;     // concentration factor of the chosen reference solution
  double HUMEDAD_SOLUCION = 0.0;    // its water content, mass of water per mass of soil
  double CALCITA_DISPONIBLE = 0.0;  // mol of calcite per litre of solution
  double YESO_DISPONIBLE = 0.0;     // mol of gypsum per litre of solution
  double FACTOR_CE = 0.0;           // factor on every term of the conductivity sum

  // ---- the solver ----
  double EPSILON = 0.0;                                   // base tolerance of every loop: 2^-53
  double FUERZA_IONICA = 0.0, FUERZA_IONICA_NUEVA = 0.0;  // mol/L
  double CAMBIO_FUERZA_IONICA = 0.0;                      // percent
  double OH_LIBRE = 0.0;
  double K_CALCITA_CO2 = 0.0;  // K'1 K'3 K'5 / K'4
  double PRODUCTO_CALCITA = 0.0, PRODUCTO_YESO = 0.0;
  double CALCITA_CAMBIO = 0.0, YESO_CAMBIO = 0.0;  // mol/L
  double CALCIO_NUEVO = 0.0;
  double CAMBIO_CALCIO_CALCITA = 0.0, CAMBIO_CALCIO_YESO = 0.0;  // percent
  std::array<int16_t, 5> ITERACIONES{};                          // 1..4, see kIteracion*

  PasadasQuimica PASADAS;
};

}  // namespace medravolix
