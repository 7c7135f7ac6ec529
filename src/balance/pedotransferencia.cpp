#include "balance/pedotransferencia.h"

namespace medravolix {

double FUNCION_PEDOTRANSFERENCIA_CAPA(double arena_pct, double caliza_pct,
                                      PropiedadHidrica propiedad) {
  double valor_pct = 0.0;
  if (propiedad == PropiedadHidrica::CapacidadCampo) {
    valor_pct = (48.54 - 0.175 * arena_pct) - 0.127 * caliza_pct;
  } else if (propiedad == PropiedadHidrica::PuntoMarchitez) {
    valor_pct = 27.745 - 0.306 * arena_pct;
  }
  return valor_pct * 0.01;
}

double FUNCION_PEDOTRANSFERENCIA_PERFIL(double arcilla_pct, double arena_pct, double mo_pct,
                                        double caliza_pct, PropiedadHidrica propiedad) {
  double valor_pct = 0.0;
  if (propiedad == PropiedadHidrica::Saturacion) {
    valor_pct = (0.534 * arcilla_pct + 33.189) - 0.289 * arena_pct;
  } else if (propiedad == PropiedadHidrica::CapacidadCampo) {
    valor_pct = (((0.161 * arcilla_pct + 28.815) + 1.867 * mo_pct) - 0.135 * arena_pct) -
                0.097 * caliza_pct;
  }
  return valor_pct * 0.01;
}

}  // namespace medravolix
