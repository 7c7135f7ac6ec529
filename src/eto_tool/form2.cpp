#include "eto_tool/form2.h"

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "batch/anotacion.h"
#include "batch/hojas_batch.h"
#include "batch/relectura.h"
#include "common/calendario.h"
#include "eto/calcular_eto.h"
#include "eto_tool/climograma.h"
#include "eto_tool/disponibilidad_metodos.h"
#include "eto_tool/hojas_clima.h"

namespace medravolix::eto_tool {

namespace {

constexpr const char* kListaEstaciones = "weather stations";

const char* const kOption1[] = {"Thornthwaite", "Penman-Monteith", "Hargreaves", "Blaney-Criddle",
                                "External data"};
const char* const kEncabezados[] = {"Station",    "Province", "UTMx", "UTMy",
                                    "Altitude/m", "R/mm",     "T/ºC"};
// Column widths of the summary grid, twips: the station's name and province get the room.
const double kAnchoColumna[] = {2800, 2450, 1100, 1250, 1550, 900, 900};

void comprobarIndice(int index, int desde, int hasta) {
  if (index < desde || index > hasta) throw std::out_of_range("no such control in the window");
}

}  // namespace

Form2::Form2(Entorno entorno) : entorno_(std::move(entorno)) {
  for (int c = 0; c < 7; ++c) {
    grid_.setText(0, c, kEncabezados[c]);
    grid_.setColumnWidth(c, kAnchoColumna[c]);
  }
}

const char* Form2::Label1_Caption(int index) {
  comprobarIndice(index, 0, 1);
  return index == 0 ? "Weather station:" : "Climogram: ";
}

const char* Form2::Option1_Caption(int index) {
  comprobarIndice(index, 0, 4);
  return kOption1[index];
}

const char* Form2::Command_Caption(int index) {
  comprobarIndice(index, 1, 2);
  return index == 1 ? "Annotate" : "Close";
}

ui::TwipsRect Form2::Label1_Place(int index) {
  comprobarIndice(index, 0, 1);
  return index == 0 ? ui::TwipsRect{840, 1080, 2175, 375} : ui::TwipsRect{840, 2880, 1935, 375};
}

ui::TwipsRect Form2::Option1_Place(int index) {
  comprobarIndice(index, 0, 4);
  const ui::TwipsRect lugares[] = {{360, 360, 2535, 375},
                                   {360, 960, 2535, 375},
                                   {3120, 360, 2415, 375},
                                   {3120, 960, 2415, 375},
                                   {360, 1560, 2535, 375}};
  return lugares[index];
}

ui::TwipsRect Form2::Command_Place(int index) {
  comprobarIndice(index, 1, 2);
  return {8880, index == 1 ? 8160.0 : 8880.0, 3015, 615};
}

// The bound workbook, reloaded first when it changed on disk; nullptr (after saying why) when
// there is none or it cannot be reloaded.
workbook::Workbook* Form2::libroReleido() {
  workbook::Workbook* libro = entorno_.libro ? entorno_.libro() : nullptr;
  if (!libro) {
    entorno_.dialogs.messageBox("No workbook is open: choose one with File > Workbook.",
                                ui::Icon::Critical);
    return nullptr;
  }
  try {
    libro->reloadIfChanged();
  } catch (const std::exception& error) {
    entorno_.dialogs.messageBox(
        std::string("The workbook changed on disk and cannot be read again:\r\n\r\n") +
            batch::frase(error.what()),
        ui::Icon::Critical);
    return nullptr;
  }
  return libro;
}

void Form2::Form_Load() {
  entorno_.datos.IDIOMA = 1;
  combo1_.clear();
  workbook::Workbook* libro = libroReleido();
  if (!libro) return;
  leerLista(*libro);
  if (!error_lista_.empty()) entorno_.dialogs.messageBox(error_lista_, ui::Icon::Critical);
}

void Form2::leerLista(const workbook::Workbook& libro) {
  combo1_.clear();
  error_lista_.clear();
  generacion_lista_ = libro.generation();
  ruta_lista_ = libro.path();
  try {
    combo1_ = leerListaEstaciones(libro);
  } catch (const std::exception& error) {
    error_lista_ = std::string("The list of weather stations cannot be read:\r\n\r\n") +
                   batch::frase(error.what());
  }
}

// The list is read again when the workbook holds another reading than the one it came from; the
// station shown is checked against the new reading.
Form2::Revision Form2::revisarLista(const workbook::Workbook& libro) {
  Revision revision;
  if (libro.generation() == generacion_lista_) return revision;
  revision.releida = true;
  revision.causa = batch::causaRelectura(ruta_lista_, libro, kListaEstaciones);
  leerLista(libro);
  if (combo1_index_ >= 0) revision.estacion = revisarEstacion(libro);
  return revision;
}

// The station last read (ESTACION) stands when the list still names it at its place and its rows
// still read the same; then it counts as read from this reading. Otherwise it is forgotten and the
// text says why.
std::string Form2::revisarEstacion(const workbook::Workbook& libro) {
  DatosForm2& d = entorno_.datos;
  DatosForm2::Origen& origen = d.origen;
  if (origen.generacion == 0 || origen.generacion == libro.generation()) return "";
  batch::Cambio cambio;
  if (origen.k >= static_cast<int>(combo1_.size()) || combo1_[origen.k] != origen.entrada) {
    cambio.tipo = batch::Cambio::Tipo::Movido;
  } else {
    try {
      if (!(leerEstacion(libro, origen.k) == d.ESTACION))
        cambio.tipo = batch::Cambio::Tipo::Cambiado;
    } catch (const std::exception& error) {
      cambio = {batch::Cambio::Tipo::Ilegible, batch::frase(error.what())};
    }
  }
  const std::string problema = batch::avisoEleccion("station", origen.entrada, cambio);
  if (problema.empty()) {
    origen.generacion = libro.generation();
    origen.ruta = libro.path();
    return "";
  }
  olvidarEstacion();
  return problema;
}

// No station chosen, and nothing kept of the one read before.
void Form2::olvidarEstacion() {
  DatosForm2& d = entorno_.datos;
  d.origen = {};
  d.ESTACION = {};
  d.ETO_MENSUAL = Mensual{};
  d.fuentes = {};
  combo1_index_ = -1;
  frame1_enabled_ = false;
  option1_enabled_.fill(false);
  option1_.fill(false);
  for (int c = 0; c < 7; ++c) grid_.setText(1, c, "");
  entorno_.Picture2.clear(ui::kWhite);
}

// Tells the user what reading the list again changed; true when there was nothing to tell.
bool Form2::avisar(const Revision& revision) {
  if (!revision.releida) return true;
  const std::string aviso = batch::unirAviso(error_lista_, revision.estacion);
  if (aviso.empty()) return true;
  entorno_.dialogs.messageBox(batch::unirAviso(revision.causa, aviso), ui::Icon::Exclamation);
  return false;
}

void Form2::revisarLibro() {
  workbook::Workbook* libro = libroReleido();
  if (libro) avisar(revisarLista(*libro));
}

// A station that cannot be read leaves the window as it was: the list goes back to the station
// shown before, whose data, options and curve stay (or to no station when none was shown), so
// what the list names is always what the grid, the graph and "Annotate" hold. A choice made in
// the list as it was before the workbook changed is taken only when the new list names the same
// station at that place.
void Form2::Combo1_Click(int k) {
  if (k < 0 || k >= static_cast<int>(combo1_.size())) return;
  const std::string elegida = combo1_[k];
  workbook::Workbook* libro = libroReleido();
  if (!libro) return;
  const Revision revision = revisarLista(*libro);
  if (revision.releida && (k >= static_cast<int>(combo1_.size()) || combo1_[k] != elegida)) {
    entorno_.dialogs.messageBox(
        batch::unirAviso(
            batch::unirAviso(batch::unirAviso(revision.causa, error_lista_), revision.estacion),
            "'" + elegida +
                "' is no longer at its place in the list: choose the station again from the "
                "list."),
        ui::Icon::Exclamation);
    return;
  }
  REGISTRO_CLIMA estacion;
  try {
    estacion = leerEstacion(*libro, k);
  } catch (const std::exception& error) {
    const std::string mostrada =
        combo1_index_ < 0 || combo1_index_ >= static_cast<int>(combo1_.size())
            ? "No station is shown."
            : "The window still shows the station '" + combo1_[combo1_index_] + "'.";
    entorno_.dialogs.messageBox("The station '" + combo1_[k] + "' cannot be loaded:\r\n\r\n" +
                                    batch::frase(error.what()) + "\r\n\r\n" + mostrada,
                                ui::Icon::Critical);
    return;
  }
  mostrarEstacion(*libro, k, estacion);
}

void Form2::mostrarEstacion(const workbook::Workbook& libro, int k,
                            const REGISTRO_CLIMA& estacion) {
  DatosForm2& d = entorno_.datos;
  combo1_index_ = k;
  frame1_enabled_ = true;
  d.origen = {libro.generation(), libro.path(), k, combo1_[k]};
  d.ESTACION = estacion;
  const auto resumen = resumenEstacion(estacion);
  for (int c = 0; c < 7; ++c) grid_.setText(1, c, resumen[c]);
  d.ETO_MENSUAL = Mensual{};
  dibujar(false);
  const Disponibilidad disponibles = evaluarDisponibilidad(estacion);
  option1_enabled_ = disponibles.habilitado;
  d.fuentes = disponibles.fuentes;
  option1_.fill(false);
}

void Form2::dibujar(bool con_eto) {
  const DatosForm2& d = entorno_.datos;
  const double CONTADOR2 = CLIMOGRAMA(entorno_.Picture2, d.ESTACION.TMEDIA,
                                      d.ESTACION.PRECIPITACION, d.ETO_MENSUAL, d.IDIOMA);
  if (con_eto) GRAFICAR_EVT(entorno_.Picture2, d.ETO_MENSUAL, CONTADOR2);
}

void Form2::Option1_Click(int index) {
  comprobarIndice(index, 0, 4);
  if (!frame1_enabled_ || !option1_enabled_[index]) return;
  // The method runs on the station shown only while the workbook still holds it.
  workbook::Workbook* libro = libroReleido();
  if (!libro || !avisar(revisarLista(*libro)) || combo1_index_ < 0) return;
  for (int i = 0; i < 5; ++i) option1_[i] = (i == index);
  DatosForm2& d = entorno_.datos;
  const auto resultado = eto::CALCULAR_ETO(option1_, d.ESTACION, d.fuentes);
  if (resultado && resultado->error) {
    option1_[index] = false;
    d.ETO_MENSUAL = Mensual{};
    dibujar(false);
    informarErrorDatos(index, *resultado->error);
    return;
  }
  if (resultado) d.ETO_MENSUAL = resultado->ETO_MENSUAL;
  dibujar(true);
}

void Form2::informarErrorDatos(int index, const eto::ErrorDatoClima& error) {
  // The given series is taken, not computed.
  const char* const que = index == static_cast<int>(eto::MetodoEto::DatosExternos)
                              ? " cannot be used for the station '"
                              : " cannot be computed for the station '";
  entorno_.dialogs.messageBox(std::string(kOption1[index]) + que +
                                  entorno_.datos.ESTACION.NOMBRE_ESTACION + "':\r\n\r\n" +
                                  celdasDelError(combo1_index_, error) + ": " + error.problema +
                                  ".\r\n\r\nCorrect the station's data in " +
                                  std::string(kHojaDatosClima) + ", then choose the station again.",
                              ui::Icon::Exclamation);
}

// A block without a station shown and its ETo computed would give the batch a climate with no
// evaporative demand: the window asks for what is missing instead.
bool Form2::listoParaAnotar() {
  const char* falta = nullptr;
  if (combo1_index_ < 0) {
    falta = kSeleccione;
  } else if (std::find(option1_.begin(), option1_.end(), true) == option1_.end()) {
    falta = kElijaMetodo;
  }
  if (falta) entorno_.dialogs.messageBox(falta, ui::Icon::Exclamation);
  return falta == nullptr;
}

// "Annotate": the station's rainfall, rainy days and ETo as a twelve-row block of Clim_batch
// under the id typed, at the block-start row where a batch will look for it; the workbook is
// saved at once. The shared append says what must be fixed when it cannot write.
void Form2::Command1_Click() {
  workbook::Workbook* const enlazado = entorno_.libro ? entorno_.libro() : nullptr;
  if (!batch::libroEscribible(enlazado, entorno_.dialogs) || (enlazado && !listoParaAnotar()))
    return;
  DatosForm2& d = entorno_.datos;
  d.ID_SIMULACION = entorno_.dialogs.inputBox(kPreguntaId, "");
  if (batch::sinIdTecleado(d.ID_SIMULACION)) return;
  workbook::Workbook* libro = entorno_.libro ? entorno_.libro() : nullptr;
  if (!libro) {
    entorno_.dialogs.messageBox("No workbook is open: choose one with File > Workbook.",
                                ui::Icon::Critical);
    return;
  }
  batch::BloqueAnotacion bloque{
      std::string(batch::kHojaClimas), batch::BloqueAnotacion::Forma::Bloque12, {}};
  const workbook::CellValue id = workbook::CellValue::text(d.ID_SIMULACION);
  for (int16_t m = 1; m <= 12; ++m) {
    bloque.filas.push_back({id, workbook::CellValue::number(d.ESTACION.PRECIPITACION[m]),
                            workbook::CellValue::number(d.ESTACION.DIAS_LLUVIA[m]),
                            workbook::CellValue::number(d.ETO_MENSUAL[m]),
                            workbook::CellValue::text(NOMBRE_MES(m, 1))});
  }
  batch::anotarBloques(*libro, entorno_.dialogs, {bloque}, [this](const workbook::Workbook& leido) {
    return vigenteParaAnotar(leido);
  });
}

// Nothing is written from a station that the workbook, read again, no longer holds as it was.
bool Form2::vigenteParaAnotar(const workbook::Workbook& libro) {
  const std::filesystem::path ruta_estacion = entorno_.datos.origen.ruta;
  const Revision revision = revisarLista(libro);
  const std::string estacion = batch::unirAviso(revision.estacion, revisarEstacion(libro));
  if (estacion.empty()) return true;
  const std::string causa = revision.releida
                                ? batch::unirAviso(revision.causa, error_lista_)
                                : batch::causaRelectura(ruta_estacion, libro, kListaEstaciones);
  entorno_.dialogs.messageBox(
      batch::unirAviso(
          batch::unirAviso(causa, estacion),
          "Nothing was written to Clim_batch: choose the station again, then annotate."),
      ui::Icon::Exclamation);
  return false;
}

void Form2::Command2_Click() {
  descargado_ = true;
  if (entorno_.descargar) entorno_.descargar();
}

}  // namespace medravolix::eto_tool
