#include "crops/registro_cultivo.h"

namespace medravolix::crops {

void Rotacion::agregar(const REGISTRO_CULTIVO& nuevo) {
  CULTIVOS.push_back(nuevo);
  FRACCION_MES_PERIODO.emplace_back();
  diasMesPeriodo.emplace_back();
}

void Rotacion::quitarUltimo() {
  if (CULTIVOS.empty()) return;
  CULTIVOS.pop_back();
  FRACCION_MES_PERIODO.pop_back();
  diasMesPeriodo.pop_back();
}

void Rotacion::vaciar() {
  CULTIVOS.clear();
  FRACCION_MES_PERIODO.clear();
  diasMesPeriodo.clear();
  CULTIVO_INICIO = 1;
  ETAPA_INICIO = 1;
}

}  // namespace medravolix::crops
