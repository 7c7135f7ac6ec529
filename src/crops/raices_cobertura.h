// Monthly root depth and ground cover: a crop's maximum scaled by how far the month's basal crop
// coefficient has come towards a reference coefficient (an annual crop's own mid-season one,
// counted for the part of the month it spends in its stages; a tree crop's largest monthly one).
#pragma once

#include <cstdint>

#include "common/series.h"
#include "crops/registro_cultivo.h"

namespace medravolix::crops {

inline constexpr int kTipoAnual = 0;
inline constexpr int kTipoArbol = 1;

// The tree crop's own values, used when TIPO_CULTIVO is kTipoArbol.
struct ArbolElegido {
  double RAIZ_MAXIMA = 0.0;       // cm
  double COBERTURA_MAXIMA = 0.0;  // fraction
  double KCB_MAXIMO = 0.0;        // the largest of its twelve monthly coefficients
};

// A crop with a mid-season coefficient of 0 (or a tree crop whose coefficients are all 0) has no
// reference to scale by and contributes nothing, rather than a value without meaning; the crop
// tool refuses such crops when they are chosen.
Mensual CALCULAR_RAICES_MENSUAL(int TIPO_CULTIVO, const Rotacion& rotacion,
                                const Mensual& KCB_MENSUAL, const ArbolElegido& arbol);
Mensual CALCULAR_COBERTURA_MENSUAL(int TIPO_CULTIVO, const Rotacion& rotacion,
                                   const Mensual& KCB_MENSUAL, const ArbolElegido& arbol);

}  // namespace medravolix::crops
