#include "eto/penman_monteith.h"

#include <cmath>

#include "common/calendario.h"
#include "eto/geometria_solar.h"
#include "eto/total_mensual.h"

namespace medravolix::eto {

double PRESION_VAPOR_SATURACION(double T) {
  return 0.6108 * std::exp(17.27 * T / (T + 237.3));
}

double PENDIENTE_PRESION_VAPOR(double T) {
  return 4098 * PRESION_VAPOR_SATURACION(T) / std::pow(T + 237.3, 2);
}

// 0.665e-3 times the atmospheric pressure 101.3 ((293 - 0.0065 z) / 293)^5.26 kPa.
double CONSTANTE_PSICROMETRICA(double z) {
  return 0.0673645 * std::pow((293 - 0.0065 * z) / 293, 5.26);
}

namespace {

double presionVaporReal(const REGISTRO_CLIMA& e, int m, int16_t fuente) {
  const double e0_min = PRESION_VAPOR_SATURACION(e.TMIN[m]);
  const double e0_max = PRESION_VAPOR_SATURACION(e.TMAX[m]);
  switch (fuente) {
    case 1:
      return (e0_min * e.HRMAX[m] / 100 + e0_max * e.HRMIN[m] / 100) / 2;
    case 2:
      return e0_min * e.HRMAX[m] / 100;
    case 3:
      return e.HRMEDIA[m] / 100 * (e0_max + e0_min) / 2;
    default:
      return 0;
  }
}

// Net longwave radiation: Stefan-Boltzmann on the mean of the fourth powers of the extreme
// temperatures, corrected for air humidity and cloudiness (Rs / Rso, not capped at 1).
double radiacionNetaOndaLarga(const REGISTRO_CLIMA& e, int m, double ea, double rs, double rso) {
  return 4.903e-9 * (std::pow(e.TMIN[m] + 273.15, 4) + std::pow(e.TMAX[m] + 273.15, 4)) / 2 *
         (0.34 - 0.14 * std::pow(ea, 0.5)) * (1.35 * rs / rso - 0.35);
}

}  // namespace

RadiacionNeta CALCULAR_RADIACION_NETA(const REGISTRO_CLIMA& ESTACION,
                                      const RadiacionExtraterrestre& ext, FuentesPenman fuentes) {
  RadiacionNeta n;
  for (int16_t MES = 1; MES <= 12; ++MES) {
    const bool sin_sol = mesSinSalidaDelSol(ext, MES);
    if (fuentes.OPCION_RADIACION == 1) {
      n.HORAS_LUZ[MES] = 24 * ext.ANGULO_PUESTA_SOL[MES] / kPi;
      if (!sin_sol)
        n.RS[MES] = (0.25 + 0.5 * ESTACION.INSOLACION[MES] / n.HORAS_LUZ[MES]) * ext.RA[MES];
    } else if (fuentes.OPCION_RADIACION == 2) {
      n.RS[MES] = ESTACION.RADIACION[MES];
    }
    n.RSO[MES] = (0.75 + 2e-5 * ESTACION.ALTITUD) * ext.RA[MES];
    n.PRESION_VAPOR_REAL[MES] = presionVaporReal(ESTACION, MES, fuentes.OPCION_HUMEDAD);
    if (!sin_sol) {
      n.RNL[MES] =
          radiacionNetaOndaLarga(ESTACION, MES, n.PRESION_VAPOR_REAL[MES], n.RS[MES], n.RSO[MES]);
    }
    n.RNS[MES] = 0.77 * n.RS[MES];
    n.RN[MES] = n.RNS[MES] - n.RNL[MES];
  }
  return n;
}

DeficitPresionVapor CALCULAR_DEFICIT_PRESION_VAPOR(const REGISTRO_CLIMA& ESTACION,
                                                   const RadiacionNeta& neta) {
  DeficitPresionVapor d;
  for (int16_t MES = 1; MES <= 12; ++MES) {
    d.PRESION_VAPOR_SAT_MEDIA[MES] = (PRESION_VAPOR_SATURACION(ESTACION.TMIN[MES]) +
                                      PRESION_VAPOR_SATURACION(ESTACION.TMAX[MES])) /
                                     2;
    d.DEFICIT_PRESION_VAPOR[MES] = d.PRESION_VAPOR_SAT_MEDIA[MES] - neta.PRESION_VAPOR_REAL[MES];
  }
  return d;
}

Mensual CALCULAR_FLUJO_CALOR_SUELO(const Mensual& TMEDIA) {
  Mensual G{};
  for (int MES = 1; MES <= 12; ++MES) {
    const int siguiente = MES == 12 ? 1 : MES + 1;
    const int anterior = MES == 1 ? 12 : MES - 1;
    G[MES] = 0.07 * (TMEDIA[siguiente] - TMEDIA[anterior]);
  }
  return G;
}

// The logarithmic wind profile over short grass, u2 = uz x 4.87 / ln(67.8 z - 5.42), at the
// anemometer height of 2 m (a factor of 1.000222, not exactly 1).
Mensual CALCULAR_VIENTO_2M(const Mensual& VIENTO) {
  Mensual u2{};
  for (int MES = 1; MES <= 12; ++MES) {
    u2[MES] = VIENTO[MES] * 4.87 / std::log(67.8 * ALTURA_ANEMOMETRO - 5.42);
  }
  return u2;
}

PenmanMonteith CALCULAR_ETO_PENMAN_MONTEITH(const REGISTRO_CLIMA& ESTACION, FuentesPenman fuentes) {
  PenmanMonteith pm;
  pm.extraterrestre = CALCULAR_RADIACION_EXTRATERRESTRE(ESTACION);
  pm.neta = CALCULAR_RADIACION_NETA(ESTACION, pm.extraterrestre, fuentes);
  pm.deficit = CALCULAR_DEFICIT_PRESION_VAPOR(ESTACION, pm.neta);
  pm.FLUJO_CALOR_SUELO = CALCULAR_FLUJO_CALOR_SUELO(ESTACION.TMEDIA);
  pm.VIENTO_2M = CALCULAR_VIENTO_2M(ESTACION.VIENTO);
  const double g = CONSTANTE_PSICROMETRICA(ESTACION.ALTITUD);
  for (int16_t MES = 1; MES <= 12; ++MES) {
    if (mesSinSalidaDelSol(pm.extraterrestre, MES)) continue;  // 0 mm in the polar night
    const double T = ESTACION.TMEDIA[MES];
    const double D = PENDIENTE_PRESION_VAPOR(T);
    const double u2 = pm.VIENTO_2M[MES];
    pm.ETO_MENSUAL[MES] =
        totalMensualEto(DIAS_MES(MES) *
                        (0.408 * D * (pm.neta.RN[MES] - pm.FLUJO_CALOR_SUELO[MES]) +
                         g * 900 / (T + 273) * u2 * pm.deficit.DEFICIT_PRESION_VAPOR[MES]) /
                        (D + g * (1 + 0.34 * u2)));
  }
  return pm;
}

}  // namespace medravolix::eto
