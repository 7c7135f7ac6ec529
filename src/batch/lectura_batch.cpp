#include "batch/lectura_batch.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <stdexcept>
#include <string>

#include "batch/celdas_entrada.h"
#include "batch/hojas_batch.h"
#include "common/calendario.h"
#include "common/enteros.h"
#include "common/number_text.h"
#include "crops/registro_cultivo.h"
#include "simulation/simulacion.h"

namespace medravolix::batch {

using workbook::CellValue;
using workbook::Workbook;

namespace {

// An empty cell, or one holding the empty text, looks empty to the user and ends a list.
bool vacia(const CellValue& celda) {
  return celda.isEmptyText();
}

// The row r = primera, primera + paso, ... whose column 1 holds the id; the search ends at the
// first row whose column 1 is empty (tested before the match) or at the sheet's last row. A row
// holding the id in its own kind (a number for a number, a text for a text) is taken first; when
// there is none, the first row that shows the same text (the number 7 for the text "7", or the
// reverse).
std::optional<int> buscarFila(const Workbook& libro, std::string_view hoja, const CellValue& id,
                              int primera, int paso) {
  if (id.isEmptyText()) return std::nullopt;
  std::optional<int> parecida;
  for (int r = primera; r <= workbook::kMaxRows; r += paso) {
    const CellValue celda = libro.cell(hoja, r, 1);
    if (vacia(celda)) break;
    if (celda.matchesIdSameKind(id)) return r;
    if (!parecida && celda.kind() != id.kind() && celda.matchesId(id)) parecida = r;
  }
  return parecida;
}

// A number of an input cell: one the program cannot compute with (1e300, a mistyped exponent)
// refuses the simulation with its cell, before it turns the balance or the chemistry into
// nonsense far from the cell that caused it.
double numero(const Workbook& libro, std::string_view hoja, int fila, int columna) {
  const double valor = libro.number(hoja, fila, columna);
  const std::string motivo = motivoNumeroInutil(hoja, fila, columna, valor);
  if (motivo.empty()) return valor;
  throw SimulacionRechazada(motivo);
}

// A number of an input cell that must also lie within the range of the quantity it stands for.
double numeroEnRango(const Workbook& libro, std::string_view hoja, int fila, int columna,
                     const std::string& que, const RangoEntrada& rango) {
  const double valor = numero(libro, hoja, fila, columna);
  const std::string motivo = motivoFueraDeRango(que, hoja, fila, columna, valor, rango);
  if (motivo.empty()) return valor;
  throw SimulacionRechazada(motivo);
}

const RangoEntrada kNoNegativo{};
const RangoEntrada kPorcentaje{0.0, 100.0, ""};

// The ions of Wat_batch columns 2 to 8 (species 3 to 9 of the chemistry).
constexpr std::array<const char*, 7> kIonesAgua = {"sodium",
                                                   "potassium",
                                                   "calcium",
                                                   "magnesium",
                                                   "the first further anion",
                                                   "the second further anion",
                                                   "sulphate"};

// The number of consecutive rows from r0 whose column 1 holds the soil's id as row r0 holds it
// (the same kind and value), so that a soil's horizons are one run of the same cells. An empty
// column 1 ends the run even for the id 0, which an empty cell would otherwise match.
int contarHorizontes(const Workbook& libro, int r0, const CellValue& id) {
  const CellValue primera = libro.cell(kHojaSuelos, r0, 1);
  int n = 1;
  while (r0 + n <= workbook::kMaxRows) {
    const CellValue celda = libro.cell(kHojaSuelos, r0 + n, 1);
    if (vacia(celda) || !celda.matchesIdSameKind(primera)) break;
    ++n;
  }
  if (n > 32767) {
    throw SimulacionRechazada("The soil " + id.toDisplayText() + " of Soil_batch has " +
                              std::to_string(n) + " horizons; a soil can have at most 32767");
  }
  return n;
}

// The depth of a horizon's lower boundary, a whole number of centimetres (halves to even).
int16_t leerProfundidad(const Workbook& libro, int fila) {
  const double valor = libro.number(kHojaSuelos, fila, 3);
  if (!fitsInInt16(valor)) {
    throw SimulacionRechazada(workbook::cellReference(kHojaSuelos, fila, 3) + " holds the depth " +
                              shortDecimal(valor) +
                              " cm, outside the whole numbers -32768 to 32767 the model takes");
  }
  return toInt16(valor);
}

void crearHorizontes(EntradasSimulacion& sim, int n) {
  sim.NUM_FILAS_SUELO = static_cast<int16_t>(n);
  sim.PROF_FILA.assign(n + 1, 0);
  for (const SerieHorizonte& serie : kSeriesHorizonte) (sim.*serie.fila).assign(n + 1, 0.0);
}

// The Soil_batch column of each horizon array of kSeriesHorizonte, in its order.
constexpr std::array<int, kSeriesHorizonte.size()> kColumnasHorizonte = {6,  4,  7,  8,  9,
                                                                         10, 11, 12, 13, 14};

// What each horizon array holds, in the order of kSeriesHorizonte, and its range: shares of the
// soil from none to all of it, water contents of a volume from none to all of it.
struct PropiedadHorizonte {
  const char* que;
  RangoEntrada rango;
};
const RangoEntrada kFraccionVolumen{0.0, 1.0, ", the whole volume"};
// A ground cover or a wetted fraction: at most the whole surface.
const RangoEntrada kFraccionSuperficie{0.0, 1.0, ", the whole surface"};
const std::array<PropiedadHorizonte, kSeriesHorizonte.size()> kPropiedadesHorizonte = {{
    {"the clay (%)", kPorcentaje},
    {"the sand (%)", kPorcentaje},
    {"the water content at saturation (kg/kg)", kNoNegativo},
    {"the field capacity (m3/m3)", kFraccionVolumen},
    {"the wilting point (m3/m3)", kFraccionVolumen},
    {"the bulk density (g/cm3)", kNoNegativo},
    {"the stones (% of volume)", kPorcentaje},
    {"the calcium carbonate (% of mass)", kPorcentaje},
    {"the organic matter (%)", kPorcentaje},
    {"the gypsum (% of mass)", kPorcentaje},
}};

// The horizons go down from the surface: each ends at or below the one above it.
void comprobarProfundidad(const EntradasSimulacion& sim, int fila, int h) {
  const double fondo = sim.PROF_FILA[h];
  const std::string que = "the depth (cm) of the lower boundary of horizon " + std::to_string(h);
  if (h == 1) {
    const std::string motivo = motivoFueraDeRango(que, kHojaSuelos, fila, 3, fondo, kNoNegativo);
    if (!motivo.empty()) throw SimulacionRechazada(motivo);
    return;
  }
  if (fondo >= sim.PROF_FILA[h - 1]) return;
  throw SimulacionRechazada(que + ", " + workbook::cellReference(kHojaSuelos, fila, 3) + ", is " +
                            shortDecimal(fondo) + ", above the lower boundary of horizon " +
                            std::to_string(h - 1) + ", " + shortDecimal(sim.PROF_FILA[h - 1]) +
                            " in " + workbook::cellReference(kHojaSuelos, fila - 1, 3) +
                            "; the horizons go down from the surface, top first");
}

// Water is held between the wilting point and field capacity: a field capacity below the wilting
// point would leave the soil a negative amount of water to hold.
void comprobarCapacidad(const EntradasSimulacion& sim, int fila, int h) {
  if (sim.CC_FILA[h] >= sim.PMP_FILA[h]) return;
  throw SimulacionRechazada("the field capacity (m3/m3) of horizon " + std::to_string(h) + ", " +
                            workbook::cellReference(kHojaSuelos, fila, 8) + ", is " +
                            shortDecimal(sim.CC_FILA[h]) + ", below its wilting point, " +
                            shortDecimal(sim.PMP_FILA[h]) + " in " +
                            workbook::cellReference(kHojaSuelos, fila, 9) +
                            "; the field capacity may not be below the wilting point");
}

// Shares of one whole (in %): the sand and clay of the mineral soil, with silt the rest of it;
// the calcium carbonate, gypsum and organic matter of the soil's mass. Together they may not be
// more than all of it.
struct PartesDeUnTodo {
  const char* que;  // "the clay and sand (%)"
  std::array<int, 3> columnas;
  int n;
  const char* razon;  // after "; "
};
const std::array<PartesDeUnTodo, 2> kPartesHorizonte = {{
    {"the clay and sand (%)",
     {6, 4, 0},
     2,
     "they are shares of the same mineral soil, silt the rest, so together they may not be more "
     "than 100"},
    {"the calcium carbonate, organic matter and gypsum (% of mass)",
     {12, 13, 14},
     3,
     "they are shares of the same soil's mass, so together they may not be more than 100"},
}};

void comprobarPartes(const Workbook& libro, int fila, int h, const PartesDeUnTodo& partes) {
  double suma = 0.0;
  std::string celdas, valores;
  for (int k = 0; k < partes.n; ++k) {
    const double valor = libro.number(kHojaSuelos, fila, partes.columnas[k]);
    suma += valor;
    const std::string separador = k == 0 ? "" : k + 1 == partes.n ? " and " : ", ";
    celdas += separador + workbook::cellReference(kHojaSuelos, fila, partes.columnas[k]);
    valores += separador + shortDecimal(valor);
  }
  // Typed decimal shares that make exactly 100 may add up a little above it in binary.
  if (suma <= 100.0 * (1.0 + 1e-12)) return;
  throw SimulacionRechazada(std::string(partes.que) + " of horizon " + std::to_string(h) + ", " +
                            celdas + ", are " + valores + ", which sum to " +
                            shortDecimal(sumAsTyped(suma)) + "; " + partes.razon);
}

void leerHorizonte(const Workbook& libro, int fila, int h, EntradasSimulacion& sim) {
  sim.PROF_FILA[h] = leerProfundidad(libro, fila);
  comprobarProfundidad(sim, fila, h);
  for (std::size_t k = 0; k < kSeriesHorizonte.size(); ++k) {
    const PropiedadHorizonte& propiedad = kPropiedadesHorizonte[k];
    (sim.*kSeriesHorizonte[k].fila)[h] =
        numeroEnRango(libro, kHojaSuelos, fila, kColumnasHorizonte[k],
                      propiedad.que + (" of horizon " + std::to_string(h)), propiedad.rango);
  }
  comprobarCapacidad(sim, fila, h);
  for (const PartesDeUnTodo& partes : kPartesHorizonte) comprobarPartes(libro, fila, h, partes);
}

// What a column of a twelve-month block holds: its name in messages and its range in month m.
struct ColumnaMensual {
  const char* que;
  RangoEntrada (*rango)(int mes);
};
using ColumnasBloque = std::array<ColumnaMensual, 3>;  // columns 2, 3 and 4

RangoEntrada noNegativo(int /*mes*/) {
  return kNoNegativo;
}
RangoEntrada diasDelMes(int mes) {
  return {0.0, static_cast<double>(DIAS_MES(static_cast<int16_t>(mes))), ", the days of the month"};
}
RangoEntrada coeficienteBasal(int /*mes*/) {
  return {0.0, crops::kKcbMaximo, ", the largest the crop libraries take"};
}
RangoEntrada profundidadRaiz(int /*mes*/) {
  return {0.0, crops::kRaizMaximaCm, " cm, the deepest the crop libraries take"};
}
RangoEntrada fraccionSuperficie(int /*mes*/) {
  return kFraccionSuperficie;
}

// Water cannot fall, nor rain fall on more days than the month has; a negative reference
// evapotranspiration would have the air give water to the soil, so that the balance would find
// more water in the profile than rain and irrigation brought.
const ColumnasBloque kColumnasClima = {{{"the rainfall (mm)", noNegativo},
                                        {"the number of rainy days", diasDelMes},
                                        {"the reference evapotranspiration (mm)", noNegativo}}};
// A negative coefficient or cover would have the crop give water back to the air, and a cover
// above the whole surface leave a negative share of bare soil to evaporate from.
const ColumnasBloque kColumnasCultivo = {{{"the basal crop coefficient", coeficienteBasal},
                                          {"the root depth (cm)", profundidadRaiz},
                                          {"the ground cover (fraction)", fraccionSuperficie}}};

// Columns 2, 3 and 4 of the twelve rows of a block, January first, each within its range.
void leerBloque(const Workbook& libro, std::string_view hoja, int r0,
                const ColumnasBloque& columnas, const std::array<Mensual*, 3>& series) {
  for (int m = 1; m <= kMeses; ++m) {
    for (std::size_t k = 0; k < columnas.size(); ++k) {
      const std::string que = columnas[k].que + (" of month " + std::to_string(m));
      (*series[k])[m] = numeroEnRango(libro, hoja, r0 + m - 1, static_cast<int>(k) + 2, que,
                                      columnas[k].rango(m));
    }
  }
}

// A twelve-month block found by its id; its three columns go to the three series only once the
// whole block has been read, so a look-up that fails changes none of them.
std::optional<int> buscarBloque(const Workbook& libro, std::string_view hoja, const CellValue& id,
                                const ColumnasBloque& columnas, Mensual& a, Mensual& b,
                                Mensual& c) {
  const auto r0 = buscarFila(libro, hoja, id, kPrimeraFilaBloque, kFilasBloque);
  if (!r0) return std::nullopt;
  Mensual leido_a{}, leido_b{}, leido_c{};
  leerBloque(libro, hoja, *r0, columnas, {&leido_a, &leido_b, &leido_c});
  a = leido_a;
  b = leido_b;
  c = leido_c;
  return r0;
}

// The shares of the root water uptake of the four quarters of the root zone, in %, top first:
// none negative, and all the uptake shared out, 100 % give or take 1 for rounding when typed.
void comprobarPatronExtraccion(const Workbook& libro, int r0) {
  constexpr int kPrimeraColumna = 27;
  double suma = 0.0;
  std::string celdas, valores;
  for (int q = 1; q <= 4; ++q) {
    const int columna = kPrimeraColumna + q - 1;
    const double valor = numero(libro, kHojaRiegos, r0, columna);
    if (valor < 0.0) {
      throw SimulacionRechazada("the share of root water uptake (%) of quarter " +
                                std::to_string(q) + " of the root zone, " +
                                workbook::cellReference(kHojaRiegos, r0, columna) + ", is " +
                                shortDecimal(valor) + "; it may not be negative");
    }
    suma += valor;
    const std::string separador = q == 1 ? "" : q == 4 ? " and " : ", ";
    celdas += separador + (q == 1 ? workbook::cellReference(kHojaRiegos, r0, columna)
                                  : workbook::cellReference(r0, columna));
    valores += separador + shortDecimal(valor);
  }
  if (std::fabs(suma - 100.0) <= 1.0) return;
  throw SimulacionRechazada(
      "the shares of root water uptake (%) of the four quarters of the root zone, " + celdas +
      ", are " + valores + ", which sum to " + shortDecimal(sumAsTyped(suma)) +
      "; they must sum to 100 (percentages, top quarter first, such as 40, 30, 20 and 10)");
}

}  // namespace

int CONTAR_SIMULACIONES(const Workbook& libro) {
  int n = 0;
  while (n + 2 <= workbook::kMaxRows) {
    bool con_valor = true;
    try {
      con_valor = !vacia(libro.cell(kHojaSimulaciones, n + 2, 1));
    } catch (const workbook::WorkbookDamaged&) {
      throw;  // the sheet itself cannot be read: no row of it counts
    } catch (const workbook::WorkbookError&) {
      // An unreadable id (an error value) still lists a simulation; reading it refuses it.
      libro.requireSheet(kHojaSimulaciones);
    }
    if (!con_valor) break;
    ++n;
  }
  return n;
}

void LEER_SIMULACION(const Workbook& libro, int i, EntradasSimulacion& sim) {
  const int fila = filaSimulacion(i);
  FILA_SIMULACION& ids = sim.SIMULACION;
  ids.ID_SIMULACION = libro.cell(kHojaSimulaciones, fila, 1);
  ids.ID_CLIMA = libro.cell(kHojaSimulaciones, fila, 2);
  ids.ID_SUELO = libro.cell(kHojaSimulaciones, fila, 3);
  ids.ID_AGUA = libro.cell(kHojaSimulaciones, fila, 4);
  ids.ID_RIEGO = libro.cell(kHojaSimulaciones, fila, 5);
  ids.ID_CULTIVO = libro.cell(kHojaSimulaciones, fila, 6);
}

std::optional<int> BUSCAR_SUELO(const Workbook& libro, EntradasSimulacion& sim) {
  const CellValue& id = sim.SIMULACION.ID_SUELO;
  const auto r0 = buscarFila(libro, kHojaSuelos, id, 1, 1);
  if (!r0) return std::nullopt;
  const int n = contarHorizontes(libro, *r0, id);
  crearHorizontes(sim, n);
  for (int h = 1; h <= n; ++h) leerHorizonte(libro, *r0 + h - 1, h, sim);
  // A partial pressure of CO2 above 1 atm would be more than the whole pressure of the soil air.
  const RangoEntrada kLogPresion{-std::numeric_limits<double>::infinity(), 0.0,
                                 " (a pressure of 1 atm, the whole soil air's)"};
  const double log_pco2 = numeroEnRango(
      libro, kHojaSuelos, *r0, 15, "the log10 of the soil air's CO2 pressure (atm)", kLogPresion);
  sim.PCO2 = std::pow(10.0, log_pco2);
  return r0;
}

std::optional<int> BUSCAR_CLIMA(const Workbook& libro, EntradasSimulacion& sim) {
  return buscarBloque(libro, kHojaClimas, sim.SIMULACION.ID_CLIMA, kColumnasClima,
                      sim.ESTACION.PRECIPITACION, sim.ESTACION.DIAS_LLUVIA,
                      sim.ESTACION.ETO_EXTERNA);
}

std::optional<int> BUSCAR_CULTIVO(const Workbook& libro, EntradasSimulacion& sim) {
  return buscarBloque(libro, kHojaCultivos, sim.SIMULACION.ID_CULTIVO, kColumnasCultivo,
                      sim.KCB_MENSUAL, sim.RAIZ_MENSUAL, sim.COBERTURA_MENSUAL);
}

std::optional<int> BUSCAR_RIEGO(const Workbook& libro, EntradasSimulacion& sim) {
  const auto r0 = buscarFila(libro, kHojaRiegos, sim.SIMULACION.ID_RIEGO, 1, 1);
  if (!r0) return std::nullopt;
  comprobarPatronExtraccion(libro, *r0);
  const auto columna = [&](int c) { return numero(libro, kHojaRiegos, *r0, c); };
  REGISTRO_RIEGO riego = sim.DATOS_RIEGO;
  for (int m = 1; m <= kMeses; ++m) {
    riego.RIEGO_MENSUAL[m] =
        numeroEnRango(libro, kHojaRiegos, *r0, m + 1,
                      "the irrigation (mm) of month " + std::to_string(m), kNoNegativo);
    riego.NRIEGOS_MENSUAL[m] =
        numeroEnRango(libro, kHojaRiegos, *r0, m + 13,
                      "the number of irrigations of month " + std::to_string(m), kNoNegativo);
  }
  riego.FRACCION_MOJADA = numeroEnRango(
      libro, kHojaRiegos, *r0, 26, "the wetted fraction of the soil surface", kFraccionSuperficie);
  std::array<double, 5> patron{};
  for (int q = 1; q <= 4; ++q) patron[q] = columna(q + 26) / 100;
  sim.DATOS_RIEGO = riego;
  sim.PATRON_EXTRACCION = patron;
  return r0;
}

std::optional<int> BUSCAR_AGUA(const Workbook& libro, EntradasSimulacion& sim) {
  const auto r0 = buscarFila(libro, kHojaAguas, sim.SIMULACION.ID_AGUA, 1, 1);
  if (!r0) return std::nullopt;
  std::array<double, 10> composicion{};
  for (int k = 3; k <= 9; ++k) {
    composicion[k] = numeroEnRango(libro, kHojaAguas, *r0, k - 1,
                                   std::string("the concentration (mmol/L) of ") +
                                       kIonesAgua[k - 3] + " in the irrigation water",
                                   kNoNegativo);
  }
  const double alcalinidad = numero(libro, kHojaAguas, *r0, 9);
  sim.COMPOSICION_AGUA = composicion;
  sim.ALCALINIDAD_AGUA = alcalinidad;
  return r0;
}

}  // namespace medravolix::batch
