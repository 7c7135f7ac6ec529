// The checks a station's data must pass before they are used: every number one the program can
// compute with (not a mistyped exponent such as 1e308), temperatures that air can have, no
// negative rainfall, humidity, radiation, sunshine, wind or given evapotranspiration, no
// humidity above saturation, no more sunshine hours than a day or rainy days than the month has,
// no radiation or wind beyond any station's, and for the methods that use the daily range a mean
// maximum temperature not below the mean minimum.
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

// The temperatures, in degrees Celsius, that a monthly mean of the air can have: beyond the
// coldest and the hottest months ever measured at a station.
inline constexpr double kTemperaturaMinima = -80;
inline constexpr double kTemperaturaMaxima = 60;

// What is wrong with `valor` as the variable's value in month `mes` ("the rainfall (-3) is
// negative"), or nothing.
std::optional<std::string> problemaValorClima(CampoClima campo, int16_t mes, double valor);

// The first month (January first) whose data the window needs as soon as a station is chosen
// (the mean temperature, the rainfall and the rainy days, which it shows and annotates) cannot be
// used, or nothing.
std::optional<ErrorDatoClima> comprobarDatosEstacion(const REGISTRO_CLIMA& e);

// The first month (January first) whose data the method cannot use, or nothing.
std::optional<ErrorDatoClima> comprobarDatosMetodo(MetodoEto metodo, const REGISTRO_CLIMA& e,
                                                   FuentesPenman fuentes);

}  // namespace medravolix::eto
