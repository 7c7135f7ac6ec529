// The look-ups of the batch sheets and the writers of the result sheets.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "batch/escritura_batch.h"
#include "batch/lectura_batch.h"
#include "batch/libro_prueba.h"
#include "crop_tool/hojas_cultivos.h"
#include "support/test_support.h"

namespace medravolix::batch {
namespace {

using namespace prueba;

TEST(BuscarSuelo, FirstRunOfTheSoilsRowsWithWholeDepthsHalvesToEven) {
  LibroPrueba p;
  p.horizonte(1, T("other"), 30);
  p.horizonte(2, T("S1"), 20, 2);
  p.horizonte(3, T("S1"), 42.5, 3);
  p.horizonte(4, T("S1"), 43.5, 4);
  p.horizonte(5, T("S2"), -0.5);  // interrupts S1
  p.horizonte(6, T("S1"), 90);    // so this row is no horizon of S1
  Simulacion sim;
  sim.SIMULACION.ID_SUELO = T("S1");
  ASSERT_EQ(BUSCAR_SUELO(p.libro, sim), 2);
  EXPECT_EQ(sim.PROF_FILA, (std::vector<int16_t>{0, 20, 42, 44}));
  int c = 4;  // the columns of sand, clay, saturation, ..., gypsum; 5 is not read
  for (auto* serie :
       {&sim.ARENA_FILA, &sim.ARCILLA_FILA, &sim.SAT_FILA, &sim.CC_FILA, &sim.PMP_FILA,
        &sim.DENSIDAD_FILA, &sim.PIEDRAS_FILA, &sim.CALIZA_FILA, &sim.MO_FILA, &sim.YESO_FILA}) {
    const double esperado = c == 8 || c == 9 ? (3.0 + 17 - c) / 100 : 3.0 + c;
    EXPECT_EQ(serie->at(2), esperado) << "column " << c;
    c += c == 4 ? 2 : 1;
  }
  EXPECT_TRUE(testing::Near(std::pow(10.0, -(2 + 15)), sim.PCO2, 0, 1e-15));  // the first row
  sim.SIMULACION.ID_SUELO = T("S2");
  EXPECT_EQ(BUSCAR_SUELO(p.libro, sim), 5);
  EXPECT_EQ(sim.PROF_FILA, (std::vector<int16_t>{0, 0}));
}

TEST(BuscarSuelo, SoilZeroEndsAtAnEmptyRowAndADepthBeyondSixteenBitsRefuses) {
  LibroPrueba p;
  p.horizonte(1, N(0), 30);
  p.horizonte(2, N(0), 60);
  p.poner(kHojaSuelos, 5, 1, N(0));  // rows 3 and 4 are empty: no horizons of soil 0
  Simulacion sim;
  sim.SIMULACION.ID_SUELO = N(0);
  EXPECT_EQ(BUSCAR_SUELO(p.libro, sim), 1);
  EXPECT_EQ(sim.NUM_FILAS_SUELO, 2);
  p.poner(kHojaSuelos, 2, 3, N(32767.6));
  EXPECT_CONTIENE(error([&] { BUSCAR_SUELO(p.libro, sim); }), "Soil_batch!C2");
  p.poner(kHojaSuelos, 2, 3, N(1e300));
  EXPECT_CONTIENE(error([&] { BUSCAR_SUELO(p.libro, sim); }),
                  "Soil_batch!C2 holds the depth 1e+300 cm, outside");
}

TEST(BuscarFila, MatchingRuleColumnsAndRowsBeyond32767) {
  LibroPrueba p;
  p.fila(kHojaAguas, 1, N(7), 0, 2, 9);
  p.fila(kHojaAguas, 2, T("8"), 0, 2, 9);
  p.fila(kHojaAguas, 3, T("Well"), 0.5, 2, 9);
  for (int r = 4; r < 40000; ++r) p.poner(kHojaAguas, r, 1, N(-r));
  p.fila(kHojaAguas, 40000, T("deep"), 0, 2, 9);
  Simulacion sim;
  // The number 7 and the text "7" are one id; case counts; an empty id never matches.
  std::string filas;
  for (const auto& id :
       {N(7), T("7"), N(8), T("8"), T("well"), CellValue(), T("deep"), T("Well")}) {
    sim.SIMULACION.ID_AGUA = id;
    const auto r = BUSCAR_AGUA(p.libro, sim);
    filas += r ? std::to_string(*r) + " " : "- ";
  }
  EXPECT_EQ(filas, "1 1 2 2 - - 40000 3 ");
  EXPECT_EQ(sim.COMPOSICION_AGUA,
            (std::array<double, 10>{0, 0, 0, 2.5, 3.5, 4.5, 5.5, 6.5, 7.5, 8.5}));
  EXPECT_EQ(sim.ALCALINIDAD_AGUA, 9.5);
  p.fila(kHojaRiegos, 1, T("R"), 100, 2, 30);
  p.poner(kHojaRiegos, 1, 26, N(0.126));  // the wetted fraction, at most 1
  p.cuotas(1, {40.5, 30, 20, 10});        // within 1 of 100: a rounding when typed
  sim.SIMULACION.ID_RIEGO = T("R");
  ASSERT_EQ(BUSCAR_RIEGO(p.libro, sim), 1);
  const auto& r = sim.DATOS_RIEGO;
  EXPECT_EQ((std::vector<double>{r.RIEGO_MENSUAL[1], r.RIEGO_MENSUAL[12], r.NRIEGOS_MENSUAL[1],
                                 r.NRIEGOS_MENSUAL[12], r.FRACCION_MOJADA}),
            (std::vector<double>{102, 113, 114, 125, 0.126}));
  EXPECT_EQ(sim.PATRON_EXTRACCION, (std::array<double, 5>{0, 0.405, 0.3, 0.2, 0.1}));
}

// A row holding the id in Sim_batch's own kind is found wherever it was found before, whatever
// look-alike precedes it; an id only present in the other kind is found by its text.
TEST(BuscarFila, TheSameKindFirstThenTheSameText) {
  LibroPrueba p;
  p.fila(kHojaAguas, 1, T("7"), 0, 2, 9);
  p.fila(kHojaAguas, 2, N(7), 100, 2, 9);
  p.fila(kHojaAguas, 3, N(9), 0, 2, 9);
  p.fila(kHojaAguas, 4, T("9"), 0, 2, 9);
  p.fila(kHojaAguas, 5, T("12.5"), 0, 2, 9);
  p.bloque(kHojaClimas, 2, T("7"), 0);
  p.bloque(kHojaClimas, 14, N(7), 1000);
  p.horizonte(1, N(5), 20);
  p.horizonte(2, T("5"), 40);  // another kind: not a horizon of the soil 5 found on row 1
  p.horizonte(3, N(5), 60);
  p.horizonte(4, T("6"), 30);
  p.horizonte(5, T("6"), 80);
  Simulacion sim;
  std::string filas;
  for (const auto& id : {N(7), T("7"), N(9), T("9"), N(12.5), T("12.50")}) {
    sim.SIMULACION.ID_AGUA = id;
    const auto r = BUSCAR_AGUA(p.libro, sim);
    filas += r ? std::to_string(*r) + " " : "- ";
  }
  EXPECT_EQ(filas, "2 1 3 4 5 - ");
  sim.SIMULACION.ID_CLIMA = N(7);
  EXPECT_EQ(BUSCAR_CLIMA(p.libro, sim), 14);
  EXPECT_EQ(sim.ESTACION.PRECIPITACION[1], 1012);
  sim.SIMULACION.ID_CLIMA = T("7");
  EXPECT_EQ(BUSCAR_CLIMA(p.libro, sim), 2);
  sim.SIMULACION.ID_SUELO = N(5);
  EXPECT_EQ(BUSCAR_SUELO(p.libro, sim), 1);
  EXPECT_EQ(sim.PROF_FILA, (std::vector<int16_t>{0, 20}));
  sim.SIMULACION.ID_SUELO = N(6);  // typed as a number, stored as texts: both rows are horizons
  EXPECT_EQ(BUSCAR_SUELO(p.libro, sim), 4);
  EXPECT_EQ(sim.PROF_FILA, (std::vector<int16_t>{0, 30, 80}));
}

TEST(BuscarBloque, OnlyBlockStartRowsAreTested) {
  LibroPrueba p;
  p.bloque(kHojaClimas, 2, T("A"), 0);
  p.bloque(kHojaClimas, 14, T("X"), 1000);
  p.poner(kHojaClimas, 26, 1, T("X"));  // X has a thirteenth row
  p.poner(kHojaClimas, 27, 1, T("B"));  // so B starts one row late, and row 38 is empty
  p.bloque(kHojaCultivos, 2, T("X"), 0);
  Simulacion sim;
  sim.SIMULACION.ID_CLIMA = T("B");
  EXPECT_EQ(BUSCAR_CLIMA(p.libro, sim), std::nullopt);
  sim.SIMULACION.ID_CLIMA = sim.SIMULACION.ID_CULTIVO = T("X");
  ASSERT_EQ(BUSCAR_CLIMA(p.libro, sim), 14);
  ASSERT_EQ(BUSCAR_CULTIVO(p.libro, sim), 2);
  EXPECT_EQ((std::vector<double>{sim.ESTACION.PRECIPITACION[1], sim.ESTACION.DIAS_LLUVIA[5],
                                 sim.ESTACION.ETO_EXTERNA[12], sim.KCB_MENSUAL[3],
                                 sim.RAIZ_MENSUAL[3], sim.COBERTURA_MENSUAL[12]}),
            (std::vector<double>{1012, 1053 / 100.0, 1124, 32 / 100.0, 33, 124 / 1000.0}));
}

TEST(BuscarBloque, AnEmptyRowEndsTheSearchOrShiftsTheMonths) {
  LibroPrueba p;
  p.bloque(kHojaCultivos, 14, T("K"), 0);  // row 2 is empty
  Simulacion sim;
  sim.SIMULACION.ID_CULTIVO = T("K");
  EXPECT_EQ(BUSCAR_CULTIVO(p.libro, sim), std::nullopt);
  p.poner(kHojaClimas, 1, 1, CellValue());  // no heading: the tool appended at row 1
  p.bloque(kHojaClimas, 1, T("A"), 0);      // January on row 1
  sim.SIMULACION.ID_CLIMA = T("A");
  ASSERT_EQ(BUSCAR_CLIMA(p.libro, sim), 2);
  EXPECT_EQ(sim.ESTACION.PRECIPITACION[1], 22);  // January gets February's rainfall
  EXPECT_EQ(sim.ESTACION.PRECIPITACION[11], 122);
  EXPECT_EQ(sim.ESTACION.PRECIPITACION[12], 0);  // row 13 is empty
}

// A negative reference evapotranspiration in a climate block found refuses the simulation,
// naming its cell; 0 is a month without demand and passes.
TEST(BuscarBloque, ANegativeReferenceEvapotranspirationIsRefusedWithItsCell) {
  LibroPrueba p(2);
  p.poner(kHojaClimas, 14 + 2, 4, N(0));  // C2, March
  Simulacion sim;
  sim.SIMULACION.ID_CLIMA = T("C2");
  ASSERT_EQ(BUSCAR_CLIMA(p.libro, sim), 14);
  p.poner(kHojaClimas, 14 + 9, 4, N(-33.7));  // C2, October
  EXPECT_EQ(error([&] { BUSCAR_CLIMA(p.libro, sim); }),
            "the reference evapotranspiration (mm) of month 10, Clim_batch!D23, is -33.7; it may "
            "not be negative");
  p.poner(kHojaClimas, 14 + 9, 4, N(-1e-300));
  EXPECT_EQ(error([&] { BUSCAR_CLIMA(p.libro, sim); }),
            "the reference evapotranspiration (mm) of month 10, Clim_batch!D23, is -1e-300; it "
            "may not be negative");
  sim.SIMULACION.ID_CLIMA = T("C1");  // another block is not concerned
  EXPECT_EQ(BUSCAR_CLIMA(p.libro, sim), 2);
}

// A number no quantity of the model can have (a mistyped exponent) refuses the simulation with
// its cell, in every input sheet, before it reaches the balance or the chemistry.
TEST(BuscarBloque, ANumberTheProgramCannotUseIsRefusedWithItsCell) {
  const struct {
    std::string_view hoja;
    int fila, columna;
    double valor;
    const char* motivo;
  } casos[] = {
      {kHojaClimas, 14 + 5, 2, 1e300, "Clim_batch!B19 holds 1e+300, which is not a number"},
      {kHojaClimas, 14, 4, -1e16, "Clim_batch!D14 holds -1e+16, which is not a number"},
      {kHojaCultivos, 14 + 6, 3, 1e300, "Crop_batch!C20 holds 1e+300, which is not a number"},
      {kHojaRiegos, 2, 5, 1e300, "Irrigat_batch!E2 holds 1e+300, which is not a number"},
  };
  for (const auto& k : casos) {
    LibroPrueba p(2);
    p.poner(k.hoja, k.fila, k.columna, N(k.valor));
    Simulacion sim;
    sim.SIMULACION.ID_CLIMA = sim.SIMULACION.ID_CULTIVO = T("C2");
    sim.SIMULACION.ID_RIEGO = T("R2");
    EXPECT_CONTIENE(error([&] {
                      BUSCAR_CLIMA(p.libro, sim);
                      BUSCAR_CULTIVO(p.libro, sim);
                      BUSCAR_RIEGO(p.libro, sim);
                    }),
                    k.motivo);
  }
}

// The four shares of root water uptake are percentages that share out all of it: fractions,
// empty cells or a negative share refuse the simulation, naming the cells; a rounding of up to 1
// when typed passes, and so does the row the crop tool writes.
TEST(BuscarFila, RootUptakeSharesMustBePercentagesSummingTo100) {
  struct Caso {
    std::array<double, 4> pct;
    const char* motivo;
  };
  const Caso casos[] = {
      {{40, 30, 20, 10}, ""},
      {{33.3, 33.3, 33.3, 0}, ""},
      {{40, 30, 20, 11}, ""},
      {{0.4, 0.3, 0.2, 0.1},
       "the shares of root water uptake (%) of the four quarters of the root zone, "
       "Irrigat_batch!AA3, AB3, AC3 and AD3, are 0.4, 0.3, 0.2 and 0.1, which sum to 1; they "
       "must sum to 100 (percentages, top quarter first, such as 40, 30, 20 and 10)"},
      {{40, 30, 20, 11.5}, "are 40, 30, 20 and 11.5, which sum to 101.5; they must sum to 100"},
      {{0, 0, 0, 0}, "are 0, 0, 0 and 0, which sum to 0;"},
      {{60, 50, -20, 10},
       "the share of root water uptake (%) of quarter 3 of the root zone, Irrigat_batch!AC3, is "
       "-20; it may not be negative"},
      // Numbers typed by mistake are quoted in a few characters.
      {{-1e-300, 50, 30, 20},
       "the share of root water uptake (%) of quarter 1 of the root zone, Irrigat_batch!AA3, is "
       "-1e-300; it may not be negative"},
      {{1e300, 0, 0, 0},
       "Irrigat_batch!AA3 holds 1e+300, which is not a number the program can use"},
  };
  for (const Caso& k : casos) {
    LibroPrueba p(3);
    p.cuotas(3, k.pct);
    Simulacion sim;
    sim.SIMULACION.ID_RIEGO = T("R3");
    if (std::string(k.motivo).empty()) {
      EXPECT_EQ(BUSCAR_RIEGO(p.libro, sim), 3) << k.pct[3];
      EXPECT_EQ(sim.PATRON_EXTRACCION[4], k.pct[3] / 100);
    } else {
      EXPECT_CONTIENE(error([&] { BUSCAR_RIEGO(p.libro, sim); }), k.motivo);
    }
  }
  LibroPrueba p;
  const auto fila = crop_tool::filaIrrigatBatch(T("tool"), Mensual{}, Mensual{}, 0.5);
  for (int c = 1; c <= 30; ++c) p.poner(kHojaRiegos, 1, c, fila[c - 1]);
  Simulacion sim;
  sim.SIMULACION.ID_RIEGO = T("tool");
  ASSERT_EQ(BUSCAR_RIEGO(p.libro, sim), 1);
  EXPECT_EQ(sim.PATRON_EXTRACCION, (std::array<double, 5>{0, 0.4, 0.3, 0.2, 0.1}));
}

// A simulation whose results are all distinct and exact in binary.
Simulacion conResultados() {
  Simulacion sim;
  sim.SIMULACION.ID_SIMULACION = T("sim-A");
  sim.FACTOR_CONCENTRACION_CC = 2.5;
  sim.FACTOR_CONCENTRACION_SAT = 1e20;  // from a tiny drainage
  sim.FRACCION_LAVADO = 0.25;
  sim.PRECIPITACION_ANUAL = 300;
  sim.DATOS_RIEGO.RIEGO_ANUAL = 600;
  sim.DRENAJE_ANUAL_CAPA[63] = 1;
  sim.DRENAJE_ANUAL_CAPA[64] = 150;  // out of the bottom layer
  sim.ETO_ANUAL = 1200;
  sim.ETC_ANUAL = 900;
  sim.ET_REAL_ANUAL = 750;
  sim.SOLUCION_CON_VALOR = true;
  for (int k = 3; k <= 9; ++k) sim.ESPECIES[k].CONC_TOTAL = k / 8.0;  // mol/L
  sim.ALCALINIDAD = 0.0625;
  sim.PH = 7.8;
  sim.CE = 1.55;
  return sim;
}

// SSol_batch row 2 as written for `sim` over a row of markers.
std::string filaSolucion(const Simulacion& sim) {
  LibroPrueba p;
  for (int c = 1; c <= 22; ++c) p.poner(kHojaSolucion, 2, c, T("old"));
  aplicarEscrituras(p.libro, escribirResultados(sim, 1));
  return linea(p.libro, kHojaSolucion, 2, 22);
}

TEST(EscribirSolucion, NumbersLowerBoundsOrEmptyCellsInTheirColumns) {
  Simulacion sim = conResultados();
  EXPECT_EQ(filaSolucion(sim),
            "'sim-A' 2.5 100000000000000000000 0.25 300 600 150 1200 900 750 'saturation' 375 500 "
            "625 750 875 1000 1125 62.5 7.8 1.55 'old'");
  // A layer does not drain: lower bounds (whole, halves to even), but not for LF and pH.
  sim.SALIDA_MAYOR_QUE = true;
  EXPECT_EQ(filaSolucion(sim),
            "'sim-A' '> 2' '> 100000000000000000000' 0.25 300 600 150 1200 900 750 'saturation' "
            "'> 375' '> 500' '> 625' '> 750' '> 875' '> 1000' '> 1125' '> 62' 7.8 '> 2' 'old'");
  sim.FACTOR_CONCENTRACION_CC.reset();
  sim.FACTOR_CONCENTRACION_SAT.reset();
  sim.FRACCION_LAVADO.reset();
  sim.SOLUCION_CON_VALOR = false;
  EXPECT_EQ(filaSolucion(sim),
            "'sim-A' - - - 300 600 150 1200 900 750 'saturation' - - - - - - - - - - 'old'");
}

TEST(EscribirResultados, ANumberThatIsNotFiniteRefusesTheSimulation) {
  Simulacion sim = conResultados();
  sim.ET_REAL_MENSUAL[4] = std::numeric_limits<double>::quiet_NaN();
  EXPECT_CONTIENE(error([&] { escribirResultados(sim, 2); }), "WBal_batch!F17");
  sim = conResultados();
  sim.SALIDA_MAYOR_QUE = true;
  sim.FACTOR_CONCENTRACION_CC = std::numeric_limits<double>::infinity();
  EXPECT_THROW(escribirResultados(sim, 2), SimulacionRechazada);
}

}  // namespace
}  // namespace medravolix::batch
