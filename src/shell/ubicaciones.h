// Where the program finds the files it ships beside itself.
#pragma once

#include <filesystem>

namespace medravolix::shell {

// The folder that holds the sample workbook (sample.xlsx): share/medravolix beside the program in
// the build, or in the shared data folder of an installation (bin/../share/medravolix). The
// program's own folder when none holds it.
std::filesystem::path carpetaEjemplo(const std::filesystem::path& carpeta_programa);

}  // namespace medravolix::shell
