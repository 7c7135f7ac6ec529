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

double suma(const Workbook& libro, int i, int columna) {
  double total = 0;
  for (int m = 1; m <= 12; ++m) total += libro.number(kHojaBalance, filaBalance(i, m), columna);
  return total;
}

TEST(BatchMuestra, CompleteSimulationsHaveTheirRowsAndAnnualSumsOfTheMonths) {
  Workbook libro = libroMuestra();
  const int n = CONTAR_SIMULACIONES(libro);
  const InformeBatch informe = EJECUTAR_BATCH(libro, {}, 0, nullptr);
  EXPECT_EQ(informe.NUM_SIMULACIONES, n);
  EXPECT_EQ(informe.mensajeSinDatos(),
            "Can't find input data for these simulations: \r\n\r\nS14, ");
  EXPECT_EQ(informe.ejecutadas + informe.rechazadas + informe.sin_datos, n);
  for (int i = 1; i <= n; ++i) {
    const CellValue id = libro.cell(kHojaSolucion, i + 1, 1);
    if (id.isEmpty()) continue;
    SCOPED_TRACE("simulation " + id.toDisplayText());
    EXPECT_EQ(libro.cell(kHojaSimulaciones, i + 1, 1), id);
    for (int c = 1; c <= 21; ++c) EXPECT_FALSE(libro.cell(kHojaSolucion, i + 1, c).isEmpty()) << c;
    for (int m = 1; m <= 12; ++m) {
      EXPECT_EQ(libro.cell(kHojaBalance, filaBalance(i, m), 1), id);
      for (int c = 2; c <= 7; ++c) {
        EXPECT_TRUE(libro.cell(kHojaBalance, filaBalance(i, m), c).isNumber()) << m << " " << c;
      }
    }
    // Annual columns of SSol_batch against the months of WBal_batch: rainfall, irrigation,
    // bottom drainage, ETo, ETc, actual ET.
    const std::pair<int, int> pares[] = {{5, 2}, {6, 3}, {7, 7}, {8, 4}, {9, 5}, {10, 6}};
    for (const auto& [anual, mensual] : pares) {
      EXPECT_TRUE(testing::Near(libro.number(kHojaSolucion, i + 1, anual), suma(libro, i, mensual),
                                1e-9, 1e-12))
          << "column " << anual;
    }
  }
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

}  // namespace
}  // namespace medravolix::batch
