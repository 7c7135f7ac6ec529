// Working variables of the monthly soil water balance that no other subsystem reads.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "common/series.h"
#include "simulation/registro_suelo.h"

namespace medravolix {

struct EstadoBalance {
  // ---- soil profile ----
  REGISTRO_SUELO PERFIL;
  double ESPESOR_CAPA = 0.0;  // cm, the same for all 64 layers
  PorCapa AGUA_UTIL_CAPA{};   // water-holding capacity of each layer, mm
  // Thickness-weighted profile means (the inputs of the profile-wide regressions).
  double ARENA_PERFIL = 0.0, ARCILLA_PERFIL = 0.0, MO_PERFIL = 0.0;  // %
  double CC_MEDIA = 0.0;                                             // field capacity, m3/m3
  double DENSIDAD_MEDIA = 0.0;                                       // bulk density, g/cm3

  // ---- soil evaporation coefficient ----
  std::array<double, 4> CURVA_SECADO{};        // day 0..3 after a wetting, fraction of ETo
  std::array<Mensual, 4> PESOS_HUMECTACION{};  // [day 1..3][month]
  Mensual EVENTOS_HUMECTACION{}, FACTOR_HUMECTACION{}, SUELO_EXPUESTO{}, TASA_HUMECTACION{};

  // ---- layer balance (mm) ----
  MesCapa ENTRADA_CAPA{};     // water entering each layer in the month
  MesCapa AGUA_DISPONIBLE{};  // entering water plus last month's storage (less ET after a surplus)
  MesCapa ALMACEN_CAPA{};     // storage at the end of the month; month 0 is the previous December
  MesCapa ET_REAL_CAPA{};     // actual ET taken from each layer
  double ENTRADA_AGUA_ANUAL = 0.0, SALIDA_AGUA_ANUAL = 0.0;
  double ERROR_BALANCE = 0.0;  // % of the annual input

  // ---- water-stress iteration ----
  Mensual ALMACEN_RAIZ{}, CAPACIDAD_RAIZ{};  // mm in the month's root layers
  // Storage as % of capacity; no value in a month whose root zone has no capacity.
  std::array<std::optional<double>, kMeses + 1> HUMEDAD_RELATIVA_RAIZ{};
  Mensual KS_MENSUAL{}, KCB_ESTRES{};
  double ET_REAL_ANTERIOR = 0.0;  // mm, annual actual ET of the previous stress pass
  double CAMBIO_ET = 0.0;         // %
  int16_t ITERACIONES_ESTRES = 0;

  // ---- concentration factors ----
  int16_t CAPAS_SIMULACION = 0;
  double SUMA_INVERSA_DRENAJE = 0.0;

  // ---- how the balance ran (not results of the model) ----
  // The first balance run of every stress pass after the first repeats the previous pass's last
  // run with the same demand; when true its result is kept instead of being computed again.
  bool reutilizarUltimaCorrida = true;
  int64_t pasadasBalance = 0;        // yearly passes over the 64 layers, all runs of the simulation
  int32_t corridasBalance = 0;       // balance runs computed
  int32_t corridasReutilizadas = 0;  // balance runs taken from the previous pass
};

}  // namespace medravolix
