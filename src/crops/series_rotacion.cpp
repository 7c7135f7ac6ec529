#include "crops/series_rotacion.h"

#include "common/calendario.h"
#include "crops/reparto_mes_etapa.h"

namespace medravolix::crops {

namespace {

// Sum over crops and periods of the period's value times its share of the month.
template <typename Campo>
Mensual ponderarPorPeriodos(const Rotacion& rotacion, Campo campo) {
  Mensual serie{};
  for (int m = 1; m <= 12; ++m) {
    for (int I = 1; I <= rotacion.N_CULTIVOS(); ++I) {
      const REGISTRO_CULTIVO& c = rotacion.cultivo(I);
      for (int j = 0; j <= 4; ++j) {
        serie[m] = (c.*campo)[j] * rotacion.fraccion(m, j + 1, I) + serie[m];
      }
    }
  }
  return serie;
}

}  // namespace

Mensual CALCULAR_KCB_MENSUAL(const Rotacion& rotacion) {
  return ponderarPorPeriodos(rotacion, &REGISTRO_CULTIVO::KCB_PERIODO);
}

Mensual CALCULAR_OCUPACION_MENSUAL(const Rotacion& rotacion) {
  return ponderarPorPeriodos(rotacion, &REGISTRO_CULTIVO::OCUPA_PERIODO);
}

void CALCULAR_RIEGO_MENSUAL(const Rotacion& rotacion, REGISTRO_RIEGO& DATOS_RIEGO) {
  DATOS_RIEGO.RIEGO_MENSUAL = {};
  DATOS_RIEGO.NRIEGOS_MENSUAL = {};
  for (int m = 1; m <= 12; ++m) {
    const double d = DIAS_MES(static_cast<int16_t>(m));
    for (int I = 1; I <= rotacion.N_CULTIVOS(); ++I) {
      const REGISTRO_CULTIVO& c = rotacion.cultivo(I);
      for (int k = 1; k <= 4; ++k) {
        if (c.DIAS_ETAPA[k] <= 0) continue;
        const double s = rotacion.fraccion(m, k + 1, I);
        DATOS_RIEGO.RIEGO_MENSUAL[m] =
            c.RIEGO_PERIODO[k] * s * d / c.DIAS_ETAPA[k] + DATOS_RIEGO.RIEGO_MENSUAL[m];
        DATOS_RIEGO.NRIEGOS_MENSUAL[m] =
            c.NRIEGOS_PERIODO[k] * s * d / c.DIAS_ETAPA[k] + DATOS_RIEGO.NRIEGOS_MENSUAL[m];
      }
    }
    DATOS_RIEGO.NRIEGOS_MENSUAL[m] = REDONDEAR(DATOS_RIEGO.NRIEGOS_MENSUAL[m], 0);
  }
}

std::array<int, 13> diasOcupadosMes(const Rotacion& rotacion) {
  std::array<int, 13> dias{};
  for (int m = 1; m <= 12; ++m) {
    for (int I = 1; I <= rotacion.N_CULTIVOS(); ++I) {
      const REGISTRO_CULTIVO& c = rotacion.cultivo(I);
      for (int p = 1; p <= 5; ++p) {
        if (c.OCUPA_PERIODO[p - 1] != 0.0) dias[m] += rotacion.dias(m, p, I);
      }
    }
  }
  return dias;
}

bool haySolape(const Rotacion& rotacion) {
  const std::array<int, 366> cultivos = cultivosPorDia(rotacion);
  for (int d = 1; d <= 365; ++d) {
    if (cultivos[d] > 1) return true;
  }
  return false;
}

}  // namespace medravolix::crops
