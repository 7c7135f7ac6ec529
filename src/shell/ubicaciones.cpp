#include "shell/ubicaciones.h"

#include <system_error>

namespace medravolix::shell {

std::optional<std::filesystem::path> archivoCompartido(
    const std::filesystem::path& carpeta_programa, const std::string& nombre) {
  const std::filesystem::path candidatas[] = {
      carpeta_programa,
      carpeta_programa / "share" / "medravolix",                // in the build
      carpeta_programa.parent_path() / "share" / "medravolix",  // installed: bin/../share
  };
  for (const auto& carpeta : candidatas) {
    std::error_code error;
    if (std::filesystem::is_regular_file(carpeta / nombre, error)) return carpeta / nombre;
  }
  return std::nullopt;
}

std::filesystem::path carpetaEjemplo(const std::filesystem::path& carpeta_programa) {
  const auto ejemplo = archivoCompartido(carpeta_programa, "sample.xlsx");
  return ejemplo ? ejemplo->parent_path() : carpeta_programa;
}

}  // namespace medravolix::shell
