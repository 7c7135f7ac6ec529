// What the batch's input cells may hold: every value a soil, climate, crop, irrigation or water
// cannot have is refused where it is read, naming its sheet and cell.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch/ejecutar_batch.h"
#include "batch/lectura_batch.h"
#include "batch/lectura_constantes.h"
#include "batch/libro_prueba.h"
#include "support/test_support.h"

namespace medravolix::batch {
namespace {

using namespace prueba;
using workbook::Workbook;

struct Cambio {
  std::string_view hoja;
  int fila, columna;
  double valor;
  const char* motivo;  // part of what the refusal says (from the cell on), or nullptr if taken
};

// Each change alone to simulation 2 of a small workbook: what its look-ups say.
void comprobar(const std::vector<Cambio>& casos) {
  for (const Cambio& k : casos) {
    LibroPrueba p(2);
    p.poner(k.hoja, k.fila, k.columna, N(k.valor));
    Simulacion sim;
    sim.SIMULACION = {T("sim2"), T("C2"), T("S2"), T("W2"), T("R2"), T("C2")};
    const std::string dicho = error([&] {
      BUSCAR_SUELO(p.libro, sim);
      BUSCAR_CLIMA(p.libro, sim);
      BUSCAR_CULTIVO(p.libro, sim);
      BUSCAR_RIEGO(p.libro, sim);
      BUSCAR_AGUA(p.libro, sim);
    });
    EXPECT_CONTIENE(dicho, k.motivo ? k.motivo : "no error") << k.hoja << k.fila << k.columna;
  }
}

// A month rains on at most all of its days; negative amounts, a Kcb or a root depth beyond what
// the crop libraries take, and chemistry tables that would give an EC or a pH no solution has.
TEST(CeldasEntrada, WaterCropAndChemistryValuesNoSoilCanHaveAreRefused) {
  comprobar({
      {kHojaClimas, 14 + 1, 3, 28, nullptr},
      {kHojaClimas, 14 + 1, 3, 29,
       "the number of rainy days of month 2, Clim_batch!C15, is 29; it may not be larger than 28, "
       "the days of the month"},
      {kHojaClimas, 14 + 3, 3, -1, "Clim_batch!C17, is -1; it may not be negative"},
      {kHojaAguas, 2, 2, -1e-300,
       "the concentration (mmol/L) of sodium in the irrigation water, Wat_batch!B2, is -1e-300; "
       "it may not be negative"},
      {kHojaAguas, 2, 9, -1, nullptr},  // an alkalinity may be negative (an acid water)
      {kHojaCultivos, 14 + 6, 2, 4, nullptr},
      {kHojaCultivos, 14 + 6, 2, 1e6, "Crop_batch!B20, is 1000000; it may not be larger than 4"},
      {kHojaRiegos, 2, 14, -1, "Irrigat_batch!N2, is -1; it may not be negative"},
      {kHojaRiegos, 2, 26, 1.5, "Irrigat_batch!Z2, is 1.5; it may not be larger than 1"},
      {kHojaCultivos, 14 + 6, 3, 1000, nullptr},
      {kHojaCultivos, 14 + 6, 3, 1000.5, "Crop_batch!C20, is 1000.5; it may not be larger than"},
  });
  const auto tablas = [](std::string_view hoja, int fila, int columna, double valor) {
    Workbook libro = Workbook::create({"Constants", "Parameters"});
    for (int r = 1; r <= 20; ++r) {
      for (int c = 1; c <= 13; ++c) {
        libro.setCell("Constants", r, c, N(-1));
        libro.setCell("Parameters", r, c, N(1));
      }
    }
    libro.setCell(hoja, fila, columna, N(valor));
    return error([&] { LEER_CONSTANTES_QUIMICAS(libro); });
  };
  EXPECT_EQ(tablas("Parameters", 6, 5, 1e308),
            "Parameters!E6 holds 1e+308, which is not a number the program can use");
  EXPECT_CONTIENE(tablas("Constants", 16, 5, 1e300), "Constants!E16 holds 1e+300");
  EXPECT_CONTIENE(tablas("Parameters", 19, 5, -1e6), "Parameters!E19, is -1000000; it may not");
  EXPECT_CONTIENE(tablas("Parameters", 15, 3, -56.3), "Parameters!C15, is -56.3; it may not");
  EXPECT_EQ(tablas("Constants", 5, 3, 20),
            "the log K of water, Constants!C5, is 20; it may not be larger than 0 (a reaction of "
            "this row has K below 1: type log K, -14 for water, not pK)");
  EXPECT_EQ(tablas("Constants", 5, 3, 0), "no error");     // the constant switched off
  EXPECT_EQ(tablas("Constants", 17, 3, 0.3), "no error");  // a pair's log K may be positive
  EXPECT_EQ(tablas("Parameters", 4, 3, -1), "no error");   // a charge as the model gives it
  EXPECT_CONTIENE(tablas("Parameters", 14, 4, -1e6),
                  "Parameters!D14, is -1000000; it may not be smaller than -4");
}

// Clay and sand are shares of the mineral soil, calcium carbonate, organic matter and gypsum
// shares of its mass: neither group may make more than the whole, though typed decimals that
// make exactly 100 may.
TEST(CeldasEntrada, SharesOfOneSoilMayNotMakeMoreThanTheWholeSoil) {
  comprobar({
      {kHojaSuelos, 4, 4, 99,
       "the clay and sand (%) of horizon 2, Soil_batch!F4 and Soil_batch!D4, are 8.5 and 99, "
       "which sum to 107.5; they are shares of the same mineral soil, silt the rest, so together "
       "they may not be more than 100"},
      {kHojaSuelos, 4, 4, 91.5, nullptr},
      {kHojaSuelos, 3, 14, 90,
       "Soil_batch!L3, Soil_batch!M3 and Soil_batch!N3, are 14, 15 and 90, which sum to 119"},
  });
  testing::ScratchDir dir;
  Workbook libro = Workbook::open(testing::CopyOfSample(dir));
  libro.setCell(kHojaSuelos, 1, 4, N(60.1));  // clay 39.9 makes 100
  libro.setCell(kHojaSuelos, 1, 6, N(39.9));
  libro.setCell(kHojaSuelos, 2, 12, N(64.4));  // with 0.4 and 35.2, 100.00000000000001
  libro.setCell(kHojaSuelos, 2, 13, N(0.4));
  libro.setCell(kHojaSuelos, 2, 14, N(35.2));
  EXPECT_EQ(EJECUTAR_BATCH(libro, {}, 2, nullptr).mensajeObservadas(), "");
}

// Every refusal of a simulation's inputs names the sheet and cell at fault, in short numbers,
// and the batch runs the others; on the sample, S01 reads soil rows 1 to 3, climate rows 26 to
// 37, crop rows 74 to 85, irrigation row 2 and water row 1.
TEST(CeldasEntrada, EveryRefusalOfTheBatchNamesTheCellAtFault) {
  comprobar({
      {kHojaCultivos, 14, 4, 1.5, "Crop_batch!D14, is 1.5; it may not be larger than 1"},
      {kHojaClimas, 14 + 2, 2, -5, "Clim_batch!B16, is -5; it may not be negative"},
      {kHojaRiegos, 2, 6, -3, "Irrigat_batch!F2, is -3; it may not be negative"},
      {kHojaCultivos, 14 + 4, 3, -10, "Crop_batch!C18, is -10; it may not be negative"},
      {kHojaSuelos, 4, 3, 15,
       "the depth (cm) of the lower boundary of horizon 2, Soil_batch!C4, is 15, above the lower "
       "boundary of horizon 1, 20 in Soil_batch!C3; the horizons go down from the surface, top "
       "first"},
      {kHojaSuelos, 3, 3, -5, "Soil_batch!C3, is -5; it may not be negative"},
      {kHojaSuelos, 4, 8, 0.1, "Soil_batch!H4, is 0.1, below its wilting point, 0.105 in"},
      {kHojaSuelos, 3, 9, 30, "Soil_batch!I3, is 30; it may not be larger than 1"},
      {kHojaSuelos, 4, 11, 150, "Soil_batch!K4, is 150; it may not be larger than 100"},
      {kHojaSuelos, 3, 15, 5, "Soil_batch!O3, is 5; it may not be larger than 0"},
      {kHojaSuelos, 4, 15, 5, nullptr},  // read from the soil's first row only
  });
  // The full model on the sample: S01 alone is refused; a depth of simulation that holds no
  // whole layer of the roots' profile names the month and crop that deepen it.
  testing::ScratchDir dir;
  Workbook libro = Workbook::open(testing::CopyOfSample(dir));
  libro.setCell(kHojaSuelos, 1, 8, N(0.1));  // below the wilting point, 0.145
  InformeBatch informe = EJECUTAR_BATCH(libro, {}, 2, nullptr);
  EXPECT_EQ(informe.rechazadas, 3);  // S01, S05 and 13 take that soil
  EXPECT_EQ(informe.ejecutadas, 10);
  ASSERT_FALSE(informe.observadas.empty());
  EXPECT_EQ(informe.observadas[0].id + ": " + informe.observadas[0].motivo,
            "S01: the field capacity (m3/m3) of horizon 1, Soil_batch!H1, is 0.1, below its "
            "wilting point, 0.145 in Soil_batch!I1; the field capacity may not be below the "
            "wilting point");
  AjustesBatch somero;
  somero.PROF_SIMULACION = 1;
  informe = EJECUTAR_BATCH(libro, somero, 2, nullptr);
  ASSERT_GE(informe.observadas.size(), 4u);
  ASSERT_EQ(informe.observadas[1].id, "S02");
  EXPECT_CONTIENE(informe.observadas[1].motivo,
                  "the depth of simulation, 1 cm, holds no whole layer of the 158.1 cm profile, as "
                  "deep as the root depth of month 5 of the crop Winter wheat (a layer is "
                  "2.4703125 cm thick)");
}

}  // namespace
}  // namespace medravolix::batch
