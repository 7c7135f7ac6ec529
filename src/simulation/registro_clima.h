// One weather station: its place and twelve monthly climate normals, January first.
#pragma once

#include <string>

#include "common/series.h"

namespace medravolix {

struct REGISTRO_CLIMA {
  std::string NOMBRE_ESTACION;
  double LATITUD = 0.0;  // decimal degrees, north positive
  double ALTITUD = 0.0;  // m
  std::string PROVINCIA;
  double UTM_X = 0.0, UTM_Y = 0.0;      // m
  Mensual TMEDIA{}, TMAX{}, TMIN{};     // degrees Celsius
  Mensual HRMEDIA{}, HRMAX{}, HRMIN{};  // %
  Mensual RADIACION{};                  // MJ m-2 day-1
  Mensual INSOLACION{};                 // hours of sunshine a day
  Mensual PRECIPITACION{};              // mm a month
  Mensual DIAS_LLUVIA{};                // rainy days in the month
  Mensual VIENTO{};                     // m/s at 2 m
  Mensual ETO_EXTERNA{};                // given reference evapotranspiration, mm a month

  bool operator==(const REGISTRO_CLIMA&) const = default;
};

}  // namespace medravolix
