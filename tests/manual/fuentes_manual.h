// What the manual's tests share: reading its two sources and the built PDF.
#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace medravolix::manual_prueba {

namespace fs = std::filesystem;
using testing::BinaryDir;
using testing::SourceDir;

inline std::string leer(const fs::path& archivo) {
  std::ifstream in(archivo, std::ios::binary);
  std::ostringstream texto;
  texto << in.rdbuf();
  return texto.str();
}

// ---- the manual's sources ----

struct Fuente {
  const char* idioma;
  fs::path archivo;
};

inline const std::vector<Fuente>& fuentes() {
  static const std::vector<Fuente> todas = {{"English", SourceDir() / "docs/manual/manual_en.md"},
                                            {"Spanish", SourceDir() / "docs/manual/manual_es.md"}};
  return todas;
}

// The source with every run of blanks and line breaks made one blank, as the reader sees it.
inline std::string textoCorrido(const fs::path& archivo) {
  return std::regex_replace(leer(archivo), std::regex("\\s+"), " ");
}

inline std::vector<std::string> coincidencias(const std::string& texto, const std::string& patron) {
  std::vector<std::string> todas;
  const std::regex re(patron, std::regex::multiline);
  for (auto it = std::sregex_iterator(texto.begin(), texto.end(), re); it != std::sregex_iterator();
       ++it) {
    todas.push_back((*it)[1].str());
  }
  return todas;
}

inline std::vector<std::string> titulos(const fs::path& archivo, const std::string& almohadillas) {
  return coincidencias(leer(archivo), "^" + almohadillas + " (.+)$");
}

inline std::vector<std::string> imagenes(const fs::path& archivo) {
  return coincidencias(leer(archivo), "!\\[[^\\]]*\\]\\(([^)]+)\\)");
}

inline std::string salidaDe(const std::string& orden) {
  std::string salida;
  FILE* tubo = popen(orden.c_str(), "r");
  if (!tubo) return salida;
  char trozo[4096];
  for (std::size_t n; (n = fread(trozo, 1, sizeof trozo, tubo)) > 0;) salida.append(trozo, n);
  pclose(tubo);
  return salida;
}

inline fs::path pdf() {
  return BinaryDir() / "share/medravolix/MEDRAVOLIX_users_manual_ENG_SPA.pdf";
}

}  // namespace medravolix::manual_prueba
