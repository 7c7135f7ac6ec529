// The soil profile of a simulation: its horizons copied from the soil rows, then cut into 64
// equal layers, each with its field capacity, wilting point, stones and water-holding capacity.
#pragma once

#include <cstdint>

#include "simulation/opciones.h"
#include "simulation/registro_suelo.h"

namespace medravolix {

struct Simulacion;

// First step of the chain: copies the soil rows into PERFIL, sets NUM_CAPAS to 64 and starts
// every array of the soil profile and of the water balance from zero.
void PREPARAR_PERFIL_SUELO(Simulacion& sim);

// Sixth step of the chain: extends the last horizon to PROF_PERFIL when the soil is shallower,
// cuts the profile into NUM_CAPAS layers and gives each its water-holding capacity in mm
// (AGUA_UTIL_CAPA, copied to every month of CAPACIDAD_CAPA). Needs PROF_PERFIL and
// NUM_CAPAS_EVAP; refuses a profile depth of 0 or less.
void DISCRETIZAR_PERFIL(Simulacion& sim);

// Layer bottoms as a running sum of the layer thickness, from PROF_CAPA(0) = 0.
void CALCULAR_LIMITES_CAPAS(REGISTRO_SUELO& perfil, int16_t num_capas, double espesor_capa_cm);

// Adds horizon k's values, times the weight w (the share of layer j's thickness that lies in
// horizon k), to layer j: field capacity and wilting point for the empirical method, sand and
// CaCO3 for the pedotransfer functions, stones always.
void ACUMULAR_HORIZONTE_CAPA(REGISTRO_SUELO& perfil, int16_t j, int16_t k, double w,
                             OpcionCapacidad metodo);

}  // namespace medravolix
