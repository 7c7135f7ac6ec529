// The manual's worked example (1.2) replayed without a display, from its own text in both
// languages: the soil and the water typed as its steps 1 and 2 give them, a climate block made
// with the reference-evapotranspiration tool's controller, a maize placed with the crop tool's,
// the simulation listed and the batch run through the settings dialog with its defaults. Every
// number the example quotes is read from the sources and compared with what the program gave, so
// that the example cannot drift from the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "batch/ejecutar_batch.h"
#include "batch/form5.h"
#include "batch/lectura_batch.h"
#include "common/calendario.h"
#include "common/number_text.h"
#include "crop_tool/form4.h"
#include "eto_tool/form2.h"
#include "manual/fuentes_manual.h"
#include "support/fake_dialogs.h"
#include "support/test_support.h"
#include "ui/recording_canvas.h"

namespace medravolix {
namespace {

using namespace manual_prueba;
using workbook::CellValue;
using workbook::Workbook;

// A number as the manual writes it: digits with a point (English) or a comma (Spanish).
constexpr const char* N = "([0-9]+(?:[.,][0-9]+)?)";

// What differs between the two sources: the words around the numbers.
struct Idioma {
  const char* nombre;
  std::vector<std::string> meses;  // January to December, in lower case
  std::string fila, filas_a, dias, hargreaves, siembra, riego, entradas;
  // The SSol_batch and July's WBal_batch results: the words before each number, in order (read
  // from the columns kColumnasSsol and kColumnasJulio).
  std::vector<std::string> ssol, julio;
  std::string wbal_filas, julio_fila, julio_mayor;
};

const std::vector<int> kColumnasSsol = {2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 14, 16, 19, 20, 21};
const std::vector<int> kColumnasJulio = {2, 3, 4, 5, 6, 7};

std::string conN(std::string patron) {
  for (std::size_t i; (i = patron.find("{N}")) != std::string::npos;) patron.replace(i, 3, N);
  return patron;
}

const Idioma kIngles{
    "English",
    {"january", "february", "march", "april", "may", "june", "july", "august", "september",
     "october", "november", "december"},
    "row ([0-9]+)",
    "rows ([0-9]+) to ([0-9]+)",
    R"(\(([0-9]+) days\))",
    conN("January gives {N} mm, July {N} mm"),
    R"(at ([0-9]+) (\w+);)",
    conN(R"(row ([0-9]+) of Irrigat_batch \({N} mm from (\w+) to (\w+), in ([0-9]+) irrigations )"
         R"(from (\w+) to (\w+):.* the {N} mm of (\w+) count as ([0-9]+) irrigations and the )"
         R"(library's ([0-9]+) become ([0-9]+)\))"),
    R"re(columns 7 to 10: ([0-9]+), ([0-9]+), ([0-9]+), "(\w+)")re",
    {"field capacity", "saturation extract", "leaching fraction", "rainfall", "irrigation",
     "drainage", "ETo", "ETc", "actual evapotranspiration", "Na\\+", "Ca2\\+", "Cl-", "alkalinity",
     "pH", "electrical conductivity"},
    {"rainfall", "irrigation", "ETo", "ETc", "actual evapotranspiration", "drainage"},
    R"(WBal_batch rows ([0-9]+) to ([0-9]+))",
    R"(July \(row ([0-9]+)\))",
    "The actual evapotranspiration is slightly above ETc"};

const Idioma kEspanol{
    "Spanish",
    {"enero", "febrero", "marzo", "abril", "mayo", "junio", "julio", "agosto", "septiembre",
     "octubre", "noviembre", "diciembre"},
    "fila ([0-9]+)",
    "filas ([0-9]+) a ([0-9]+)",
    R"(\(([0-9]+) días\))",
    conN("enero da {N} mm y julio {N} mm"),
    R"(en el ([0-9]+) de (\w+);)",
    conN(R"(fila ([0-9]+) de Irrigat_batch \({N} mm de (\w+) a (\w+), en ([0-9]+) riegos de )"
         R"((\w+) a (\w+):.* los {N} mm de (\w+) cuentan como ([0-9]+) riegos y los )"
         R"(([0-9]+) de la biblioteca quedan en ([0-9]+)\))"),
    R"re(columnas 7 a 10: ([0-9]+), ([0-9]+), ([0-9]+), "(\w+)")re",
    {"capacidad de campo", "extracto de saturación", "fracción de lavado", "lluvia", "riego",
     "drenaje", "ETo", "ETc", "evapotranspiración real", "Na\\+", "Ca2\\+", "Cl-", "alcalinidad",
     "pH", "conductividad eléctrica"},
    {"lluvia", "riego", "ETo", "ETc", "evapotranspiración real", "drenaje"},
    R"(WBal_batch, filas ([0-9]+) a ([0-9]+))",
    R"(Julio \(fila ([0-9]+)\))",
    "La evapotranspiración real supera un poco a la ETc"};

// ---- reading the example ----

// The example's numbered steps (1 to 7), each with its lines joined by single blanks.
std::map<int, std::string> pasos(const fs::path& archivo) {
  const std::string todo = leer(archivo);
  const std::size_t inicio = todo.find("\n### 1.2 ");
  const std::size_t fin = todo.find("\n## 2 ", inicio);
  std::map<int, std::string> pasos;
  int paso = 0;
  std::istringstream lineas(todo.substr(inicio, fin - inicio));
  for (std::string linea; std::getline(lineas, linea);) {
    if (linea.size() > 2 && std::isdigit(static_cast<unsigned char>(linea[0])) && linea[1] == '.')
      paso = linea[0] - '0';
    if (paso > 0) pasos[paso] += " " + linea;
  }
  for (auto& [n, texto] : pasos) texto = std::regex_replace(texto, std::regex("\\s+"), " ");
  return pasos;
}

std::smatch buscar(const std::string& texto, const std::string& patron, const std::string& donde) {
  std::smatch m;
  const bool hallado = std::regex_search(texto, m, std::regex(patron));
  EXPECT_TRUE(hallado) << donde << ": no \"" << patron << "\" in: " << texto;
  if (!hallado) throw std::runtime_error("the example lacks a sentence the test reads");
  return m;
}

int entero(const std::string& texto) {
  return std::stoi(texto);
}

// The value the manual quotes, a point for its decimal mark.
std::string cifra(std::string texto) {
  for (char& c : texto) c = c == ',' ? '.' : c;
  return texto;
}

// The program's value written with as many decimals as the manual's quotation has.
std::string comoCita(double valor, const std::string& cita) {
  const std::string c = cifra(cita);
  const std::size_t punto = c.find('.');
  const int decimales = punto == std::string::npos ? 0 : static_cast<int>(c.size() - punto - 1);
  char texto[64];
  std::snprintf(texto, sizeof texto, "%.*f", decimales, valor);
  return texto;
}

int mesDe(const Idioma& idioma, std::string nombre) {
  for (char& c : nombre) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (int m = 0; m < 12; ++m) {
    if (idioma.meses[m] == nombre) return m + 1;
  }
  ADD_FAILURE() << idioma.nombre << ": no month is called " << nombre;
  return 0;
}

std::vector<std::string> entreComillasInvertidas(const std::string& texto) {
  return coincidencias(texto, "`([^`]+)`");
}

CellValue celda(const std::string& texto) {
  if (const auto numero = parseNumberText(texto)) return CellValue::number(*numero);
  return CellValue::text(texto);
}

int primeraFilaVacia(const Workbook& libro, std::string_view hoja) {
  int fila = 1;
  while (!libro.cell(hoja, fila, 1).isEmpty()) ++fila;
  return fila;
}

// The place in `lista` of the first item the text quotes in double quotes, or -1.
int citadoEn(const std::string& texto, const std::vector<std::string>& lista) {
  for (const std::string& citado : coincidencias(texto, "\"([^\"]+)\"")) {
    const auto en = std::find(lista.begin(), lista.end(), citado);
    if (en != lista.end()) return static_cast<int>(en - lista.begin());
  }
  return -1;
}

// ---- the example, step by step ----

class EjemploDelManual : public ::testing::TestWithParam<const Idioma*> {
 protected:
  void SetUp() override {
    const Idioma& idioma = *GetParam();
    paso_ = pasos(idioma.nombre == std::string("English") ? fuentes()[0].archivo
                                                          : fuentes()[1].archivo);
    ASSERT_EQ(paso_.size(), 7u) << idioma.nombre;
    libro_ = std::make_unique<Workbook>(Workbook::open(archivo_));
  }

  // Steps 1, 2 and 5: a row typed on the sheet's first empty row, which the step names.
  void teclear(int paso, std::string_view hoja, bool con_columnas) {
    const std::string& texto = paso_.at(paso);
    const int fila = entero(buscar(texto, GetParam()->fila, "step " + std::to_string(paso))[1]);
    EXPECT_EQ(fila, primeraFilaVacia(*libro_, hoja)) << hoja;
    if (con_columnas) {  // column 1 `My soil`, 2 `Ap`, ...
      const std::regex par("([0-9]+) `([^`]+)`");
      for (auto it = std::sregex_iterator(texto.begin(), texto.end(), par);
           it != std::sregex_iterator(); ++it) {
        libro_->setCell(hoja, fila, entero((*it)[1]), celda((*it)[2]));
      }
    } else {
      const auto valores = entreComillasInvertidas(texto);
      for (std::size_t c = 0; c < valores.size(); ++c) {
        libro_->setCell(hoja, fila, static_cast<int>(c) + 1, celda(valores[c]));
      }
    }
    libro_->save();
  }

  void climaConLaHerramienta() {
    const Idioma& idioma = *GetParam();
    const std::string& texto = paso_.at(3);
    testing::FakeDialogs dialogs;
    ui::RecordingCanvas canvas;
    eto_tool::DatosForm2 datos;
    eto_tool::Form2 form{{dialogs, [this] { return libro_.get(); }, datos, canvas, {}}};
    form.Form_Load();
    const int estacion = citadoEn(texto, form.Combo1_List());
    ASSERT_GE(estacion, 0) << "step 3 names no station of the list";
    form.Combo1_Click(estacion);
    const int hargreaves = 2;
    ASSERT_NE(texto.find(std::string("\"") + eto_tool::Form2::Option1_Caption(hargreaves) + "\""),
              std::string::npos);
    form.Option1_Click(hargreaves);
    const std::smatch eto = buscar(texto, idioma.hargreaves, "step 3");
    EXPECT_EQ(comoCita(datos.ETO_MENSUAL[1], eto[1]), cifra(eto[1])) << "January's ETo";
    EXPECT_EQ(comoCita(datos.ETO_MENSUAL[7], eto[2]), cifra(eto[2])) << "July's ETo";
    const std::string id = entreComillasInvertidas(texto).at(0);
    dialogs.input_answers = {id};
    form.Command1_Click();
    ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messages[0].text;
    libro_ = std::make_unique<Workbook>(Workbook::open(archivo_));
    EntradasSimulacion sim;
    sim.SIMULACION.ID_CLIMA = CellValue::text(id);
    const std::smatch filas = buscar(texto, idioma.filas_a, "step 3");
    EXPECT_EQ(batch::BUSCAR_CLIMA(*libro_, sim), entero(filas[1]));
    EXPECT_EQ(libro_->lastRow("Clim_batch"), entero(filas[2]));
  }

  void cultivoConLaHerramienta() {
    const Idioma& idioma = *GetParam();
    const std::string& texto = paso_.at(4);
    testing::FakeDialogs dialogs;
    ui::RecordingCanvas calendario, grafico;
    crop_tool::DatosForm4 datos;
    crop_tool::Form4 form{
        {dialogs, [this] { return libro_.get(); }, datos, calendario, grafico, [] {}}};
    form.Form_Load();
    form.Option1_Click(0);  // "Annual"
    const int cultivo = citadoEn(texto, form.Combo1_List());
    ASSERT_GE(cultivo, 0) << "step 4 names no annual crop of the list";
    form.Combo1_Click(cultivo);
    EXPECT_EQ(form.DURACION_CICLO(), entero(buscar(texto, idioma.dias, "step 4")[1]));
    const std::smatch siembra = buscar(texto, idioma.siembra, "step 4");
    const int dia = DIA_JULIANO(static_cast<int16_t>(entero(siembra[1])),
                                static_cast<int16_t>(mesDe(idioma, siembra[2])));
    form.Picture1_MouseMove(static_cast<float>(30 * dia - 15));  // the middle of the day's cell
    dialogs.question_answers = {ui::Answer::Yes};
    form.Picture1_MouseDown();
    const auto citas = entreComillasInvertidas(texto);
    ASSERT_EQ(form.List1(), std::vector<std::string>{citas.at(0)});
    dialogs.input_answers = {citas.at(1)};
    form.Command1_Click();
    ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messages[0].text;
    libro_ = std::make_unique<Workbook>(Workbook::open(archivo_));
    EntradasSimulacion sim;
    sim.SIMULACION.ID_CULTIVO = sim.SIMULACION.ID_RIEGO = CellValue::text(citas.at(1));
    const std::smatch filas = buscar(texto, idioma.filas_a, "step 4");
    EXPECT_EQ(batch::BUSCAR_CULTIVO(*libro_, sim), entero(filas[1]));
    EXPECT_EQ(libro_->lastRow("Crop_batch"), entero(filas[2]));
    comprobarRiego(texto, batch::BUSCAR_RIEGO(*libro_, sim), form.Combo1_List()[cultivo]);
  }

  // "row 14 of Irrigat_batch (770 mm from April to September, in 30 irrigations from May to
  // September: ... the 7.7 mm of April count as 0 irrigations and the library's 31 become 30)"
  void comprobarRiego(const std::string& texto, std::optional<int> fila,
                      const std::string& cultivo) {
    const Idioma& idioma = *GetParam();
    const std::smatch r = buscar(texto, idioma.riego, "step 4");
    ASSERT_EQ(fila, entero(r[1]));
    double lamina = 0;
    int riegos = 0, primero = 0, ultimo = 0, primero_n = 0, ultimo_n = 0;
    for (int m = 1; m <= 12; ++m) {
      const double mm = libro_->number("Irrigat_batch", *fila, 1 + m);
      const double n = libro_->number("Irrigat_batch", *fila, 13 + m);
      lamina += mm;
      riegos += static_cast<int>(n);
      if (mm > 0 && !primero) primero = m;
      if (mm > 0) ultimo = m;
      if (n > 0 && !primero_n) primero_n = m;
      if (n > 0) ultimo_n = m;
    }
    EXPECT_EQ(comoCita(lamina, r[2]), cifra(r[2])) << "the season's depth";
    EXPECT_EQ(primero, mesDe(idioma, r[3]));
    EXPECT_EQ(ultimo, mesDe(idioma, r[4]));
    EXPECT_EQ(riegos, entero(r[5]));
    EXPECT_EQ(primero_n, mesDe(idioma, r[6]));
    EXPECT_EQ(ultimo_n, mesDe(idioma, r[7]));
    const int mes = mesDe(idioma, r[9]);
    EXPECT_EQ(comoCita(libro_->number("Irrigat_batch", *fila, 1 + mes), r[8]), cifra(r[8]));
    EXPECT_EQ(libro_->number("Irrigat_batch", *fila, 13 + mes), entero(r[10]));
    int fila_biblioteca = 2;
    while (libro_->cell("Annual_crops_irrigat", fila_biblioteca, 1) != CellValue::text(cultivo)) {
      ASSERT_LT(++fila_biblioteca, 100) << cultivo;
    }
    EXPECT_EQ(libro_->number("Annual_crops_irrigat", fila_biblioteca, 12), entero(r[11]))
        << "the library's number of irrigations";
    EXPECT_EQ(riegos, entero(r[12]));
  }

  // Step 6: "Batch runs", "Accept" with the defaults.
  void batchConLosAjustesPorDefecto() {
    testing::FakeDialogs dialogs;
    AjustesBatch ajustes;
    batch::Form5 form{
        {dialogs, ajustes,
         [this](const AjustesBatch& a) { return batch::ejecutarYGuardar(*libro_, a, 2, nullptr); },
         [] {}, [this] { return archivo_; }, [] {}}};
    form.Form_Load();
    form.Command1_Click();
    std::string dicho;
    for (const auto& m : dialogs.messages) dicho += m.text + "\n";
    for (const std::string& cita : entreComillasInvertidas(paso_.at(6))) {
      EXPECT_NE(dicho.find(cita), std::string::npos) << cita << " not in:\n" << dicho;
    }
    EXPECT_NE(dicho.find(batch::Form5::kMensajeCompletado), std::string::npos) << dicho;
  }

  // Step 7, one bullet: the numbers after the words, in order, against the columns of a row.
  void comprobarResultados(const std::string& texto, const std::vector<std::string>& valores,
                           const std::vector<int>& columnas, std::string_view hoja, int fila) {
    ASSERT_EQ(valores.size(), columnas.size());
    std::size_t desde = 0;
    for (std::size_t k = 0; k < valores.size(); ++k) {
      const std::string& palabras = valores[k];
      const int columna = columnas[k];
      std::smatch m;
      const std::string resto = texto.substr(desde);
      ASSERT_TRUE(std::regex_search(resto, m, std::regex(palabras + " " + N)))
          << GetParam()->nombre << ": no number after '" << palabras << "' in: " << resto;
      EXPECT_EQ(comoCita(libro_->number(hoja, fila, columna), m[1]), cifra(m[1]))
          << hoja << " row " << fila << " column " << columna << " (" << palabras << ")";
      desde += m.position(0) + m.length(0);
    }
  }

  std::map<int, std::string> paso_;
  testing::ScratchDir dir_;
  const fs::path archivo_ = testing::CopyOfSample(dir_);
  std::unique_ptr<Workbook> libro_;
};

TEST_P(EjemploDelManual, EveryNumberItQuotesIsTheProgramsResult) {
  const Idioma& idioma = *GetParam();
  teclear(1, "Soil_batch", true);
  teclear(2, "Wat_batch", false);
  ASSERT_NO_FATAL_FAILURE(climaConLaHerramienta());
  ASSERT_NO_FATAL_FAILURE(cultivoConLaHerramienta());
  teclear(5, "Sim_batch", false);
  const int simulacion = primeraFilaVacia(*libro_, "Sim_batch") - 1;
  batchConLosAjustesPorDefecto();

  const std::string& texto = paso_.at(7);
  const std::size_t wbal = texto.find("WBal_batch");
  const std::smatch ajustes = buscar(texto, idioma.entradas, "step 7");
  for (int c = 7; c <= 10; ++c) {
    EXPECT_EQ(libro_->cell("Sim_batch", simulacion, c), celda(ajustes[c - 6].str()))
        << "Sim_batch column " << c;
  }
  const int fila_ssol =
      entero(buscar(texto.substr(texto.find("SSol_batch")), idioma.fila, "step 7")[1]);
  EXPECT_EQ(fila_ssol, simulacion);
  const std::size_t ssol = texto.find("SSol_batch");
  comprobarResultados(texto.substr(ssol, wbal - ssol), idioma.ssol, kColumnasSsol, "SSol_batch",
                      fila_ssol);
  const std::smatch filas = buscar(texto, idioma.wbal_filas, "step 7");
  EXPECT_EQ(entero(filas[1]), 12 * (simulacion - 2) + 2);
  EXPECT_EQ(entero(filas[2]), 12 * (simulacion - 2) + 13);
  const std::smatch julio = buscar(texto, idioma.julio_fila, "step 7");
  const int fila_julio = entero(julio[1]);
  EXPECT_EQ(fila_julio, entero(filas[1]) + 6);
  comprobarResultados(texto.substr(julio.position(0)), idioma.julio, kColumnasJulio, "WBal_batch",
                      fila_julio);
  if (texto.find(idioma.julio_mayor) != std::string::npos) {
    EXPECT_GT(libro_->number("WBal_batch", fila_julio, 6),
              libro_->number("WBal_batch", fila_julio, 5));
  }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, EjemploDelManual, ::testing::Values(&kIngles, &kEspanol),
                         [](const auto& info) { return std::string(info.param->nombre); });

// Both sources quote the same numbers in the same order, so the check of each against the
// program covers the example's every number in both languages.
TEST(EjemploDelManualEnDosIdiomas, BothQuoteTheSameNumbersInTheSameOrder) {
  std::vector<std::string> cifras[2];
  for (int i = 0; i < 2; ++i) {
    for (const auto& [n, texto] : pasos(fuentes()[i].archivo)) {
      for (const std::string& c : coincidencias(texto, std::string("(?:^|[^\\w])") + N)) {
        cifras[i].push_back(cifra(c));
      }
    }
  }
  EXPECT_GT(cifras[0].size(), 60u);
  EXPECT_EQ(cifras[0], cifras[1]);
}

}  // namespace
}  // namespace medravolix
