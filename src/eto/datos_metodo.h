// The checks a method's data must pass before it runs: the ones whose failure would give a
// square root of a negative number or a meaningless value (a daily range below zero, a negative
// humidity, sunshine or wind).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "eto/penman_monteith.h"
#include "simulation/registro_clima.h"

namespace medravolix::eto {

// The five ways of obtaining the monthly reference evapotranspiration, in the order of the tool
// window's options.
enum class MetodoEto { Thornthwaite = 0, PenmanMonteith, Hargreaves, BlaneyCriddle, DatosExternos };

// A monthly climate variable of the station record, in the order of its columns in the station
// library (the first is column 2).
enum class CampoClima {
  TMEDIA = 0,
  TMAX,
  TMIN,
  HRMEDIA,
  HRMAX,
  HRMIN,
  RADIACION,
  INSOLACION,
  PRECIPITACION,
  DIAS_LLUVIA,
  VIENTO,
  ETO_EXTERNA
};

// What a user reads for the variable: "mean maximum temperature".
const char* nombreCampo(CampoClima campo);
// Whether that name is plural ("sunshine hours", "rainy days"), for the verb that follows it.
bool nombreEnPlural(CampoClima campo);

// A month whose data a method cannot use: the month (1..12), the variables at fault and what is
// wrong with them ("the mean maximum temperature (8.3) is below the mean minimum (9.1)").
struct ErrorDatoClima {
  int16_t mes = 0;
  std::vector<CampoClima> campos;
  std::string problema;
};

// The first month (January first) whose data the method cannot use, or nothing.
std::optional<ErrorDatoClima> comprobarDatosMetodo(MetodoEto metodo, const REGISTRO_CLIMA& e,
                                                   FuentesPenman fuentes);

}  // namespace medravolix::eto
