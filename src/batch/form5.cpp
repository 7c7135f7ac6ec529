#include "batch/form5.h"

#include <stdexcept>

#include "workbook/lock_files.h"
#include "workbook/workbook_error.h"
#include "workbook/workbook_file.h"

namespace medravolix::batch {

namespace {

const char* const kLabel1[] = {"", "Depth of evaporative soil layer/cm:", "Depth of simulation/cm:",
                               "Number of simulation layers:"};
const char* const kFrame1[] = {"Select an option to assess the soil water holding capacity",
                               "Select a soil solution"};
const char* const kOption1[] = {"Empirical field capacity and wilting point",
                                "Pedotransfer function", "Field capacity", "Saturation",
                                "Drainage"};
const char* const kPorDefecto[] = {"", "15", "90", "64"};

// The options of Option1(0..1) and Option1(2..4).
constexpr OpcionCapacidad kOpcionCapacidad[] = {OpcionCapacidad::Empirica,
                                                OpcionCapacidad::Pedotransferencia};
constexpr OpcionSolucion kOpcionSolucion[] = {
    OpcionSolucion::CapacidadCampo,  // "capacidad de campo"
    OpcionSolucion::Saturacion,      // "saturación"
    OpcionSolucion::Drenaje,         // "drenaje"
};

void comprobarIndice(int index, int desde, int hasta) {
  if (index < desde || index > hasta) throw std::out_of_range("no such control in the dialog");
}

}  // namespace

Form5::Form5(Entorno entorno) : entorno_(std::move(entorno)) {}

const char* Form5::Label1_Caption(int index) {
  comprobarIndice(index, 1, 3);
  return kLabel1[index];
}

const char* Form5::Frame1_Caption(int index) {
  comprobarIndice(index, 0, 1);
  return kFrame1[index];
}

const char* Form5::Option1_Caption(int index) {
  comprobarIndice(index, 0, 4);
  return kOption1[index];
}

const char* Form5::Command_Caption(int index) {
  comprobarIndice(index, 1, 2);
  return index == 1 ? "Accept" : "Cancel";
}

ui::TwipsRect Form5::Label1_Place(int index) {
  comprobarIndice(index, 1, 3);
  const double ancho[] = {0, 3975, 3015, 3375};
  return {1080, 1200.0 + 600 * (index - 1), ancho[index], 375};
}

ui::TwipsRect Form5::Text1_Place(int index) {
  comprobarIndice(index, 1, 3);
  return {7440, 1080.0 + 600 * (index - 1), 855, 465};
}

ui::TwipsRect Form5::Frame1_Place(int index) {
  comprobarIndice(index, 0, 1);
  return index == 0 ? ui::TwipsRect{1080, 3240, 7215, 1695} : ui::TwipsRect{1080, 5280, 7215, 2055};
}

ui::TwipsRect Form5::Option1_Place(int index) {
  comprobarIndice(index, 0, 4);
  const ui::TwipsRect lugares[] = {{360, 480, 6495, 495},
                                   {360, 1080, 6495, 375},
                                   {360, 480, 6495, 375},
                                   {360, 960, 6495, 495},
                                   {360, 1440, 6495, 495}};
  return lugares[index];
}

ui::TwipsRect Form5::Command_Place(int index) {
  comprobarIndice(index, 1, 2);
  return {index == 1 ? 1080.0 : 5400.0, 7680, 2895, 615};
}

void Form5::Form_Load() {
  for (int i = 1; i <= 3; ++i) text1_[i] = kPorDefecto[i];
}

bool Form5::Text1_KeyPress(int index, int& KeyAscii) {
  comprobarIndice(index, 1, 3);
  if (KeyAscii >= '0' && KeyAscii <= '9') return true;
  KeyAscii = 0;
  entorno_.dialogs.beep();
  return false;
}

void Form5::Text1_Change(int index, const std::string& texto) {
  comprobarIndice(index, 1, 3);
  text1_[index] = texto;
}

void Form5::Option1_Click(int index) {
  comprobarIndice(index, 0, 4);
  const int primera = frameOfOption(index) == 0 ? 0 : 2;
  const int ultima = frameOfOption(index) == 0 ? 1 : 4;
  for (int i = primera; i <= ultima; ++i) option1_[i] = (i == index);
}

std::optional<int16_t> Form5::enteroDelCampo(const std::string& texto) {
  const auto inicio = texto.find_first_not_of(" \t");
  if (inicio == std::string::npos) return std::nullopt;
  const auto fin = texto.find_last_not_of(" \t");
  long valor = 0;
  for (auto i = inicio; i <= fin; ++i) {
    const char c = texto[i];
    if (c < '0' || c > '9') return std::nullopt;
    valor = valor * 10 + (c - '0');
    if (valor > 32767) return std::nullopt;
  }
  return static_cast<int16_t>(valor);
}

// An empty field, or one that does not hold a whole number from 0 to 32767, turns its label red;
// every other label turns black.
void Form5::COMPROBAR_CONTENIDO_frm5() {
  for (int CONTADOR = 1; CONTADOR <= 3; ++CONTADOR) {
    if (!enteroDelCampo(text1_[CONTADOR])) {
      label1_color_[CONTADOR] = ui::kRed;
      error_ = true;
    } else {
      label1_color_[CONTADOR] = ui::kBlack;
    }
  }
}

void Form5::Command1_Click() {
  error_ = false;
  COMPROBAR_CONTENIDO_frm5();
  if (error_) {
    if (entorno_.mostrar) entorno_.mostrar();  // the labels are red before the message shows
    entorno_.dialogs.messageBox(kMensajeVacio, ui::Icon::Critical);
    return;
  }
  if (!libroEscribible() || !seguirPeseAlBloqueo()) return;
  guardarAjustes();
  descargado_ = true;
  if (entorno_.descargar) entorno_.descargar();
  const ResultadoOperacion resultado = entorno_.mostrarForm11(entorno_.ajustes);
  informarFinDelBatch(resultado);
}

// A write-protected workbook could not take the results: refused before the batch runs, the dialog
// left as it was, nothing stored.
bool Form5::libroEscribible() {
  const std::filesystem::path ruta = entorno_.rutaLibro ? entorno_.rutaLibro() : "";
  if (ruta.empty()) return true;
  try {
    workbook::WorkbookFile::requireWritable(ruta);
    return true;
  } catch (const workbook::WorkbookError& e) {
    entorno_.dialogs.messageBox(std::string(kMensajeNoEjecutado) + e.what(), ui::Icon::Critical);
    return false;
  }
}

// A workbook open in LibreOffice or Excel would be saved over by that program, results and all:
// the user decides whether to go on. "No" leaves the dialog as it was, nothing stored.
bool Form5::seguirPeseAlBloqueo() {
  const std::filesystem::path ruta = entorno_.rutaLibro ? entorno_.rutaLibro() : "";
  if (ruta.empty()) return true;
  const auto bloqueo = workbook::lockFileOfAnotherProgram(ruta);
  if (!bloqueo) return true;
  const std::string pregunta = workbook::lockFileQuestion(ruta, *bloqueo, kLoQueEscribe);
  return entorno_.dialogs.questionBox(pregunta, ui::Buttons::YesNo, ui::Icon::Exclamation) ==
         ui::Answer::Yes;
}

void Form5::guardarAjustes() {
  AjustesBatch& a = entorno_.ajustes;
  a.PROF_EVAPORATIVA = static_cast<double>(*enteroDelCampo(text1_[1]));
  a.PROF_SIMULACION = static_cast<double>(*enteroDelCampo(text1_[2]));
  a.NUM_CAPAS = *enteroDelCampo(text1_[3]);
  for (int i = 0; i <= 1; ++i) {
    if (option1_[i]) a.OPCION_CAPACIDAD = kOpcionCapacidad[i];
  }
  for (int i = 2; i <= 4; ++i) {
    if (option1_[i]) a.OPCION_SOLUCION = kOpcionSolucion[i - 2];
  }
}

// After the busy window has closed: the simulations without input, those refused or computed in
// part, and last either the end of the batch or why it failed, never both.
void Form5::informarFinDelBatch(const ResultadoOperacion& resultado) {
  ui::Dialogs& dialogs = entorno_.dialogs;
  const std::string sin_datos = resultado.informe.mensajeSinDatos();
  if (!sin_datos.empty()) dialogs.messageBox(sin_datos, ui::Icon::Exclamation);
  const std::string observadas = resultado.informe.mensajeObservadas();
  if (!observadas.empty()) dialogs.messageBox(observadas, ui::Icon::Exclamation);
  switch (resultado.estado) {
    case EstadoOperacion::Completado:
      dialogs.messageBox(kMensajeCompletado, ui::Icon::Information);
      break;
    case EstadoOperacion::Rechazado:
      dialogs.messageBox(kMensajeNoEjecutado + resultado.motivo, ui::Icon::Critical);
      break;
    case EstadoOperacion::NoGuardado:
      dialogs.messageBox("The batch did not end with its results saved in the workbook.\r\n\r\n" +
                             resultado.motivo,
                         ui::Icon::Critical);
      break;
  }
}

void Form5::Command2_Click() {
  descargado_ = true;
  if (entorno_.descargar) entorno_.descargar();
}

}  // namespace medravolix::batch
