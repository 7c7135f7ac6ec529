// What the two tools say when the bound workbook holds another reading than the one their list
// came from (another workbook bound, or the file changed on disk and read again): why the list
// was read again, and what became of the entry that was chosen.
#pragma once

#include <filesystem>
#include <string>

#include "workbook/workbook.h"

namespace medravolix::batch {

// How an entry chosen from a tool's list stands in the workbook now.
struct Cambio {
  enum class Tipo { Ninguno, Movido, Cambiado, Ilegible } tipo = Tipo::Ninguno;
  std::string error;  // why it cannot be read (Ilegible)
  bool ninguno() const { return tipo == Tipo::Ninguno; }
};

// Why a list was read again: another workbook was opened in place of the one at `antes`, or that
// one's file changed on disk and was read again. `lista` names the list ("weather stations").
std::string causaRelectura(const std::filesystem::path& antes, const workbook::Workbook& libro,
                           const std::string& lista);

// The sentence for a chosen entry that no longer stands: `que` is "station", "crop" or "tree
// crop"; nothing when it stands.
std::string avisoEleccion(const std::string& que, const std::string& entrada, const Cambio& cambio);

// Two parts of a message, a blank line between them; an empty part adds nothing.
std::string unirAviso(const std::string& a, const std::string& b);

}  // namespace medravolix::batch
