#include "batch/relectura.h"

namespace medravolix::batch {

std::string causaRelectura(const std::filesystem::path& antes, const workbook::Workbook& libro,
                           const std::string& lista) {
  if (libro.path() != antes) {
    return "Another workbook was opened with File > Workbook (" + libro.path().filename().string() +
           "), so the list of " + lista + " was read from it.";
  }
  return "The workbook changed on disk and was read again, so the list of " + lista +
         " was read again.";
}

std::string avisoEleccion(const std::string& que, const std::string& entrada,
                          const Cambio& cambio) {
  const std::string nombre = "The " + que + " '" + entrada + "'";
  switch (cambio.tipo) {
    case Cambio::Tipo::Ninguno:
      return "";
    case Cambio::Tipo::Movido:
      return nombre + " is no longer at its place in the list, so it is no longer chosen.";
    case Cambio::Tipo::Cambiado:
      return "The data of the " + que + " '" + entrada +
             "' changed in the workbook, so it is no longer chosen.";
    case Cambio::Tipo::Ilegible:
      return nombre + " can no longer be read, so it is no longer chosen:\r\n\r\n" + cambio.error;
  }
  return "";
}

std::string unirAviso(const std::string& a, const std::string& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  return a + "\r\n\r\n" + b;
}

}  // namespace medravolix::batch
