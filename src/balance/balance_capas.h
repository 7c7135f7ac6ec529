// The monthly tipping-bucket balance of the 64 layers over a year walked from September to
// August, repeated from the storage the year leaves until the annual balance closes: each
// layer serves its ET demand first, stores up to its capacity and drains the rest into the
// layer below.
#pragma once

#include <cstdint>

namespace medravolix {

struct Simulacion;

// Yearly passes allowed to one balance run before the simulation is refused.
inline constexpr int64_t kMaxPasadasBalance = 100000;
// The annual balance is closed when its error falls strictly below this percentage of the input.
inline constexpr double kErrorCierrePct = 0.01;

// What one layer does in one month, mm.
struct ResultadoCapaMes {
  double disponible;  // AGUA_DISPONIBLE: the water in, less the ET when there was a surplus
  double et_real;     // ET_REAL_CAPA
  double almacen;     // ALMACEN_CAPA at the end of the month
  double drenaje;     // DRENAJE_CAPA
};

// The tipping bucket of one layer and month: the water in plus last month's storage serves the
// ET demand first (all of it when not above the demand, never below 0); the rest is stored up
// to the capacity and what exceeds it drains.
ResultadoCapaMes balanceCapaMes(double entrada_mm, double almacen_anterior_mm, double demanda_mm,
                                double capacidad_mm);

// Calendar month of step k (1..12) of the simulated year: 9 (September) .. 12, then 1 .. 8.
int16_t MES_DE_SIMULACION(const int16_t& k);

// PRECIPITACION_ANUAL, RIEGO_ANUAL, ETO_ANUAL (from ETO_EXTERNA) and ENTRADA_AGUA_ANUAL.
void SUMAS_ANUALES(Simulacion& sim);

// One balance run: from dry layers in the first September, yearly passes until the closure
// error is below 0.01 % of the input (at once when the input is 0). Throws SimulacionRechazada
// after kMaxPasadasBalance passes.
void BALANCE_AGUA_CAPAS(Simulacion& sim);

// ET_REAL_MENSUAL summed over the layers, and ET_REAL_ANUAL.
void CALCULAR_ET_REAL(Simulacion& sim);

// DRENAJE_ANUAL_CAPA of every layer.
void DRENAJE_ANUAL_CAPAS(Simulacion& sim);

}  // namespace medravolix
