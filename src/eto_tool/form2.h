// The reference-evapotranspiration tool window's controller: the station list, the summary grid,
// the climogram, the method options with their availability, "Annotate" and "Close".
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/series.h"
#include "eto/datos_metodo.h"
#include "eto/penman_monteith.h"
#include "simulation/registro_clima.h"
#include "ui/canvas.h"
#include "ui/dialogs.h"
#include "ui/grid_state.h"
#include "ui/twips.h"
#include "workbook/workbook.h"

namespace medravolix::eto_tool {

// What the tool keeps while the program runs, also when its window is closed: the station
// chosen last, its ETo series, the sources of Penman-Monteith and the last id annotated. A batch
// does not touch them.
struct DatosForm2 {
  // Where ESTACION was read: the workbook's reading (generation, 0 while no station was read),
  // its file, the station's place in the list and its list entry.
  struct Origen {
    std::uint64_t generacion = 0;
    std::filesystem::path ruta;
    int k = -1;
    std::string entrada;
  };
  Origen origen;
  REGISTRO_CLIMA ESTACION;
  Mensual ETO_MENSUAL{};
  eto::FuentesPenman fuentes;  // OPCION_HUMEDAD, OPCION_RADIACION
  std::string ID_SIMULACION;
  int16_t IDIOMA = 1;
};

class Form2 {
 public:
  static constexpr const char* Caption = "MEDRAVOLIX";
  static constexpr double kAnchoCliente = 12705;  // twips
  static constexpr double kAltoCliente = 10095;   // twips
  static constexpr const char* kPreguntaId =
      "Annotate the data in the sheets 'Clim_batch' with simulation id";
  static constexpr const char* kSeleccione = "Please select a station";
  static constexpr const char* kElijaMetodo = "Please choose a method";

  struct Entorno {
    ui::Dialogs& dialogs;
    // The bound workbook (LIBRO), or nullptr.
    std::function<workbook::Workbook*()> libro;
    DatosForm2& datos;
    ui::Canvas& Picture2;
    // Closes (unloads) the window.
    std::function<void()> descargar;
  };

  explicit Form2(Entorno entorno);

  void Form_Load();
  // Station k (from 0) chosen in the list.
  void Combo1_Click(int k);
  // Method option `index` (0 to 4) clicked; a disabled option does nothing.
  void Option1_Click(int index);
  void Command1_Click();
  void Command2_Click();
  // The bound workbook may have been replaced or read again from its file: the list is read
  // again, and the station shown stays only when it still stands at its place, under its name,
  // with the same data; otherwise the window says so and no station is chosen.
  void revisarLibro();

  const std::vector<std::string>& Combo1_List() const { return combo1_; }
  // The station shown, or -1 before one is chosen.
  int Combo1_ListIndex() const { return combo1_index_; }
  bool Frame1_Enabled() const { return frame1_enabled_; }
  bool Option1_Enabled(int index) const { return option1_enabled_.at(index); }
  bool Option1(int index) const { return option1_.at(index); }
  const ui::GridState& MSHFlexGrid1() const { return grid_; }
  const DatosForm2& datos() const { return entorno_.datos; }
  bool descargado() const { return descargado_; }

  // Captions and places (twips) of the controls.
  static const char* Label2_Caption() { return "Calculation of reference evapotranspiration"; }
  static const char* Label1_Caption(int index);
  static const char* Frame1_Caption() { return "Available calculation methods:"; }
  static const char* Option1_Caption(int index);
  static const char* Command_Caption(int index);  // 1 "Annotate", 2 "Close"
  static ui::TwipsRect Label2_Place() { return {840, 240, 7815, 615}; }
  static ui::TwipsRect Label1_Place(int index);
  static ui::TwipsRect Combo1_Place() { return {3240, 1080, 5655, 405}; }
  static ui::TwipsRect MSHFlexGrid1_Place() { return {840, 1680, 11055, 855}; }
  static ui::TwipsRect Picture2_Place() { return {840, 3360, 5100, 6200}; }
  static ui::TwipsRect Frame1_Place() { return {6240, 3120, 5655, 2295}; }
  static ui::TwipsRect Option1_Place(int index);  // inside the frame
  static ui::TwipsRect Command_Place(int index);

 private:
  // What reading the list again found: whether it was read again, why, and what the user must
  // be told about the station that was chosen.
  struct Revision {
    bool releida = false;
    std::string causa;
    std::string estacion;
  };
  workbook::Workbook* libroReleido();
  void leerLista(const workbook::Workbook& libro);
  Revision revisarLista(const workbook::Workbook& libro);
  std::string revisarEstacion(const workbook::Workbook& libro);
  void olvidarEstacion();
  bool avisar(const Revision& revision);
  bool listoParaAnotar();
  bool vigenteParaAnotar(const workbook::Workbook& libro);
  void mostrarEstacion(const workbook::Workbook& libro, int k, const REGISTRO_CLIMA& estacion);
  void dibujar(bool con_eto);
  void informarErrorDatos(int index, const eto::ErrorDatoClima& error);

  Entorno entorno_;
  std::vector<std::string> combo1_;
  std::string error_lista_;             // why the list could not be read, or ""
  std::uint64_t generacion_lista_ = 0;  // the workbook's reading the list came from
  std::filesystem::path ruta_lista_;
  int combo1_index_ = -1;
  bool frame1_enabled_ = false;
  std::array<bool, 5> option1_enabled_{};
  std::array<bool, 5> option1_{};
  ui::GridState grid_{2, 7};
  bool descargado_ = false;
};

}  // namespace medravolix::eto_tool
