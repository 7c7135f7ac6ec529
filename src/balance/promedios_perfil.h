// Thickness-weighted means of horizon properties over the whole horizon column as it stands
// after the profile was cut into layers (down to PROF_PERFIL for a shallower soil, down to the
// soil's own bottom for a deeper one).
#pragma once

namespace medravolix {

struct Simulacion;

// CALIZA_PERFIL and YESO_PERFIL.
void PROMEDIAR_CARBONATOS_YESO(Simulacion& sim);
// ARENA_PERFIL, ARCILLA_PERFIL and MO_PERFIL (pedotransfer method).
void PROMEDIAR_TEXTURA_PERFIL(Simulacion& sim);
// SAT_PERFIL, CC_MEDIA and DENSIDAD_MEDIA (empirical method).
void PROMEDIAR_HUMEDAD_PERFIL(Simulacion& sim);

}  // namespace medravolix
