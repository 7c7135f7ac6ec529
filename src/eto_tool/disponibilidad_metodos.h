// Which methods a station's data allow, and where Penman-Monteith takes its humidity and its
// radiation from. A series has data when its twelve values do not sum to exactly 0; a latitude
// or an altitude when it is not exactly 0 (so a station on the equator or at sea level has none).
#pragma once

#include <array>
#include <string>

#include "eto/penman_monteith.h"
#include "simulation/registro_clima.h"

namespace medravolix::eto_tool {

struct Disponibilidad {
  // Thornthwaite, Penman-Monteith, Hargreaves, Blaney-Criddle, external data.
  std::array<bool, 5> habilitado{};
  eto::FuentesPenman fuentes;
};

Disponibilidad evaluarDisponibilidad(const REGISTRO_CLIMA& ESTACION);

// The summary grid's row for the station: name, province, UTM x, UTM y, altitude, the year's
// rainfall and the mean of the monthly mean temperatures, each number rounded to a whole one
// (halves to even) and written in its plain form.
std::array<std::string, 7> resumenEstacion(const REGISTRO_CLIMA& ESTACION);

}  // namespace medravolix::eto_tool
