// The station library of the workbook: Clim_WS (one station a row from row 2: name, latitude,
// altitude, province, UTM x and y, two optional texts for the list) and Clim_data (twelve
// monthly rows a station, in Clim_WS order, columns 2 to 13).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "eto/datos_metodo.h"
#include "simulation/registro_clima.h"
#include "workbook/workbook.h"

namespace medravolix::eto_tool {

inline constexpr std::string_view kHojaEstaciones = "Clim_WS";
inline constexpr std::string_view kHojaDatosClima = "Clim_data";

// Station k (from 0) is row k + 2 of Clim_WS.
constexpr int filaEstacion(int k) {
  return k + 2;
}
// Month m of station k is row 12 k + m + 1 of Clim_data.
constexpr int filaDatosClima(int k, int mes) {
  return 12 * k + mes + 1;
}
// The Clim_data column of a monthly variable.
constexpr int columnaDatosClima(eto::CampoClima campo) {
  return 2 + static_cast<int>(campo);
}

// The list entries, one a station, from row 2 down to the row before the first whose column 1 is
// empty: the name, or the name, "-", column 7, " " and column 8 when column 7 is not empty.
// Throws WorkbookError (the sheet missing).
std::vector<std::string> leerListaEstaciones(const workbook::Workbook& libro);

// Station k's place and monthly normals. Throws WorkbookError naming the sheet and the cell of a
// text where a number belongs, of a latitude beyond 90 degrees or an altitude beyond the
// earth's, of a number the program cannot use, or of a mean temperature, rainfall or number of
// rainy days that cannot be (eto::comprobarDatosEstacion); or the missing sheet.
REGISTRO_CLIMA leerEstacion(const workbook::Workbook& libro, int k);

// Where station k's data error lies: "Clim_data!C5, Clim_data!D5 (May)", or
// "Clim_data row 5 (May)" when no variable is named.
std::string celdasDelError(int k, const eto::ErrorDatoClima& error);

// A number rounded to a whole number with REDONDEAR, halves to even; one too large for it is
// rounded the same way without the 32-bit limit.
double redondearEntero(double valor);

}  // namespace medravolix::eto_tool
