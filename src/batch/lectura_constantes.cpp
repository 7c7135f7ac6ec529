#include "batch/lectura_constantes.h"

#include "chemistry/especies_quimicas.h"

namespace medravolix::batch {

namespace {

void leerConstantes(const workbook::Workbook& libro, TablasQuimicas& tablas) {
  libro.requireSheet(kHojaConstantes);
  for (int k = 1; k <= 6; ++k) tablas.LOG_K[k] = libro.number(kHojaConstantes, 5, k + 1);
  for (int c = 1; c <= quimica::kNumCationes; ++c) {
    for (int a = 0; a < quimica::kNumLigandos; ++a) {
      tablas.LOG_K[quimica::constantePar(quimica::par(a, c))] =
          libro.number(kHojaConstantes, 13 + a, c + 2);
    }
  }
}

void leerParametros(const workbook::Workbook& libro, TablasQuimicas& tablas) {
  libro.requireSheet(kHojaParametros);
  for (int s = 1; s <= 11; ++s) {
    tablas.carga_especie[s] = libro.number(kHojaParametros, 4, s + 1);
    tablas.coef_conductividad_especie[s] = libro.number(kHojaParametros, 6, s + 1);
  }
  for (int j = 1; j <= 12; ++j) {
    for (int b = 1; b <= 2; ++b) {
      const int p = 12 * (b - 1) + j;
      tablas.carga_par[p] = libro.number(kHojaParametros, 4 * (b - 1) + 10, j + 1);
      tablas.coef_conductividad_par[p] = libro.number(kHojaParametros, 4 * (b - 1) + 11, j + 1);
    }
  }
  tablas.CE = libro.number(kHojaParametros, 19, 5);
  tablas.FACTOR_CE = libro.number(kHojaParametros, 20, 5);
}

}  // namespace

TablasQuimicas LEER_CONSTANTES_QUIMICAS(const workbook::Workbook& libro) {
  TablasQuimicas tablas;
  leerConstantes(libro, tablas);
  leerParametros(libro, tablas);
  return tablas;
}

}  // namespace medravolix::batch
