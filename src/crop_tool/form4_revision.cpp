// The crop tool window kept in step with the workbook. The workbook is read again when its file
// changed on disk, and another one may be bound while the window is open; then the crop list is
// read again, and whatever the window holds from the earlier reading (the chosen crop, the crops
// on the calendar, the tree crop, the series and the wetted fraction) is kept only when the
// workbook still holds it as it was. Nothing from the earlier reading is written by "Annotate".
#include <exception>

#include "crop_tool/dibujos_cultivos.h"
#include "crop_tool/form4.h"
#include "crops/reparto_mes_etapa.h"
#include "crops/series_rotacion.h"

namespace medravolix::crop_tool {

namespace {

std::string nombreLista(int tipo) {
  return tipo == crops::kTipoArbol ? "tree crops" : "annual crops";
}

}  // namespace

Form4::Revision Form4::revisar(const workbook::Workbook& libro) {
  Revision revision;
  if (TIPO_ELEGIDO_ >= 0 && libro.generation() != generacion_lista_) {
    revision.releida = true;
    revision.causa = batch::causaRelectura(ruta_lista_, libro, nombreLista(TIPO_ELEGIDO_));
    generacion_lista_ = libro.generation();
    ruta_lista_ = libro.path();
    combo1_.clear();
    try {
      combo1_ =
          listarCultivos(libro, TIPO_ELEGIDO_ == crops::kTipoArbol ? kHojaArboles : kHojaAnuales);
    } catch (const std::exception& error) {
      revision.error = error.what();
    }
  }
  if (d_.generacion != 0 && d_.generacion != libro.generation()) {
    if (!revision.releida)
      revision.causa = batch::causaRelectura(d_.ruta, libro, nombreLista(d_.TIPO_CULTIVO));
    revision.eleccion = batch::unirAviso(revisarEleccion(libro), revisarArbol(libro));
    revision.quitados = revisarQuitados(libro);
    const bool queda = d_.eleccion || d_.arbol || !d_.anuales.empty();
    d_.generacion = queda ? libro.generation() : 0;
    d_.ruta = libro.path();
  }
  return revision;
}

// The annual crop chosen last, whose wetted fraction the window keeps. While tree crops are
// chosen, it is forgotten without a word: a tree crop's "Annotate" writes no wetted fraction.
std::string Form4::revisarEleccion(const workbook::Workbook& libro) {
  if (!d_.eleccion) return "";
  const Cambio cambio = cambioAnual(libro, listaActual(libro, kHojaAnuales), *d_.eleccion);
  if (cambio.ninguno()) return "";
  const std::string aviso = batch::avisoEleccion("crop", d_.eleccion->entrada, cambio);
  d_.eleccion.reset();
  d_.FRACCION_MOJADA_CULTIVO = 0.0;
  if (TIPO_ELEGIDO_ == crops::kTipoAnual && combo1_index_ >= 0) olvidarEleccion();
  return d_.TIPO_CULTIVO == crops::kTipoArbol ? "" : aviso;
}

std::string Form4::revisarArbol(const workbook::Workbook& libro) {
  if (!d_.arbol) return "";
  const Cambio cambio = cambioArbol(libro, listaActual(libro, kHojaArboles), *d_.arbol);
  if (cambio.ninguno()) return "";
  const std::string aviso = batch::avisoEleccion("tree crop", d_.arbol->entrada, cambio);
  olvidarArbol();
  return aviso;
}

// The crops on the calendar whose rows changed are dropped; the others stay where they were sown.
// When the window was closed and opened again since they were placed, the calendar no longer
// shows them and their series cannot be computed again in part: then all are dropped.
std::string Form4::revisarQuitados(const workbook::Workbook& libro) {
  if (d_.anuales.empty()) return "";
  const bool en_ventana = TIPO_ELEGIDO_ == crops::kTipoAnual &&
                          rotacion_.N_CULTIVOS() == static_cast<int>(d_.anuales.size());
  const std::vector<std::string> lista = listaActual(libro, kHojaAnuales);
  std::vector<bool> siguen;
  bool alguno = false;
  for (const OrigenAnual& origen : d_.anuales) {
    siguen.push_back(cambioAnual(libro, lista, origen).ninguno());
    alguno = alguno || !siguen.back();
  }
  if (!alguno) return "";
  if (!en_ventana) siguen.assign(siguen.size(), false);
  std::vector<std::string> quitados;
  for (std::size_t i = 0; i < siguen.size(); ++i) {
    if (!siguen[i]) quitados.push_back(d_.anuales[i].texto);
  }
  quitarCultivos(siguen);
  if (d_.anuales.empty()) d_.cultivos_perdidos = true;
  return avisoQuitados(quitados);
}

// Keeps the crops that still stand, in their order, on the calendar and in the series.
void Form4::quitarCultivos(const std::vector<bool>& siguen) {
  std::vector<OrigenAnual> origenes;
  crops::Rotacion rotacion;
  std::vector<std::string> textos;
  for (std::size_t i = 0; i < siguen.size(); ++i) {
    if (!siguen[i]) continue;
    origenes.push_back(d_.anuales[i]);
    rotacion.agregar(rotacion_.CULTIVOS[i]);
    textos.push_back(TEXTO_CULTIVOS[i]);
  }
  d_.anuales = std::move(origenes);
  rotacion_ = std::move(rotacion);
  TEXTO_CULTIVOS = std::move(textos);
  recalcularRotacion();
}

// The series, the calendar's bars, the graph and the list of the crops left on the calendar.
void Form4::recalcularRotacion() {
  if (rotacion_.N_CULTIVOS() == 0) {
    d_.KCB_MENSUAL = d_.RAIZ_MENSUAL = d_.COBERTURA_MENSUAL = d_.OCUPACION_MENSUAL = Mensual{};
    d_.DATOS_RIEGO.RIEGO_MENSUAL = d_.DATOS_RIEGO.NRIEGOS_MENSUAL = Mensual{};
  } else {
    crops::REPARTO_MES_ETAPA(rotacion_);
    d_.OCUPACION_MENSUAL = crops::CALCULAR_OCUPACION_MENSUAL(rotacion_);
    d_.KCB_MENSUAL = crops::CALCULAR_KCB_MENSUAL(rotacion_);
    crops::CALCULAR_RIEGO_MENSUAL(rotacion_, d_.DATOS_RIEGO);
    calcularSeries();
  }
  if (TIPO_ELEGIDO_ != crops::kTipoAnual) return;
  list1_ = TEXTO_CULTIVOS;
  entorno_.Picture1.clear(ui::kWhite);
  CALENDARIO();
  for (int i = 1; i <= rotacion_.N_CULTIVOS(); ++i) {
    crop_tool::DIBUJAR_CULTIVO(entorno_.Picture1, i, d_.anuales[i - 1].x_raton,
                               rotacion_.cultivo(i).DURACION, COLOR_CULTIVO_, IDIOMA);
  }
  COEFIGRAMA();
  GRAFICAR_COEFICIENTES();
}

// No annual crop chosen: a calendar click asks for one.
void Form4::olvidarEleccion() {
  combo1_index_ = -1;
  cultivo_ = {};
  riego_ = {};
  combo2_.clear();
  combo2_index_ = -1;
  for (int r = 1; r < grid_.rows(); ++r) {
    for (int c = 1; c < grid_.cols(); ++c) grid_.setText(r, c, "");
  }
}

// No tree crop, and no series from it.
void Form4::olvidarArbol() {
  d_.arbol.reset();
  d_.KCB_MENSUAL = d_.RAIZ_MENSUAL = d_.COBERTURA_MENSUAL = Mensual{};
  if (TIPO_ELEGIDO_ != crops::kTipoArbol) return;
  combo1_index_ = -1;
  arbol_ = {};
  list1_.clear();
  for (int c = 1; c < grid_.cols(); ++c) grid_.setText(1, c, "");
  entorno_.Picture1.clear(ui::kWhite);
  CALENDARIO();
  COEFIGRAMA();
}

// Tells the user what the window dropped or could not read; true when there was nothing to tell.
bool Form4::avisar(const Revision& revision) {
  const std::string error =
      revision.error.empty() ? "" : "The list of crops cannot be read:\r\n\r\n" + revision.error;
  const std::string aviso =
      batch::unirAviso(error, batch::unirAviso(revision.eleccion, revision.quitados));
  if (aviso.empty()) return true;
  entorno_.dialogs.messageBox(batch::unirAviso(revision.causa, aviso), ui::Icon::Exclamation);
  return false;
}

void Form4::revisarLibro() {
  workbook::Workbook* libro = nullptr;
  try {
    libro = libroParaLeer();
  } catch (const std::exception& error) {
    entorno_.dialogs.messageBox(error.what(), ui::Icon::Critical);
    return;
  }
  avisar(revisar(*libro));
}

// "Annotate" writes the series only while the workbook holds every crop they came from as it was.
bool Form4::vigenteParaAnotar(const workbook::Workbook& libro) {
  Revision revision = revisar(libro);
  if (revision.eleccion.empty() && revision.quitados.empty()) return true;
  revision.quitados = batch::unirAviso(
      revision.quitados,
      d_.TIPO_CULTIVO == crops::kTipoAnual
          ? "Nothing was written to Crop_batch or Irrigat_batch: check the crops, then annotate "
            "again."
          : "Nothing was written to Crop_batch: choose the tree crop again, then annotate.");
  avisar(revision);
  return false;
}

}  // namespace medravolix::crop_tool
