// Where the crop tool's crops came from, so that the tool can tell whether the workbook, read
// again from its file or replaced by another one, still holds them as they were read: a crop
// stands while its library lists it at the same place under the same entry and its rows read the
// same values.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "batch/relectura.h"
#include "crop_tool/hojas_cultivos.h"
#include "workbook/workbook.h"

namespace medravolix::crop_tool {

// An annual crop as read from entry k of Annual_crops_growth, with its irrigation. For a crop on
// the calendar, its line in the list of selected crops and the pointer position it was sown at.
struct OrigenAnual {
  int k = -1;
  std::string entrada;
  CultivoAnual cultivo;
  RiegoCultivo riego;
  std::string texto;
  float x_raton = 0;
};

// A tree crop as read from entry k of Tree_crops.
struct OrigenArbol {
  int k = -1;
  std::string entrada;
  CultivoArbol arbol;
};

using batch::Cambio;

// `lista` is the library's list as it is now (listarCultivos). The irrigation row may have moved:
// it is found by the crop's name, so only its values count.
Cambio cambioAnual(const workbook::Workbook& libro, const std::vector<std::string>& lista,
                   const OrigenAnual& origen);
Cambio cambioArbol(const workbook::Workbook& libro, const std::vector<std::string>& lista,
                   const OrigenArbol& origen);

// The library's list now, or an empty list when it cannot be read (then no crop stands).
std::vector<std::string> listaActual(const workbook::Workbook& libro, std::string_view hoja);

// The message part that names the crops dropped from the calendar, one line each.
std::string avisoQuitados(const std::vector<std::string>& lineas);

}  // namespace medravolix::crop_tool
