// The whole batch with the full model on the sample workbook's tables.
#include "batch/ejecutar_batch.h"

#include <gtest/gtest.h>

#include "batch/hojas_batch.h"
#include "batch/lectura_batch.h"
#include "batch/libro_muestra.h"
#include "support/test_support.h"

namespace medravolix::batch {
namespace {

using prueba::libroMuestra;
using workbook::CellValue;
using workbook::Workbook;

// Sim_batch rows repeated until `n` simulations are listed.
void repetirSimulaciones(Workbook& libro, int n) {
  const int base = CONTAR_SIMULACIONES(libro);
  for (int i = base + 1; i <= n; ++i) {
    for (int c = 1; c <= 6; ++c) {
      libro.setCell(kHojaSimulaciones, i + 1, c,
                    libro.cell(kHojaSimulaciones, (i - 1) % base + 2, c));
    }
  }
}

// Every cell the batch may write for `n` simulations, and one column beyond.
std::vector<CellValue> resultados(const Workbook& libro, int n) {
  std::vector<CellValue> celdas;
  const auto hoja = [&](std::string_view nombre, int filas, int columnas) {
    for (int r = 1; r <= filas; ++r) {
      for (int c = 1; c <= columnas; ++c) celdas.push_back(libro.cell(nombre, r, c));
    }
  };
  hoja(kHojaSimulaciones, n + 1, 11);
  hoja(kHojaSolucion, n + 1, 22);
  hoja(kHojaBalance, 12 * n + 1, 8);
  return celdas;
}

TEST(BatchMuestra, SameCellsForOneAndEightThreads) {
  const int n = 3 * 14;
  Workbook uno = libroMuestra();
  Workbook ocho = libroMuestra();
  repetirSimulaciones(uno, n);
  repetirSimulaciones(ocho, n);
  const auto i1 = EJECUTAR_BATCH(uno, {}, 1, nullptr);
  const auto i8 = EJECUTAR_BATCH(ocho, {}, 8, nullptr);
  EXPECT_EQ(i1.NUM_SIMULACIONES, n);
  EXPECT_EQ(resultados(uno, n), resultados(ocho, n));
  EXPECT_EQ(i1.LISTA_SIN_DATOS, i8.LISTA_SIN_DATOS);
  EXPECT_EQ(i1.mensajeObservadas(), i8.mensajeObservadas());
}

TEST(BatchMuestra, ResultsDoNotDependOnTheSimulationBefore) {
  Workbook adelante = libroMuestra();
  Workbook atras = libroMuestra();
  const int n = CONTAR_SIMULACIONES(adelante);
  for (int i = 1; i <= n; ++i) {
    for (int c = 1; c <= 6; ++c) {
      atras.setCell(kHojaSimulaciones, i + 1, c, adelante.cell(kHojaSimulaciones, n + 2 - i, c));
    }
  }
  EJECUTAR_BATCH(adelante, {}, 1, nullptr);
  EJECUTAR_BATCH(atras, {}, 1, nullptr);
  for (int i = 1; i <= n; ++i) {
    const int j = n + 1 - i;  // the same simulation in the reversed list
    for (int c = 1; c <= 21; ++c) {
      EXPECT_EQ(adelante.cell(kHojaSolucion, i + 1, c), atras.cell(kHojaSolucion, j + 1, c));
    }
    for (int m = 1; m <= 12; ++m) {
      for (int c = 1; c <= 7; ++c) {
        EXPECT_EQ(adelante.cell(kHojaBalance, filaBalance(i, m), c),
                  atras.cell(kHojaBalance, filaBalance(j, m), c));
      }
    }
  }
}

TEST(BatchMuestra, ChemistryCellThatIsNotANumberRefusesTheBatch) {
  Workbook libro = libroMuestra();
  libro.setCell("Parameters", 20, 5, CellValue::text("one"));
  const auto antes = resultados(libro, 14);
  try {
    EJECUTAR_BATCH(libro, {}, 2, nullptr);
    FAIL() << "the batch ran";
  } catch (const BatchRechazado& e) {
    EXPECT_NE(std::string(e.what()).find("Parameters!E20"), std::string::npos) << e.what();
  }
  EXPECT_EQ(resultados(libro, 14), antes);
}

}  // namespace
}  // namespace medravolix::batch
