#include "batch/lectura_batch.h"

#include <gtest/gtest.h>

#include <cmath>

#include "batch/libro_prueba.h"
#include "support/test_support.h"

namespace medravolix::batch {
namespace {

using namespace prueba;

TEST(ContarSimulaciones, RunOfRowsFromRowTwoEndsAtTheFirstEmptyId) {
  LibroPrueba p;
  EXPECT_EQ(CONTAR_SIMULACIONES(p.libro), 0);
  p.poner(kHojaSimulaciones, 3, 1, T("below an empty row 2"));
  EXPECT_EQ(CONTAR_SIMULACIONES(p.libro), 0);
  p.poner(kHojaSimulaciones, 2, 1, N(7));
  p.poner(kHojaSimulaciones, 4, 1, T("x"));
  p.poner(kHojaSimulaciones, 6, 1, T("after a gap: not run"));
  EXPECT_EQ(CONTAR_SIMULACIONES(p.libro), 3);
  p.poner(kHojaSimulaciones, 5, 1, T(""));  // the empty text looks empty and ends the list too
  EXPECT_EQ(CONTAR_SIMULACIONES(p.libro), 3);
}

TEST(LeerSimulacion, KeepsTheSixIdsAsRead) {
  LibroPrueba p;
  p.simulacion(2, {N(7), T("c"), N(0), T("w"), T(""), CellValue()});
  Simulacion sim;
  LEER_SIMULACION(p.libro, 2, sim);
  EXPECT_EQ(sim.SIMULACION.ID_SIMULACION, N(7));
  EXPECT_EQ(sim.SIMULACION.ID_CLIMA, T("c"));
  EXPECT_EQ(sim.SIMULACION.ID_SUELO, N(0));
  EXPECT_EQ(sim.SIMULACION.ID_AGUA, T("w"));
  EXPECT_TRUE(sim.SIMULACION.ID_RIEGO.isEmptyText());
  EXPECT_TRUE(sim.SIMULACION.ID_CULTIVO.isEmpty());
}

TEST(BuscarSuelo, ReadsTheFirstRunOfHorizonsInTheirColumns) {
  LibroPrueba p;
  p.horizonte(1, T("other"), 30);
  p.horizonte(2, T("S1"), 20, 2.0);
  p.horizonte(3, T("S1"), 55, 3.0);
  p.horizonte(4, T("S2"), 40);              // interrupts S1
  p.horizonte(5, T("S1"), 90);              // a later S1 row is not a horizon of it
  p.horizonte(6, T("S2"), 80);              // the same id twice: the first place is used
  p.poner(kHojaSuelos, 2, 6, CellValue());  // an empty cell reads 0
  Simulacion sim;
  sim.SIMULACION.ID_SUELO = T("S1");
  EXPECT_EQ(BUSCAR_SUELO(p.libro, sim), 2);
  ASSERT_EQ(sim.NUM_FILAS_SUELO, 2);
  EXPECT_EQ(sim.PROF_FILA, (std::vector<int16_t>{0, 20, 55}));
  EXPECT_EQ(sim.ARCILLA_FILA[1], 0.0);
  EXPECT_EQ(sim.ARCILLA_FILA[2], 3.0 + 0.06);
  EXPECT_EQ(sim.ARENA_FILA[1], 2.0 + 0.04);
  EXPECT_EQ(sim.SAT_FILA[2], 3.0 + 0.07);
  EXPECT_EQ(sim.CC_FILA[2], 3.0 + 0.08);
  EXPECT_EQ(sim.PMP_FILA[2], 3.0 + 0.09);
  EXPECT_EQ(sim.DENSIDAD_FILA[2], 3.0 + 0.1);
  EXPECT_EQ(sim.PIEDRAS_FILA[2], 3.0 + 0.11);
  EXPECT_EQ(sim.CALIZA_FILA[2], 3.0 + 0.12);
  EXPECT_EQ(sim.MO_FILA[2], 3.0 + 0.13);
  EXPECT_EQ(sim.YESO_FILA[2], 3.0 + 0.14);
  // log10 pCO2 from the soil's first row only: -3 + 0.2.
  EXPECT_TRUE(testing::Near(std::pow(10.0, -2.8), sim.PCO2, 0, 1e-15));

  sim.SIMULACION.ID_SUELO = T("S2");
  EXPECT_EQ(BUSCAR_SUELO(p.libro, sim), 4);
  EXPECT_EQ(sim.NUM_FILAS_SUELO, 1);
  EXPECT_EQ(sim.PROF_FILA, (std::vector<int16_t>{0, 40}));
}

TEST(BuscarSuelo, DepthIsAWholeNumberWithHalvesToEven) {
  LibroPrueba p;
  p.horizonte(1, T("S"), 42.5);
  p.horizonte(2, T("S"), 43.5);
  p.horizonte(3, T("S"), -0.5);
  Simulacion sim;
  sim.SIMULACION.ID_SUELO = T("S");
  ASSERT_TRUE(BUSCAR_SUELO(p.libro, sim));
  EXPECT_EQ(sim.PROF_FILA, (std::vector<int16_t>{0, 42, 44, 0}));
}

TEST(BuscarSuelo, DepthOutsideTheSixteenBitRangeRefusesTheSimulation) {
  LibroPrueba p;
  p.horizonte(1, T("S"), 20);
  p.horizonte(2, T("S"), 32767.6);
  Simulacion sim;
  sim.SIMULACION.ID_SUELO = T("S");
  try {
    BUSCAR_SUELO(p.libro, sim);
    FAIL() << "a depth of 32767.6 cm was taken";
  } catch (const SimulacionRechazada& e) {
    EXPECT_NE(std::string(e.what()).find("Soil_batch!C2"), std::string::npos) << e.what();
  }
}

TEST(BuscarSuelo, SoilIdZeroStopsAtTheFirstEmptyRow) {
  LibroPrueba p;
  p.horizonte(1, N(0), 30);
  p.horizonte(2, N(0), 60);
  p.poner(kHojaSuelos, 5, 1, N(0));  // rows 3 and 4 are empty: not horizons of soil 0
  Simulacion sim;
  sim.SIMULACION.ID_SUELO = N(0);
  EXPECT_EQ(BUSCAR_SUELO(p.libro, sim), 1);
  EXPECT_EQ(sim.NUM_FILAS_SUELO, 2);
}

TEST(BuscarSuelo, TextWhereANumberIsExpectedNamesTheCell) {
  LibroPrueba p;
  p.horizonte(1, T("S"), 30);
  p.poner(kHojaSuelos, 1, 4, T("sandy"));
  Simulacion sim;
  sim.SIMULACION.ID_SUELO = T("S");
  try {
    BUSCAR_SUELO(p.libro, sim);
    FAIL() << "a text was read as a number";
  } catch (const workbook::WorkbookError& e) {
    EXPECT_NE(std::string(e.what()).find("Soil_batch!D1"), std::string::npos) << e.what();
  }
}

TEST(BuscarId, MatchingRuleAndTheEmptyId) {
  LibroPrueba p;
  p.agua(1, N(7), 0);
  p.agua(2, T("8"), 0);
  p.agua(3, T("Well"), 0);
  Simulacion sim;
  const auto busca = [&](const CellValue& id) {
    sim.SIMULACION.ID_AGUA = id;
    return BUSCAR_AGUA(p.libro, sim);
  };
  EXPECT_EQ(busca(N(7)), 1);
  EXPECT_EQ(busca(T("7")), std::nullopt);  // text id against a number in the sheet
  EXPECT_EQ(busca(N(8)), std::nullopt);    // number id against a text in the sheet
  EXPECT_EQ(busca(T("8")), 2);
  EXPECT_EQ(busca(T("well")), std::nullopt);  // case counts
  EXPECT_EQ(busca(T("Well")), 3);
  // An empty id is never looked up, not even against a sheet whose column 1 holds the empty text.
  p.poner(kHojaAguas, 1, 1, T(""));
  EXPECT_EQ(busca(CellValue()), std::nullopt);
  EXPECT_EQ(busca(T("")), std::nullopt);
}

TEST(BuscarId, RowSearchGoesBeyondRow32767) {
  LibroPrueba p;
  for (int r = 1; r < 40000; ++r) p.poner(kHojaAguas, r, 1, N(r));
  p.agua(40000, T("deep"), 1);
  Simulacion sim;
  sim.SIMULACION.ID_AGUA = T("deep");
  EXPECT_EQ(BUSCAR_AGUA(p.libro, sim), 40000);
  EXPECT_EQ(sim.COMPOSICION_AGUA[3], 3.0);
}

TEST(BuscarAgua, SevenIonsAndAlkalinity) {
  LibroPrueba p;
  p.agua(1, T("W"), 0.5);
  Simulacion sim;
  sim.SIMULACION.ID_AGUA = T("W");
  ASSERT_EQ(BUSCAR_AGUA(p.libro, sim), 1);
  for (int k = 3; k <= 9; ++k) EXPECT_EQ(sim.COMPOSICION_AGUA[k], 0.5 + (k - 1)) << k;
  EXPECT_EQ(sim.ALCALINIDAD_AGUA, 9.5);
}

TEST(BuscarRiego, MonthlyColumnsWettedFractionAndUptakePattern) {
  LibroPrueba p;
  p.riego(1, T("other"), 0);
  p.riego(2, T("R"), 100);
  Simulacion sim;
  sim.SIMULACION.ID_RIEGO = T("R");
  ASSERT_EQ(BUSCAR_RIEGO(p.libro, sim), 2);
  for (int m = 1; m <= 12; ++m) {
    EXPECT_EQ(sim.DATOS_RIEGO.RIEGO_MENSUAL[m], 100 + m + 1);
    EXPECT_EQ(sim.DATOS_RIEGO.NRIEGOS_MENSUAL[m], 100 + m + 13);
  }
  EXPECT_EQ(sim.DATOS_RIEGO.FRACCION_MOJADA, 126);
  EXPECT_EQ(sim.PATRON_EXTRACCION, (std::array<double, 5>{0, 0.4, 0.3, 0.2, 0.1}));
  for (int c = 27; c <= 30; ++c) p.poner(kHojaRiegos, 2, c, CellValue());
  ASSERT_TRUE(BUSCAR_RIEGO(p.libro, sim));
  EXPECT_EQ(sim.PATRON_EXTRACCION, (std::array<double, 5>{}));
}

TEST(BuscarBloque, OnlyBlockStartRowsAreTested) {
  LibroPrueba p;
  p.bloque(kHojaClimas, 2, T("A"), 0);
  p.bloque(kHojaClimas, 14, T("X"), 100);
  p.poner(kHojaClimas, 26, 1, T("X"));     // X has a thirteenth row
  p.bloque(kHojaClimas, 27, T("B"), 200);  // so B starts one row late
  for (int r = 28; r <= 38; ++r) p.poner(kHojaClimas, r, 1, T("B, cont."));
  p.bloque(kHojaClimas, 50, T("A"), 900);  // the same id twice: the first block is used
  Simulacion sim;
  const auto busca = [&](const char* id) {
    sim.SIMULACION.ID_CLIMA = T(id);
    return BUSCAR_CLIMA(p.libro, sim);
  };
  EXPECT_EQ(busca("B"), std::nullopt);
  EXPECT_EQ(busca("X"), 14);
  EXPECT_EQ(sim.ESTACION.PRECIPITACION[1], 101);
  EXPECT_EQ(busca("A"), 2);
  EXPECT_EQ(sim.ESTACION.PRECIPITACION[12], 12);
  EXPECT_EQ(sim.ESTACION.DIAS_LLUVIA[5], 0.5);
  EXPECT_EQ(sim.ESTACION.ETO_EXTERNA[12], 0.12);
}

TEST(BuscarBloque, EmptyBlockStartRowEndsTheSearch) {
  LibroPrueba p;
  p.bloque(kHojaCultivos, 14, T("K"), 0.5);  // row 2 is empty
  Simulacion sim;
  sim.SIMULACION.ID_CULTIVO = T("K");
  sim.KCB_MENSUAL[3] = 42;
  EXPECT_EQ(BUSCAR_CULTIVO(p.libro, sim), std::nullopt);
  EXPECT_EQ(sim.KCB_MENSUAL[3], 42);  // a look-up that finds nothing changes nothing
  p.bloque(kHojaCultivos, 2, T("other"), 0);
  EXPECT_EQ(BUSCAR_CULTIVO(p.libro, sim), 14);
  EXPECT_EQ(sim.KCB_MENSUAL[3], 0.5 + 3);
  EXPECT_EQ(sim.RAIZ_MENSUAL[3], 0.5 + 0.3);
  EXPECT_EQ(sim.COBERTURA_MENSUAL[3], 0.5 + 0.03);
}

TEST(BuscarBloque, ClimateAppendedBelowAnEmptyRowOneShiftsTheMonths) {
  LibroPrueba p;
  p.poner(kHojaClimas, 1, 1, CellValue());  // no heading: the tool appended at row 1
  p.bloque(kHojaClimas, 1, T("A"), 0);      // rows 1 to 12, January on row 1
  Simulacion sim;
  sim.SIMULACION.ID_CLIMA = T("A");
  ASSERT_EQ(BUSCAR_CLIMA(p.libro, sim), 2);
  EXPECT_EQ(sim.ESTACION.PRECIPITACION[1], 2);  // January gets February's rainfall
  EXPECT_EQ(sim.ESTACION.PRECIPITACION[11], 12);
  EXPECT_EQ(sim.ESTACION.PRECIPITACION[12], 0);  // row 13 is empty
  EXPECT_EQ(sim.ESTACION.ETO_EXTERNA[12], 0);
}

}  // namespace
}  // namespace medravolix::batch
