#include "eto_tool/disponibilidad_metodos.h"

#include "common/number_text.h"
#include "eto_tool/hojas_clima.h"

namespace medravolix::eto_tool {

namespace {

double suma(const Mensual& serie) {
  double total = 0;
  for (int m = 1; m <= 12; ++m) total += serie[m];
  return total;
}

bool tiene(const Mensual& serie) {
  return suma(serie) != 0;
}

}  // namespace

Disponibilidad evaluarDisponibilidad(const REGISTRO_CLIMA& e) {
  Disponibilidad d;
  const bool lat = e.LATITUD != 0;
  const bool alt = e.ALTITUD != 0;
  const bool tmedia = tiene(e.TMEDIA), tmax = tiene(e.TMAX), tmin = tiene(e.TMIN);
  const bool hrmax = tiene(e.HRMAX), hrmin = tiene(e.HRMIN), hrmedia = tiene(e.HRMEDIA);
  const bool viento = tiene(e.VIENTO);
  if (lat && alt && tmax && tmin && tmedia && viento) {
    if (hrmax && hrmin) d.fuentes.OPCION_HUMEDAD = 1;
    if (hrmax && !hrmin) d.fuentes.OPCION_HUMEDAD = 2;
    if (!hrmax && hrmedia) d.fuentes.OPCION_HUMEDAD = 3;
    if (tiene(e.INSOLACION)) d.fuentes.OPCION_RADIACION = 1;
    if (tiene(e.RADIACION)) d.fuentes.OPCION_RADIACION = 2;
  }
  d.habilitado[0] = lat && tmedia;
  d.habilitado[1] = lat && alt && tmax && tmin && tmedia && viento &&
                    d.fuentes.OPCION_HUMEDAD != 0 && d.fuentes.OPCION_RADIACION != 0;
  d.habilitado[2] = lat && tmedia && tmin && tmax;
  d.habilitado[3] = lat && tmedia && hrmin && viento;
  d.habilitado[4] = tiene(e.ETO_EXTERNA);
  return d;
}

std::array<std::string, 7> resumenEstacion(const REGISTRO_CLIMA& e) {
  return {e.NOMBRE_ESTACION,
          e.PROVINCIA,
          plainDecimal(e.UTM_X),
          plainDecimal(e.UTM_Y),
          plainDecimal(redondearEntero(e.ALTITUD)),
          plainDecimal(redondearEntero(suma(e.PRECIPITACION))),
          plainDecimal(redondearEntero(suma(e.TMEDIA) / 12))};
}

}  // namespace medravolix::eto_tool
