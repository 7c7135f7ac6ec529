// The FAO-56 Penman-Monteith reference evapotranspiration from monthly means, with the series of
// its radiation, vapour-pressure, soil-heat and wind terms.
#pragma once

#include <cstdint>

#include "common/series.h"
#include "eto/radiacion_extraterrestre.h"
#include "simulation/registro_clima.h"

namespace medravolix::eto {

// Where Penman-Monteith takes its humidity and its solar radiation from.
struct FuentesPenman {
  // 1 from HRMAX and HRMIN, 2 from HRMAX only, 3 from HRMEDIA; 0 none.
  int16_t OPCION_HUMEDAD = 0;
  // 1 solar radiation from the sunshine hours, 2 solar radiation given; 0 none.
  int16_t OPCION_RADIACION = 0;
};

struct RadiacionNeta {
  Mensual HORAS_LUZ{};           // N, h (radiation from sunshine only)
  Mensual RS{}, RSO{};           // solar and clear-sky solar radiation, MJ m-2 day-1
  Mensual RNS{}, RNL{}, RN{};    // net shortwave, net longwave, net radiation
  Mensual PRESION_VAPOR_REAL{};  // ea, kPa
};

struct DeficitPresionVapor {
  Mensual PRESION_VAPOR_SAT_MEDIA{};  // es, kPa
  Mensual DEFICIT_PRESION_VAPOR{};    // es - ea, kPa
};

struct PenmanMonteith {
  RadiacionExtraterrestre extraterrestre;
  RadiacionNeta neta;
  DeficitPresionVapor deficit;
  Mensual FLUJO_CALOR_SUELO{};  // G, MJ m-2 day-1
  Mensual VIENTO_2M{};          // u2, m/s
  Mensual ETO_MENSUAL{};        // mm a month
};

// The wind measuring height the wind series is taken at, m.
inline constexpr double ALTURA_ANEMOMETRO = 2;

double PRESION_VAPOR_SATURACION(double T);
double PENDIENTE_PRESION_VAPOR(double T);
double CONSTANTE_PSICROMETRICA(double z);

// A source code other than those above leaves its terms at 0. In a month without sunrise the
// longwave term, which needs Rs / Rso, is 0.
RadiacionNeta CALCULAR_RADIACION_NETA(const REGISTRO_CLIMA& ESTACION,
                                      const RadiacionExtraterrestre& ext, FuentesPenman fuentes);
DeficitPresionVapor CALCULAR_DEFICIT_PRESION_VAPOR(const REGISTRO_CLIMA& ESTACION,
                                                   const RadiacionNeta& neta);
// 0.07 (T of the next month - T of the month before), the year taken as a ring.
Mensual CALCULAR_FLUJO_CALOR_SUELO(const Mensual& TMEDIA);
Mensual CALCULAR_VIENTO_2M(const Mensual& VIENTO);

// Every month; one without sunrise at the station's latitude has 0 mm.
PenmanMonteith CALCULAR_ETO_PENMAN_MONTEITH(const REGISTRO_CLIMA& ESTACION, FuentesPenman fuentes);

}  // namespace medravolix::eto
