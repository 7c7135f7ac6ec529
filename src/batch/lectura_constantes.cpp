#include "batch/lectura_constantes.h"

#include <limits>
#include <string>

#include "batch/celdas_entrada.h"
#include "chemistry/especies_quimicas.h"

namespace medravolix::batch {

namespace {

using workbook::Workbook;
using workbook::WorkbookError;

// A cell of the chemistry's sheets: a number the program can use, within `rango` when one is
// given. A bad cell refuses the whole batch, since every simulation shares it.
double numero(const Workbook& libro, std::string_view hoja, int fila, int columna,
              const std::string& que = "", const RangoEntrada* rango = nullptr) {
  const double valor = libro.number(hoja, fila, columna);
  std::string motivo = motivoNumeroInutil(hoja, fila, columna, valor);
  if (motivo.empty() && rango) motivo = motivoFueraDeRango(que, hoja, fila, columna, valor, *rango);
  if (motivo.empty()) return valor;
  throw WorkbookError(motivo);
}

// The six reactions of row 5 are weak (K below 1): a positive log K is a pK typed without its
// minus sign (14 for -14), which would give water a pH below 0. A log K of 0 switches a constant
// off.
const RangoEntrada kLogKDebil{-std::numeric_limits<double>::infinity(), 0.0,
                              " (a reaction of this row has K below 1: type log K, -14 for "
                              "water, not pK)"};
// Charges are signed, or stored as magnitudes; no ion or ion pair of a soil solution carries
// more than four charges, and a larger one would swamp the ionic strength.
const RangoEntrada kCarga{-4.0, 4.0, " (no ion of a soil solution carries more than 4 charges)"};
// A conductivity, and the coefficients and factor of its sum, are never negative.
const RangoEntrada kConductividad{};

const char* const kReacciones[] = {"",
                                   "the log K of the solution of CO2",
                                   "the log K of water",
                                   "the log K of the first dissociation of carbonic acid",
                                   "the log K of the second dissociation of carbonic acid",
                                   "the log K of calcite",
                                   "the log K of gypsum"};

void leerConstantes(const Workbook& libro, TablasQuimicas& tablas) {
  libro.requireSheet(kHojaConstantes);
  for (int k = 1; k <= 6; ++k) {
    tablas.LOG_K[k] = numero(libro, kHojaConstantes, 5, k + 1, kReacciones[k], &kLogKDebil);
  }
  for (int c = 1; c <= quimica::kNumCationes; ++c) {
    for (int a = 0; a < quimica::kNumLigandos; ++a) {
      tablas.LOG_K[quimica::constantePar(quimica::par(a, c))] =
          numero(libro, kHojaConstantes, 13 + a, c + 2);
    }
  }
}

void leerParametros(const Workbook& libro, TablasQuimicas& tablas) {
  libro.requireSheet(kHojaParametros);
  const std::string coeficiente = "the conductivity coefficient";
  for (int s = 1; s <= 11; ++s) {
    tablas.carga_especie[s] = numero(libro, kHojaParametros, 4, s + 1, "the charge", &kCarga);
    tablas.coef_conductividad_especie[s] =
        numero(libro, kHojaParametros, 6, s + 1, coeficiente, &kConductividad);
  }
  for (int j = 1; j <= 12; ++j) {
    for (int b = 1; b <= 2; ++b) {
      const int p = 12 * (b - 1) + j;
      tablas.carga_par[p] =
          numero(libro, kHojaParametros, 4 * (b - 1) + 10, j + 1, "the charge", &kCarga);
      tablas.coef_conductividad_par[p] =
          numero(libro, kHojaParametros, 4 * (b - 1) + 11, j + 1, coeficiente, &kConductividad);
    }
  }
  tablas.CE = numero(libro, kHojaParametros, 19, 5, "the electrical conductivity's intercept",
                     &kConductividad);
  tablas.FACTOR_CE = numero(libro, kHojaParametros, 20, 5,
                            "the factor of the electrical conductivity's sum", &kConductividad);
}

}  // namespace

TablasQuimicas LEER_CONSTANTES_QUIMICAS(const Workbook& libro) {
  TablasQuimicas tablas;
  leerConstantes(libro, tablas);
  leerParametros(libro, tablas);
  return tablas;
}

}  // namespace medravolix::batch
