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
// What a {name} in a sentence below stands for: such a number, or a word (a month, "Yes").
constexpr const char* kCita = "([0-9]+(?:[.,][0-9]+)?|[A-Za-z]+)";

// The quotations of each step of the example, in their order: every {name} is one, either a
// number or a word; A<n>, S<n> and W<n> are column n of the simulation's Sim_batch and SSol_batch
// rows and of July's WBal_batch row.
struct Idioma {
  const char* nombre;
  int fuente;         // its place in fuentes()
  std::string meses;  // January to December, in lower case
  std::map<int, std::string> frases;
};

const Idioma kIngles{
    "English",
    0,
    " january february march april may june july august september october november december ",
    {{1, R"(\(row {fila1} of)"},
     {2, R"(\(row {fila2}\))"},
     {3, "January gives {eto1} mm, July {eto7} mm.*rows {clima1} to {clima2} of"},
     {4, R"(\({dias} days\).* at {dia} {mes};.*rows {cultivo1} to {cultivo2} of.*row {riego} of )"
         R"(Irrigat_batch \({lamina} mm from {mm1} to {mm2}, in {riegos} irrigations from {n1} )"
         R"(to {n2}:.* the {mm_mes} mm of {mes_mm} count as {n_mes} irrigations and the )"
         R"(library's {n_lib} become {n_final}\))"},
     {5, "on row {fila5} of"},
     {7, R"(row {fila_sim}, columns 7 to 10: {A7}, {A8}, {A9}, "{A10}".*row {fila_ssol} .*)"
         R"(capacity {S2} .*extract {S3} .*fraction {S4} .*rainfall {S5} .*irrigation {S6} .*)"
         R"(drainage {S7} .*ETo {S8} .*ETc {S9} .*evapotranspiration {S10} .*"{S11}" .*)"
         R"(Na\+ {S12},.*Ca2\+ {S14} .*Cl- {S16} .*alkalinity {S19} .*pH {S20} .*)"
         R"(conductivity {S21} .*rows {wbal1} to {wbal2} .*July \(row {julio}\).*rainfall {W2} )"
         R"(.*irrigation {W3} .*ETo {W4} .*ETc {W5} .*evapotranspiration {W6} .*drainage {W7} )"
         R"(.*is slightly above ETc)"}}};

const Idioma kEspanol{
    "Spanish",
    1,
    " enero febrero marzo abril mayo junio julio agosto septiembre octubre noviembre diciembre ",
    {{1, R"(\(la fila {fila1} del)"},
     {2, R"(\(la fila {fila2}\))"},
     {3, "enero da {eto1} mm y julio {eto7} mm.*filas {clima1} a {clima2} de"},
     {4, R"(\({dias} días\).* en el {dia} de {mes};.*filas {cultivo1} a {cultivo2} de.*fila )"
         R"({riego} de Irrigat_batch \({lamina} mm de {mm1} a {mm2}, en {riegos} riegos de {n1} )"
         R"(a {n2}:.* los {mm_mes} mm de {mes_mm} cuentan como {n_mes} riegos y los {n_lib} de )"
         R"(la biblioteca quedan en {n_final}\))"},
     {5, "en la fila {fila5} de"},
     {7, R"(fila {fila_sim}, columnas 7 a 10: {A7}, {A8}, {A9}, "{A10}".*fila {fila_ssol} .*)"
         R"(campo {S2} .*saturación {S3} .*lavado {S4} .*lluvia {S5} .*riego {S6} .*)"
         R"(drenaje {S7} .*ETo {S8} .*ETc {S9} .*real {S10} .*"{S11}" .*)"
         R"(Na\+ {S12},.*Ca2\+ {S14} .*Cl- {S16} .*alcalinidad {S19} .*pH {S20} .*)"
         R"(eléctrica {S21} .*filas {wbal1} a {wbal2} .*Julio \(fila {julio}\).*lluvia {W2} )"
         R"(.*riego {W3} .*ETo {W4} .*ETc {W5} .*real {W6} .*drenaje {W7} )"
         R"(.*real supera un poco a la ETc)"}}};

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

// Every quotation of the language's steps, by its name; ".*" skips to the next one.
std::map<std::string, std::string> citas(const Idioma& idioma,
                                         const std::map<int, std::string>& pasos) {
  std::map<std::string, std::string> valores;
  const std::regex hueco("\\{(\\w+)\\}");
  for (const auto& [paso, frase] : idioma.frases) {
    const std::vector<std::string> nombres = coincidencias(frase, "\\{(\\w+)\\}");
    const std::string patron = std::regex_replace(frase, hueco, kCita);
    std::smatch m;  // each ".*" stops at the first place the rest follows
    if (!std::regex_search(pasos.at(paso), m,
                           std::regex(std::regex_replace(patron, std::regex("\\.\\*"), ".*?")))) {
      ADD_FAILURE() << idioma.nombre << " step " << paso << ": no \"" << frase
                    << "\" in: " << pasos.at(paso);
    }
    for (std::size_t i = 0; i < nombres.size() && !m.empty(); ++i) valores[nombres[i]] = m[i + 1];
  }
  return valores;
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
    paso_ = pasos(fuentes()[GetParam()->fuente].archivo);
    ASSERT_EQ(paso_.size(), 7u) << GetParam()->nombre;
    citas_ = citas(*GetParam(), paso_);
    libro_ = std::make_unique<Workbook>(Workbook::open(archivo_));
  }

  const std::string& q(const std::string& nombre) const { return citas_.at(nombre); }
  int entero(const std::string& nombre) const { return std::stoi(q(nombre)); }
  int mes(const std::string& nombre) const {
    std::string m = q(nombre);
    for (char& c : m) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string& meses = GetParam()->meses;
    const std::size_t en = meses.find(" " + m + " ");  // 0 for a word that is no month
    return en == std::string::npos
               ? 0
               : static_cast<int>(std::count(meses.begin(), meses.begin() + en, ' ')) + 1;
  }
  // A cell against the quotation `nombre`, a number to the quotation's decimals.
  void comprobar(std::string_view hoja, int fila, int columna, const std::string& nombre) {
    const CellValue v = libro_->cell(hoja, fila, columna);
    EXPECT_EQ(v.isNumber() ? comoCita(v.asNumber(), q(nombre)) : v.asText(), cifra(q(nombre)))
        << hoja << " row " << fila << " column " << columna << " (" << nombre << ")";
  }

  // Steps 1, 2 and 5: a row typed on the sheet's first empty row, which the step names.
  void teclear(int paso, std::string_view hoja, const std::string& fila_citada, bool con_columnas) {
    const std::string& texto = paso_.at(paso);
    const int fila = entero(fila_citada);
    EXPECT_EQ(fila, primeraFilaVacia(*libro_, hoja)) << hoja;
    const auto valores = entreComillasInvertidas(texto);
    const auto columnas = coincidencias(texto, "([0-9]+) `");  // column 1 `My soil`, 2 `Ap`, ...
    for (std::size_t c = 0; c < valores.size(); ++c) {
      const int columna = con_columnas ? std::stoi(columnas.at(c)) : static_cast<int>(c) + 1;
      libro_->setCell(hoja, fila, columna, celda(valores[c]));
    }
    libro_->save();
  }

  void climaConLaHerramienta() {
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
    EXPECT_EQ(comoCita(datos.ETO_MENSUAL[1], q("eto1")), cifra(q("eto1"))) << "January's ETo";
    EXPECT_EQ(comoCita(datos.ETO_MENSUAL[7], q("eto7")), cifra(q("eto7"))) << "July's ETo";
    const std::string id = entreComillasInvertidas(texto).at(0);
    dialogs.input_answers = {id};
    form.Command1_Click();
    ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messages[0].text;
    libro_ = std::make_unique<Workbook>(Workbook::open(archivo_));
    EntradasSimulacion sim;
    sim.SIMULACION.ID_CLIMA = CellValue::text(id);
    EXPECT_EQ(batch::BUSCAR_CLIMA(*libro_, sim), entero("clima1"));
    EXPECT_EQ(libro_->lastRow("Clim_batch"), entero("clima2"));
  }

  void cultivoConLaHerramienta() {
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
    EXPECT_EQ(form.DURACION_CICLO(), entero("dias"));
    const int dia =
        DIA_JULIANO(static_cast<int16_t>(entero("dia")), static_cast<int16_t>(mes("mes")));
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
    EXPECT_EQ(batch::BUSCAR_CULTIVO(*libro_, sim), entero("cultivo1"));
    EXPECT_EQ(libro_->lastRow("Crop_batch"), entero("cultivo2"));
    ASSERT_EQ(batch::BUSCAR_RIEGO(*libro_, sim), entero("riego"));
    comprobarRiego(form.Combo1_List()[cultivo]);
  }

  // "row 14 of Irrigat_batch (770 mm from April to September, in 30 irrigations from May to
  // September: ... the 7.7 mm of April count as 0 irrigations and the library's 31 become 30)"
  void comprobarRiego(const std::string& cultivo) {
    const int fila = entero("riego");
    double lamina = 0;
    int riegos = 0;
    std::vector<int> con_mm, con_riegos;
    for (int m = 1; m <= 12; ++m) {
      lamina += libro_->number("Irrigat_batch", fila, 1 + m);
      riegos += static_cast<int>(libro_->number("Irrigat_batch", fila, 13 + m));
      if (libro_->number("Irrigat_batch", fila, 1 + m) > 0) con_mm.push_back(m);
      if (libro_->number("Irrigat_batch", fila, 13 + m) > 0) con_riegos.push_back(m);
    }
    EXPECT_EQ(comoCita(lamina, q("lamina")), cifra(q("lamina"))) << "the season's depth";
    EXPECT_EQ(std::pair(con_mm.front(), con_mm.back()), std::pair(mes("mm1"), mes("mm2")));
    EXPECT_EQ(riegos, entero("riegos"));
    EXPECT_EQ(riegos, entero("n_final"));
    EXPECT_EQ(std::pair(con_riegos.front(), con_riegos.back()), std::pair(mes("n1"), mes("n2")));
    comprobar("Irrigat_batch", fila, 1 + mes("mes_mm"), "mm_mes");
    comprobar("Irrigat_batch", fila, 13 + mes("mes_mm"), "n_mes");
    int fila_biblioteca = 2;
    while (libro_->cell("Annual_crops_irrigat", fila_biblioteca, 1) != CellValue::text(cultivo)) {
      ASSERT_LT(++fila_biblioteca, 100) << cultivo;
    }
    comprobar("Annual_crops_irrigat", fila_biblioteca, 12, "n_lib");
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

  std::map<int, std::string> paso_;
  std::map<std::string, std::string> citas_;
  testing::ScratchDir dir_;
  const fs::path archivo_ = testing::CopyOfSample(dir_);
  std::unique_ptr<Workbook> libro_;
};

TEST_P(EjemploDelManual, EveryNumberItQuotesIsTheProgramsResult) {
  teclear(1, "Soil_batch", "fila1", true);
  teclear(2, "Wat_batch", "fila2", false);
  ASSERT_NO_FATAL_FAILURE(climaConLaHerramienta());
  ASSERT_NO_FATAL_FAILURE(cultivoConLaHerramienta());
  teclear(5, "Sim_batch", "fila5", false);
  const int simulacion = primeraFilaVacia(*libro_, "Sim_batch") - 1;
  batchConLosAjustesPorDefecto();

  EXPECT_EQ(entero("fila_sim"), simulacion);
  EXPECT_EQ(entero("fila_ssol"), simulacion);
  EXPECT_EQ(entero("wbal1"), 12 * (simulacion - 2) + 2);
  EXPECT_EQ(entero("wbal2"), 12 * (simulacion - 2) + 13);
  const int julio = entero("julio");
  EXPECT_EQ(julio, entero("wbal1") + 6);
  const std::map<char, std::pair<std::string_view, int>> filas = {{'A', {"Sim_batch", simulacion}},
                                                                  {'S', {"SSol_batch", simulacion}},
                                                                  {'W', {"WBal_batch", julio}}};
  int comprobadas = 0;
  for (const auto& [nombre, cita] : citas_) {
    if (const auto hoja = filas.find(nombre[0]); hoja != filas.end()) {
      comprobar(hoja->second.first, hoja->second.second, std::stoi(nombre.substr(1)), nombre);
      ++comprobadas;
    }
  }
  EXPECT_EQ(comprobadas, 4 + 16 + 6);
  // "The actual evapotranspiration is slightly above ETc"
  EXPECT_GT(libro_->number("WBal_batch", julio, 6), libro_->number("WBal_batch", julio, 5));
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
