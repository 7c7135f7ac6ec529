#include "crop_tool/origen_cultivos.h"

#include <exception>

namespace medravolix::crop_tool {

namespace {

bool enSuSitio(const std::vector<std::string>& lista, int k, const std::string& entrada) {
  return k >= 0 && k < static_cast<int>(lista.size()) && lista[k] == entrada;
}

}  // namespace

Cambio cambioAnual(const workbook::Workbook& libro, const std::vector<std::string>& lista,
                   const OrigenAnual& origen) {
  if (!enSuSitio(lista, origen.k, origen.entrada)) return {Cambio::Tipo::Movido, ""};
  try {
    const CultivoAnual cultivo = leerCultivoAnual(libro, origen.k);
    RiegoCultivo riego = leerRiegoCultivo(libro, cultivo.NOMBRE_ANUAL);
    riego.FILA_RIEGO = origen.riego.FILA_RIEGO;
    if (cultivo == origen.cultivo && riego == origen.riego) return {};
    return {Cambio::Tipo::Cambiado, ""};
  } catch (const std::exception& error) {
    return {Cambio::Tipo::Ilegible, error.what()};
  }
}

Cambio cambioArbol(const workbook::Workbook& libro, const std::vector<std::string>& lista,
                   const OrigenArbol& origen) {
  if (!enSuSitio(lista, origen.k, origen.entrada)) return {Cambio::Tipo::Movido, ""};
  try {
    if (leerCultivoArbol(libro, origen.k) == origen.arbol) return {};
    return {Cambio::Tipo::Cambiado, ""};
  } catch (const std::exception& error) {
    return {Cambio::Tipo::Ilegible, error.what()};
  }
}

std::vector<std::string> listaActual(const workbook::Workbook& libro, std::string_view hoja) {
  try {
    return listarCultivos(libro, hoja);
  } catch (const std::exception&) {
    return {};
  }
}

std::string avisoQuitados(const std::vector<std::string>& lineas) {
  if (lineas.empty()) return "";
  std::string texto =
      "These crops were dropped from the calendar, because the workbook no longer holds them as "
      "they were (their rows in Annual_crops_growth or Annual_crops_irrigat changed, or they are "
      "no longer at their place in the list):\r\n";
  for (const std::string& linea : lineas) texto += "\r\n" + linea;
  return texto;
}

}  // namespace medravolix::crop_tool
