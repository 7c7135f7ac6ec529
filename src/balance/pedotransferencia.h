// Linear regressions of soil water contents on texture and carbonate (volume fractions for the
// layers, fractions for the whole profile). A property a regression does not give reads 0.
#pragma once

namespace medravolix {

// The water content a regression gives.
enum class PropiedadHidrica { CapacidadCampo, PuntoMarchitez, Saturacion };

// Layer field capacity 0.01 ((48.54 - 0.175 sand) - 0.127 CaCO3) and wilting point
// 0.01 (27.745 - 0.306 sand), sand and CaCO3 in %.
double FUNCION_PEDOTRANSFERENCIA_CAPA(double arena_pct, double caliza_pct,
                                      PropiedadHidrica propiedad);

// Profile saturation 0.01 ((0.534 clay + 33.189) - 0.289 sand) and field capacity
// 0.01 ((((0.161 clay + 28.815) + 1.867 OM) - 0.135 sand) - 0.097 CaCO3), inputs in %.
double FUNCION_PEDOTRANSFERENCIA_PERFIL(double arcilla_pct, double arena_pct, double mo_pct,
                                        double caliza_pct, PropiedadHidrica propiedad);

}  // namespace medravolix
