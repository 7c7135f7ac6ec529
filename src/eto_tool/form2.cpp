#include "eto_tool/form2.h"

#include <exception>
#include <stdexcept>

#include "batch/anotacion.h"
#include "batch/hojas_batch.h"
#include "common/calendario.h"
#include "eto/calcular_eto.h"
#include "eto_tool/climograma.h"
#include "eto_tool/disponibilidad_metodos.h"
#include "eto_tool/hojas_clima.h"

namespace medravolix::eto_tool {

namespace {

const char* const kOption1[] = {"Thornthwaite", "Penman-Monteith", "Hargreaves", "Blaney-Criddle",
                                "External data"};
const char* const kEncabezados[] = {"Station",    "Province", "UTMx", "UTMy",
                                    "Altitude/m", "R/mm",     "T/ºC"};
// Column widths of the summary grid, twips: the station's name and province get the room.
const double kAnchoColumna[] = {2800, 2450, 1100, 1250, 1550, 900, 900};

void comprobarIndice(int index, int desde, int hasta) {
  if (index < desde || index > hasta) throw std::out_of_range("no such control in the window");
}

// "Clim_data!C5, Clim_data!D5 (May)", or "Clim_data row 5 (May)" when no variable is named.
std::string celdasDelError(int k, const eto::ErrorDatoClima& error) {
  const int fila = filaDatosClima(k, error.mes);
  const std::string mes = " (" + NOMBRE_MES(error.mes, 1) + ")";
  if (error.campos.empty()) {
    return std::string(kHojaDatosClima) + " row " + std::to_string(fila) + mes;
  }
  std::string celdas;
  for (const eto::CampoClima campo : error.campos) {
    if (!celdas.empty()) celdas += ", ";
    celdas += workbook::cellReference(kHojaDatosClima, fila, columnaDatosClima(campo));
  }
  return celdas + mes;
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
            error.what(),
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
  try {
    combo1_ = leerListaEstaciones(*libro);
  } catch (const std::exception& error) {
    entorno_.dialogs.messageBox(
        std::string("The list of weather stations cannot be read:\r\n\r\n") + error.what(),
        ui::Icon::Critical);
  }
}

// A station that cannot be read leaves the window as it was: the list goes back to the station
// shown before, whose data, options and curve stay (or to no station when none was shown), so
// what the list names is always what the grid, the graph and "Annotate" hold.
void Form2::Combo1_Click(int k) {
  if (k < 0 || k >= static_cast<int>(combo1_.size())) return;
  workbook::Workbook* libro = libroReleido();
  if (!libro) return;
  REGISTRO_CLIMA estacion;
  try {
    estacion = leerEstacion(*libro, k);
  } catch (const std::exception& error) {
    const std::string mostrada =
        combo1_index_ < 0 || combo1_index_ >= static_cast<int>(combo1_.size())
            ? "No station is shown."
            : "The window still shows the station '" + combo1_[combo1_index_] + "'.";
    entorno_.dialogs.messageBox("The station '" + combo1_[k] + "' cannot be loaded:\r\n\r\n" +
                                    error.what() + "\r\n\r\n" + mostrada,
                                ui::Icon::Critical);
    return;
  }
  mostrarEstacion(k, estacion);
}

void Form2::mostrarEstacion(int k, const REGISTRO_CLIMA& estacion) {
  DatosForm2& d = entorno_.datos;
  combo1_index_ = k;
  frame1_enabled_ = true;
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
  entorno_.dialogs.messageBox(std::string(kOption1[index]) +
                                  " cannot be computed for the station '" +
                                  entorno_.datos.ESTACION.NOMBRE_ESTACION + "':\r\n\r\n" +
                                  celdasDelError(combo1_index_, error) + ": " + error.problema +
                                  ".\r\n\r\nCorrect the station's data in " +
                                  std::string(kHojaDatosClima) + ", then choose the station again.",
                              ui::Icon::Exclamation);
}

// "Annotate": the station's rainfall, rainy days and ETo as a twelve-row block of Clim_batch
// under the id typed, at the block-start row where a batch will look for it; the workbook is
// saved at once. The shared append says what must be fixed when it cannot write.
void Form2::Command1_Click() {
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
  batch::anotarBloques(*libro, entorno_.dialogs, {bloque});
}

void Form2::Command2_Click() {
  descargado_ = true;
  if (entorno_.descargar) entorno_.descargar();
}

}  // namespace medravolix::eto_tool
