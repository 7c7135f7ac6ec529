#include "chemistry/tablas_quimicas.h"

#include <gtest/gtest.h>

#include <string>

#include "batch/simulacion.h"
#include "chemistry/equilibrio_solucion.h"
#include "chemistry/tablas_prueba.h"
#include "workbook/workbook.h"

namespace medravolix {
namespace {

using workbook::CellValue;
using workbook::Workbook;

// A workbook holding the given tables in the cells the chemistry reads, and a note elsewhere.
Workbook LibroCon(const TablasQuimicas& t) {
  Workbook libro = Workbook::create({"Constants", "Parameters"});
  const auto poner = [&libro](const char* hoja, int fila, int columna, double valor) {
    libro.setCell(hoja, fila, columna, CellValue::number(valor));
  };
  for (int k = 1; k <= 6; ++k) poner("Constants", 5, k + 1, t.LOG_K[k]);
  for (int a = 0; a <= 5; ++a) {
    for (int c = 1; c <= 4; ++c) poner("Constants", 13 + a, c + 2, t.LOG_K[4 * a + c + 6]);
  }
  for (int s = 1; s <= 11; ++s) {
    poner("Parameters", 4, s + 1, t.CARGA_ESPECIE[s]);
    poner("Parameters", 6, s + 1, t.COEF_CONDUCTIVIDAD_ESPECIE[s]);
  }
  for (int p = 1; p <= 24; ++p) {
    const int fila = p <= 12 ? 10 : 14, columna = p <= 12 ? p + 1 : p - 11;
    poner("Parameters", fila, columna, t.CARGA_PAR[p]);
    poner("Parameters", fila + 1, columna, t.COEF_CONDUCTIVIDAD_PAR[p]);
  }
  poner("Parameters", 19, 5, t.CE);
  poner("Parameters", 20, 5, t.FACTOR_CE);
  libro.setCell("Constants", 1, 1, CellValue::text("Equilibrium constants"));
  libro.setCell("Parameters", 12, 1, CellValue::text("not read"));
  return libro;
}

// Tables in which every cell read holds its own value, so a cell read in the wrong place shows.
TablasQuimicas TablasDistintas() {
  TablasQuimicas t;
  for (int k = 1; k <= 30; ++k) t.LOG_K[k] = -k / 8.0;
  for (int s = 1; s <= 11; ++s) {
    t.CARGA_ESPECIE[s] = 100 + s;
    t.COEF_CONDUCTIVIDAD_ESPECIE[s] = 200 + s;
  }
  for (int p = 1; p <= 24; ++p) {
    t.CARGA_PAR[p] = 300 + p;
    t.COEF_CONDUCTIVIDAD_PAR[p] = 400 + p;
  }
  t.CE = 0.5;
  t.FACTOR_CE = 0.25;
  return t;
}

TEST(LeerConstantesQuimicas, ReadsEveryCellIntoItsPlace) {
  const TablasQuimicas esperadas = TablasDistintas();
  const TablasQuimicas leidas = LEER_CONSTANTES_QUIMICAS(LibroCon(esperadas));
  for (int k = 1; k <= 30; ++k) EXPECT_EQ(esperadas.LOG_K[k], leidas.LOG_K[k]) << "constant " << k;
  for (int s = 1; s <= 11; ++s) {
    EXPECT_EQ(esperadas.CARGA_ESPECIE[s], leidas.CARGA_ESPECIE[s]) << "species " << s;
    EXPECT_EQ(esperadas.COEF_CONDUCTIVIDAD_ESPECIE[s], leidas.COEF_CONDUCTIVIDAD_ESPECIE[s]);
  }
  EXPECT_EQ(0.0, leidas.CARGA_ESPECIE[12]);  // dissolved CO2 has no cell
  for (int p = 1; p <= 24; ++p) {
    EXPECT_EQ(esperadas.CARGA_PAR[p], leidas.CARGA_PAR[p]) << "pair " << p;
    EXPECT_EQ(esperadas.COEF_CONDUCTIVIDAD_PAR[p], leidas.COEF_CONDUCTIVIDAD_PAR[p]);
  }
  EXPECT_EQ(0.5, leidas.CE);
  EXPECT_EQ(0.25, leidas.FACTOR_CE);
}

TEST(LeerConstantesQuimicas, TheSolutionFromTheWorkbookEqualsTheOneFromTheTables) {
  const TablasQuimicas tablas = prueba::TablasReferencia();
  const TablasQuimicas leidas = LEER_CONSTANTES_QUIMICAS(LibroCon(tablas));
  Simulacion de_libro = prueba::SimulacionCon(prueba::kAguaModerada, -2, 3, 10, 1);
  Simulacion de_tablas = de_libro;
  EQUILIBRIO_SOLUCION_SUELO(de_libro, leidas);
  EQUILIBRIO_SOLUCION_SUELO(de_tablas, tablas);
  EXPECT_EQ(de_tablas.PH, de_libro.PH);
  EXPECT_EQ(de_tablas.CE, de_libro.CE);
  EXPECT_EQ(de_tablas.ESPECIES[5].CONC_TOTAL, de_libro.ESPECIES[5].CONC_TOTAL);
}

TEST(LeerConstantesQuimicas, EmptyPairRowsGiveNoIonPairs) {
  Workbook libro = LibroCon(prueba::TablasReferencia());
  for (int fila = 13; fila <= 18; ++fila) {
    for (int columna = 3; columna <= 6; ++columna) libro.setCell("Constants", fila, columna, {});
  }
  const TablasQuimicas tablas = LEER_CONSTANTES_QUIMICAS(libro);
  for (int k = 7; k <= 30; ++k) EXPECT_EQ(0.0, tablas.LOG_K[k]);
  Simulacion sim = prueba::SimulacionCon(prueba::kAguaModerada, -2, 3, 10, 0);
  EQUILIBRIO_SOLUCION_SUELO(sim, tablas);
  ASSERT_TRUE(sim.SOLUCION_CON_VALOR);
  for (int p = 1; p <= 24; ++p) EXPECT_EQ(0.0, sim.QUIMICA.PARES[p].CONC_LIBRE) << "pair " << p;
  for (int s : {3, 4, 6, 7, 8, 9}) {  // every ion is free (no gypsum moves the sulphate)
    EXPECT_EQ(sim.ESPECIES[s].CONC_TOTAL, sim.ESPECIES[s].CONC_LIBRE) << "species " << s;
  }
}

TEST(LeerConstantesQuimicas, ATextOrAMissingSheetNamesTheSheetAndCell) {
  Workbook libro = LibroCon(prueba::TablasReferencia());
  libro.setCell("Constants", 16, 5, CellValue::text("2.30 (Nordstrom)"));
  try {
    LEER_CONSTANTES_QUIMICAS(libro);
    FAIL() << "a text in a constant's cell was read";
  } catch (const workbook::WorkbookError& e) {
    EXPECT_NE(std::string(e.what()).find("Constants!E16"), std::string::npos) << e.what();
  }
  libro.setCell("Constants", 16, 5, CellValue::text(" 2.30 "));  // wholly a number: accepted
  EXPECT_EQ(2.30, LEER_CONSTANTES_QUIMICAS(libro).LOG_K[21]);

  Workbook sin_parametros = Workbook::create({"Constants"});
  try {
    LEER_CONSTANTES_QUIMICAS(sin_parametros);
    FAIL() << "a missing sheet was not reported";
  } catch (const workbook::WorkbookError& e) {
    EXPECT_NE(std::string(e.what()).find("Parameters"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace medravolix
