#include "eto_tool/hojas_clima.h"

#include <cmath>
#include <stdexcept>

#include "common/calendario.h"
#include "common/number_text.h"
#include "workbook/workbook_error.h"

namespace medravolix::eto_tool {

namespace {

std::string texto(const workbook::Workbook& libro, std::string_view hoja, int fila, int col) {
  return libro.cell(hoja, fila, col).toDisplayText();
}

// Degrees north (negative south) of the station in row r of Clim_WS.
double leerLatitud(const workbook::Workbook& libro, int r) {
  const double latitud = libro.number(kHojaEstaciones, r, 2);
  if (std::fabs(latitud) <= 90) return latitud;
  throw workbook::WorkbookError(workbook::cellReference(kHojaEstaciones, r, 2) +
                                " holds the latitude " + plainDecimal(latitud) +
                                ": a latitude in degrees lies between -90 (south) and 90 (north)");
}

}  // namespace

double redondearEntero(double valor) {
  try {
    return REDONDEAR(valor, 0);
  } catch (const std::out_of_range&) {
    return std::nearbyint(valor);  // the default rounding mode takes halves to even
  }
}

std::vector<std::string> leerListaEstaciones(const workbook::Workbook& libro) {
  libro.requireSheet(kHojaEstaciones);
  std::vector<std::string> lista;
  for (int r = 2; r <= workbook::kMaxRows; ++r) {
    if (libro.cell(kHojaEstaciones, r, 1).isEmptyText()) break;
    std::string entrada = texto(libro, kHojaEstaciones, r, 1);
    const std::string columna7 = texto(libro, kHojaEstaciones, r, 7);
    if (!columna7.empty()) {
      entrada += "-" + columna7 + " " + texto(libro, kHojaEstaciones, r, 8);
    }
    lista.push_back(std::move(entrada));
  }
  return lista;
}

REGISTRO_CLIMA leerEstacion(const workbook::Workbook& libro, int k) {
  libro.requireSheet(kHojaDatosClima);
  REGISTRO_CLIMA e;
  const int r = filaEstacion(k);
  e.NOMBRE_ESTACION = texto(libro, kHojaEstaciones, r, 1);
  e.LATITUD = leerLatitud(libro, r);
  e.ALTITUD = libro.number(kHojaEstaciones, r, 3);
  e.PROVINCIA = texto(libro, kHojaEstaciones, r, 4);
  e.UTM_X = redondearEntero(libro.number(kHojaEstaciones, r, 5));
  e.UTM_Y = redondearEntero(libro.number(kHojaEstaciones, r, 6));
  Mensual* const series[] = {&e.TMEDIA,        &e.TMAX,        &e.TMIN,      &e.HRMEDIA,
                             &e.HRMAX,         &e.HRMIN,       &e.RADIACION, &e.INSOLACION,
                             &e.PRECIPITACION, &e.DIAS_LLUVIA, &e.VIENTO,    &e.ETO_EXTERNA};
  for (int m = 1; m <= 12; ++m) {
    for (int c = 0; c < 12; ++c) {
      (*series[c])[m] = libro.number(kHojaDatosClima, filaDatosClima(k, m), 2 + c);
    }
  }
  return e;
}

}  // namespace medravolix::eto_tool
