// Concentration factors and leaching fraction: how many times the irrigation water is
// concentrated in the soil solution at field capacity, at saturation and in the water draining
// out of the profile, and which fraction of the year's water input drains out of it; also the
// profile's water contents at field capacity and saturation and its mean CaCO3 and gypsum.
#pragma once

namespace medravolix {

struct Simulacion;

// Eighth step of the chain. A factor whose divisor is 0 for this simulation has no value, nor
// has a value computed from one without value; each gets a reason in AVISOS. Sets
// SALIDA_MAYOR_QUE when a layer within the depth of simulation does not drain in the year.
void CALCULAR_FACTORES_CONCENTRACION(Simulacion& sim);

}  // namespace medravolix
