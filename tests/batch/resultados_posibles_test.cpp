// Results that no soil can hold: a hostile value in one input cell at a time of a copy of the
// sample workbook, cut to its first simulation, and every result the batch writes is one a soil
// can have; a simulation whose results cannot be is refused naming the result and its inputs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

#include "batch/ejecutar_batch.h"
#include "batch/escritura_batch.h"
#include "batch/hojas_batch.h"
#include "batch/lectura_batch.h"
#include "batch/libro_prueba.h"
#include "batch/resultados_posibles.h"
#include "common/number_text.h"
#include "support/test_support.h"

namespace medravolix::batch {
namespace {

using namespace prueba;
using workbook::Workbook;

struct Celda {
  std::string_view hoja;
  int fila = 0;
  int columna = 0;
};

std::string nombre(const Celda& c) {
  return workbook::cellReference(c.hoja, c.fila, c.columna);
}

// The sample with Sim_batch cut after its first simulation.
Workbook primeraSimulacion(const std::filesystem::path& muestra) {
  Workbook libro = Workbook::open(muestra);
  libro.setCell(kHojaSimulaciones, 3, 1, CellValue());
  return libro;
}

// A cell and the hostile values it gets, one at a time.
struct Hostil {
  Celda celda;
  std::vector<double> valores;
};

// The input cells the first simulation reads: one in each column of each sheet (July of the
// climate and crop blocks, a month with irrigation and a full canopy; in Constants and
// Parameters the rows take the columns in turn), each with values that suit it: a small negative
// number and one far too large for the amounts; for the logs of the constants one far below and
// 20, far above; for the charges and conductivities also one that is not a number to compute with.
std::vector<Hostil> celdasHostiles(const Workbook& libro) {
  EntradasSimulacion sim;
  LEER_SIMULACION(libro, 1, sim);
  std::vector<Hostil> celdas;
  const auto en_turno = [&](std::string_view hoja, const std::vector<int>& filas, int desde,
                            int hasta, const std::vector<double>& valores) {
    const int n = std::max<int>(static_cast<int>(filas.size()), hasta - desde + 1);
    for (int k = 0; k < n; ++k) {
      const Celda celda{hoja, filas[k % filas.size()], desde + k % (hasta - desde + 1)};
      celdas.push_back({celda, valores});
    }
  };
  const std::vector<double> cantidades = {-1, 1e6};
  en_turno(kHojaSimulaciones, {2}, 1, 6, {-1});  // ids that find nothing
  const int suelo = BUSCAR_SUELO(libro, sim).value();
  en_turno(kHojaSuelos, {suelo}, 3, 4, cantidades);
  en_turno(kHojaSuelos, {suelo}, 6, 15, cantidades);
  en_turno(kHojaClimas, {BUSCAR_CLIMA(libro, sim).value() + 6}, 2, 4, cantidades);
  en_turno(kHojaCultivos, {BUSCAR_CULTIVO(libro, sim).value() + 6}, 2, 4, cantidades);
  en_turno(kHojaRiegos, {BUSCAR_RIEGO(libro, sim).value()}, 2, 30, cantidades);
  en_turno(kHojaAguas, {BUSCAR_AGUA(libro, sim).value()}, 2, 9, cantidades);
  const std::vector<double> logaritmos = {-1e6, 20};
  en_turno("Constants", {5}, 2, 7, logaritmos);                       // the six reactions
  en_turno("Constants", {13, 14, 15, 16, 17, 18}, 3, 6, logaritmos);  // the ion pairs
  const std::vector<double> coeficientes = {-1e6, -1, 1e300};
  en_turno("Parameters", {4, 6, 10, 11, 14, 15}, 2, 13, coeficientes);
  en_turno("Parameters", {19, 20}, 5, 5, coeficientes);  // the EC's intercept and factor
  return celdas;
}

// The first result cell of simulation 1 that no soil can hold, or "".
std::string resultadoImposible(const Workbook& libro) {
  std::vector<Celda> celdas;
  for (int c = 7; c <= 9; ++c) celdas.push_back({kHojaSimulaciones, 2, c});
  for (int c = 2; c <= 21; ++c)
    if (c != 11) celdas.push_back({kHojaSolucion, 2, c});
  for (int fila = 2; fila <= 13; ++fila)
    for (int c = 2; c <= 7; ++c) celdas.push_back({kHojaBalance, fila, c});
  for (const Celda& celda : celdas) {
    const CellValue v = libro.cell(celda.hoja, celda.fila, celda.columna);
    if (v.isEmpty()) continue;  // a result without value
    std::optional<double> x;
    if (v.isNumber()) x = v.asNumber();
    if (v.isText() && v.asText().starts_with("> ")) x = parseNumberText(v.asText().substr(2));
    // Amounts of water, factors, concentrations, EC and depths are never negative; a leaching
    // fraction is at most 1, a pH at most 14.
    const bool solucion = celda.hoja == kHojaSolucion;
    const double maximo = solucion && celda.columna == 4    ? 1
                          : solucion && celda.columna == 20 ? 14
                                                            : HUGE_VAL;
    if (!x || !std::isfinite(*x) || *x < 0 || *x > maximo) {
      return nombre(celda) + " = " + (v.isText() ? v.asText() : shortDecimal(v.asNumber()));
    }
  }
  return "";
}

// Each hostile value in each cell, alone: one line for each run that wrote a result no soil
// can hold.
std::string barrido(const std::filesystem::path& muestra) {
  Workbook libro = primeraSimulacion(muestra);
  std::string hallazgos;
  for (const auto& [celda, valores] : celdasHostiles(libro)) {
    const CellValue original = libro.cell(celda.hoja, celda.fila, celda.columna);
    for (double hostil : valores) {
      for (int c = 7; c <= 10; ++c) libro.setCell(kHojaSimulaciones, 2, c, CellValue());
      for (int c = 1; c <= 21; ++c) libro.setCell(kHojaSolucion, 2, c, CellValue());
      for (int fila = 2; fila <= 13; ++fila)
        for (int c = 1; c <= 7; ++c) libro.setCell(kHojaBalance, fila, c, CellValue());
      libro.setCell(celda.hoja, celda.fila, celda.columna, N(hostil));
      try {
        EJECUTAR_BATCH(libro, {}, 1, nullptr);
      } catch (const BatchRechazado&) {
        continue;  // refused before it started: nothing written
      }
      if (const std::string malo = resultadoImposible(libro); !malo.empty())
        hallazgos += nombre(celda) + " = " + shortDecimal(hostil) + " wrote " + malo + "\n";
    }
    libro.setCell(celda.hoja, celda.fila, celda.columna, original);
  }
  return hallazgos;
}

TEST(ResultadosPosibles, NoHostileInputCellWritesAResultNoSoilCanHold) {
  testing::ScratchDir dir;
  const auto muestra = testing::CopyOfSample(dir);
  EXPECT_EQ(barrido(muestra), "");
}

// A simulation whose pH no soil solution can have (a log K of calcite of -1e6, a number the
// readers let through, drives it below 0), or whose soil solution cannot be computed from its
// inputs taken together (an irrigation water of 1000 mol/L of sodium, a CO2 pressure of
// 10^-1000000 atm), is refused naming the result or the failure and the input rows it came from,
// as no one cell is at fault; none of its cells is written.
TEST(ResultadosPosibles, AnImpossibleResultRefusesItsSimulationNamingItsInputs) {
  testing::ScratchDir dir;
  Workbook libro = primeraSimulacion(testing::CopyOfSample(dir));
  const std::string sin_solucion = "the soil solution cannot be computed: ";
  for (const auto& [celda, hostil, motivo] : {
           std::tuple{Celda{"Constants", 5, 6}, -1e6,
                      std::string("its pH, SSol_batch!T2, would be -16.2836, which no soil can "
                                  "hold (a pH lies within 0 and 14)")},
           std::tuple{Celda{kHojaAguas, 1, 2}, 1e6,
                      sin_solucion + "the H+ concentration of the carbonate system is 0 (check "
                                     "the water, CO2 and carbonic acid constants)"},
           std::tuple{Celda{kHojaSuelos, 1, 15}, -1e6, sin_solucion + "the calcite equation"},
       }) {
    const CellValue original = libro.cell(celda.hoja, celda.fila, celda.columna);
    libro.setCell(celda.hoja, celda.fila, celda.columna, N(hostil));
    const InformeBatch informe = EJECUTAR_BATCH(libro, {}, 1, nullptr);
    EXPECT_EQ(informe.rechazadas, 1);
    const std::string dicho = informe.mensajeObservadas();
    EXPECT_CONTIENE(dicho, "computed only in part:\r\nS01: " + motivo);
    EXPECT_TRUE(dicho.ends_with(
        "; it came from the inputs of Sim_batch row 2: Soil_batch rows 1 to 3, Clim_batch rows 26 "
        "to 37, Crop_batch rows 74 to 85, Irrigat_batch row 2, Wat_batch row 1, Constants and "
        "Parameters"))
        << dicho;
    EXPECT_EQ(linea(libro, kHojaSimulaciones, 2, 10),
              "'S01' 'Zaragoza' 'Calcareous loam' 'Canal' 'Maize' 'Maize' - - - -");
    EXPECT_EQ(linea(libro, kHojaSolucion, 2, 21), linea(libro, kHojaSolucion, 3, 21));
    EXPECT_EQ(linea(libro, kHojaBalance, 13, 7), "- - - - - - -");
    libro.setCell(celda.hoja, celda.fila, celda.columna, original);
  }
}

// Layers of 312.5 cm, thicker than any root zone: the crop takes no water, all the rain and
// irrigation drain, and the leaching fraction is 1 although its sums round a little above.
TEST(ResultadosPosibles, AYearThatDrainsAllItsWaterLeachesAFractionOfOne) {
  testing::ScratchDir dir;
  Workbook libro = primeraSimulacion(testing::CopyOfSample(dir));
  AjustesBatch ajustes;
  ajustes.PROF_SIMULACION = 20000;
  const InformeBatch informe = EJECUTAR_BATCH(libro, ajustes, 1, nullptr);
  EXPECT_EQ(informe.mensajeObservadas(), "");
  EXPECT_EQ(libro.cell(kHojaSolucion, 2, 4).asNumber(), 1.0);
  EXPECT_EQ(libro.cell(kHojaSolucion, 2, 10).asNumber(), 0.0);  // no actual ET
}

// The check on the results themselves: a month's result is named with its month; a result
// without value passes whatever its number holds; the settings name no input row.
TEST(ResultadosPosibles, EachResultByItsHeadingAndMonthAndOnlyWhenItHasAValue) {
  Simulacion sim;
  sim.FRACCION_LAVADO = 1.21;
  EXPECT_EQ(error([&] { escribirResultados(sim, 3); }),
            "its leaching fraction, SSol_batch!D4, would be 1.21, which no soil can hold (a "
            "leaching fraction lies within 0 and 1)");
  sim.FRACCION_LAVADO = 1.0000000000000004;  // quoted whole: six digits would show 1
  EXPECT_CONTIENE(error([&] { escribirResultados(sim, 3); }), "would be 1.0000000000000004,");
  sim.FRACCION_LAVADO.reset();
  sim.PH = -19.5;  // the soil solution has no value: its columns stay empty
  sim.CE = std::numeric_limits<double>::quiet_NaN();
  sim.ET_REAL_MENSUAL[3] = -128;
  try {
    escribirResultados(sim, 3);
    ADD_FAILURE() << "no refusal";
  } catch (const ResultadoImposible& e) {
    EXPECT_EQ(std::string(e.what()),
              "its actual ET (mm) of Mar, WBal_batch!F28, would be -128, which no soil can "
              "hold (an amount of water is never negative)");
    FilasEntradas f{.suelo = 5, .horizontes = 1, .clima = 14, .cultivo = 2, .riego = 7};
    EXPECT_EQ(textoEntradas(3, f, e.entradas()),
              "it came from the inputs of Sim_batch row 4: Soil_batch row 5, Clim_batch rows 14 "
              "to 25, Crop_batch rows 2 to 13, Irrigat_batch row 7");
  }
  sim.ET_REAL_MENSUAL[3] = 0;
  sim.PROF_SIMULACION = -std::numeric_limits<double>::infinity();
  EXPECT_CONTIENE(error([&] { escribirResultados(sim, 3); }),
                  "Sim_batch!H4, would be -Infinity, which no soil can hold (it is not a finite");
  EXPECT_EQ(textoEntradas(3, {}, 0), "it came from the batch's settings");
}

}  // namespace
}  // namespace medravolix::batch
