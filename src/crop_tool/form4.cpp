#include "crop_tool/form4.h"

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "balance/etc_mensual.h"
#include "batch/anotacion.h"
#include "batch/hojas_batch.h"
#include "common/calendario.h"
#include "common/enteros.h"
#include "common/number_text.h"
#include "crop_tool/dibujos_cultivos.h"
#include "crop_tool/form4_controles.h"
#include "crops/fechas.h"
#include "crops/reparto_mes_etapa.h"
#include "crops/series_rotacion.h"

namespace medravolix::crop_tool {

namespace {

const char* const kNombresEtapas[] = {"Stage", "Initial", "Development", "Mid-season",
                                      "Late season"};

}  // namespace

Form4::Form4(Entorno entorno) : entorno_(std::move(entorno)), d_(entorno_.datos) {}

// Runs a step that reads the workbook; a failure is shown to the user and the step reports it.
template <typename F>
bool Form4::conMensaje(F&& f) {
  try {
    f();
    return true;
  } catch (const std::exception& error) {
    entorno_.dialogs.messageBox(error.what(), ui::Icon::Critical);
    return false;
  }
}

// The bound workbook, reloaded first when it changed on disk, so that edits saved from a
// spreadsheet program are seen.
workbook::Workbook* Form4::libroParaLeer() {
  workbook::Workbook* libro = entorno_.LIBRO ? entorno_.LIBRO() : nullptr;
  if (!libro)
    throw workbook::WorkbookError("No workbook is open: choose one with File > Workbook.");
  libro->reloadIfChanged();
  return libro;
}

// Whether the workbook, read again when it changed on disk, still holds the chosen crop and the
// crops on the calendar as they were; when not, the window has said what it dropped.
bool Form4::libroVigente() {
  workbook::Workbook* libro = nullptr;
  return conMensaje([&] { libro = libroParaLeer(); }) && avisar(revisar(*libro));
}

void Form4::Form_Load() {
  IDIOMA = 1;
  TIPO_ELEGIDO_ = -1;
  label1_enabled_ = {false, false, false, false, true, true};
  combo1_enabled_ = combo2_enabled_ = false;
  grid_visible_ = false;
  picture1_enabled_ = false;
  text1_visible_ = false;
}

void Form4::Option1_Click(int Index) {
  if (Index != 0 && Index != 1) throw std::out_of_range("Form4 has option buttons 0 and 1");
  TIPO_ELEGIDO_ = Index;
  LIMPIAR();
  list1_.clear();
  label1_enabled_[0] = true;
  combo1_enabled_ = true;
  grid_visible_ = true;
  d_.TIPO_CULTIVO = Index;
  if (Index == crops::kTipoAnual) {
    label1_enabled_[1] = label1_enabled_[2] = label1_enabled_[3] = true;
    combo2_enabled_ = true;
    picture1_enabled_ = true;
    CARGAR_ANUALES();
  } else {
    label1_enabled_[2] = true;
    label1_enabled_[1] = label1_enabled_[3] = false;
    combo2_.clear();
    combo2_index_ = -1;
    combo2_enabled_ = false;
    picture1_enabled_ = false;
    text1_visible_ = false;  // no date tip is left over a calendar that takes no pointer
    CARGAR_MULTIANUALES();
  }
  CALENDARIO();
}

// A grid of empty cells whose columns share the grid's width, the first one (the row
// headings) wider when there are many.
void Form4::prepararGrid(int filas, int columnas) {
  grid_ = ui::GridState(filas, columnas, 1);
  const double ancho = controles::kGrid.width - 60;  // inside the grid's border
  const double primera = columnas > 5 ? ancho / 8 : ancho / columnas;
  grid_.setColumnWidth(0, primera);
  for (int c = 1; c < columnas; ++c) grid_.setColumnWidth(c, (ancho - primera) / (columnas - 1));
}

void Form4::CARGAR_ANUALES() {
  cultivo_.KCB_ETAPA = {};
  riego_.RIEGO_ETAPA = {};
  riego_.NRIEGOS_ETAPA = {};
  combo1_.clear();
  combo1_index_ = -1;
  cargarLista(kHojaAnuales);
  prepararGrid(3, 5);
  for (int c = 0; c <= 4; ++c) grid_.setText(0, c, kNombresEtapas[c]);
  grid_.setText(1, 0, "Kcb");
  grid_.setText(2, 0, "length/day");
}

// The crop list of a library, and the workbook's reading it came from.
void Form4::cargarLista(std::string_view hoja) {
  conMensaje([&] {
    const workbook::Workbook& libro = *libroParaLeer();
    generacion_lista_ = libro.generation();
    ruta_lista_ = libro.path();
    combo1_ = listarCultivos(libro, hoja);
  });
}

void Form4::CARGAR_MULTIANUALES() {
  combo1_.clear();
  combo1_index_ = -1;
  cargarLista(kHojaArboles);
  prepararGrid(2, 13);
  for (int m = 1; m <= 12; ++m) grid_.setText(0, m, NOMBRE_MES(static_cast<int16_t>(m), 1));
  grid_.setText(0, 0, "Month");
  grid_.setText(1, 0, "Kcb");
}

void Form4::Combo1_Click(int ListIndex) {
  if (ListIndex < -1 || ListIndex >= static_cast<int>(combo1_.size())) {
    throw std::out_of_range("no such entry in the crop list");
  }
  if (ListIndex == -1) {
    combo1_index_ = -1;
    return;
  }
  // A choice made in the list as it was before the workbook changed is taken only when the list
  // read again names the same crop at that place.
  const std::string elegido = combo1_[ListIndex];
  workbook::Workbook* libro = nullptr;
  if (!conMensaje([&] { libro = libroParaLeer(); })) return;
  const Revision revision = revisar(*libro);
  if (revision.releida &&
      (ListIndex >= static_cast<int>(combo1_.size()) || combo1_[ListIndex] != elegido)) {
    avisar(
        {true, revision.causa, revision.error, revision.eleccion,
         batch::unirAviso(revision.quitados,
                          "'" + elegido +
                              "' is no longer at its place in the list: choose the crop again from "
                              "the list.")});
    return;
  }
  avisar({revision.releida, revision.causa, "", "", revision.quitados});
  const int anterior = combo1_index_;
  combo1_index_ = ListIndex;
  const bool leido = d_.TIPO_CULTIVO == crops::kTipoAnual ? elegirAnual(*libro, ListIndex)
                                                          : elegirArbol(*libro, ListIndex);
  // A crop that cannot be read is not chosen: the window goes on showing, and a calendar click
  // goes on adding, the crop chosen before (or none, and the click asks for a crop).
  if (!leido) combo1_index_ = anterior;
}

// The crop and its irrigation are read and checked whole before anything on screen changes.
bool Form4::elegirAnual(const workbook::Workbook& libro, int k) {
  return conMensaje([&] {
    CultivoAnual cultivo = leerCultivoAnual(libro, k);
    RiegoCultivo riego = leerRiegoCultivo(libro, cultivo.NOMBRE_ANUAL);
    comprobarRiegoDeEtapas(cultivo, riego, cultivo.DURACION_CICLO);
    std::vector<std::string> duraciones = duracionesPosibles(
        cultivo.DURACION_CICLO,
        "the season length in " + workbook::cellReference("Annual_crops_growth", cultivo.fila, 12));
    d_.eleccion = OrigenAnual{k, combo1_[k], cultivo, riego, "", 0};
    d_.generacion = libro.generation();
    d_.ruta = libro.path();
    riego_ = riego;
    d_.FRACCION_MOJADA_CULTIVO = riego_.FRACCION_MOJADA_CULTIVO;
    cultivo_ = std::move(cultivo);
    for (int s = 1; s <= 4; ++s) grid_.setText(1, s, shortDecimal(cultivo_.KCB_ETAPA[s]));
    escribirDuraciones();
    llenarCombo2(std::move(duraciones));
  });
}

// The season lengths from half to one and a half times the crop's (never below one day, nor
// beyond the year that the rotation spans).
std::vector<std::string> Form4::duracionesPosibles(int16_t D, const std::string& origen) {
  const int lo = std::max<int>(1, toInt16(REDONDEAR(D / 2.0, 0), "Half " + origen + ","));
  const int hi =
      std::min<int>(crops::kTemporadaMaxima,
                    toInt16(REDONDEAR(3.0 * D / 2, 0), "One and a half times " + origen + ","));
  std::vector<std::string> duraciones;
  for (int n = lo; n <= hi; ++n) duraciones.push_back(std::to_string(n));
  return duraciones;
}

// The season-length list, with the crop's own length chosen; choosing it fills the grid's stage
// lengths.
void Form4::llenarCombo2(std::vector<std::string> duraciones) {
  combo2_enabled_ = true;
  combo2_ = std::move(duraciones);
  const int16_t D = cultivo_.DURACION_CICLO;
  const int n = static_cast<int>(combo2_.size());
  int elegido = -1;
  for (int i = std::max(0, static_cast<int>(REDONDEAR(n / 2.0, 0)) - 2); i < n; ++i) {
    if (std::stoi(combo2_[i]) == D) {
      elegido = i;
      break;
    }
  }
  Combo2_Click(elegido);
}

void Form4::Combo2_Click(int ListIndex) {
  if (ListIndex < -1 || ListIndex >= static_cast<int>(combo2_.size())) {
    throw std::out_of_range("no such entry in the season-length list");
  }
  combo2_index_ = ListIndex;
  if (ListIndex == -1) return;
  cultivo_.DURACION_CICLO = static_cast<int16_t>(std::stoi(combo2_[ListIndex]));
  escribirDuraciones();
}

void Form4::escribirDuraciones() {
  for (int s = 1; s <= 4; ++s) {
    grid_.setText(
        2, s, plainDecimal(REDONDEAR(cultivo_.DURACION_CICLO * cultivo_.FRACCION_DURACION[s], 0)));
  }
}

bool Form4::elegirArbol(const workbook::Workbook& libro, int k) {
  const bool leido = conMensaje([&] { arbol_ = leerCultivoArbol(libro, k); });
  if (!leido) return false;
  d_.arbol = OrigenArbol{k, combo1_[k], arbol_};
  d_.generacion = libro.generation();
  d_.ruta = libro.path();
  arbol_elegido_.RAIZ_MAXIMA = arbol_.RAIZ_MAXIMA;
  arbol_elegido_.COBERTURA_MAXIMA = arbol_.COBERTURA_MAXIMA;
  d_.KCB_MENSUAL = arbol_.KCB_MENSUAL;
  for (int m = 1; m <= 12; ++m) grid_.setText(1, m, shortDecimal(d_.KCB_MENSUAL[m]));
  entorno_.Picture1.clear(ui::kGreen);
  CALENDARIO();
  list1_ = {arbol_.NOMBRE_ARBOL};
  COEFIGRAMA();
  arbol_elegido_.KCB_MAXIMO = MAXIMO_KCB_MENSUAL(d_.KCB_MENSUAL);
  calcularSeries();
  GRAFICAR_COEFICIENTES();
  return true;
}

// Root depth and ground cover of the rotation or of the tree crop.
void Form4::calcularSeries() {
  const crops::Rotacion& r = rotacion_;
  d_.RAIZ_MENSUAL =
      crops::CALCULAR_RAICES_MENSUAL(d_.TIPO_CULTIVO, r, d_.KCB_MENSUAL, arbol_elegido_);
  d_.COBERTURA_MENSUAL =
      crops::CALCULAR_COBERTURA_MENSUAL(d_.TIPO_CULTIVO, r, d_.KCB_MENSUAL, arbol_elegido_);
}

void Form4::Picture1_MouseMove(float X) {
  if (!picture1_enabled_) return;
  X_RATON = X;
  text1_visible_ = true;
  int16_t dia = crops::ENTERO_SUPERIOR(static_cast<double>(X_RATON) / 30);
  text1_ = crops::FECHA_LARGA(crops::FECHA_DDMM(dia), IDIOMA);
  text1_width_ = 103.0 * static_cast<double>(text1_.size()) + 407;
  text1_left_ = static_cast<double>(X_RATON) + 250;  // in the window's coordinates
  // A tip that would run past the window's right edge (late December) goes left of the pointer.
  if (text1_left_ + text1_width_ > controles::kAnchoCliente) {
    const double puntero = controles::kPicture1.left + static_cast<double>(X_RATON);
    text1_left_ = std::max(
        0.0, std::min(puntero - 250 - text1_width_, controles::kAnchoCliente - text1_width_));
  }
}

void Form4::Form_MouseMove() {
  text1_visible_ = false;
}

void Form4::Picture1_MouseDown() {
  if (!picture1_enabled_) return;
  // The crop is added only while the workbook still holds it, and the crops placed before: they
  // are checked before the question, and again after it for a change saved while it was open.
  if (!libroVigente()) return;
  const char* PREGUNTA_AGREGAR = kPreguntaAgregar;
  if (combo1_index_ == -1) {
    entorno_.dialogs.messageBox(kSeleccione, ui::Icon::Exclamation);
    return;
  }
  const ui::Answer respuesta = entorno_.dialogs.questionBox(
      PREGUNTA_AGREGAR, ui::Buttons::YesNoCancel, ui::Icon::Information);
  if (respuesta != ui::Answer::Yes || !libroVigente()) return;
  crops_anteriores_ = rotacion_.N_CULTIVOS();
  if (!agregarCultivo()) return;
  if (crops::haySolape(rotacion_)) {
    rechazarCultivo();
  } else {
    aceptarCultivo();
  }
}

// The record of the chosen crop sown on the day under the pointer.
crops::REGISTRO_CULTIVO Form4::nuevoRegistro() {
  crops::REGISTRO_CULTIVO c;
  c.NOMBRE = combo1_.at(combo1_index_);
  c.DURACION = cultivo_.DURACION_CICLO;
  c.RAIZ_MAXIMA_CULTIVO = cultivo_.RAIZ_CULTIVO;
  c.COBERTURA_MAXIMA_CULTIVO = cultivo_.COBERTURA_CULTIVO;
  c.OCUPA_PERIODO[0] = 0;
  for (int s = 1; s <= 4; ++s) {
    c.OCUPA_PERIODO[s] = 1;
    c.KCB_PERIODO[s] = cultivo_.KCB_ETAPA[s];
    c.FRACCION_ETAPA[s] = cultivo_.FRACCION_DURACION[s];
    c.RIEGO_PERIODO[s] = riego_.RIEGO_TOTAL * riego_.RIEGO_ETAPA[s];
    c.NRIEGOS_PERIODO[s] = riego_.NRIEGOS_TOTAL * riego_.NRIEGOS_ETAPA[s];
  }
  int16_t d = crops::ENTERO_SUPERIOR(static_cast<double>(X_RATON) / 30);
  c.FECHA_SIEMBRA = crops::FECHA_DDMM(d);
  int16_t fin = toInt16(static_cast<double>(d) + c.DURACION, "The day the season ends");
  c.FECHA_COSECHA = crops::FECHA_DDMM(fin);
  c.DIA_SIEMBRA = static_cast<int16_t>(std::stoi(c.FECHA_SIEMBRA.substr(0, 2)));
  c.MES_SIEMBRA = static_cast<int16_t>(std::stoi(c.FECHA_SIEMBRA.substr(2, 2)));
  c.DIA_COSECHA = static_cast<int16_t>(std::stoi(c.FECHA_COSECHA.substr(0, 2)));
  c.MES_COSECHA = static_cast<int16_t>(std::stoi(c.FECHA_COSECHA.substr(2, 2)));
  return c;
}

// Adds the crop and recomputes the rotation's shares and occupancy. A crop the model cannot
// take (a stage or a date outside the 16-bit range, or a stage that the chosen season length
// leaves without days while it has irrigation) is removed again with a message.
bool Form4::agregarCultivo() {
  try {
    comprobarRiegoDeEtapas(cultivo_, riego_, cultivo_.DURACION_CICLO);
    const crops::REGISTRO_CULTIVO c = nuevoRegistro();
    const std::string texto = c.NOMBRE + ": " + crops::FECHA_LARGA(c.FECHA_SIEMBRA, IDIOMA) + "-" +
                              crops::FECHA_LARGA(c.FECHA_COSECHA, IDIOMA);
    rotacion_.agregar(c);
    TEXTO_CULTIVOS.push_back(texto);
    crops::REPARTO_MES_ETAPA(rotacion_);
    d_.OCUPACION_MENSUAL = crops::CALCULAR_OCUPACION_MENSUAL(rotacion_);
    return true;
  } catch (const std::exception& error) {
    if (TEXTO_CULTIVOS.size() > static_cast<std::size_t>(crops_anteriores_)) {
      TEXTO_CULTIVOS.pop_back();
      rotacion_.quitarUltimo();
    }
    repartirRotacion();
    entorno_.dialogs.messageBox(std::string("The crop was not added: ") + error.what(),
                                ui::Icon::Exclamation);
    return false;
  }
}

void Form4::aceptarCultivo() {
  OrigenAnual origen = d_.eleccion.value_or(OrigenAnual{});
  origen.texto = TEXTO_CULTIVOS.back();
  origen.x_raton = X_RATON;
  d_.anuales.push_back(std::move(origen));
  d_.cultivos_perdidos = false;
  DIBUJAR_CULTIVO();
  d_.KCB_MENSUAL = crops::CALCULAR_KCB_MENSUAL(rotacion_);
  crops::CALCULAR_RIEGO_MENSUAL(rotacion_, d_.DATOS_RIEGO);
  calcularSeries();
  COEFIGRAMA();
  GRAFICAR_COEFICIENTES();
  combo2_enabled_ = false;
  list1_ = TEXTO_CULTIVOS;
}

// The message lists every crop of the rotation, the refused one last; then it is dropped.
void Form4::rechazarCultivo() {
  std::string LISTA_SOLAPE;
  for (const std::string& linea : TEXTO_CULTIVOS) LISTA_SOLAPE += linea + "\r\n";
  entorno_.dialogs.messageBox(std::string(kSolape) + "\r\n\r\n" + LISTA_SOLAPE,
                              ui::Icon::Exclamation);
  TEXTO_CULTIVOS.pop_back();
  rotacion_.quitarUltimo();
  repartirRotacion();
}

// The shares of the months and the occupancy go back to the crops that stay: the fallow of a
// crop runs up to the next crop sown, so a crop removed again leaves no trace in them.
void Form4::repartirRotacion() {
  crops::REPARTO_MES_ETAPA(rotacion_);
  d_.OCUPACION_MENSUAL = crops::CALCULAR_OCUPACION_MENSUAL(rotacion_);
}

void Form4::Command1_Click() {
  if (!batch::libroEscribible(entorno_.LIBRO ? entorno_.LIBRO() : nullptr, entorno_.dialogs))
    return;
  if (d_.TIPO_CULTIVO == crops::kTipoAnual && d_.cultivos_perdidos) {
    entorno_.dialogs.messageBox(kSinCultivos, ui::Icon::Exclamation);
    return;
  }
  d_.ID_SIMULACION = entorno_.dialogs.inputBox(kPreguntaId, "");
  if (batch::sinIdTecleado(d_.ID_SIMULACION)) return;
  anotar(d_.ID_SIMULACION);
}

// The block of the monthly series in Crop_batch and, for annual crops, the irrigation row in
// Irrigat_batch, written together and saved at once (or nothing, with the reason).
void Form4::anotar(const std::string& id) {
  workbook::Workbook* libro = entorno_.LIBRO ? entorno_.LIBRO() : nullptr;
  if (!libro) {
    entorno_.dialogs.messageBox("No workbook is open: choose one with File > Workbook.",
                                ui::Icon::Critical);
    return;
  }
  const auto celda_id = workbook::CellValue::text(id);
  std::vector<batch::BloqueAnotacion> bloques;
  bloques.push_back(
      {std::string(batch::kHojaCultivos), batch::BloqueAnotacion::Forma::Bloque12,
       filasCropBatch(celda_id, d_.KCB_MENSUAL, d_.RAIZ_MENSUAL, d_.COBERTURA_MENSUAL)});
  if (d_.TIPO_CULTIVO == crops::kTipoAnual) {
    bloques.push_back(
        {std::string(batch::kHojaRiegos),
         batch::BloqueAnotacion::Forma::Fila,
         {filaIrrigatBatch(celda_id, d_.DATOS_RIEGO.RIEGO_MENSUAL, d_.DATOS_RIEGO.NRIEGOS_MENSUAL,
                           fraccionMojadaAnotada())}});
  }
  batch::anotarBloques(*libro, entorno_.dialogs, bloques, [this](const workbook::Workbook& leido) {
    return vigenteParaAnotar(leido);
  });
}

// The wetted fraction of the irrigation row belongs to a crop on the calendar, whose irrigation
// the row holds: the annual crop chosen last when it is placed, else the crop placed last. A
// year without crops has no irrigation for it to wet: it keeps the crop chosen last's.
double Form4::fraccionMojadaAnotada() const {
  if (d_.anuales.empty()) return d_.FRACCION_MOJADA_CULTIVO;
  for (const OrigenAnual& origen : d_.anuales) {
    if (d_.eleccion && origen.k == d_.eleccion->k && origen.entrada == d_.eleccion->entrada) {
      return d_.eleccion->riego.FRACCION_MOJADA_CULTIVO;
    }
  }
  return d_.anuales.back().riego.FRACCION_MOJADA_CULTIVO;
}

void Form4::Command2_Click() {
  combo1_index_ = -1;
  LIMPIAR();
  CALENDARIO();
}

void Form4::Command3_Click() {
  descargado_ = true;
  if (entorno_.descargar) entorno_.descargar();
}

void Form4::LIMPIAR() {
  rotacion_.vaciar();
  TEXTO_CULTIVOS.clear();
  d_.anuales.clear();
  d_.cultivos_perdidos = false;
  d_.arbol.reset();
  list1_.clear();
  combo2_.clear();
  combo2_index_ = -1;
  entorno_.Picture1.clear(ui::kWhite);
  d_.KCB_MENSUAL = d_.RAIZ_MENSUAL = d_.COBERTURA_MENSUAL = Mensual{};
  d_.DATOS_RIEGO.RIEGO_MENSUAL = d_.DATOS_RIEGO.NRIEGOS_MENSUAL = Mensual{};
  for (int r = 1; r < grid_.rows(); ++r) {
    for (int c = 1; c < grid_.cols(); ++c) grid_.setText(r, c, "");
  }
  COEFIGRAMA();
}

void Form4::CALENDARIO() {
  crop_tool::CALENDARIO(entorno_.Picture1, IDIOMA);
}

void Form4::DIBUJAR_CULTIVO() {
  crop_tool::DIBUJAR_CULTIVO(entorno_.Picture1, rotacion_.N_CULTIVOS(), X_RATON,
                             cultivo_.DURACION_CICLO, COLOR_CULTIVO_, IDIOMA);
}

void Form4::COEFIGRAMA() {
  escala_ = crop_tool::COEFIGRAMA(entorno_.Picture2, d_.KCB_MENSUAL, IDIOMA);
}

void Form4::GRAFICAR_COEFICIENTES() {
  crop_tool::GRAFICAR_COEFICIENTES(entorno_.Picture2, d_.KCB_MENSUAL, escala_);
}

}  // namespace medravolix::crop_tool
