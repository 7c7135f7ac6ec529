#include "shell/ubicaciones.h"

#include <system_error>

namespace medravolix::shell {

std::filesystem::path carpetaEjemplo(const std::filesystem::path& carpeta_programa) {
  const std::filesystem::path candidatas[] = {
      carpeta_programa,
      carpeta_programa / "share" / "medravolix",                // in the build
      carpeta_programa.parent_path() / "share" / "medravolix",  // installed: bin/../share
  };
  for (const auto& carpeta : candidatas) {
    std::error_code error;
    if (std::filesystem::is_regular_file(carpeta / "sample.xlsx", error)) return carpeta;
  }
  return carpeta_programa;
}

}  // namespace medravolix::shell
