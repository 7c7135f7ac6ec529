#include "crops/raices_cobertura.h"

namespace medravolix::crops {

namespace {

Mensual escalarRotacion(const Rotacion& rotacion, const Mensual& kcb,
                        double REGISTRO_CULTIVO::*maximo) {
  Mensual serie{};
  for (int m = 1; m <= 12; ++m) {
    // Where two crops share a month, each is scaled by the rotation's Kcb of that month, which
    // holds the other crop's coefficient too; the sum may then pass what any crop of the month
    // can reach. Roots and cover never grow past the largest maximum of the crops growing then.
    double tope = 0.0;
    for (int I = 1; I <= rotacion.N_CULTIVOS(); ++I) {
      const REGISTRO_CULTIVO& c = rotacion.cultivo(I);
      if (c.KCB_PERIODO[3] == 0.0) continue;
      for (int s = 1; s <= 4; ++s) {
        const double fraccion = rotacion.fraccion(m, s + 1, I);
        serie[m] = ((fraccion * c.*maximo) * kcb[m]) / c.KCB_PERIODO[3] + serie[m];
        if (fraccion > 0.0 && c.*maximo > tope) tope = c.*maximo;
      }
    }
    if (serie[m] > tope) serie[m] = tope;
  }
  return serie;
}

Mensual escalarArbol(double maximo, const Mensual& kcb, double kcb_maximo) {
  Mensual serie{};
  if (kcb_maximo == 0.0) return serie;
  for (int m = 1; m <= 12; ++m) serie[m] = (maximo * kcb[m]) / kcb_maximo;
  return serie;
}

}  // namespace

Mensual CALCULAR_RAICES_MENSUAL(int TIPO_CULTIVO, const Rotacion& rotacion,
                                const Mensual& KCB_MENSUAL, const ArbolElegido& arbol) {
  if (TIPO_CULTIVO == kTipoArbol) {
    return escalarArbol(arbol.RAIZ_MAXIMA, KCB_MENSUAL, arbol.KCB_MAXIMO);
  }
  return escalarRotacion(rotacion, KCB_MENSUAL, &REGISTRO_CULTIVO::RAIZ_MAXIMA_CULTIVO);
}

Mensual CALCULAR_COBERTURA_MENSUAL(int TIPO_CULTIVO, const Rotacion& rotacion,
                                   const Mensual& KCB_MENSUAL, const ArbolElegido& arbol) {
  if (TIPO_CULTIVO == kTipoArbol) {
    return escalarArbol(arbol.COBERTURA_MAXIMA, KCB_MENSUAL, arbol.KCB_MAXIMO);
  }
  return escalarRotacion(rotacion, KCB_MENSUAL, &REGISTRO_CULTIVO::COBERTURA_MAXIMA_CULTIVO);
}

}  // namespace medravolix::crops
