#include "batch/resultados_posibles.h"

#include <array>
#include <cmath>

#include "batch/hojas_batch.h"
#include "common/calendario.h"
#include "common/number_text.h"
#include "workbook/workbook.h"

namespace medravolix::batch {

namespace {

// What a result is: a quantity that is never negative (its kind names it in the message), a
// fraction, a pH, or a number only required to be finite.
enum class Limite { Finito, Agua, Concentracion, Factor, CE, Profundidad, Capas, Fraccion, PH };

struct Resultado {
  std::string_view nombre;  // in the words of the result sheet's heading
  Limite limite = Limite::Finito;
  unsigned entradas = 0;  // none: the batch's settings
};

constexpr unsigned kBalance = kEntradasBalance;
constexpr unsigned kSolucion = kEntradasSolucion;
constexpr unsigned kEtc = kDelClima | kDelCultivo | kDelRiego;

// Sim_batch columns 7 to 9.
constexpr std::array<Resultado, 3> kAjustes = {{
    {"evaporative layer (cm)", Limite::Profundidad},
    {"simulation depth (cm)", Limite::Profundidad},
    {"layers", Limite::Capas},
}};

// SSol_batch columns 1 to 21 (1 and 11 hold texts).
constexpr std::array<Resultado, 21> kSolucionSuelo = {{
    {},
    {"concentration factor at field capacity", Limite::Factor, kBalance},
    {"concentration factor of the saturation extract", Limite::Factor, kBalance},
    {"leaching fraction", Limite::Fraccion, kBalance},
    {"rainfall (mm/year)", Limite::Agua, kDelClima},
    {"irrigation (mm/year)", Limite::Agua, kDelRiego},
    {"drainage (mm/year)", Limite::Agua, kBalance},
    {"ETo (mm/year)", Limite::Agua, kDelClima},
    {"ETc without stress (mm/year)", Limite::Agua, kEtc},
    {"actual ET (mm/year)", Limite::Agua, kBalance},
    {},
    {"Na (mmol/L)", Limite::Concentracion, kSolucion},
    {"K (mmol/L)", Limite::Concentracion, kSolucion},
    {"Ca (mmol/L)", Limite::Concentracion, kSolucion},
    {"Mg (mmol/L)", Limite::Concentracion, kSolucion},
    {"Cl (mmol/L)", Limite::Concentracion, kSolucion},
    {"NO3 (mmol/L)", Limite::Concentracion, kSolucion},
    {"SO4 (mmol/L)", Limite::Concentracion, kSolucion},
    {"alkalinity (meq/L)", Limite::Concentracion, kSolucion},
    {"pH", Limite::PH, kSolucion},
    {"EC (dS/m)", Limite::CE, kSolucion},
}};

// WBal_batch columns 1 to 7, for one month.
constexpr std::array<Resultado, 7> kBalanceMes = {{
    {},
    {"rainfall (mm)", Limite::Agua, kDelClima},
    {"irrigation (mm)", Limite::Agua, kDelRiego},
    {"ETo (mm)", Limite::Agua, kDelClima},
    {"ETc without stress (mm)", Limite::Agua, kEtc},
    {"actual ET (mm)", Limite::Agua, kBalance},
    {"drainage (mm)", Limite::Agua, kBalance},
}};

template <std::size_t N>
Resultado enColumna(const std::array<Resultado, N>& tabla, int primera, int columna) {
  const int k = columna - primera;
  return k >= 0 && k < static_cast<int>(N) ? tabla[k] : Resultado{};
}

Resultado resultadoDe(std::string_view hoja, int columna) {
  if (hoja == kHojaSimulaciones) return enColumna(kAjustes, 7, columna);
  if (hoja == kHojaSolucion) return enColumna(kSolucionSuelo, 1, columna);
  if (hoja == kHojaBalance) return enColumna(kBalanceMes, 1, columna);
  return {};
}

// Why the value cannot be, or nothing when it can.
const char* porQueImposible(Limite limite, double v) {
  if (!std::isfinite(v)) return "it is not a finite number";
  switch (limite) {
    case Limite::Finito:
      return nullptr;
    case Limite::Fraccion:
      return v >= 0 && v <= 1 ? nullptr : "a leaching fraction lies within 0 and 1";
    case Limite::PH:
      return v >= 0 && v <= 14 ? nullptr : "a pH lies within 0 and 14";
    default:
      break;
  }
  if (v >= 0) return nullptr;
  switch (limite) {
    case Limite::Agua:
      return "an amount of water is never negative";
    case Limite::Concentracion:
      return "a concentration is never negative";
    case Limite::Factor:
      return "a concentration factor is never negative";
    case Limite::CE:
      return "an EC is never negative";
    case Limite::Profundidad:
      return "a depth is never negative";
    default:
      return "a number of layers is never negative";
  }
}

std::string filas(std::string_view hoja, int primera, int n) {
  std::string texto(hoja);
  if (n <= 1) return texto + " row " + std::to_string(primera);
  return texto + " rows " + std::to_string(primera) + " to " + std::to_string(primera + n - 1);
}

// A computed result as a message quotes it, to six digits; but a value that six digits would
// round to a possible one (1.0000000000000004 for a fraction) is quoted whole.
std::string seisCifras(Limite limite, double v) {
  const double corto = sixDigits(v);
  return shortDecimal(porQueImposible(limite, corto) != nullptr ? corto : v);
}

}  // namespace

double resultadoPosible(std::string_view hoja, int fila, int columna, double v) {
  const Resultado r = resultadoDe(hoja, columna);
  const char* motivo = porQueImposible(r.limite, v);
  if (motivo == nullptr) return v;
  std::string nombre = r.nombre.empty() ? "result" : std::string(r.nombre);
  if (hoja == kHojaBalance) nombre += " of " + NOMBRE_MES((fila - 2) % kFilasBloque + 1, 1);
  throw ResultadoImposible("its " + nombre + ", " + workbook::cellReference(hoja, fila, columna) +
                               ", would be " + seisCifras(r.limite, v) +
                               ", which no soil can hold (" + motivo + ")",
                           r.entradas);
}

unsigned entradasDelPaso(const CalculoRechazado& rechazo) {
  return rechazo.paso() == CalculoRechazado::Paso::Balance ? kEntradasBalance : kEntradasSolucion;
}

std::string textoEntradas(int i, const FilasEntradas& f, unsigned entradas) {
  if (entradas == 0) return "it came from the batch's settings";
  std::string texto;
  const auto agregar = [&](unsigned bandera, const std::string& parte) {
    if (entradas & bandera) texto += (texto.empty() ? "" : ", ") + parte;
  };
  agregar(kDelSuelo, filas(kHojaSuelos, f.suelo, f.horizontes));
  agregar(kDelClima, filas(kHojaClimas, f.clima, kFilasBloque));
  agregar(kDelCultivo, filas(kHojaCultivos, f.cultivo, kFilasBloque));
  agregar(kDelRiego, filas(kHojaRiegos, f.riego, 1));
  agregar(kDelAgua, filas(kHojaAguas, f.agua, 1));
  agregar(kDeLaQuimica, "Constants and Parameters");
  return "it came from the inputs of " + filas(kHojaSimulaciones, filaSimulacion(i), 1) + ": " +
         texto;
}

}  // namespace medravolix::batch
