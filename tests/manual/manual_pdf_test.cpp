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

// The line with the typesetter's ligatures written out as letters.
std::string sinLigaduras(std::string linea) {
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
  return linea;
}

// Each page's lines of text, with the ligatures written out, empty lines and the page number at
// the foot left out.
std::vector<std::vector<std::string>> paginasDelPdf() {
  const std::string texto = salidaDe("pdftotext -layout -enc UTF-8 '" + pdf().string() + "' -");
  std::vector<std::vector<std::string>> paginas(1);
  std::istringstream in(texto);
  for (std::string linea; std::getline(in, linea);) {
    std::size_t salto;
    while ((salto = linea.find('\f')) != std::string::npos) {
      const std::string antes = sinLigaduras(plano(linea.substr(0, salto)));
      if (!antes.empty()) paginas.back().push_back(antes);
      paginas.emplace_back();
      linea = linea.substr(salto + 1);
    }
    const std::string limpia = sinLigaduras(plano(linea));
    if (!limpia.empty() && !std::regex_match(limpia, std::regex("MEDRAVOLIX \\S+ \\d+"))) {
      paginas.back().push_back(limpia);
    }
  }
  while (!paginas.empty() && paginas.back().empty()) paginas.pop_back();
  return paginas;
}

// The number of four bytes, most significant first, at `en` of a PNG file.
int enteroPng(const std::string& png, std::size_t en) {
  return static_cast<int>((static_cast<unsigned char>(png[en]) << 24) |
                          (static_cast<unsigned char>(png[en + 1]) << 16) |
                          (static_cast<unsigned char>(png[en + 2]) << 8) |
                          static_cast<unsigned char>(png[en + 3]));
}

// A PNG picture's width and height in pixels.
std::pair<int, int> tamanoPng(const std::string& png) {
  return {enteroPng(png, 16), enteroPng(png, 20)};
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

// A table of the sources, as printed: its heading row, the cells without their code marks one
// blank apart, and its rows' cells.
struct Tabla {
  std::string cabecera;
  std::vector<std::vector<std::string>> filas;
};

std::vector<std::string> celdas(const std::string& fila) {
  std::vector<std::string> todas;
  std::istringstream in(std::regex_replace(fila, std::regex("`"), ""));
  std::string celda;
  std::getline(in, celda, '|');  // what stands before the first rule
  while (std::getline(in, celda, '|')) todas.push_back(plano(celda));
  return todas;
}

std::vector<Tabla> tablas() {
  std::vector<Tabla> todas;
  for (const Fuente& fuente : fuentes()) {
    std::istringstream in(leer(fuente.archivo));
    std::string antes;
    bool en_tabla = false;
    for (std::string linea; std::getline(in, linea); antes = linea) {
      if (std::regex_match(linea, std::regex("\\|[-:| ]+\\|")) && !antes.empty()) {
        std::string cabecera = std::regex_replace(antes, std::regex("[|`]"), " ");
        todas.push_back({plano(cabecera), {}});
        en_tabla = true;
      } else if (en_tabla && linea.rfind('|', 0) == 0) {
        todas.back().filas.push_back(celdas(linea));
      } else {
        en_tabla = false;
      }
    }
  }
  return todas;
}

// The heading rows of the sources' tables, as printed.
std::set<std::string> cabecerasDeTabla() {
  std::set<std::string> todas;
  for (const Tabla& tabla : tablas()) todas.insert(tabla.cabecera);
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
  const auto paginas = paginasDelPdf();
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
      const std::set<int>& con_imagen = paginas_de_imagen[tamanoPng(png)];
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

// The contents list: the list's title, and a section's line, stay on the page of the line after
// them (the section's first subsection).
TEST(ManualPdf, TheContentsKeepEachSectionWithItsFirstEntry) {
  const auto paginas = paginasDelPdf();
  int secciones = 0;
  for (const Fuente& fuente : fuentes()) {
    const std::string texto = leer(fuente.archivo);
    // The list's lines in order: its title, then each heading with its level.
    std::vector<std::pair<int, std::string>> lineas;
    lineas.emplace_back(1, coincidencias(texto, "^\\[contents\\]: # \"([^\"]*)\"$").at(0));
    for (const std::string& t : coincidencias(texto, "^(###? .+)$")) {
      lineas.emplace_back(t.rfind("### ", 0) == 0 ? 3 : 2, plano(t.substr(t.find(' '))));
    }
    for (std::size_t k = 0; k + 1 < lineas.size(); ++k) {
      if (lineas[k].first >= lineas[k + 1].first) continue;
      ++secciones;
      // The line printed with its page number after it (the title without one), and the line
      // after it on that page.
      const std::string& esta = lineas[k].second;
      auto es_la_linea = [&](const std::string& impresa) {
        if (k == 0) return impresa == esta;
        return impresa.size() > esta.size() + 1 && impresa.rfind(esta + " ", 0) == 0 &&
               impresa.find_first_not_of("0123456789", esta.size() + 1) == std::string::npos;
      };
      std::string siguiente = "(none)";
      bool encontrada = false;
      for (std::size_t i = 0; i < paginas.size() && !encontrada; ++i) {
        for (std::size_t j = 0; j < paginas[i].size() && !encontrada; ++j) {
          encontrada = es_la_linea(paginas[i][j]);
          if (encontrada && j + 1 < paginas[i].size()) siguiente = paginas[i][j + 1];
        }
      }
      ASSERT_TRUE(encontrada) << fuente.idioma << ": no contents line " << esta;
      EXPECT_TRUE(siguiente.rfind(lineas[k + 1].second + " ", 0) == 0)
          << fuente.idioma << ": the contents line " << esta << " is followed on its page by "
          << siguiente << ", not by its first entry " << lineas[k + 1].second;
    }
  }
  EXPECT_GE(secciones, 12);
}

// The sources' paragraphs as printed, each as one line of words without code marks, emphasis
// or a list item's marker; each list item is a paragraph of its own. Headings, pictures,
// tables and code are left out.
std::vector<std::string> parrafosImpresos() {
  const std::regex item("^(\\d+[.)]|[-+]) (.*)");
  std::vector<std::string> parrafos(1);
  for (const Fuente& fuente : fuentes()) {
    std::istringstream in(leer(fuente.archivo));
    bool codigo = false;
    for (std::string linea; std::getline(in, linea);) {
      if (linea.rfind("```", 0) == 0) codigo = !codigo;
      const std::string limpia = plano(std::regex_replace(linea, std::regex("[`*]"), ""));
      std::smatch m;
      const bool fuera =
          codigo || limpia.empty() || std::string("|#![").find(limpia[0]) != std::string::npos;
      const bool nuevo_item = !fuera && std::regex_match(limpia, m, item);
      if ((fuera || nuevo_item) && !parrafos.back().empty()) parrafos.emplace_back();
      if (fuera) continue;
      parrafos.back() += (parrafos.back().empty() ? "" : " ") + (nuevo_item ? m[2].str() : limpia);
    }
  }
  return parrafos;
}

bool terminaEn(const std::string& texto, const std::string& final) {
  return texto.size() >= final.size() &&
         texto.compare(texto.size() - final.size(), final.size(), final) == 0;
}

// A page never starts with one line left alone: the last line of a paragraph whose other lines
// are at the foot of the page before, or a table's last row under its heading row shown again.
TEST(ManualPdf, NoPageStartsWithTheLastLineOfAParagraphOrTheLastRowOfATableAlone) {
  auto paginas = paginasDelPdf();
  for (auto& pagina : paginas) {
    for (std::string& linea : pagina)
      linea = plano(std::regex_replace(linea, std::regex("\\*"), ""));
  }
  const std::vector<std::string> parrafos = parrafosImpresos();
  ASSERT_GT(parrafos.size(), 100u);
  for (std::size_t i = 1; i < paginas.size(); ++i) {
    if (paginas[i - 1].empty() || paginas[i].empty()) continue;
    const std::string& pie = paginas[i - 1].back();
    const std::string& primera = paginas[i].front();
    for (const std::string& parrafo : parrafos) {
      // The break between the pages falls at a blank, or after a hyphen or a slash.
      if (parrafo != primera && terminaEn(parrafo, primera) &&
          (terminaEn(parrafo, pie + " " + primera) || terminaEn(parrafo, pie + primera))) {
        ADD_FAILURE() << "page " << i + 1
                      << " starts with the last line of a paragraph alone: " << primera;
      }
    }
  }
  int largas = 0;
  for (const Tabla& tabla : tablas()) {
    if (tabla.filas.size() < 2 || tabla.filas.back().size() < 2) continue;
    ++largas;
    // The last row's first printed line: its first cell, then the start of its second.
    const std::vector<std::string>& ultima = tabla.filas.back();
    const std::string inicio = ultima[0] + " " + ultima[1].substr(0, ultima[1].find(' '));
    for (std::size_t i = 1; i < paginas.size(); ++i) {
      const std::vector<std::string>& pagina = paginas[i];
      EXPECT_FALSE(pagina.size() >= 2 && pagina[0] == tabla.cabecera &&
                   pagina[1].rfind(inicio, 0) == 0)
          << "page " << i + 1 << " starts with the last row of a table alone: " << pagina[1];
    }
  }
  EXPECT_GE(largas, 20);
}

// The main window's picture prints at nearly its size on a screen, so that its menus read there
// as on a screen, in letters of about 9 points.
TEST(ManualPdf, TheMainWindowIsPrintedAtNearlyItsSizeOnAScreen) {
  const std::string png = leer(BinaryDir() / "manual/pictures/main_window.png");
  const std::size_t fisico = png.find("pHYs");
  ASSERT_NE(fisico, std::string::npos);
  // The picture's own pixels per inch, and those it is printed at.
  const double ppp_pantalla = enteroPng(png, fisico + 4) * 0.0254;
  const auto [ancho, alto] = tamanoPng(png);
  const std::regex fila_imagen("^ *\\d+ +\\d+ +image +(\\d+) +(\\d+) +(\\S+ +){7}(\\d+) .*");
  std::istringstream filas(salidaDe("pdfimages -list '" + pdf().string() + "'"));
  int impresas = 0;
  for (std::string fila; std::getline(filas, fila);) {
    std::smatch m;
    if (!std::regex_match(fila, m, fila_imagen) || std::stoi(m[1]) != ancho ||
        std::stoi(m[2]) != alto) {
      continue;
    }
    ++impresas;
    EXPECT_GE(ppp_pantalla / std::stoi(m[4]), 0.9) << fila;
  }
  EXPECT_GE(impresas, 1);
}

}  // namespace
}  // namespace medravolix
