// The crop tool window's controller. For annual crops the user builds a yearly rotation: picks a
// crop, may change its season length, and clicks its sowing day on the calendar; every accepted
// click adds the crop unless it overlaps another one in some month, and recomputes the monthly
// basal crop coefficient, irrigation, root depth and ground cover. For a tree crop the twelve
// monthly coefficients come from the library. "Annotate" appends the series to Crop_batch and,
// for annual crops, Irrigat_batch.
//
// The tool keeps its own series (DatosForm4): a batch run does not change them.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/series.h"
#include "crop_tool/hojas_cultivos.h"
#include "crop_tool/origen_cultivos.h"
#include "crops/raices_cobertura.h"
#include "crops/registro_cultivo.h"
#include "simulation/registro_riego.h"
#include "ui/canvas.h"
#include "ui/dialogs.h"
#include "ui/grid_state.h"
#include "workbook/workbook.h"

namespace medravolix::crop_tool {

// What the crop tool keeps while the program runs, also when its window is closed: the crop type
// chosen last, the wetted fraction of the annual crop chosen last, the monthly series and the
// last id annotated. A batch does not touch them.
struct DatosForm4 {
  int TIPO_CULTIVO = crops::kTipoAnual;  // annual until a type is chosen
  double FRACCION_MOJADA_CULTIVO = 0.0;
  Mensual KCB_MENSUAL{}, RAIZ_MENSUAL{}, COBERTURA_MENSUAL{}, OCUPACION_MENSUAL{};
  REGISTRO_RIEGO DATOS_RIEGO;
  std::string ID_SIMULACION;

  // Where the series and the wetted fraction came from: the workbook's reading (generation, 0
  // while they come from no crop) and its file; the annual crop chosen last, whose wetted
  // fraction is kept; the crops on the calendar, or the tree crop.
  std::uint64_t generacion = 0;
  std::filesystem::path ruta;
  std::optional<OrigenAnual> eleccion;
  std::vector<OrigenAnual> anuales;
  std::optional<OrigenArbol> arbol;
  // Every crop on the calendar was dropped because the workbook changed, and none was placed nor
  // the calendar cleared since: the empty calendar is then no year without crops that the user
  // chose, and "Annotate" does not write it.
  bool cultivos_perdidos = false;
};

class Form4 {
 public:
  static constexpr const char* kPreguntaAgregar = "Would you like to add this crop?";
  static constexpr const char* kSeleccione = "Please select a crop";
  static constexpr const char* kSolape = "Crops overlap";
  static constexpr const char* kSinCultivos =
      "Please place the crops on the calendar again, or press Clear to annotate a year without "
      "crops";
  static constexpr const char* kPreguntaId =
      "Annotate the data in the sheets 'Crop_batch' and 'Irrigat_batch' with simulation id";
  static constexpr int kFilasGrid = 3;
  static constexpr int kColumnasGrid = 13;

  struct Entorno {
    ui::Dialogs& dialogs;
    // The bound workbook (LIBRO) at the moment of the call; nullptr when none is bound.
    std::function<workbook::Workbook*()> LIBRO;
    DatosForm4& datos;
    ui::Canvas& Picture1;  // the calendar
    ui::Canvas& Picture2;  // the graph of the basal crop coefficients
    // Closes (unloads) the window.
    std::function<void()> descargar;
  };

  explicit Form4(Entorno entorno);

  // Events of the window.
  void Form_Load();
  void Option1_Click(int Index);     // 0 annual, 1 tree
  void Combo1_Click(int ListIndex);  // a crop chosen; -1 removes the choice
  void Combo2_Click(int ListIndex);  // a season length chosen
  void Picture1_MouseMove(float X);  // twips from the calendar's left edge
  void Form_MouseMove();
  void Picture1_MouseDown();
  void Command1_Click();  // "Annotate"
  void Command2_Click();  // "Clear"
  void Command3_Click();  // "Close"

  // The bound workbook may have been replaced or read again from its file: the crop list is read
  // again; the chosen crop stays only when it still stands at its place, under its name, with the
  // same rows, and the crops on the calendar only when their rows are unchanged. The window says
  // what it dropped.
  void revisarLibro();

  // The window's public methods.
  void CALENDARIO();
  void DIBUJAR_CULTIVO();
  void CARGAR_ANUALES();
  void CARGAR_MULTIANUALES();
  void COEFIGRAMA();
  void GRAFICAR_COEFICIENTES();
  void LIMPIAR();

  // What the window shows.
  bool Option1(int Index) const { return TIPO_ELEGIDO_ == Index; }
  bool Label1_Enabled(int Index) const { return label1_enabled_.at(Index); }
  const std::vector<std::string>& Combo1_List() const { return combo1_; }
  int Combo1_ListIndex() const { return combo1_index_; }
  bool Combo1_Enabled() const { return combo1_enabled_; }
  const std::vector<std::string>& Combo2_List() const { return combo2_; }
  int Combo2_ListIndex() const { return combo2_index_; }
  bool Combo2_Enabled() const { return combo2_enabled_; }
  bool Grid_Visible() const { return grid_visible_; }
  const ui::GridState& Grid() const { return grid_; }
  int Grid_Rows() const { return grid_.rows(); }
  int Grid_Cols() const { return grid_.cols(); }
  const std::string& Grid_TextMatrix(int row, int col) const { return grid_.text(row, col); }
  bool Picture1_Enabled() const { return picture1_enabled_; }
  bool Text1_Enabled() const { return picture1_enabled_; }
  bool Text1_Visible() const { return text1_visible_; }
  const std::string& Text1_Text() const { return text1_; }
  double Text1_Left() const { return text1_left_; }
  double Text1_Width() const { return text1_width_; }
  const std::vector<std::string>& List1() const { return list1_; }
  bool descargado() const { return descargado_; }

  // The window's own state.
  const DatosForm4& datos() const { return d_; }
  int TIPO_CULTIVO() const { return d_.TIPO_CULTIVO; }
  const crops::Rotacion& rotacion() const { return rotacion_; }
  const Mensual& KCB_MENSUAL() const { return d_.KCB_MENSUAL; }
  const Mensual& RAIZ_MENSUAL() const { return d_.RAIZ_MENSUAL; }
  const Mensual& COBERTURA_MENSUAL() const { return d_.COBERTURA_MENSUAL; }
  const Mensual& OCUPACION_MENSUAL() const { return d_.OCUPACION_MENSUAL; }
  const REGISTRO_RIEGO& DATOS_RIEGO() const { return d_.DATOS_RIEGO; }
  int16_t DURACION_CICLO() const { return cultivo_.DURACION_CICLO; }
  ui::Rgb COLOR_CULTIVO() const { return COLOR_CULTIVO_; }

 private:
  // What the window found when the workbook was read again or replaced: why, what it could not
  // read, the chosen crop that no longer stands and the crops dropped from the calendar.
  struct Revision {
    bool releida = false;
    std::string causa, error, eleccion, quitados;
  };
  workbook::Workbook* libroParaLeer();
  template <typename F>
  bool conMensaje(F&& f);
  void cargarLista(std::string_view hoja);
  Revision revisar(const workbook::Workbook& libro);
  std::string revisarEleccion(const workbook::Workbook& libro);
  std::string revisarArbol(const workbook::Workbook& libro);
  std::string revisarQuitados(const workbook::Workbook& libro);
  void quitarCultivos(const std::vector<bool>& siguen);
  void recalcularRotacion();
  void olvidarEleccion();
  void olvidarArbol();
  bool avisar(const Revision& revision);
  bool vigenteParaAnotar(const workbook::Workbook& libro);
  bool libroVigente();
  double fraccionMojadaAnotada() const;
  bool elegirAnual(const workbook::Workbook& libro, int k);
  bool elegirArbol(const workbook::Workbook& libro, int k);
  // `origen` names where the season length came from, for the message when it is out of range.
  static std::vector<std::string> duracionesPosibles(int16_t D, const std::string& origen);
  void llenarCombo2(std::vector<std::string> duraciones);
  void escribirDuraciones();
  void prepararGrid(int filas, int columnas);
  crops::REGISTRO_CULTIVO nuevoRegistro();
  void repartirRotacion();
  bool agregarCultivo();
  void aceptarCultivo();
  void rechazarCultivo();
  void calcularSeries();
  void anotar(const std::string& id);

  Entorno entorno_;
  DatosForm4& d_;
  int16_t IDIOMA = 1;
  int TIPO_ELEGIDO_ = -1;  // the option button that is on, -1 for none

  // The crop variables read from the libraries.
  CultivoAnual cultivo_;
  RiegoCultivo riego_;
  CultivoArbol arbol_;
  crops::ArbolElegido arbol_elegido_;

  // The rotation on the calendar.
  crops::Rotacion rotacion_;
  std::vector<std::string> TEXTO_CULTIVOS;
  float X_RATON = 0;
  ui::Rgb COLOR_CULTIVO_ = ui::kBlack;
  int16_t escala_ = 0;
  int crops_anteriores_ = 0;  // crops of the rotation before the click being handled  // the
                              // graph's scale index, from COEFIGRAMA to GRAFICAR_COEFICIENTES

  // The workbook's reading the crop list came from.
  std::uint64_t generacion_lista_ = 0;
  std::filesystem::path ruta_lista_;

  // The controls' state.
  std::array<bool, 6> label1_enabled_{};
  std::vector<std::string> combo1_, combo2_, list1_;
  int combo1_index_ = -1, combo2_index_ = -1;
  bool combo1_enabled_ = false, combo2_enabled_ = false;
  bool grid_visible_ = false;
  ui::GridState grid_;
  bool picture1_enabled_ = false;
  bool text1_visible_ = false;
  std::string text1_;
  double text1_left_ = 960, text1_width_ = 1335;
  bool descargado_ = false;
};

}  // namespace medravolix::crop_tool
