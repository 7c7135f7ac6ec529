// Where the program finds the files it ships beside itself.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace medravolix::shell {

// The file `nombre` that ships with the program: in the program's own folder, in share/medravolix
// beside it (the build folder), or in the shared data folder of an installation
// (bin/../share/medravolix), searched in that order. Nothing when none of them holds it.
std::optional<std::filesystem::path> archivoCompartido(
    const std::filesystem::path& carpeta_programa, const std::string& nombre);

// The folder that holds the sample workbook (sample.xlsx), found as above; the program's own
// folder when none holds it.
std::filesystem::path carpetaEjemplo(const std::filesystem::path& carpeta_programa);

}  // namespace medravolix::shell
