// The user's manual: its two sources (docs/manual/manual_en.md and manual_es.md) describe every
// sheet and every text the program can show, with the same sections; the PDF the build makes
// from them is a valid PDF that holds both languages and the pictures of the windows.
//
// The program's texts are read from its own source, so a new message without a manual entry
// fails here: every string literal of src/ that reads as words (two or more), outside comments
// and outside the internal faults thrown as std::out_of_range, std::invalid_argument or
// std::logic_error. Adjacent literals are joined as the compiler joins them; a text is cut at its
// line breaks, and each fragment, trimmed of blanks, quotes, brackets and punctuation at its ends,
// must stand in both sources. A message built from fragments is so matched by its fixed parts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "common/calendario.h"
#include "eto_tool/hojas_clima.h"
#include "manual/fuentes_manual.h"
#include "support/test_support.h"

namespace medravolix {
namespace {

using namespace manual_prueba;

// ---- the program's texts ----

// C escapes as the user reads them: a line break (CR LF or LF) as "\n", quotes and backslashes
// as themselves.
std::string sinEscapes(const std::string& crudo) {
  std::string texto;
  for (std::size_t i = 0; i < crudo.size(); ++i) {
    if (crudo[i] != '\\' || i + 1 == crudo.size()) {
      texto += crudo[i];
      continue;
    }
    const char c = crudo[++i];
    if (c != 'r') texto += c == 'n' ? '\n' : (c == 't' ? ' ' : c);
  }
  return texto;
}

bool esFaltaInterna(const std::vector<std::string>& ultimos) {
  static const std::set<std::string> internas = {"out_of_range", "invalid_argument", "logic_error"};
  const std::size_t n = ultimos.size();
  return n >= 4 && ultimos[n - 4] == "throw" && ultimos[n - 3] == "std" && ultimos[n - 2] == "::" &&
         internas.count(ultimos[n - 1]);
}

// Reads a source text: its string literals (adjacent ones joined, escapes resolved), without
// comments, character literals and the texts of internal faults.
class Lector {
 public:
  // With `con_faltas`, the texts of internal faults are kept too: some reach the user inside a
  // message (a season length outside the 16-bit range, in the crop tool).
  explicit Lector(const std::string& fuente, bool con_faltas = false)
      : s_(fuente), con_faltas_(con_faltas) {}

  std::vector<std::string> literales() {
    while (i_ < s_.size()) paso();
    return literales_;
  }

 private:
  void paso() {
    const char c = s_[i_];
    if (s_.compare(i_, 2, "//") == 0) return saltarHasta("\n", 0);
    if (s_.compare(i_, 2, "/*") == 0) return saltarHasta("*/", 2);
    if (c == '"') return cadena();
    if (c == '\'') return caracter();
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') return identificador();
    if (s_.compare(i_, 2, "::") == 0) return simbolo("::", 2);
    if (!std::isspace(static_cast<unsigned char>(c))) return simbolo(std::string(1, c), 1);
    ++i_;
  }

  void saltarHasta(const char* fin, std::size_t largo) {
    const std::size_t j = s_.find(fin, i_ + 2);
    i_ = j == std::string::npos ? s_.size() : j + largo;
  }

  void cadena() {
    std::size_t j = i_ + 1;
    while (j < s_.size() && s_[j] != '"') j += s_[j] == '\\' ? 2 : 1;
    const std::string texto = sinEscapes(s_.substr(i_ + 1, j - i_ - 1));
    i_ = j + 1;
    if (profundidad_omitida_ >= 0 && !con_faltas_) return;
    if (previo_literal_ && !literales_.empty()) {
      literales_.back() += texto;
    } else {
      literales_.push_back(texto);
    }
    previo_literal_ = true;
  }

  // A character literal, or a digit separator (1'048'576) after a digit.
  void caracter() {
    if (i_ > 0 && std::isalnum(static_cast<unsigned char>(s_[i_ - 1]))) {
      ++i_;
      return;
    }
    std::size_t j = i_ + 1;
    while (j < s_.size() && s_[j] != '\'') j += s_[j] == '\\' ? 2 : 1;
    i_ = j + 1;
    previo_literal_ = false;
  }

  void identificador() {
    std::size_t j = i_;
    while (j < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[j])) || s_[j] == '_')) ++j;
    // A prefix of a literal (u8"...", R"(...)") is not a token of its own.
    const std::string nombre = s_.substr(i_, j - i_);
    if (j < s_.size() && s_[j] == '"' && nombre == "R") return crudo(j);
    i_ = j;
    if (j < s_.size() && s_[j] == '"' && (nombre == "u8" || nombre == "L")) return;
    simbolo(nombre, 0);
  }

  void crudo(std::size_t comilla) {
    const std::size_t abre = s_.find('(', comilla);
    const std::string fin = ")" + s_.substr(comilla + 1, abre - comilla - 1) + "\"";
    const std::size_t cierra = s_.find(fin, abre);
    literales_.push_back(s_.substr(abre + 1, cierra - abre - 1));
    i_ = cierra + fin.size();
    previo_literal_ = true;
  }

  void simbolo(const std::string& token, std::size_t largo) {
    i_ += largo;
    previo_literal_ = false;
    if (token == "(") {
      if (profundidad_omitida_ < 0 && esFaltaInterna(ultimos_)) profundidad_omitida_ = parentesis_;
      ++parentesis_;
    } else if (token == ")" && --parentesis_ == profundidad_omitida_) {
      profundidad_omitida_ = -1;
    }
    ultimos_.push_back(token);
    if (ultimos_.size() > 4) ultimos_.erase(ultimos_.begin());
  }

  const std::string& s_;
  const bool con_faltas_;
  std::size_t i_ = 0;
  std::vector<std::string> literales_;
  std::vector<std::string> ultimos_;
  bool previo_literal_ = false;
  int parentesis_ = 0;
  int profundidad_omitida_ = -1;
};

std::string recortar(const std::string& texto) {
  static const std::string bordes = " \t'\"()[]:;,.";
  const std::size_t inicio = texto.find_first_not_of(bordes);
  if (inicio == std::string::npos) return "";
  return texto.substr(inicio, texto.find_last_not_of(bordes) - inicio + 1);
}

int palabras(const std::string& texto) {
  std::istringstream in(texto);
  int n = 0;
  for (std::string p; in >> p;) {
    n += std::any_of(p.begin(), p.end(), [](char c) { return std::isalpha(c); });
  }
  return n;
}

// A literal's fragments that read as words: cut at line breaks, trimmed, two words or more.
std::vector<std::string> piezasDe(const std::string& literal) {
  std::vector<std::string> piezas;
  std::istringstream lineas(literal);
  for (std::string linea; std::getline(lineas, linea);) {
    const std::string pieza = recortar(linea);
    if (palabras(pieza) >= 2) piezas.push_back(pieza);
  }
  return piezas;
}

struct TextoPrograma {
  std::string texto;
  std::string archivo;
};

// Texts that no user reads: font names, the keywords the model compares among its own parts,
// the workbook parts written as XML, and the writer of new workbooks and its CSV reader, which
// only the build's sample-workbook tool uses.
bool nadieLoLee(const std::string& pieza, const fs::path& archivo) {
  static const std::set<std::string> internos = {
      "Comic Sans MS",      "Comic Neue",        "Comic Relief",  "DejaVu Sans",
      "Noto Sans",          "Liberation Sans",   "MS Sans Serif", "MS Reference Sans Serif",
      "capacidad de campo", "punto de marchitez"};
  // The file dialog's filter, which the dialog shows rewritten ("*.xlsx *.xlsm").
  static const std::set<std::string> noMostrados = {
      "Archivos de Excel (*.xlsx;*.xlsm)|*.xlsx;*.xlsm"};
  const std::string nombre = archivo.filename().string();
  return internos.count(pieza) || noMostrados.count(pieza) ||
         pieza.find('<') != std::string::npos || nombre == "new_workbook.cpp" ||
         nombre == "csv_table.cpp";
}

std::vector<TextoPrograma> textosDelPrograma() {
  std::vector<TextoPrograma> textos;
  for (const auto& entrada : fs::recursive_directory_iterator(SourceDir() / "src")) {
    const fs::path& archivo = entrada.path();
    if (archivo.extension() != ".cpp" && archivo.extension() != ".h") continue;
    const std::string fuente = leer(archivo);
    for (const std::string& literal : Lector(fuente).literales()) {
      for (const std::string& pieza : piezasDe(literal)) {
        if (nadieLoLee(pieza, archivo)) continue;
        textos.push_back({pieza, fs::relative(archivo, SourceDir()).string()});
      }
    }
  }
  return textos;
}

// ---- tests ----

TEST(Manual, TheTextScanFindsLiteralsAsTheCompilerJoinsThemAndSkipsCommentsAndFaults) {
  const std::string fuente = R"src(
    // "A comment is not shown"
    /* "nor is this one" */
    const char c = '"'; int n = 1'048'576;
    dialogs.messageBox("Crops overlap\r\n\r\n" + lista, ui::Icon::Exclamation);
    throw SimulacionRechazada("the soil " + id + " has a horizon "
                              "deeper than 32767 cm");
    throw std::out_of_range("no such control " + std::to_string(f("in the dialog")));
    texto = "Back to \"normal\" after the fault";
  )src";
  EXPECT_EQ(Lector(fuente).literales(),
            (std::vector<std::string>{"Crops overlap\n\n", "the soil ",
                                      " has a horizon deeper than 32767 cm",
                                      "Back to \"normal\" after the fault"}));
  struct Caso {
    std::string literal;
    std::vector<std::string> piezas;
  };
  const std::vector<Caso> casos = {
      {"Crops overlap\n\n", {"Crops overlap"}},
      {"' does not exist. Check the file name and folder.",
       {"does not exist. Check the file name and folder"}},
      {" of month ", {"of month"}},
      {" is ", {}},
      {"Yes", {}},
      {"The batch was not run.\n\n", {"The batch was not run"}},
      {"Can't find input data for these simulations: \n",
       {"Can't find input data for these simulations"}},
  };
  for (const Caso& caso : casos) EXPECT_EQ(piezasDe(caso.literal), caso.piezas) << caso.literal;
}

TEST(Manual, TheScanFindsTheProgramsMessagesAndCaptions) {
  std::set<std::string> textos;
  for (const TextoPrograma& t : textosDelPrograma()) textos.insert(t.texto);
  for (const char* conocido :
       {"The batch is completed", "Can't find input data for these simulations",
        "Please, enter a numerical value for variables in red", "it may not be negative",
        "Reference Evapotranspiration"}) {
    EXPECT_TRUE(textos.count(conocido)) << conocido;
  }
  EXPECT_FALSE(textos.count("no such control in the dialog"));  // an internal fault
  EXPECT_FALSE(textos.count("Comic Sans MS"));
}

TEST(Manual, EveryTextTheProgramCanShowIsInBothLanguages) {
  const std::vector<TextoPrograma> textos = textosDelPrograma();
  for (const Fuente& fuente : fuentes()) {
    const std::string manual = textoCorrido(fuente.archivo);
    std::set<std::string> faltan;
    for (const TextoPrograma& t : textos) {
      if (manual.find(t.texto) == std::string::npos) faltan.insert(t.archivo + ": " + t.texto);
    }
    std::string lista;
    for (const std::string& f : faltan) lista += "\n  " + f;
    EXPECT_TRUE(faltan.empty()) << "the " << fuente.idioma << " manual lacks " << faltan.size()
                                << " texts of the program:" << lista;
  }
}

// ---- the manual's quotations: every message it quotes is a text of the program ----

// Every string literal of src/ (adjacent ones joined), each with its blanks made single.
std::vector<std::string> literalesDelPrograma() {
  std::vector<std::string> todos;
  for (const auto& entrada : fs::recursive_directory_iterator(SourceDir() / "src")) {
    const fs::path& archivo = entrada.path();
    if (archivo.extension() != ".cpp" && archivo.extension() != ".h") continue;
    const std::string fuente = leer(archivo);
    for (const std::string& literal : Lector(fuente, true).literales()) {
      todos.push_back(std::regex_replace(literal, std::regex("\\s+"), " "));
    }
  }
  return todos;
}

bool esLetraOCifra(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

// Whether a quoted fragment is the program's text: it is cut, at word boundaries, into runs that
// each stand inside one literal and are either two words or more or a whole literal (the
// program joins its texts from literals and the values it fills in).
bool estaEnElPrograma(const std::string& pieza, const std::string& unidos,
                      const std::set<std::string>& enteros) {
  const std::size_t n = pieza.size();
  std::vector<bool> alcanzado(n + 1, false);
  alcanzado[0] = true;
  for (std::size_t i = 0; i < n; ++i) {
    if (!alcanzado[i]) continue;
    for (std::size_t j = i + 1; j <= n; ++j) {
      const std::string tramo = pieza.substr(i, j - i);
      if (unidos.find(tramo) == std::string::npos) break;
      const bool borde = j == n || !esLetraOCifra(pieza[j]) || !esLetraOCifra(pieza[j - 1]);
      if (borde && (palabras(tramo) >= 2 || enteros.count(recortar(tramo)))) alcanzado[j] = true;
    }
  }
  return alcanzado[n];
}

// The fixed parts of a quotation: cut where the program fills in a value ("…", a number, a cell
// reference), trimmed, two words or more.
std::vector<std::string> partesFijas(const std::string& cita) {
  std::string texto = std::regex_replace(cita, std::regex("[A-Za-z_]+![A-Z]+[0-9]*"), "…");
  texto = std::regex_replace(texto, std::regex("[0-9]+"), "…");
  std::vector<std::string> partes;
  for (std::size_t desde = 0;;) {
    const std::size_t hasta = texto.find("…", desde);
    const std::string pieza = recortar(texto.substr(desde, hasta - desde));
    if (palabras(pieza) >= 2) partes.push_back(pieza);
    if (hasta == std::string::npos) break;
    desde = hasta + std::string("…").size();
  }
  return partes;
}

// The quotations (`...`) of the chapters on the windows and the messages (4 and 5).
std::vector<std::string> citasDeMensajes(const fs::path& archivo) {
  const std::string todo = leer(archivo);
  const std::smatch inicio = [&] {
    std::smatch m;
    std::regex_search(todo, m, std::regex("\n## 4 "));
    return m;
  }();
  std::smatch fin;
  std::regex_search(todo, fin, std::regex("\n## 6 "));
  EXPECT_FALSE(inicio.empty() || fin.empty()) << archivo;
  if (inicio.empty() || fin.empty()) return {};
  const std::string capitulos =
      std::regex_replace(todo.substr(inicio.position(0), fin.position(0) - inicio.position(0)),
                         std::regex("\\s+"), " ");
  return coincidencias(capitulos, "`([^`]+)`");
}

TEST(Manual, AQuotationIsTheProgramsTextWhenItsFixedPartsStandInTheProgramsLiterals) {
  const std::vector<std::string> literales = {"The crop was not added: ", "Half ",
                                              "the season length in ", "A stage length"};
  std::string unidos;
  std::set<std::string> enteros;
  for (const std::string& l : literales) {
    unidos += l + '\x01';
    enteros.insert(recortar(l));
  }
  EXPECT_EQ(partesFijas("The crop was not added: Half the season length in "
                        "Annual_crops_growth!L12, 75"),
            std::vector<std::string>{"The crop was not added: Half the season length in"});
  EXPECT_TRUE(
      estaEnElPrograma("The crop was not added: Half the season length in", unidos, enteros));
  EXPECT_TRUE(estaEnElPrograma("A stage length", unidos, enteros));
  // Words found here and there in the program are not one of its texts.
  EXPECT_FALSE(estaEnElPrograma("the crop length was not added", unidos, enteros));
  EXPECT_FALSE(estaEnElPrograma("the stage was added", unidos, enteros));
}

TEST(Manual, EveryMessageTheManualQuotesIsATextOfTheProgram) {
  const std::vector<std::string> literales = literalesDelPrograma();
  std::string unidos;
  std::set<std::string> enteros;
  for (const std::string& l : literales) {
    unidos += l + '\x01';
    enteros.insert(recortar(l));
  }
  for (const Fuente& fuente : fuentes()) {
    const std::vector<std::string> citas = citasDeMensajes(fuente.archivo);
    EXPECT_GT(citas.size(), 100u) << fuente.idioma;
    std::set<std::string> ajenas;
    for (const std::string& cita : citas) {
      for (const std::string& parte : partesFijas(cita)) {
        if (!estaEnElPrograma(parte, unidos, enteros)) ajenas.insert(parte);
      }
    }
    std::string lista;
    for (const std::string& a : ajenas) lista += "\n  " + a;
    EXPECT_TRUE(ajenas.empty()) << "the " << fuente.idioma << " manual quotes " << ajenas.size()
                                << " texts the program does not have:" << lista;
  }
}

// The month that row `fila` of Clim_data holds for any station, as the program names it, or ""
// for the heading row.
std::string mesDeFilaClimData(int fila) {
  for (int mes = 1; mes <= 12; ++mes) {
    for (int k = 0; eto_tool::filaDatosClima(k, mes) <= fila; ++k) {
      if (eto_tool::filaDatosClima(k, mes) == fila) {
        return NOMBRE_MES(static_cast<int16_t>(mes), 1);
      }
    }
  }
  return "";
}

// The station messages name Clim_data's cells with the month in brackets, "Clim_data!J5 (Apr)":
// a cell the manual quotes so must lie on a row of that month.
TEST(Manual, AQuotedClimDataCellLiesOnARowOfTheMonthItNames) {
  EXPECT_EQ(mesDeFilaClimData(2), "Jan");
  EXPECT_EQ(mesDeFilaClimData(5), "Apr");
  EXPECT_EQ(mesDeFilaClimData(25), "Dec");
  EXPECT_EQ(mesDeFilaClimData(26), "Jan");
  const std::regex cita(R"(((?:Clim_data!(?:[A-Z]+[0-9]+|row [0-9]+),? )+)\(([A-Z][a-z]{2})\))");
  const std::regex celda(R"(Clim_data!(?:[A-Z]+|row )([0-9]+))");
  for (const Fuente& fuente : fuentes()) {
    const std::string manual = textoCorrido(fuente.archivo);
    int citas = 0;
    for (auto it = std::sregex_iterator(manual.begin(), manual.end(), cita);
         it != std::sregex_iterator(); ++it) {
      const std::string celdas = (*it)[1].str();
      for (auto c = std::sregex_iterator(celdas.begin(), celdas.end(), celda);
           c != std::sregex_iterator(); ++c, ++citas) {
        EXPECT_EQ(mesDeFilaClimData(std::stoi((*c)[1].str())), (*it)[2].str())
            << fuente.idioma << ": " << (*it)[0].str();
      }
    }
    EXPECT_GE(citas, 3) << fuente.idioma;
  }
}

TEST(Manual, EverySheetOfTheWorkbookIsDescribedInBothLanguages) {
  std::vector<std::string> hojas;
  for (const auto& entrada : fs::directory_iterator(SourceDir() / "data/sample")) {
    const std::string nombre = entrada.path().filename().string();
    if (entrada.path().extension() == ".csv") hojas.push_back(nombre.substr(3, nombre.size() - 7));
  }
  ASSERT_EQ(hojas.size(), 15u);
  for (const Fuente& fuente : fuentes()) {
    const std::vector<std::string> secciones = titulos(fuente.archivo, "###");
    for (const std::string& hoja : hojas) {
      // Each sheet has a section of its own in the workbook chapter.
      const std::regex nombre("(^| )" + hoja + "( |$)");
      EXPECT_TRUE(std::any_of(secciones.begin(), secciones.end(),
                              [&](const std::string& t) { return std::regex_search(t, nombre); }))
          << fuente.idioma << ": " << hoja;
    }
  }
}

TEST(Manual, BothLanguagesHaveTheSameSectionsAndPictures) {
  const fs::path en = fuentes()[0].archivo;
  const fs::path es = fuentes()[1].archivo;
  for (const std::string nivel : {"#", "##", "###"}) {
    EXPECT_EQ(titulos(en, nivel).size(), titulos(es, nivel).size()) << nivel;
  }
  EXPECT_EQ(imagenes(en), imagenes(es));
  EXPECT_FALSE(imagenes(en).empty());
}

TEST(Manual, ThePdfIsBuiltWithBothLanguagesAndThePictures) {
  const std::string bytes = leer(pdf());
  ASSERT_GT(bytes.size(), 1000u) << pdf();
  EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
  EXPECT_NE(bytes.find("%%EOF", bytes.size() - 32), std::string::npos);
  const std::string texto = salidaDe("pdftotext -enc UTF-8 '" + pdf().string() + "' -");
  std::size_t desde = 0;  // English first, then Spanish
  for (const Fuente& fuente : fuentes()) {
    for (const std::string nivel : {"#", "##"}) {
      const std::string titulo = titulos(fuente.archivo, nivel).at(0);
      const std::size_t donde = texto.find(titulo, desde);
      EXPECT_NE(donde, std::string::npos) << fuente.idioma << ": " << titulo;
      if (donde != std::string::npos) desde = donde;
    }
  }
  // Every picture the sources show is in it, as the build drew it (width and height in pixels).
  const std::string lista = salidaDe("pdfimages -list '" + pdf().string() + "'");
  for (const Fuente& fuente : fuentes()) {
    for (const std::string& imagen : imagenes(fuente.archivo)) {
      const std::string png = leer(BinaryDir() / "manual" / imagen);
      ASSERT_GT(png.size(), 24u) << imagen;
      auto entero = [&](std::size_t en) {
        return (static_cast<unsigned char>(png[en]) << 24) |
               (static_cast<unsigned char>(png[en + 1]) << 16) |
               (static_cast<unsigned char>(png[en + 2]) << 8) |
               static_cast<unsigned char>(png[en + 3]);
      };
      const std::regex fila("image +" + std::to_string(entero(16)) + " +" +
                            std::to_string(entero(20)) + " ");
      EXPECT_TRUE(std::regex_search(lista, fila)) << imagen << " is not in the PDF";
    }
  }
}

}  // namespace
}  // namespace medravolix
