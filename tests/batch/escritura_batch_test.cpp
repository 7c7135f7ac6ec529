#include "batch/escritura_batch.h"

#include <gtest/gtest.h>

#include <limits>

#include "batch/libro_prueba.h"

namespace medravolix::batch {
namespace {

using namespace prueba;

// A simulation whose results are all distinct and known.
Simulacion conResultados() {
  Simulacion sim;
  sim.SIMULACION.ID_SIMULACION = T("sim-A");
  sim.NUM_CAPAS = 64;
  sim.FACTOR_CONCENTRACION_CC = 2.5;
  sim.FACTOR_CONCENTRACION_SAT = 3.5;
  sim.FRACCION_LAVADO = 0.25;
  sim.PRECIPITACION_ANUAL = 300;
  sim.DATOS_RIEGO.RIEGO_ANUAL = 600;
  sim.DRENAJE_ANUAL_CAPA[63] = 1;
  sim.DRENAJE_ANUAL_CAPA[64] = 150;
  sim.ETO_ANUAL = 1200;
  sim.ETC_ANUAL = 900;
  sim.ET_REAL_ANUAL = 750;
  sim.SOLUCION_CON_VALOR = true;
  for (int k = 3; k <= 9; ++k) sim.ESPECIES[k].CONC_TOTAL = k / 1000.0;
  sim.ESPECIES[3].CONC_TOTAL = 0.0123456;
  sim.ALCALINIDAD = 0.0045;
  sim.PH = 7.8;
  sim.CE = 1.55;
  for (int m = 1; m <= 12; ++m) {
    sim.ESTACION.PRECIPITACION[m] = m;
    sim.DATOS_RIEGO.RIEGO_MENSUAL[m] = 10 * m;
    sim.ETO_MENSUAL[m] = 100 + m;
    sim.ETC_POTENCIAL[m] = 200 + m;
    sim.ET_REAL_MENSUAL[m] = 300 + m;
    sim.DRENAJE_CAPA[m][64] = 400 + m;
    sim.DRENAJE_CAPA[m][63] = -1;
  }
  return sim;
}

// Writes the list into a workbook whose result sheets hold a marker in every cell around.
LibroPrueba escrito(const LoteEscrituras& lote) {
  LibroPrueba p;
  for (int c = 1; c <= 22; ++c) {
    for (int r = 1; r <= 5; ++r) p.poner(kHojaSolucion, r, c, T("old"));
  }
  aplicarEscrituras(p.libro, lote);
  return p;
}

CellValue celda(const LibroPrueba& p, std::string_view hoja, int fila, int columna) {
  return p.libro.cell(hoja, fila, columna);
}

TEST(FormaMayorQue, WholeNumberHalvesToEvenInAnyMagnitude) {
  EXPECT_EQ(FORMA_MAYOR_QUE(2.5), "> 2");
  EXPECT_EQ(FORMA_MAYOR_QUE(3.5), "> 4");
  EXPECT_EQ(FORMA_MAYOR_QUE(12.3456), "> 12");
  EXPECT_EQ(FORMA_MAYOR_QUE(-2.5), "> -2");
  EXPECT_EQ(FORMA_MAYOR_QUE(-0.4), "> 0");
  EXPECT_EQ(FORMA_MAYOR_QUE(0.5), "> 0");
  // Beyond the 32-bit range a tiny drainage gives: written in full, in plain digits.
  EXPECT_EQ(FORMA_MAYOR_QUE(3e9), "> 3000000000");
  EXPECT_EQ(FORMA_MAYOR_QUE(1e20), "> 100000000000000000000");
}

TEST(EscribirSolucion, NumbersInTheirColumns) {
  Simulacion sim = conResultados();
  LoteEscrituras lote;
  ESCRIBIR_SOLUCION(sim, 1, lote);
  const auto p = escrito(lote);
  const auto c = [&](int col) { return celda(p, kHojaSolucion, 2, col); };
  EXPECT_EQ(c(1), T("sim-A"));
  EXPECT_EQ(c(2), N(2.5));
  EXPECT_EQ(c(3), N(3.5));
  EXPECT_EQ(c(4), N(0.25));
  EXPECT_EQ(c(5), N(300));
  EXPECT_EQ(c(6), N(600));
  EXPECT_EQ(c(7), N(150));  // drainage out of the bottom layer
  EXPECT_EQ(c(8), N(1200));
  EXPECT_EQ(c(9), N(900));
  EXPECT_EQ(c(10), N(750));
  EXPECT_EQ(c(11), T("saturation"));
  EXPECT_EQ(c(12), N(1000 * 0.0123456));
  for (int k = 4; k <= 9; ++k) EXPECT_EQ(c(k + 9), N(1000 * (k / 1000.0))) << k;
  EXPECT_EQ(c(19), N(1000 * 0.0045));
  EXPECT_EQ(c(20), N(7.8));
  EXPECT_EQ(c(21), N(1.55));
  EXPECT_EQ(c(22), T("old"));
  EXPECT_EQ(celda(p, kHojaSolucion, 1, 1), T("old"));
  EXPECT_EQ(celda(p, kHojaSolucion, 3, 1), T("old"));
}

TEST(EscribirSolucion, LowerBoundsWhenALayerDoesNotDrain) {
  Simulacion sim = conResultados();
  sim.SALIDA_MAYOR_QUE = true;
  LoteEscrituras lote;
  ESCRIBIR_SOLUCION(sim, 1, lote);
  const auto p = escrito(lote);
  const auto c = [&](int col) { return celda(p, kHojaSolucion, 2, col); };
  EXPECT_EQ(c(2), T("> 2"));
  EXPECT_EQ(c(3), T("> 4"));
  EXPECT_EQ(c(4), N(0.25));  // the leaching fraction and the pH stay numbers
  EXPECT_EQ(c(20), N(7.8));
  EXPECT_EQ(c(12), T("> 12"));  // sodium 0.0123456 mol/L
  EXPECT_EQ(c(13), T("> 4"));
  EXPECT_EQ(c(19), T("> 4"));  // 4.5 meq/L
  EXPECT_EQ(c(21), T("> 2"));
}

TEST(EscribirSolucion, ResultsWithoutValueAreEmptyCells) {
  Simulacion sim = conResultados();
  sim.SALIDA_MAYOR_QUE = true;
  sim.FACTOR_CONCENTRACION_CC.reset();
  sim.FACTOR_CONCENTRACION_SAT.reset();
  sim.FRACCION_LAVADO.reset();
  sim.SOLUCION_CON_VALOR = false;
  LoteEscrituras lote;
  ESCRIBIR_SOLUCION(sim, 1, lote);
  const auto p = escrito(lote);
  for (int col : {2, 3, 4}) EXPECT_TRUE(celda(p, kHojaSolucion, 2, col).isEmpty()) << col;
  for (int col = 12; col <= 21; ++col) {
    EXPECT_TRUE(celda(p, kHojaSolucion, 2, col).isEmpty()) << col;
  }
  EXPECT_EQ(celda(p, kHojaSolucion, 2, 5), N(300));
  EXPECT_EQ(celda(p, kHojaSolucion, 2, 11), T("saturation"));
}

TEST(EscribirSolucion, SolutionKeywordAndCapacityMethodTexts) {
  const auto solucion = [](const std::string& opcion) {
    Simulacion sim = conResultados();
    sim.OPCION_SOLUCION = opcion;
    LoteEscrituras lote;
    ESCRIBIR_SOLUCION(sim, 1, lote);
    return celda(escrito(lote), kHojaSolucion, 2, 11);
  };
  EXPECT_EQ(solucion("capacidad de campo"), T("field capacity"));
  EXPECT_EQ(solucion("drenaje"), T("drainage"));
  EXPECT_EQ(solucion("Saturación"), T("old"));  // any other text leaves the cell as it was

  const auto ajustes = [](int16_t opcion) {
    Simulacion sim = conResultados();
    sim.OPCION_CAPACIDAD = opcion;
    sim.PROF_EVAPORATIVA = 12;
    sim.PROF_SIMULACION = 80;
    LoteEscrituras lote;
    ESCRIBIR_AJUSTES(sim, 3, lote);
    LibroPrueba p;
    p.poner(kHojaSimulaciones, 4, 10, T("old"));
    aplicarEscrituras(p.libro, lote);
    EXPECT_EQ(p.libro.cell(kHojaSimulaciones, 4, 7), N(12));
    EXPECT_EQ(p.libro.cell(kHojaSimulaciones, 4, 8), N(80));
    EXPECT_EQ(p.libro.cell(kHojaSimulaciones, 4, 9), N(64));
    return p.libro.cell(kHojaSimulaciones, 4, 10);
  };
  EXPECT_EQ(ajustes(1), T("Yes"));
  EXPECT_EQ(ajustes(0), T("No"));
  EXPECT_EQ(ajustes(2), T("old"));
}

TEST(EscribirBalance, TwelveRowsOfTheSimulationJanuaryFirst) {
  Simulacion sim = conResultados();
  sim.SIMULACION.ID_SIMULACION = N(7);
  LoteEscrituras lote;
  ESCRIBIR_BALANCE(sim, 3, lote);
  ASSERT_EQ(lote.size(), 12u * 7);
  EXPECT_EQ(lote.front().fila, 26);
  EXPECT_EQ(lote.back().fila, 37);
  const auto p = escrito(lote);
  for (int m = 1; m <= 12; ++m) {
    const int fila = 25 + m;
    EXPECT_EQ(celda(p, kHojaBalance, fila, 1), N(7));
    EXPECT_EQ(celda(p, kHojaBalance, fila, 2), N(m));
    EXPECT_EQ(celda(p, kHojaBalance, fila, 3), N(10 * m));
    EXPECT_EQ(celda(p, kHojaBalance, fila, 4), N(100 + m));
    EXPECT_EQ(celda(p, kHojaBalance, fila, 5), N(200 + m));
    EXPECT_EQ(celda(p, kHojaBalance, fila, 6), N(300 + m));
    EXPECT_EQ(celda(p, kHojaBalance, fila, 7), N(400 + m));
  }
  EXPECT_TRUE(celda(p, kHojaBalance, 25, 1).isEmpty());
  EXPECT_TRUE(celda(p, kHojaBalance, 38, 1).isEmpty());
}

TEST(EscribirResultados, ANumberThatIsNotFiniteRefusesTheSimulation) {
  Simulacion sim = conResultados();
  sim.ET_REAL_MENSUAL[4] = std::numeric_limits<double>::quiet_NaN();
  try {
    ESCRIBIR_RESULTADOS(sim, 2);
    FAIL() << "a NaN was formatted";
  } catch (const SimulacionRechazada& e) {
    EXPECT_NE(std::string(e.what()).find("WBal_batch!F17"), std::string::npos) << e.what();
  }
  sim = conResultados();
  sim.SALIDA_MAYOR_QUE = true;
  sim.FACTOR_CONCENTRACION_CC = std::numeric_limits<double>::infinity();
  EXPECT_THROW(ESCRIBIR_RESULTADOS(sim, 2), SimulacionRechazada);
}

}  // namespace
}  // namespace medravolix::batch
