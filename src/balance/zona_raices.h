// The root zone of a simulation: the depth of the simulated profile, the root layers of each
// month, the evaporative layers, the year's largest ground cover, and the spreading of each
// month's crop ET over the root layers (four quarters of the root zone, each with its share of
// the uptake).
#pragma once

namespace medravolix {

struct Simulacion;

// RAIZ_MAXIMA, and PROF_PERFIL: the depth of simulation unless a root reaches deeper.
void CALCULAR_PROFUNDIDAD_PERFIL(Simulacion& sim);

// CAPAS_RAIZ_MENSUAL and NUM_CAPAS_EVAP, rounded to whole layers (halves to even); every month
// draws from at least the evaporative layers.
void CALCULAR_CAPAS_RAICES(Simulacion& sim);

// COBERTURA_MAXIMA, the largest monthly ground cover (0 when none is above 0).
void MAXIMO_COBERTURA_MENSUAL(Simulacion& sim);

// DEMANDA_ET_CAPA from ETC_MENSUAL, CAPAS_RAIZ_MENSUAL and PATRON_EXTRACCION. Refuses a month
// whose root-layer count is not a whole number from 0 to NUM_CAPAS.
void DISTRIBUIR_EXTRACCION_RAICES(Simulacion& sim);

}  // namespace medravolix
