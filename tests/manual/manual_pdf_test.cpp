// The user's manual as a reader finds it in the PDF: pages cut between lines and table rows,
// no heading left at the foot of a page, no line printed twice across a break, no wrapped line
// read as a list.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "manual/fuentes_manual.h"

namespace medravolix {
namespace {

using namespace manual_prueba;

// ---- the PDF's pages, as a reader finds them ----

// Text as pdftotext lays it out, with runs of blanks made one blank and the ends trimmed.
std::string plano(const std::string& linea) {
  const std::string una = std::regex_replace(linea, std::regex("\\s+"), " ");
  const std::size_t inicio = una.find_first_not_of(' ');
  if (inicio == std::string::npos) return "";
  return una.substr(inicio, una.find_last_not_of(' ') - inicio + 1);
}

// Each page's lines of text, empty lines and the page number at the foot left out.
std::vector<std::vector<std::string>> paginasDelPdf() {
  const std::string texto = salidaDe("pdftotext -layout -enc UTF-8 '" + pdf().string() + "' -");
  std::vector<std::vector<std::string>> paginas(1);
  std::istringstream in(texto);
  for (std::string linea; std::getline(in, linea);) {
    std::size_t salto;
    while ((salto = linea.find('\f')) != std::string::npos) {
      const std::string antes = plano(linea.substr(0, salto));
      if (!antes.empty()) paginas.back().push_back(antes);
      paginas.emplace_back();
      linea = linea.substr(salto + 1);
    }
    const std::string limpia = plano(linea);
    if (!limpia.empty() && !std::regex_match(limpia, std::regex("MEDRAVOLIX \\S+ \\d+"))) {
      paginas.back().push_back(limpia);
    }
  }
  while (!paginas.empty() && paginas.back().empty()) paginas.pop_back();
  return paginas;
}

// The sections' headings of both sources, as printed.
std::set<std::string> encabezadosDeSeccion() {
  std::set<std::string> todos;
  for (const Fuente& fuente : fuentes()) {
    for (const std::string nivel : {"#", "##", "###"}) {
      for (const std::string& t : titulos(fuente.archivo, nivel)) todos.insert(plano(t));
    }
  }
  return todos;
}

// The heading rows of the sources' tables, as printed: the cells, without their code marks,
// one blank apart.
std::set<std::string> cabecerasDeTabla() {
  std::set<std::string> todas;
  for (const Fuente& fuente : fuentes()) {
    std::istringstream in(leer(fuente.archivo));
    std::string antes;
    for (std::string linea; std::getline(in, linea); antes = linea) {
      if (!std::regex_match(linea, std::regex("\\|[-:| ]+\\|")) || antes.empty()) continue;
      std::string celdas = std::regex_replace(antes, std::regex("[|`]"), " ");
      todas.insert(plano(celdas));
    }
  }
  return todas;
}

TEST(ManualPdf, NoPageEndsWithAHeadingOrHoldsOnlyATableHeading) {
  const auto paginas = paginasDelPdf();
  ASSERT_GT(paginas.size(), 10u);
  const std::set<std::string> secciones = encabezadosDeSeccion();
  const std::set<std::string> cabeceras = cabecerasDeTabla();
  ASSERT_TRUE(cabeceras.count("Column Content Unit"));
  for (std::size_t i = 0; i + 1 < paginas.size(); ++i) {
    const std::vector<std::string>& lineas = paginas[i];
    const int n = static_cast<int>(i) + 1;
    ASSERT_FALSE(lineas.empty()) << "page " << n << " is empty";
    EXPECT_FALSE(secciones.count(lineas.back()))
        << "page " << n << " ends with the heading " << lineas.back();
    EXPECT_FALSE(cabeceras.count(lineas.back()))
        << "page " << n << " ends with a table's heading row: " << lineas.back();
    EXPECT_FALSE(std::all_of(lineas.begin(), lineas.end(),
                             [&](const std::string& l) { return cabeceras.count(l) > 0; }))
        << "page " << n << " holds only a table's heading row";
  }
}

TEST(ManualPdf, NoLineIsPrintedAgainAtTheTopOfTheNextPage) {
  const auto paginas = paginasDelPdf();
  ASSERT_GT(paginas.size(), 10u);
  const std::set<std::string> cabeceras = cabecerasDeTabla();
  for (std::size_t i = 0; i + 1 < paginas.size(); ++i) {
    const std::vector<std::string>& esta = paginas[i];
    const std::vector<std::string>& siguiente = paginas[i + 1];
    if (esta.empty() || siguiente.empty()) continue;
    // The foot of a page, a line or two, is not the top of the next (a table's heading row
    // is, where the table goes on).
    for (std::size_t k = 1; k <= 2 && k <= esta.size(); ++k) {
      const std::string& linea = esta[esta.size() - k];
      if (cabeceras.count(linea)) continue;
      for (std::size_t m = 0; m < 2 && m < siguiente.size(); ++m) {
        EXPECT_NE(linea, siguiente[m])
            << "page " << i + 1 << " ends with a line that page " << i + 2 << " starts with";
      }
    }
  }
}

// A wrapped line of a paragraph that starts with "1." or "- " turns, for the Markdown reader, into
// a list of its own. Within a run of lines, a list marker must continue a list: the run's
// last item before it has a marker of the same kind at the same indentation.
TEST(ManualPdf, NoWrappedLineOfTheSourcesStartsAList) {
  const std::regex marca("^( *)(\\d+[.)]|[-*+]) .*");
  for (const Fuente& fuente : fuentes()) {
    std::istringstream in(leer(fuente.archivo));
    std::string sangria_item;  // the last item's indentation and kind, in this run of lines
    bool en_tramo = false;
    bool codigo = false;
    int numero = 0;
    for (std::string linea; std::getline(in, linea);) {
      ++numero;
      if (linea.rfind("```", 0) == 0) codigo = !codigo;
      if (codigo || linea.find_first_not_of(' ') == std::string::npos) {
        en_tramo = false;
        sangria_item.clear();
        continue;
      }
      std::smatch m;
      if (std::regex_match(linea, m, marca)) {
        const std::string item = m[1].str() + (std::isdigit(m[2].str()[0]) ? "1." : "-");
        // A list nested in the item above starts further in than that item's marker.
        const bool anidada = !sangria_item.empty() && static_cast<std::size_t>(m[1].length()) >
                                                          sangria_item.find_first_not_of(' ');
        EXPECT_TRUE(!en_tramo || item == sangria_item || anidada)
            << fuente.idioma << " source, line " << numero << " starts a list: " << linea;
        sangria_item = item;
      }
      en_tramo = true;
    }
  }
}

TEST(ManualPdf, NoWrappedLineOfTheSpanishTextStartsAListWithASheetName) {
  std::string hojas;
  for (const auto& entrada : fs::directory_iterator(SourceDir() / "data/sample")) {
    const std::string nombre = entrada.path().filename().string();
    if (entrada.path().extension() != ".csv") continue;
    hojas += (hojas.empty() ? "" : "|") + nombre.substr(3, nombre.size() - 7);
  }
  const std::regex lista("^\\d+[.)] (" + hojas + ")\\b.*");
  const auto paginas = paginasDelPdf();
  const std::string titulo = plano(titulos(fuentes()[1].archivo, "#").at(0));
  bool espanol = false;
  int listas = 0;
  for (std::size_t i = 0; i < paginas.size(); ++i) {
    for (const std::string& linea : paginas[i]) {
      espanol = espanol || linea == titulo;
      if (espanol && std::regex_match(linea, lista)) {
        ++listas;
        ADD_FAILURE() << "page " << i + 1 << ": " << linea;
      }
    }
  }
  EXPECT_TRUE(espanol) << titulo;
  EXPECT_EQ(listas, 0);
}

// A paragraph that ends in a colon introduces the picture below it: the PDF prints its last line
// on the page of that picture, not at the foot of the page before.
TEST(ManualPdf, AParagraphEndingInAColonIsPrintedOnThePageOfThePictureItIntroduces) {
  // The pages of each picture size that pdfimages lists.
  std::map<std::pair<int, int>, std::set<int>> paginas_de_imagen;
  const std::string lista = salidaDe("pdfimages -list '" + pdf().string() + "'");
  const std::regex fila_imagen("^ *(\\d+) +\\d+ +image +(\\d+) +(\\d+) .*");
  std::istringstream filas(lista);
  for (std::string fila; std::getline(filas, fila);) {
    std::smatch m;
    if (std::regex_match(fila, m, fila_imagen)) {
      paginas_de_imagen[{std::stoi(m[2]), std::stoi(m[3])}].insert(std::stoi(m[1]));
    }
  }
  // The printed pages, with the typesetter's ligatures written out as letters.
  auto paginas = paginasDelPdf();
  for (auto& pagina : paginas) {
    for (std::string& linea : pagina) {
      for (const auto& [ligadura, letras] :
           std::vector<std::pair<std::string, std::string>>{{"\xEF\xAC\x80", "ff"},
                                                            {"\xEF\xAC\x81", "fi"},
                                                            {"\xEF\xAC\x82", "fl"},
                                                            {"\xEF\xAC\x83", "ffi"},
                                                            {"\xEF\xAC\x84", "ffl"}}) {
        for (std::size_t en; (en = linea.find(ligadura)) != std::string::npos;) {
          linea.replace(en, ligadura.size(), letras);
        }
      }
    }
  }
  const std::regex imagen_md("!\\[[^\\]]*\\]\\(([^)]+)\\)");
  int presentaciones = 0;
  for (const Fuente& fuente : fuentes()) {
    // The source's paragraphs, each as one line of words.
    std::vector<std::string> parrafos(1);
    std::istringstream in(leer(fuente.archivo));
    for (std::string linea; std::getline(in, linea);) {
      if (plano(linea).empty()) {
        if (!parrafos.back().empty()) parrafos.emplace_back();
      } else {
        parrafos.back() += (parrafos.back().empty() ? "" : " ") + plano(linea);
      }
    }
    for (std::size_t k = 0; k + 1 < parrafos.size(); ++k) {
      std::smatch m;
      const std::string& texto = parrafos[k];
      if (texto.empty() || texto.back() != ':' || texto[0] == '#' ||
          !std::regex_match(parrafos[k + 1], m, imagen_md)) {
        continue;
      }
      ++presentaciones;
      const std::string png = leer(BinaryDir() / "manual" / m[1].str());
      ASSERT_GT(png.size(), 24u) << m[1];
      auto entero = [&](std::size_t en) {
        return (static_cast<unsigned char>(png[en]) << 24) |
               (static_cast<unsigned char>(png[en + 1]) << 16) |
               (static_cast<unsigned char>(png[en + 2]) << 8) |
               static_cast<unsigned char>(png[en + 3]);
      };
      const std::set<int>& con_imagen =
          paginas_de_imagen[{static_cast<int>(entero(16)), static_cast<int>(entero(20))}];
      // The paragraph's last printed line is the end of its text.
      const std::string sin_marcas = plano(std::regex_replace(texto, std::regex("[`*]"), ""));
      int pagina_final = 0;
      for (std::size_t i = 0; i < paginas.size() && pagina_final == 0; ++i) {
        for (const std::string& linea : paginas[i]) {
          if (linea.size() >= 12 && sin_marcas.size() >= linea.size() &&
              sin_marcas.compare(sin_marcas.size() - linea.size(), linea.size(), linea) == 0) {
            pagina_final = static_cast<int>(i) + 1;
          }
        }
      }
      ASSERT_NE(pagina_final, 0) << fuente.idioma << ": not printed: " << texto;
      EXPECT_TRUE(con_imagen.count(pagina_final))
          << fuente.idioma << ": \"" << texto << "\" ends on page " << pagina_final
          << ", without the picture " << m[1];
    }
  }
  EXPECT_GE(presentaciones, 2);  // the splash window's, in each language
}

}  // namespace
}  // namespace medravolix
