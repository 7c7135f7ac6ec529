#include "batch/lectura_constantes.h"

#include <gtest/gtest.h>

#include <string>

#include "workbook/workbook.h"

namespace medravolix::batch {
namespace {

using workbook::CellValue;
using workbook::Workbook;

// Every cell of both sheets holds its own number (row x 100 + column, negative in Constants), so
// a cell read from the wrong place shows; the rows of charges (4, 10 and 14 of Parameters) hold it
// divided by 1000, a charge of at most 4.
Workbook LibroNumerado() {
  Workbook libro = Workbook::create({"Constants", "Parameters"});
  for (int fila = 1; fila <= 20; ++fila) {
    for (int columna = 1; columna <= 13; ++columna) {
      libro.setCell("Constants", fila, columna, CellValue::number(-(fila * 100 + columna)));
      const bool carga = fila == 4 || fila == 10 || fila == 14;
      libro.setCell("Parameters", fila, columna,
                    CellValue::number((fila * 100 + columna) / (carga ? 1000.0 : 1.0)));
    }
  }
  return libro;
}

TEST(LeerConstantesQuimicas, ReadsEveryCellIntoItsPlace) {
  Workbook libro = LibroNumerado();
  libro.setCell("Constants", 18, 6, {});  // an empty cell reads 0
  const TablasQuimicas t = LEER_CONSTANTES_QUIMICAS(libro);
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(-(500 + k + 1), t.LOG_K[k]) << "constant " << k;
  for (int k = 7; k <= 30; ++k) {  // constant 4a + c + 6 at row 13 + a, column c + 2
    const int a = (k - 7) / 4, c = (k - 7) % 4 + 1;
    EXPECT_EQ(k == 30 ? 0 : -((13 + a) * 100 + c + 2), t.LOG_K[k]) << "constant " << k;
  }
  for (int s = 1; s <= 11; ++s) {
    EXPECT_EQ((400 + s + 1) / 1000.0, t.carga_especie[s]) << "species " << s;
    EXPECT_EQ(600 + s + 1, t.coef_conductividad_especie[s]) << "species " << s;
  }
  for (int p = 1; p <= 24; ++p) {
    const int celda = p <= 12 ? 1000 + p + 1 : 1400 + p - 11;
    EXPECT_EQ(celda / 1000.0, t.carga_par[p]) << "pair " << p;
    EXPECT_EQ(celda + 100, t.coef_conductividad_par[p]) << "pair " << p;
  }
  EXPECT_EQ(1905, t.CE);
  EXPECT_EQ(2005, t.FACTOR_CE);
}

TEST(LeerConstantesQuimicas, ATextNamesTheSheetAndCell) {
  Workbook libro = LibroNumerado();
  libro.setCell("Constants", 16, 5, CellValue::text("2.30 (Nordstrom)"));
  try {
    LEER_CONSTANTES_QUIMICAS(libro);
    ADD_FAILURE() << "a text in a constant's cell was read";
  } catch (const workbook::WorkbookError& e) {
    EXPECT_NE(std::string(e.what()).find("Constants!E16"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace medravolix::batch
