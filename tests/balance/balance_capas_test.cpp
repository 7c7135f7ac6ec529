// The layer water balance: one layer in one month, the simulated year, and the yearly passes
// until the annual balance closes.
#include "balance/balance_capas.h"

#include <gtest/gtest.h>

#include "balance/simulaciones_prueba.h"
#include "batch/simulacion.h"
#include "support/test_support.h"

namespace medravolix {
namespace {

using testing::MismosBits;
using testing::Near;

void ExpectCapa(const ResultadoCapaMes& r, double et, double almacen, double drenaje) {
  EXPECT_EQ(r.et_real, et);
  EXPECT_EQ(r.almacen, almacen);
  EXPECT_EQ(r.drenaje, drenaje);
}

TEST(BalanceCapaMes, EtFirstThenStorageThenDrainage) {
  ExpectCapa(BALANCE_CAPA_MES(30, 5, 8, 20), 8, 20, 7);
  ExpectCapa(BALANCE_CAPA_MES(2, 3, 8, 20), 5, 0, 0);
  // Water exactly equal to the demand all goes to ET.
  ExpectCapa(BALANCE_CAPA_MES(6, 2, 8, 20), 8, 0, 0);
  // Water after ET exactly equal to the capacity is all kept.
  ExpectCapa(BALANCE_CAPA_MES(20, 8, 8, 20), 8, 20, 0);
  // No demand: the inflow is stored up to the capacity, the rest drains.
  ExpectCapa(BALANCE_CAPA_MES(25, 0, 0, 20), 0, 20, 5);
  // Negative water gives no ET, keeps nothing and drains nothing.
  ExpectCapa(BALANCE_CAPA_MES(-4, 1, 8, 20), 0, 0, 0);
}

TEST(MesDeSimulacion, YearRunsFromSeptemberToAugust) {
  const int16_t meses[] = {9, 10, 11, 12, 1, 2, 3, 4, 5, 6, 7, 8};
  for (int16_t k = 1; k <= 12; ++k) EXPECT_EQ(MES_DE_SIMULACION(k), meses[k - 1]) << k;
}

TEST(SumasAnuales, SumsOfTheMonths) {
  Simulacion sim;
  for (int m = 1; m <= kMeses; ++m) {
    sim.ESTACION.PRECIPITACION[m] = m;
    sim.DATOS_RIEGO.RIEGO_MENSUAL[m] = 10 * m;
    sim.ESTACION.ETO_EXTERNA[m] = 100 * m;
    sim.ETO_MENSUAL[m] = 1.0;  // not what the annual ETo sums
  }
  SUMAS_ANUALES(sim);
  EXPECT_EQ(sim.PRECIPITACION_ANUAL, 78.0);
  EXPECT_EQ(sim.DATOS_RIEGO.RIEGO_ANUAL, 780.0);
  EXPECT_EQ(sim.ETO_ANUAL, 7800.0);
  EXPECT_EQ(sim.BALANCE.ENTRADA_AGUA_ANUAL, 858.0);
}

// 64 layers; only layer 1 holds water (`capacidad_1` mm); rainfall only in September.
Simulacion UnaCapaQueRetiene(double capacidad_1, double lluvia_septiembre) {
  Simulacion sim;
  sim.NUM_CAPAS = kCapas;
  for (int m = 1; m <= kMeses; ++m) sim.CAPACIDAD_CAPA[m][1] = capacidad_1;
  sim.ESTACION.PRECIPITACION[9] = lluvia_septiembre;
  SUMAS_ANUALES(sim);
  return sim;
}

TEST(BalanceAguaCapas, ErrorOfExactlyOneHundredthPercentRunsAnotherPass) {
  // The first year stores 1 mm of 10000: an error of exactly 0.01 %.
  Simulacion sim = UnaCapaQueRetiene(1.0, 10000.0);
  BALANCE_AGUA_CAPAS(sim);
  EXPECT_EQ(sim.BALANCE.PASADAS_BALANCE, 2);
  EXPECT_EQ(sim.DRENAJE_ANUAL_CAPA[kCapas], 10000.0);
  // With 10001 mm the first year's error is just under 0.01 %.
  Simulacion casi = UnaCapaQueRetiene(1.0, 10001.0);
  BALANCE_AGUA_CAPAS(casi);
  EXPECT_EQ(casi.BALANCE.PASADAS_BALANCE, 1);
  EXPECT_EQ(casi.DRENAJE_ANUAL_CAPA[kCapas], 10000.0);
}

TEST(BalanceAguaCapas, NoStorageClosesInTheFirstPass) {
  Simulacion sim = UnaCapaQueRetiene(0.0, 300.0);
  BALANCE_AGUA_CAPAS(sim);
  EXPECT_EQ(sim.BALANCE.PASADAS_BALANCE, 1);
  EXPECT_EQ(sim.DRENAJE_CAPA[9][kCapas], 300.0);
}

TEST(BalanceAguaCapas, NoInputClosesAtOnce) {
  Simulacion sim = UnaCapaQueRetiene(10.0, 0.0);
  BALANCE_AGUA_CAPAS(sim);
  EXPECT_EQ(sim.BALANCE.PASADAS_BALANCE, 1);
  EXPECT_EQ(sim.BALANCE.ERROR_BALANCE, 0.0);
  EXPECT_EQ(sim.ET_REAL_ANUAL, 0.0);
}

TEST(BalanceAguaCapas, JanuaryStartsFromDecemberAndSeptemberFromAugust) {
  // Layer 1 holds 50 mm and loses 2 mm of ET every month; 400 mm of rain in October.
  Simulacion sim = UnaCapaQueRetiene(50.0, 0.0);
  sim.ESTACION.PRECIPITACION[10] = 400.0;
  for (int m = 1; m <= kMeses; ++m) sim.DEMANDA_ET_CAPA[m][1] = 2.0;
  SUMAS_ANUALES(sim);
  BALANCE_AGUA_CAPAS(sim);
  // The first year starts dry and ends August with 30 mm: a second year is needed, whose
  // September starts from those 30 mm.
  const EstadoBalance& b = sim.BALANCE;
  EXPECT_EQ(b.PASADAS_BALANCE, 2);
  EXPECT_EQ(b.ALMACEN_CAPA[9][1], 28.0);
  EXPECT_EQ(b.ALMACEN_CAPA[10][1], 50.0);
  EXPECT_EQ(b.ALMACEN_CAPA[12][1], 46.0);
  EXPECT_EQ(b.ALMACEN_CAPA[0][1], 46.0);
  EXPECT_EQ(b.ALMACEN_CAPA[1][1], 44.0);
  EXPECT_EQ(b.ALMACEN_CAPA[8][1], 30.0);
  EXPECT_EQ(sim.ET_REAL_ANUAL, 24.0);
  EXPECT_EQ(sim.DRENAJE_ANUAL_CAPA[kCapas], 376.0);
  EXPECT_EQ(b.ENTRADA_CAPA[10][2], 376.0);
}

TEST(BalanceAguaCapas, RepeatedRunRestartsFromDryLayers) {
  Simulacion sim = testing::OlivarFrancoMediterraneo();
  for (int m = 1; m <= kMeses; ++m) {
    for (int j = 1; j <= kCapas; ++j) {
      sim.CAPACIDAD_CAPA[m][j] = 3.0 + 0.05 * j;
      sim.DEMANDA_ET_CAPA[m][j] = j <= 20 ? sim.ETO_MENSUAL[m] / 40.0 : 0.0;
    }
  }
  SUMAS_ANUALES(sim);
  BALANCE_AGUA_CAPAS(sim);
  const Simulacion primera = sim;
  BALANCE_AGUA_CAPAS(sim);
  EXPECT_GT(primera.BALANCE.PASADAS_BALANCE, 1);
  EXPECT_EQ(sim.BALANCE.PASADAS_BALANCE, 2 * primera.BALANCE.PASADAS_BALANCE);
  EXPECT_TRUE(MismosBits(primera.BALANCE.ALMACEN_CAPA, sim.BALANCE.ALMACEN_CAPA));
  EXPECT_TRUE(MismosBits(primera.DRENAJE_CAPA, sim.DRENAJE_CAPA));
  EXPECT_TRUE(MismosBits(primera.ET_REAL_MENSUAL, sim.ET_REAL_MENSUAL));
  const double entrada = sim.BALANCE.ENTRADA_AGUA_ANUAL;
  EXPECT_TRUE(Near(entrada, sim.ET_REAL_ANUAL + sim.DRENAJE_ANUAL_CAPA[kCapas], 0, 1e-4));
}

TEST(BalanceAguaCapas, RefusedWhenTheBalanceNeverCloses) {
  // Water taken away by a negative month disappears from the balance: every year leaves the
  // same error, and the passes reach their bound.
  Simulacion sim = UnaCapaQueRetiene(0.0, 100.0);
  sim.ESTACION.PRECIPITACION[10] = -50.0;
  SUMAS_ANUALES(sim);
  EXPECT_THROW(BALANCE_AGUA_CAPAS(sim), SimulacionRechazada);
  EXPECT_EQ(sim.BALANCE.PASADAS_BALANCE, kMaxPasadasBalance);
}

}  // namespace
}  // namespace medravolix
