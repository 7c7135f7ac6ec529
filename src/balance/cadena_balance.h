// The water-balance part of a simulation's chain, steps 1 to 8, and the checks that refuse a
// simulation the balance cannot compute before any step runs.
#pragma once

namespace medravolix {

struct Simulacion;

// Throws SimulacionRechazada, with the reason, for a soil without horizons or whose horizon
// bottoms go up, negative monthly rainfall, irrigation or root depth, a simulated profile of 0
// cm or less, or an evaporative layer of more than 64 layers.
void validarDatosBalance(const Simulacion& sim);

// validarDatosBalance, then PREPARAR_PERFIL_SUELO, CALCULAR_ETC_MENSUAL,
// CALCULAR_PROFUNDIDAD_PERFIL, CALCULAR_CAPAS_RAICES, DISTRIBUIR_EXTRACCION_RAICES,
// DISCRETIZAR_PERFIL, BALANCE_CON_ESTRES and CALCULAR_FACTORES_CONCENTRACION. ETO_MENSUAL must
// already hold the month's reference ET (CARGAR_ETO_EXTERNA).
void ejecutarCadenaBalance(Simulacion& sim);

}  // namespace medravolix
