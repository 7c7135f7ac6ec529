#include "crop_tool/hojas_cultivos.h"

#include <cmath>
#include <vector>

#include "balance/etc_mensual.h"
#include "common/calendario.h"
#include "common/number_text.h"
#include "crops/reparto_mes_etapa.h"

namespace medravolix::crop_tool {

namespace {

using workbook::CellValue;
using workbook::WorkbookError;

std::string textoCelda(const workbook::Workbook& libro, std::string_view hoja, int r, int c) {
  return libro.cell(hoja, r, c).toDisplayText();
}

std::string celda(std::string_view hoja, int r, int c) {
  return workbook::cellReference(hoja, r, c);
}

// "1 day", "5 days".
std::string dias(int n) {
  return std::to_string(n) + (n == 1 || n == -1 ? " day" : " days");
}

// The range of a library column, and the unit its bounds are given in (" cm", or nothing).
struct Rango {
  double minimo;
  double maximo;
  const char* unidad;
};

constexpr Rango kFraccion{0, 1, ""};
constexpr Rango kCoeficiente{0, kKcbMaximo, ""};
constexpr Rango kRaiz{0, kRaizMaximaCm, " cm"};
constexpr Rango kLamina{0, kRiegoTemporadaMaximoMm, " mm"};
constexpr Rango kNumeroRiegos{0, kRiegosTemporadaMaximo, ""};

// What is wrong with a value outside its range, or nothing.
std::string problema(double v, const Rango& rango) {
  if (!isUsableNumber(v)) {
    return "is not a number the program can use (" + shortDecimal(v) + ")";
  }
  if (v < rango.minimo) return "is negative (" + shortDecimal(v) + ")";  // every minimum is 0
  if (v > rango.maximo) {
    return "is larger than " + plainDecimal(rango.maximo) + rango.unidad + " (" + shortDecimal(v) +
           ")";
  }
  return "";
}

// A library cell's number. A cell that holds none (a text such as "0,65", an error value) is
// refused as a number out of range is: naming the crop, the cell, the value it stands for and
// what it holds, then `debe`, what the cell must hold.
double numeroDeCelda(const workbook::Workbook& libro, std::string_view hoja, int r, int c,
                     const std::string& quien, const std::string& que, const std::string& debe) {
  try {
    return libro.number(hoja, r, c);
  } catch (const WorkbookError& error) {
    const std::string donde = celda(hoja, r, c);
    const std::string texto = error.what();
    if (!texto.starts_with(donde + " ")) throw;  // the sheet itself, not the cell
    const std::string lo_que_tiene = texto.substr(donde.size() + 1);
    // A reason that already says what to do ("...: clear the cell or type a number in it").
    const bool con_consejo = lo_que_tiene.find(':') != std::string::npos;
    throw WorkbookError(quien + ": " + donde + ", " + que + ", " + lo_que_tiene +
                        (con_consejo ? "" : "; " + debe) + ".");
  }
}

// A library cell's number, refused with a message naming the crop, the cell and what is wrong
// when it lies outside its column's range.
double numeroEnRango(const workbook::Workbook& libro, std::string_view hoja, int r, int c,
                     const std::string& quien, const std::string& que, const Rango& rango) {
  const std::string entre =
      plainDecimal(rango.minimo) + " and " + plainDecimal(rango.maximo) + rango.unidad;
  const double v =
      numeroDeCelda(libro, hoja, r, c, quien, que, "it must be a number between " + entre);
  const std::string mal = problema(v, rango);
  if (mal.empty()) return v;
  throw WorkbookError(quien + ": " + celda(hoja, r, c) + ", " + que + ", " + mal +
                      "; it must lie between " + entre + ".");
}

std::string quienAnual(const std::string& nombre, int r) {
  return "The annual crop '" + nombre + "' (" + std::string(kHojaAnuales) + " row " +
         std::to_string(r) + ")";
}

// The season length of column 12 in whole days, 1 to crops::kTemporadaMaxima.
int16_t leerDuracion(const workbook::Workbook& libro, int r, const std::string& quien) {
  const std::string donde = celda(kHojaAnuales, r, 12);
  const std::string consejo = "enter a season length from 1 to " + dias(crops::kTemporadaMaxima);
  const double v = numeroDeCelda(libro, kHojaAnuales, r, 12, quien, "the season length", consejo);
  if (!isUsableNumber(v)) {
    throw WorkbookError(quien + ": " + donde + ", the season length, " + problema(v, kFraccion) +
                        "; " + consejo + ".");
  }
  const double redondeada = std::nearbyint(v);  // halves to the even neighbour
  if (redondeada < 1) {
    throw WorkbookError(quien + " has a season of " + shortDecimal(redondeada) + " days in " +
                        donde + ": enter a season length of at least 1 day.");
  }
  if (redondeada > crops::kTemporadaMaxima) {
    throw WorkbookError(quien + ": " + donde + ", the season length, is longer than " +
                        dias(crops::kTemporadaMaxima) + ", the longest season the program takes (" +
                        shortDecimal(v) + "); enter a season length from 1 to " +
                        dias(crops::kTemporadaMaxima) + ".");
  }
  return static_cast<int16_t>(redondeada);
}

const char* const kEtapas[] = {"", "initial", "development", "mid-season", "late season"};

// The crop's roots and cover grow with its coefficient and reach their maximum at the mid-season
// one: a stage with a larger coefficient would take them beyond it.
void comprobarPicoEnMedio(const CultivoAnual& cultivo, int r, const std::string& quien) {
  const double medio = cultivo.KCB_ETAPA[3];
  std::vector<int> mayores;
  for (const int s : {1, 2, 4}) {
    if (cultivo.KCB_ETAPA[s] > medio) mayores.push_back(s);
  }
  if (mayores.empty()) return;
  std::string etapas, valores;
  for (std::size_t i = 0; i < mayores.size(); ++i) {
    const std::string separador = i == 0 ? "" : i + 1 == mayores.size() ? " and " : ", ";
    const int s = mayores[i];
    etapas += separador + kEtapas[s];
    valores +=
        separador + shortDecimal(cultivo.KCB_ETAPA[s]) + " in " + celda(kHojaAnuales, r, s + 2);
  }
  const bool una = mayores.size() == 1;
  throw WorkbookError(
      quien + ": the " + etapas +
      (una ? " stage's basal crop coefficient, " : " stages' basal crop coefficients, ") + valores +
      (una ? ", is" : ", are") + " larger than the mid-season one, " + shortDecimal(medio) +
      " in " + celda(kHojaAnuales, r, 5) +
      "; the root depth and ground cover grow with the coefficient up to their maximum at "
      "mid-season, so the mid-season coefficient must be the largest of the four.");
}

// "the shares of the season of its four stages, in Annual_crops_growth!G3 to
// Annual_crops_growth!J3, add up to 1.25; ...", or nothing when they add up to 1. `reparto` is
// what the stages divide between them.
std::string sumaDeEtapas(const std::array<double, 5>& partes, const std::string& que,
                         const std::string& desde, const std::string& hasta,
                         const std::string& reparto) {
  double suma = 0;
  for (int s = 1; s <= 4; ++s) suma += partes[s];
  // The sums of rounded shares that libraries hold (0.999) are taken.
  if (std::fabs(suma - 1.0) <= kToleranciaSumaEtapas) return "";
  return "the shares of the " + que + " of its four stages, in " + desde + " to " + hasta +
         ", add up to " + shortDecimal(sumAsTyped(suma)) + "; the stages divide " + reparto +
         " between them, so the shares must add up to 1.";
}

void comprobarCultivoAnual(const CultivoAnual& cultivo, int r) {
  const std::string quien = quienAnual(cultivo.NOMBRE_ANUAL, r);
  const double medio = cultivo.KCB_ETAPA[3];
  if (!(medio >= kKcbMedioMinimo)) {
    throw WorkbookError(quien + " has a mid-season basal crop coefficient of " +
                        shortDecimal(medio) + " in " + celda(kHojaAnuales, r, 5) +
                        ": its root depth and ground cover are scaled by it, so it must be at "
                        "least " +
                        plainDecimal(kKcbMedioMinimo) + ".");
  }
  comprobarPicoEnMedio(cultivo, r, quien);
  const std::string suma =
      sumaDeEtapas(cultivo.FRACCION_DURACION, "season", celda(kHojaAnuales, r, 7),
                   celda(kHojaAnuales, r, 10), "the whole season");
  if (!suma.empty()) throw WorkbookError(quien + ": " + suma);
}

const char* const kNombresMeses[] = {"",        "January",  "February", "March",  "April",
                                     "May",     "June",     "July",     "August", "September",
                                     "October", "November", "December"};

// "0.25 of the irrigation depth in Annual_crops_irrigat!E3", or nothing when the stage's share
// of that total is 0.
std::string parteDelRiego(double total, double parte, const std::string& que, int r, int c) {
  if (total * parte == 0.0) return "";
  return shortDecimal(parte) + " of the " + que + " in " + celda(kHojaRiegosAnuales, r, c);
}

std::string mensajeEtapaSinDias(const CultivoAnual& cultivo, int s, int dias_etapa, int duracion,
                                const std::string& partes_del_riego) {
  const char* articulo = s == 1 ? "an " : "a ";  // "an initial stage"
  return quienAnual(cultivo.NOMBRE_ANUAL, cultivo.fila) + " has " + articulo + kEtapas[s] +
         " stage of " + dias(dias_etapa) + " in a season of " + dias(duracion) +
         " (its share of the season is " + shortDecimal(cultivo.FRACCION_DURACION[s]) + " in " +
         celda(kHojaAnuales, cultivo.fila, s + 6) + "), but " + std::string(kHojaRiegosAnuales) +
         " gives that stage " + partes_del_riego +
         ": a stage without days cannot be irrigated, so give it a share of the season or move "
         "its share of the irrigation to the other stages.";
}

// The stages divide the season's irrigation depth, and its number of irrigations, between them:
// shares that add up to more than 1 would give the crop more water than its season has.
void comprobarRepartoRiego(const RiegoCultivo& riego, const std::string& quien) {
  const int r = riego.FILA_RIEGO;
  const auto h = kHojaRiegosAnuales;
  std::string suma;
  if (riego.RIEGO_TOTAL > 0) {
    suma = sumaDeEtapas(riego.RIEGO_ETAPA, "irrigation depth", celda(h, r, 4), celda(h, r, 7),
                        "the season's " + shortDecimal(riego.RIEGO_TOTAL) + " mm");
  }
  if (suma.empty() && riego.NRIEGOS_TOTAL > 0) {
    suma =
        sumaDeEtapas(riego.NRIEGOS_ETAPA, "number of irrigations", celda(h, r, 8), celda(h, r, 11),
                     "the season's " + shortDecimal(riego.NRIEGOS_TOTAL) +
                         (riego.NRIEGOS_TOTAL == 1 ? " irrigation" : " irrigations"));
  }
  if (!suma.empty()) throw WorkbookError(quien + ": " + suma);
}

}  // namespace

std::vector<std::string> listarCultivos(const workbook::Workbook& libro, std::string_view hoja) {
  libro.requireSheet(hoja);
  std::vector<std::string> nombres;
  for (int r = 2; r <= workbook::kMaxRows && !libro.cell(hoja, r, 1).isEmpty(); ++r) {
    nombres.push_back(textoCelda(libro, hoja, r, 1));
  }
  return nombres;
}

CultivoAnual leerCultivoAnual(const workbook::Workbook& libro, int k) {
  const int r = k + 2;
  const auto hoja = kHojaAnuales;
  CultivoAnual c;
  c.fila = r;
  c.NOMBRE_ANUAL = textoCelda(libro, hoja, r, 1);
  const std::string quien = quienAnual(c.NOMBRE_ANUAL, r);
  c.RAIZ_CULTIVO = numeroEnRango(libro, hoja, r, 2, quien, "the maximum root depth", kRaiz);
  for (int s = 1; s <= 4; ++s) {
    const std::string etapa = std::string("the ") + kEtapas[s] + " stage's ";
    c.KCB_ETAPA[s] =
        numeroEnRango(libro, hoja, r, s + 2, quien, etapa + "basal crop coefficient", kCoeficiente);
    c.FRACCION_DURACION[s] =
        numeroEnRango(libro, hoja, r, s + 6, quien, etapa + "share of the season", kFraccion);
  }
  c.COBERTURA_CULTIVO =
      numeroEnRango(libro, hoja, r, 11, quien, "the maximum ground cover", kFraccion);
  c.DURACION_CICLO = leerDuracion(libro, r, quien);
  comprobarCultivoAnual(c, r);
  return c;
}

int buscarFilaRiego(const workbook::Workbook& libro, const std::string& nombre) {
  libro.requireSheet(kHojaRiegosAnuales);
  int r = 2;
  while (r < workbook::kMaxRows) {
    const CellValue v = libro.cell(kHojaRiegosAnuales, r, 1);
    if (v.isEmpty() || v.toDisplayText() == nombre) break;
    ++r;
  }
  return r;
}

RiegoCultivo leerRiegoCultivo(const workbook::Workbook& libro, const std::string& nombre) {
  const auto hoja = kHojaRiegosAnuales;
  RiegoCultivo riego;
  riego.FILA_RIEGO = buscarFilaRiego(libro, nombre);
  const int r = riego.FILA_RIEGO;
  const std::string quien = "The irrigation of the annual crop '" + nombre + "' (" +
                            std::string(hoja) + " row " + std::to_string(r) + ")";
  riego.FRACCION_MOJADA_CULTIVO =
      numeroEnRango(libro, hoja, r, 2, quien, "the wetted fraction of the soil surface", kFraccion);
  riego.RIEGO_TOTAL =
      numeroEnRango(libro, hoja, r, 3, quien, "the irrigation depth of the season", kLamina);
  for (int s = 1; s <= 4; ++s) {
    const std::string etapa = std::string("the ") + kEtapas[s] + " stage's share of the ";
    riego.RIEGO_ETAPA[s] =
        numeroEnRango(libro, hoja, r, s + 3, quien, etapa + "irrigation depth", kFraccion);
    riego.NRIEGOS_ETAPA[s] =
        numeroEnRango(libro, hoja, r, s + 7, quien, etapa + "number of irrigations", kFraccion);
  }
  riego.NRIEGOS_TOTAL = numeroEnRango(libro, hoja, r, 12, quien,
                                      "the number of irrigations of the season", kNumeroRiegos);
  comprobarRepartoRiego(riego, quien);
  return riego;
}

void comprobarRiegoDeEtapas(const CultivoAnual& cultivo, const RiegoCultivo& riego,
                            int16_t duracion) {
  crops::REGISTRO_CULTIVO etapas;
  etapas.DURACION = duracion;
  etapas.FRACCION_ETAPA = cultivo.FRACCION_DURACION;
  crops::CALCULAR_DURACION_ETAPAS(etapas);
  const int r = riego.FILA_RIEGO;
  for (int s = 1; s <= 4; ++s) {
    if (etapas.DIAS_ETAPA[s] > 0) continue;
    const std::string lamina =
        parteDelRiego(riego.RIEGO_TOTAL, riego.RIEGO_ETAPA[s], "irrigation depth", r, s + 3);
    const std::string numero = parteDelRiego(riego.NRIEGOS_TOTAL, riego.NRIEGOS_ETAPA[s],
                                             "number of irrigations", r, s + 7);
    if (lamina.empty() && numero.empty()) continue;
    const std::string partes = lamina + (lamina.empty() || numero.empty() ? "" : " and ") + numero;
    throw WorkbookError(mensajeEtapaSinDias(cultivo, s, etapas.DIAS_ETAPA[s], duracion, partes));
  }
}

CultivoArbol leerCultivoArbol(const workbook::Workbook& libro, int k) {
  const int r = k + 2;
  const auto hoja = kHojaArboles;
  CultivoArbol c;
  c.NOMBRE_ARBOL = textoCelda(libro, hoja, r, 1);
  const std::string quien = "The tree crop '" + c.NOMBRE_ARBOL + "' (" + std::string(hoja) +
                            " row " + std::to_string(r) + ")";
  c.RAIZ_MAXIMA = numeroEnRango(libro, hoja, r, 2, quien, "the maximum root depth", kRaiz);
  for (int m = 1; m <= 12; ++m) {
    c.KCB_MENSUAL[m] = numeroEnRango(
        libro, hoja, r, m + 2, quien,
        std::string("the basal crop coefficient of ") + kNombresMeses[m], kCoeficiente);
  }
  c.COBERTURA_MAXIMA =
      numeroEnRango(libro, hoja, r, 15, quien, "the maximum ground cover", kFraccion);
  if (!(MAXIMO_KCB_MENSUAL(c.KCB_MENSUAL) > 0.0)) {
    throw WorkbookError("The tree crop '" + c.NOMBRE_ARBOL + "' (" + std::string(hoja) + " row " +
                        std::to_string(r) + ") has no monthly basal crop coefficient above 0 in " +
                        celda(hoja, r, 3) + " to " + celda(hoja, r, 14) +
                        ": its root depth and ground cover are scaled by the largest one, so at "
                        "least one must be greater than 0.");
  }
  return c;
}

std::vector<std::vector<CellValue>> filasCropBatch(const CellValue& id, const Mensual& KCB_MENSUAL,
                                                   const Mensual& RAIZ_MENSUAL,
                                                   const Mensual& COBERTURA_MENSUAL) {
  std::vector<std::vector<CellValue>> filas;
  for (int m = 1; m <= 12; ++m) {
    filas.push_back({id, CellValue::number(KCB_MENSUAL[m]), CellValue::number(RAIZ_MENSUAL[m]),
                     CellValue::number(COBERTURA_MENSUAL[m]),
                     CellValue::text(NOMBRE_MES(static_cast<int16_t>(m), 1))});
  }
  return filas;
}

std::vector<CellValue> filaIrrigatBatch(const CellValue& id, const Mensual& RIEGO_MENSUAL,
                                        const Mensual& NRIEGOS_MENSUAL,
                                        double FRACCION_MOJADA_CULTIVO) {
  std::vector<CellValue> fila(30);
  fila[0] = id;
  for (int m = 1; m <= 12; ++m) {
    fila[m] = CellValue::number(RIEGO_MENSUAL[m]);
    fila[m + 12] = CellValue::number(NRIEGOS_MENSUAL[m]);
  }
  fila[25] = CellValue::number(FRACCION_MOJADA_CULTIVO);
  for (int q = 1; q <= 4; ++q) fila[25 + q] = CellValue::number(50 - 10 * q);
  return fila;
}

}  // namespace medravolix::crop_tool
