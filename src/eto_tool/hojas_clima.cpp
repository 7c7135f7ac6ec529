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
                                " holds the latitude " + shortDecimal(latitud) +
                                ": a latitude in degrees lies between -90 (south) and 90 (north)");
}

// Metres above sea level of the station in row r of Clim_WS: from the shores of the Dead Sea to
// above the highest summit. Penman-Monteith's air pressure falls to nothing some 45 km up.
double leerAltitud(const workbook::Workbook& libro, int r) {
  constexpr double kMinima = -500, kMaxima = 9000;
  const double altitud = libro.number(kHojaEstaciones, r, 3);
  if (altitud >= kMinima && altitud <= kMaxima) return altitud;
  throw workbook::WorkbookError(workbook::cellReference(kHojaEstaciones, r, 3) +
                                " holds the altitude " + shortDecimal(altitud) +
                                ": an altitude in metres lies between " + plainDecimal(kMinima) +
                                " and " + plainDecimal(kMaxima));
}

// A UTM coordinate of the station in row r of Clim_WS (column c), in whole metres.
double leerUtm(const workbook::Workbook& libro, int r, int c) {
  const double valor = libro.number(kHojaEstaciones, r, c);
  if (isUsableNumber(valor)) return redondearEntero(valor);
  throw workbook::WorkbookError(workbook::cellReference(kHojaEstaciones, r, c) + " holds the " +
                                (c == 5 ? "UTM x" : "UTM y") + " coordinate " +
                                shortDecimal(valor) +
                                ", which is not a number the program can use");
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
  e.ALTITUD = leerAltitud(libro, r);
  e.PROVINCIA = texto(libro, kHojaEstaciones, r, 4);
  e.UTM_X = leerUtm(libro, r, 5);
  e.UTM_Y = leerUtm(libro, r, 6);
  Mensual* const series[] = {&e.TMEDIA,        &e.TMAX,        &e.TMIN,      &e.HRMEDIA,
                             &e.HRMAX,         &e.HRMIN,       &e.RADIACION, &e.INSOLACION,
                             &e.PRECIPITACION, &e.DIAS_LLUVIA, &e.VIENTO,    &e.ETO_EXTERNA};
  for (int m = 1; m <= 12; ++m) {
    for (int c = 0; c < 12; ++c) {
      (*series[c])[m] = libro.number(kHojaDatosClima, filaDatosClima(k, m), 2 + c);
    }
  }
  if (const auto error = eto::comprobarDatosEstacion(e)) {
    throw workbook::WorkbookError(celdasDelError(k, *error) + ": " + error->problema);
  }
  return e;
}

std::string celdasDelError(int k, const eto::ErrorDatoClima& error) {
  const int fila = filaDatosClima(k, error.mes);
  const std::string mes = " (" + NOMBRE_MES(error.mes, 1) + ")";
  if (error.campos.empty()) {
    return std::string(kHojaDatosClima) + " row " + std::to_string(fila) + mes;
  }
  std::string celdas;
  for (const eto::CampoClima campo : error.campos) {
    if (!celdas.empty()) celdas += ", ";
    celdas += workbook::cellReference(kHojaDatosClima, fila, columnaDatosClima(campo));
  }
  return celdas + mes;
}

}  // namespace medravolix::eto_tool
