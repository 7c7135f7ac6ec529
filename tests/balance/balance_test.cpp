// The soil water balance: each step's worked examples and edge cases, then the whole chain.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <tuple>

#include "balance/balance_capas.h"
#include "balance/balance_estres.h"
#include "balance/cadena_balance.h"
#include "balance/etc_mensual.h"
#include "balance/factores_concentracion.h"
#include "balance/perfil_suelo.h"
#include "balance/promedios_perfil.h"
#include "balance/zona_raices.h"
#include "common/calendario.h"
#include "simulation/simulacion.h"
#include "support/test_support.h"

namespace medravolix {
namespace {

using testing::Near;

// A soil row: bottom (cm), sand, clay, saturation, FC, WP, density, stones, CaCO3, OM, gypsum.
using Horizonte = std::array<double, 11>;

void ponerSuelo(Simulacion& sim, const std::vector<Horizonte>& horizontes) {
  const int n = static_cast<int>(horizontes.size());
  sim.NUM_FILAS_SUELO = static_cast<int16_t>(n);
  sim.PROF_FILA.assign(n + 1, 0);
  std::vector<double>* filas[] = {
      &sim.ARENA_FILA,    &sim.ARCILLA_FILA, &sim.SAT_FILA,    &sim.CC_FILA, &sim.PMP_FILA,
      &sim.DENSIDAD_FILA, &sim.PIEDRAS_FILA, &sim.CALIZA_FILA, &sim.MO_FILA, &sim.YESO_FILA};
  for (int i = 0; i < 10; ++i) filas[i]->assign(n + 1, 0.0);
  for (int k = 1; k <= n; ++k) {
    sim.PROF_FILA[k] = static_cast<int16_t>(horizontes[k - 1][0]);
    for (int i = 0; i < 10; ++i) (*filas[i])[k] = horizontes[k - 1][i + 1];
  }
}

// A horizon with only what the profile tests look at; sand 40 %, the rest 0.
Horizonte H(double fondo_cm, double cc, double pmp, double piedras, double caliza = 0.0) {
  return {fondo_cm, 40, 0, 0, cc, pmp, 0, piedras, caliza, 0, 0};
}

// Each actual value against the expected one in its place, within `tol` (absolute and relative).
void expectCerca(std::initializer_list<double> esperados, std::initializer_list<double> reales,
                 double tol) {
  ASSERT_EQ(esperados.size(), reales.size());
  for (size_t i = 0; i < esperados.size(); ++i) {
    EXPECT_TRUE(Near(esperados.begin()[i], reales.begin()[i], tol, tol)) << "value " << i + 1;
  }
}

Simulacion discretizado(const std::vector<Horizonte>& horizontes, double prof_perfil_cm,
                        OpcionCapacidad metodo = OpcionCapacidad::Empirica,
                        double capas_evap = 0.0) {
  Simulacion sim;
  sim.OPCION_CAPACIDAD = metodo;
  ponerSuelo(sim, horizontes);
  PREPARAR_PERFIL_SUELO(sim);
  sim.PROF_PERFIL = prof_perfil_cm;
  sim.NUM_CAPAS_EVAP = capas_evap;
  DISCRETIZAR_PERFIL(sim);
  PROMEDIAR_CARBONATOS_YESO(sim);
  return sim;
}

TEST(DiscretizarPerfil, HorizonWalkWeightsAndLayerCapacity) {
  // Rows: soil, profile depth; stones of every layer (the sum of its weights when 100 %), field
  // capacity of layers 15 and 64, mean CaCO3.
  const std::tuple<std::vector<Horizonte>, double, double, double, double, double> casos[] = {
      // 1.40625 cm layers: layer 15 (19.6875 to 21.09375 cm) weighs the horizons 2/9 and 7/9.
      {{H(20, 0.2, 0.1, 100), H(90, 0.3, 0.1, 100)}, 90, 100, 0.2 * 2 / 9 + 0.3 * 7 / 9, 0.3, 0},
      {{H(30, 0.25, 0.12, 10, 10)}, 90, 10, 0.25, 0.25, 10},  // extended to the profile
      {{H(30, 0.2, 0.1, 0, 10), H(90, 0.3, 0.1, 0, 20)}, 90, 0, 0.2, 0.3, 50.0 / 3},
      {{H(30, 0.2, 0.1, 0, 10), H(90, 0.3, 0.1, 0, 20)}, 120, 0, 0.2, 0.3, 17.5},
      // Below the profile: no layer values, but the full thickness counts in the means.
      {{H(60, 0.2, 0.1, 0, 10), H(150, 0.4, 0.2, 0, 40)}, 90, 0, 0.2, 0.4, 28}};
  for (const auto& [suelo, perfil_cm, piedras, cc_15, cc_64, caliza] : casos) {
    SCOPED_TRACE(caliza);
    const Simulacion sim = discretizado(suelo, perfil_cm);
    const REGISTRO_SUELO& p = sim.balance.PERFIL;
    expectCerca({cc_15, cc_64, caliza}, {p.CC_CAPA[15], p.CC_CAPA[64], sim.CALIZA_PERFIL}, 1e-13);
    for (int j = 1; j <= kCapas; ++j) expectCerca({piedras}, {p.PIEDRAS_CAPA[j]}, 1e-12);
  }
  // Sand 40 %, CaCO3 10 %: the pedotransfer method ignores the horizon's own water contents; the
  // empirical one uses them, and its 11 evaporative layers dry to half the wilting point.
  const REGISTRO_SUELO pedo =
      discretizado({H(90, 0.3, 0.15, 0, 10)}, 90, OpcionCapacidad::Pedotransferencia)
          .balance.PERFIL;
  expectCerca({0.4027, 0.15505}, {pedo.CC_CAPA[7], pedo.PMP_CAPA[7]}, 1e-14);
  const Simulacion sim = discretizado({H(90, 0.30, 0.15, 10)}, 90, OpcionCapacidad::Empirica, 11);
  const PorCapa& util = sim.balance.AGUA_UTIL_CAPA;
  expectCerca({2.84765625, 2.84765625, 1.8984375, 1.8984375},
              {util[1], util[11], util[12], sim.CAPACIDAD_CAPA[12][64]}, 1e-13);
}

TEST(ZonaRaices, RootLayersRoundHalvesToEvenAndTheDemandSpreadsByQuarters) {
  // Rows: July's roots, simulation and evaporative depths; profile, July's and evap. layers.
  const double casos[][6] = {{120, 90, 0, 120, 64, 0},    {60, 90, 0, 90, 43, 0},
                             {50, 90, 0, 90, 36, 0},      {45, 90, 0, 90, 32, 0},
                             {5, 128, 0, 128, 2, 0},      {7, 128, 0, 128, 4, 0},
                             {5.625, 90, 15, 90, 11, 11}, {50, 90, 15, 90, 36, 11}};
  for (const auto& c : casos) {
    SCOPED_TRACE(c[0]);
    Simulacion sim;
    sim.RAIZ_MENSUAL[7] = c[0];
    sim.PROF_SIMULACION = c[1];
    sim.PROF_EVAPORATIVA = c[2];
    CALCULAR_PROFUNDIDAD_PERFIL(sim);
    CALCULAR_CAPAS_RAICES(sim);
    expectCerca({c[3], c[4], c[5]},
                {sim.PROF_PERFIL, sim.CAPAS_RAIZ_MENSUAL[7], sim.NUM_CAPAS_EVAP}, 0);
  }
  // Spreading ETc 100 mm. Rows: root layers, top quarter's share (then 0.3, 0.2, 0.1), demands.
  const double tabla[][10] = {{0, 0.4},
                              {1, 0.4, 100},
                              {2, 0.4, 70, 30},
                              {3, 0.4, 50, 100.0 / 3, 50.0 / 3},
                              {4, 0.4, 40, 30, 20, 10},
                              {5, 0.4, 32, 26, 20, 14, 8},
                              {6, 0.4, 80.0 / 3, 70.0 / 3, 20, 40.0 / 3, 10, 20.0 / 3},
                              {8, 0.4, 20, 20, 15, 15, 10, 10, 5, 5},
                              {4, 0.3, 30, 30, 20, 10}};  // shares adding up to 0.9 stay so
  for (const auto& fila : tabla) {
    SCOPED_TRACE(fila[0]);
    Simulacion sim;
    sim.ETC_MENSUAL.fill(100.0);
    sim.CAPAS_RAIZ_MENSUAL.fill(fila[0]);
    sim.PATRON_EXTRACCION = {0, fila[1], 0.3, 0.2, 0.1};
    sim.DEMANDA_ET_CAPA[6].fill(5.0);  // a stale demand
    DISTRIBUIR_EXTRACCION_RAICES(sim);
    for (int j = 1; j <= kCapas; ++j) {
      expectCerca({j <= fila[0] ? fila[j + 1] : 0.0}, {sim.DEMANDA_ET_CAPA[6][j]}, 1e-12);
    }
  }
}

TEST(EtcMensual, SoilEvaporationLargestCoverAndWaterStress) {
  // January (31 days): 5 rainy days, 4 irrigations wetting half the surface, cover 0.3. April
  // (30 days): 3 rainy days, cover 0.2. The other months: 7.5, 10, 15, 30, 45 and 0 events.
  Simulacion sim;
  sim.ESTACION.DIAS_LLUVIA = {0, 5, 7.5, 10, 3, 15, 30, 45, 0};
  sim.DATOS_RIEGO.NRIEGOS_MENSUAL[1] = 4;
  sim.DATOS_RIEGO.FRACCION_MOJADA = 0.5;
  sim.COBERTURA_MENSUAL = {0, 0.3, 0, 0, 0.2};
  sim.balance.FACTOR_HUMECTACION[8] = sim.balance.TASA_HUMECTACION[8] = 9.0;  // stale
  sim.ETO_MENSUAL.fill(100.0);
  sim.KCB_MENSUAL.fill(0.5);
  CALCULAR_ETC_MENSUAL(sim);
  const Mensual &f = sim.balance.FACTOR_HUMECTACION, &tasa = sim.balance.TASA_HUMECTACION;
  expectCerca({2.414988, 0.225806, 0.381724, 0.208514},
              {f[1], tasa[1], sim.KE_MENSUAL[1], sim.KE_MENSUAL[4]}, 5e-7);
  // From 30 events on only the wetting day counts: 45 events dry as 30 do.
  expectCerca({2.606420, 2.287367, 1.807478, 1.085673, 1.085673, 0, 0, 0},
              {f[2], f[3], f[5], f[6], f[7], f[8], tasa[8], sim.KE_MENSUAL[8]}, 2e-6);
  // The basal coefficient is scaled by the year's largest cover, not the month's.
  expectCerca({100 * (sim.KE_MENSUAL[4] + 0.15), 15}, {sim.ETC_MENSUAL[4], sim.ETC_MENSUAL[12]},
              1e-13);
  sim.COBERTURA_MENSUAL.fill(-0.2);  // all negative: the largest cover stays 0
  CALCULAR_ETC_MENSUAL(sim);
  EXPECT_EQ(sim.COBERTURA_MAXIMA, 0.0);
  // Stressed in June: adjusted Kcb 0.8, Ke 0.2, ETo 100 mm, 30 mm layers full below the root
  // zone and in May. Rows: root layers, their storage and capacity; stress factor and ETc.
  const double casos[][5] = {{2, 15, 30, 0.853785, 88.3028},  // half full: ln 51 / ln 100
                             {3, 30, 30, 1.0021607, 100.17286},
                             {3, 0, 30, 0, 20},  // soil evaporation alone
                             {2, 0, 0, 1, 100},  // no capacity: not stressed
                             {0, 0, 30, 1, 100}};
  for (const auto& c : casos) {
    Simulacion estres;
    estres.CAPAS_RAIZ_MENSUAL[6] = c[0];
    for (int m = 1; m <= kMeses; ++m) estres.CAPACIDAD_CAPA[m].fill(30.0);
    for (int m = 5; m <= 6; ++m) estres.balance.ALMACEN_CAPA[m].fill(30.0);
    std::fill_n(&estres.balance.ALMACEN_CAPA[6][1], c[0], c[1]);
    std::fill_n(&estres.CAPACIDAD_CAPA[6][1], c[0], c[2]);
    estres.KCB_AJUSTADO[6] = 0.8;
    estres.KE_MENSUAL[6] = 0.2;
    estres.ETO_MENSUAL[6] = 100.0;
    aplicarEstresHidrico(estres);
    expectCerca({c[3], c[4]}, {estres.balance.KS_MENSUAL[6], estres.ETC_MENSUAL[6]}, 5e-7);
  }
}

// Wetting more than once a day wets the surface no more than wetting every day: from 30 events a
// month only the wetting day counts, and irrigations count at most once a day. Ke is never
// negative, and from 30 events on adding irrigations never lowers it; months with at most 30
// events and no more irrigations than days keep the weights of their event count, bit for bit.
TEST(EtcMensual, WettingMoreThanDailyNeverLowersNorNegatesSoilEvaporation) {
  Simulacion sim;
  const auto ke = [&sim](int m, double lluvia, double riegos, double mojada, double cobertura) {
    sim.ESTACION.DIAS_LLUVIA[m] = lluvia;
    sim.DATOS_RIEGO.NRIEGOS_MENSUAL[m] = riegos;
    sim.DATOS_RIEGO.FRACCION_MOJADA = mojada;
    sim.COBERTURA_MENSUAL[m] = cobertura;
    CALCULAR_EVAPORACION_SUELO(sim);
    return sim.KE_MENSUAL[m];
  };
  for (const int m : {2, 7}) {
    const double dias = m == 2 ? 28 : 31;
    for (double lluvia = 0; lluvia <= dias; lluvia += 3.5) {
      for (const double mojada : {0.0, 0.35, 1.0}) {
        for (const double cobertura : {0.0, 0.6, 1.0}) {
          double anterior = ke(m, lluvia, 0, mojada, cobertura);
          for (double riegos = 0.5; riegos <= 100; riegos += 0.5) {
            const double actual = ke(m, lluvia, riegos, mojada, cobertura);
            ASSERT_GE(actual, 0) << m << " " << lluvia << " " << riegos << " " << mojada;
            if (lluvia + riegos - 0.5 >= 30) {
              ASSERT_GE(actual, anterior) << m << " " << lluvia << " " << riegos << " " << mojada;
            }
            anterior = actual;
          }
        }
      }
    }
  }
  // July, 2 rainy days, a wetted fraction of 0.35, cover 0.6: 62 and 93 irrigations wet as 31 do.
  const double diario = ke(7, 2, 31, 0.35, 0.6);
  EXPECT_EQ(ke(7, 2, 62, 0.35, 0.6), diario);
  EXPECT_EQ(ke(7, 2, 93, 0.35, 0.6), diario);
  EXPECT_EQ(sim.balance.FACTOR_HUMECTACION[7], sim.balance.CURVA_SECADO[0]);
  EXPECT_EQ(diario, (0.35 * 31 + 2) / 31 * (1 - 0.6) * sim.balance.CURVA_SECADO[0]);
  // Up to 30 events and one irrigation a day, the weights of the drying curve as they were.
  // Rows: month, rainy days, irrigations, weights of days 1, 2 and 3.
  const auto& c = sim.balance.CURVA_SECADO;
  const double casos[][6] = {{9, 3, 6, 1, 1, 0.4},
                             {12, 0, 12, 1, 0.6, 0},
                             {4, 13, 16, 1.0 / 15, 0, 0},
                             {2, 2, 28, 0, 0, 0}};
  for (const auto& k : casos) {
    const int m = static_cast<int>(k[0]);
    const double factor = k[3] * c[1] + c[0] + k[4] * c[2] + k[5] * c[3];
    const double tasa = (0.5 * k[2] + k[1]) / DIAS_MES(static_cast<int16_t>(m));
    EXPECT_EQ(ke(m, k[1], k[2], 0.5, 0.3), tasa * (1 - 0.3) * factor) << m;
  }
}

// Only layer 1 holds water and gives `et_1` mm of ET a month; rain in September and October.
Simulacion unaCapa(double capacidad_1, double et_1, double septiembre, double octubre = 0.0) {
  Simulacion sim;
  for (int m = 1; m <= kMeses; ++m) sim.CAPACIDAD_CAPA[m][1] = capacidad_1;
  for (int m = 1; m <= kMeses; ++m) sim.DEMANDA_ET_CAPA[m][1] = et_1;
  sim.ESTACION.PRECIPITACION[9] = septiembre;
  sim.ESTACION.PRECIPITACION[10] = octubre;
  SUMAS_ANUALES(sim);
  BALANCE_AGUA_CAPAS(sim);
  return sim;
}

TEST(BalanceAguaCapas, LayerMonthsAndPassesUntilTheErrorIsBelowOneHundredthPercent) {
  // Rows: water in, last month's storage, demand; ET, storage and drainage (capacity 20 mm).
  const double casos[][6] = {{30, 5, 8, 8, 20, 7}, {2, 3, 8, 5, 0, 0},   {6, 2, 8, 8, 0, 0},
                             {20, 8, 8, 8, 20, 0}, {25, 0, 0, 0, 20, 5}, {-4, 1, 8, 0, 0, 0}};
  for (const auto& c : casos) {
    const ResultadoCapaMes r = balanceCapaMes(c[0], c[1], c[2], 20.0);
    expectCerca({c[3], c[4], c[5]}, {r.et_real, r.almacen, r.drenaje}, 0);
  }
  // Storing 1 mm of 10000 is an error of exactly 0.01 %: another pass runs.
  EXPECT_EQ(unaCapa(1, 0, 10000).balance.pasadasBalance, 2);
  EXPECT_EQ(unaCapa(1, 0, 10001).balance.pasadasBalance, 1);
  // A negative month takes water out of the balance: every year leaves the same error.
  EXPECT_THROW(unaCapa(0, 0, 100, -50), SimulacionRechazada);
  // 400 mm in October: year 1 starts dry, ends August with 30 mm; year 2 starts from them.
  Simulacion sim = unaCapa(50, 2, 0, 400);
  const MesCapa& almacen = sim.balance.ALMACEN_CAPA;
  expectCerca({2, 28, 44, 30, 376},
              {double(sim.balance.pasadasBalance), almacen[9][1], almacen[1][1], almacen[8][1],
               sim.DRENAJE_ANUAL_CAPA[kCapas]},
              0);
}

// One empirical horizon (field capacity 0.375) as deep as the profile; 600 mm of irrigation and
// 300 of rain; each layer above `seca` (0: none) drains 100 mm; another simulation's factors.
Simulacion drenando(double simulacion_cm, double perfil_cm, double seca = 0, double sat = 0.5,
                    double densidad = 1.5) {
  Simulacion sim;
  ponerSuelo(sim, {{perfil_cm, 40, 20, sat, 0.375, 0, densidad, 0, 10, 2, 3}});
  PREPARAR_PERFIL_SUELO(sim);
  sim.OPCION_CAPACIDAD = OpcionCapacidad::Empirica;
  sim.PROF_SIMULACION = simulacion_cm;
  sim.PROF_PERFIL = perfil_cm;
  for (int j = 1; j <= kCapas; ++j) sim.DRENAJE_ANUAL_CAPA[j] = seca == 0 || j < seca ? 100 : 0;
  sim.DATOS_RIEGO.RIEGO_ANUAL = 600.0;
  sim.PRECIPITACION_ANUAL = 300.0;
  sim.OPCION_SOLUCION = OpcionSolucion::Drenaje;
  sim.FACTOR_CONCENTRACION_CC = sim.FACTOR_CONCENTRACION_SAT = sim.FRACCION_LAVADO = 9.0;
  sim.FACTOR_CONCENTRACION_FONDO = 9.0;
  return sim;
}

TEST(FactoresConcentracion, WorkedExampleAndLayersCountedDownToTheFirstDry) {
  Simulacion sim = drenando(2, 64);  // two layers within the depth of simulation
  sim.DRENAJE_ANUAL_CAPA[1] = 400.0;
  sim.DRENAJE_ANUAL_CAPA[2] = 200.0;
  sim.DRENAJE_ANUAL_CAPA[kCapas] = 150.0;
  CALCULAR_FACTORES_CONCENTRACION(sim);
  expectCerca({2.25, 4, 150.0 / 900, 0.25, 0.5, 1.125},
              {*sim.FACTOR_CONCENTRACION_CC, *sim.FACTOR_CONCENTRACION_FONDO, *sim.FRACCION_LAVADO,
               *sim.CC_PERFIL, *sim.SAT_PERFIL, *sim.FACTOR_CONCENTRACION_SAT},
              1e-15);
  // The pedotransfer method: clay 20 %, sand 40 %, organic matter 2 %, CaCO3 10 %.
  sim = drenando(90, 90);
  sim.OPCION_CAPACIDAD = OpcionCapacidad::Pedotransferencia;
  CALCULAR_FACTORES_CONCENTRACION(sim);
  expectCerca({0.32309, 0.29399, 0.29399 * 6 / 0.32309},
              {*sim.SAT_PERFIL, *sim.CC_PERFIL, *sim.FACTOR_CONCENTRACION_SAT}, 1e-14);
  sim.DRENAJE_ANUAL_CAPA[30] = 1e-9;  // tiny, but not 0: counts in full
  CALCULAR_FACTORES_CONCENTRACION(sim);
  EXPECT_GT(*sim.FACTOR_CONCENTRACION_CC, 1e9);
  // Rows: depth of simulation and profile, first dry layer, saturation, bulk density; layers
  // counted, lower bound, reasons given, saturation factor (-1: none, never an earlier one).
  const double casos[][9] = {{90, 100, 0, 0.5, 1.5, 58, 0, 0, 3},   // 57.6 layers
                             {89, 128, 0, 0.5, 1.5, 44, 0, 0, 3},   // 44.5: halves to even
                             {91, 128, 0, 0.5, 1.5, 46, 0, 0, 3},   // 45.5
                             {90, 90, 5, 0.5, 1.5, 4, 1, 1, 3},     // the bottom does not drain
                             {90, 120, 49, 0.5, 1.5, 48, 0, 1, 3},  // only below the depth
                             {90, 120, 48, 0.5, 1.5, 47, 1, 1, 3},  // the last layer counted
                             {90, 90, 1, 0.5, 1.5, 0, 1, 2, -1},    // the surface does not drain
                             {0.5, 90, 0, 0.5, 1.5, 0, 0, 1, -1},   // 0.36 layers
                             {90, 90, 0, 0, 1.5, 64, 0, 1, -1},     // no saturation
                             {90, 90, 0, 0.5, 0, 64, 0, 2, -1}};    // no bulk density
  for (const auto& c : casos) {
    SCOPED_TRACE(&c - casos);
    Simulacion sim = drenando(c[0], c[1], c[2], c[3], c[4]);
    CALCULAR_FACTORES_CONCENTRACION(sim);
    const bool cc = c[5] > 0, fondo = c[2] == 0;
    expectCerca({c[5], c[6], c[7], c[8], cc ? 6.0 : -1, fondo ? 6.0 : -1, fondo ? 0.1 : 0},
                {double(sim.balance.CAPAS_SIMULACION), double(sim.SALIDA_MAYOR_QUE),
                 double(sim.AVISOS.size()), sim.FACTOR_CONCENTRACION_SAT.value_or(-1),
                 sim.FACTOR_CONCENTRACION_CC.value_or(-1),
                 sim.FACTOR_CONCENTRACION_FONDO.value_or(-1), *sim.FRACCION_LAVADO * 0.9},
                1e-15);
  }
}

// A computable simulation: 1 to 4 horizons, either method, dry months, roots below the profile.
Simulacion aleatoria(std::mt19937& gen) {
  auto u = [&gen](double a, double b) { return std::uniform_real_distribution<double>(a, b)(gen); };
  auto entero = [&gen](int a, int b) { return std::uniform_int_distribution<int>(a, b)(gen); };
  Simulacion sim;
  sim.PROF_SIMULACION = entero(20, 200);
  sim.PROF_EVAPORATIVA = entero(0, 20);
  sim.OPCION_CAPACIDAD = static_cast<OpcionCapacidad>(entero(0, 1));
  std::vector<Horizonte> horizontes;
  double fondo = 0;
  for (int k = entero(1, 4); k > 0; --k) {
    fondo += entero(0, 80);
    const double pmp = u(0.03, 0.25);
    horizontes.push_back({fondo, u(5, 90), u(2, 60), u(0.3, 0.6), pmp + u(0.02, 0.2), pmp,
                          u(1.1, 1.7), u(0, 40), u(0, 45), u(0, 4), u(0, 5)});
  }
  ponerSuelo(sim, horizontes);
  const double lluvia = u(0, 120), riego = entero(0, 3) == 0 ? 0.0 : u(0, 150), raiz = u(0, 250);
  for (int m = 1; m <= kMeses; ++m) {
    sim.ESTACION.PRECIPITACION[m] = entero(0, 4) == 0 ? 0.0 : u(0, 2 * lluvia);
    sim.ESTACION.DIAS_LLUVIA[m] = entero(0, 20);
    sim.ETO_MENSUAL[m] = u(10, 250);
    sim.KCB_MENSUAL[m] = u(0, 1.2);
    sim.RAIZ_MENSUAL[m] = u(0, raiz);
    sim.COBERTURA_MENSUAL[m] = u(0, 1);
    sim.DATOS_RIEGO.RIEGO_MENSUAL[m] = entero(0, 2) == 0 ? 0.0 : u(0, 2 * riego);
    sim.DATOS_RIEGO.NRIEGOS_MENSUAL[m] = entero(0, 20);
  }
  sim.DATOS_RIEGO.FRACCION_MOJADA = u(0.1, 1);
  for (int q = 1; q <= 4; ++q) sim.PATRON_EXTRACCION[q] = u(0, 0.5);
  return sim;
}

// 300 simulations from one seed, run through the chain.
const std::vector<Simulacion>& generadas() {
  static const std::vector<Simulacion> sims = [] {
    std::vector<Simulacion> nuevas;
    std::mt19937 gen(20240611);
    for (int i = 0; i < 300; ++i) ejecutarCadenaBalance(nuevas.emplace_back(aleatoria(gen)));
    return nuevas;
  }();
  return sims;
}

// What the chain leaves for the sheets, the chemistry and the next steps.
auto resultados(const Simulacion& s) {
  return std::tie(s.ET_REAL_MENSUAL, s.DRENAJE_CAPA, s.DRENAJE_ANUAL_CAPA, s.balance.ALMACEN_CAPA,
                  s.DEMANDA_ET_CAPA, s.ETC_MENSUAL, s.KE_MENSUAL, s.balance.CAMBIO_ET,
                  s.balance.ITERACIONES_ESTRES, s.SALIDA_MAYOR_QUE, s.AVISOS,
                  s.FACTOR_CONCENTRACION_CC, s.FACTOR_CONCENTRACION_SAT,
                  s.FACTOR_CONCENTRACION_FONDO, s.FRACCION_LAVADO, s.CC_PERFIL, s.SAT_PERFIL);
}

// A simulation's inputs and settings run over another's state, as if the batch reused states.
Simulacion sobreEstadoUsado(const Simulacion& anterior, Simulacion entradas) {
  Simulacion usada = anterior;
  usada.PROF_EVAPORATIVA = entradas.PROF_EVAPORATIVA;
  usada.PROF_SIMULACION = entradas.PROF_SIMULACION;
  usada.OPCION_CAPACIDAD = entradas.OPCION_CAPACIDAD;
  static_cast<EntradasSimulacion&>(usada) = std::move(static_cast<EntradasSimulacion&>(entradas));
  usada.SALIDA_MAYOR_QUE = false;  // the driver clears it for every simulation
  usada.AVISOS.clear();
  ejecutarCadenaBalance(usada);
  return usada;
}

TEST(CadenaGenerada, InvariantsAndIndependenceFromWhatRanBefore) {
  Simulacion seca = generadas()[0];
  seca.ESTACION.PRECIPITACION.fill(0.0);
  seca.DATOS_RIEGO.RIEGO_MENSUAL.fill(0.0);
  for (size_t i = 0; i < generadas().size(); ++i) {
    SCOPED_TRACE(i);
    const Simulacion& sim = generadas()[i];
    // The annual balance closes, and drainage does not rise with depth, to 0.01 % of the input.
    const double entrada = sim.PRECIPITACION_ANUAL + sim.DATOS_RIEGO.RIEGO_ANUAL;
    const double tol = kErrorCierrePct / 100.0;
    EXPECT_TRUE(Near(entrada, sim.ET_REAL_ANUAL + sim.DRENAJE_ANUAL_CAPA[kCapas], 1e-9, tol));
    for (int j = 2; j <= kCapas; ++j) {
      EXPECT_LE(sim.DRENAJE_ANUAL_CAPA[j], sim.DRENAJE_ANUAL_CAPA[j - 1] + tol * entrada) << j;
    }
    // A month's layer demands add up to its ETc times the sum of the shares.
    const auto& c = sim.PATRON_EXTRACCION;
    for (int m = 1; m <= kMeses; ++m) {
      double suma = 0.0;
      for (int j = 1; j <= kCapas; ++j) suma += sim.DEMANDA_ET_CAPA[m][j];
      const double cuotas = sim.CAPAS_RAIZ_MENSUAL[m] == 0 ? 0.0 : c[1] + c[2] + c[3] + c[4];
      EXPECT_TRUE(Near(sim.ETC_MENSUAL[m] * cuotas, suma, 1e-9, 1e-12)) << "month " << m;
    }
    if (sim.balance.ITERACIONES_ESTRES == 2) {
      // The second pass's change of ET is relative to its own ET; the first pass again:
      Simulacion uno = sim;
      uno.ETC_MENSUAL = uno.ETC_POTENCIAL;
      DISTRIBUIR_EXTRACCION_RAICES(uno);
      BALANCE_AGUA_CAPAS(uno);
      aplicarEstresHidrico(uno);
      DISTRIBUIR_EXTRACCION_RAICES(uno);
      BALANCE_AGUA_CAPAS(uno);
      const double cambio = std::fabs((sim.ET_REAL_ANUAL - uno.ET_REAL_ANUAL) / sim.ET_REAL_ANUAL);
      EXPECT_TRUE(Near(cambio * 100.0, sim.balance.CAMBIO_ET, 0, 1e-12));
    }
    EXPECT_TRUE(sim.balance.CAMBIO_ET < 0.01 || sim.balance.ITERACIONES_ESTRES == 51);
    // A year without water stops at once after any simulation (some end their passes unsettled).
    const Simulacion seca_despues = sobreEstadoUsado(sim, seca);
    EXPECT_EQ(seca_despues.balance.ITERACIONES_ESTRES, 1);
    EXPECT_FALSE(seca_despues.FRACCION_LAVADO.has_value());
    if (i % 3 != 1) continue;
    // Same outputs over the previous simulation's state, and without the reuse (a run a pass).
    Simulacion sin = sim;
    sin.balance.reutilizarUltimaCorrida = false;
    ejecutarCadenaBalance(sin);
    EXPECT_TRUE(resultados(sim) == resultados(sin)) << "the reuse changed an output";
    EXPECT_TRUE(resultados(sim) == resultados(sobreEstadoUsado(generadas()[i - 1], sim)));
    EXPECT_EQ(sim.balance.corridasBalance, sim.balance.ITERACIONES_ESTRES + 1);
  }
}

TEST(ValidarDatosBalance, RefusesWhatTheBalanceCannotCompute) {
  const std::pair<void (*)(Simulacion&), const char*> casos[] = {
      // 64 x 92.109375 / 90 = 65.5 layers, which round to 66; 64.5 would round to 64.
      {[](Simulacion& s) { s.PROF_EVAPORATIVA = 92.109375; }, "evaporative layer (92.109375 cm)"},
      {[](Simulacion& s) { s.PROF_EVAPORATIVA = 90.703125; }, nullptr},
      {[](Simulacion& s) { s.PROF_FILA[2] = 25; }, "horizon 2 ends at 25 cm"},
      {[](Simulacion& s) { s.RAIZ_MENSUAL[2] = -10; }, "root depth (cm) of month 2"},
      {[](Simulacion& s) { s.RAIZ_MENSUAL[3] = -1e-300; }, "month 3 is -1e-300; it may not"},
      {[](Simulacion& s) { s.ESTACION.PRECIPITACION[4] = -1e-300; }, "month 4 is -1e-300;"},
      {[](Simulacion& s) { s.KCB_MENSUAL[5] = -0.2; },
       "basal crop coefficient of month 5 is -0.2;"},
      {[](Simulacion& s) { s.COBERTURA_MENSUAL[6] = -1e-300; }, "(fraction) of month 6 is -1e-300"},
      {[](Simulacion& s) { s.COBERTURA_MENSUAL[7] = 1.5; }, "month 7 is 1.5; it may not be larger"},
      {[](Simulacion& s) { s.COBERTURA_MENSUAL[7] = 1; }, nullptr},
      {[](Simulacion& s) { s.PIEDRAS_FILA[1] = 150; }, "capacity (mm) of layer 1 is -"}};
  Simulacion base = generadas()[0];  // no roots, 90 cm, horizons ending at 30 and 120 cm
  base.RAIZ_MENSUAL.fill(0.0);
  base.PROF_SIMULACION = 90;
  ponerSuelo(base, {H(30, 0.3, 0.1, 0), H(120, 0.3, 0.1, 0)});
  for (const auto& [cambiar, motivo] : casos) {
    Simulacion sim = base;
    cambiar(sim);
    try {
      ejecutarCadenaBalance(sim);
      EXPECT_EQ(motivo, nullptr) << "not refused";
    } catch (const SimulacionRechazada& e) {
      ASSERT_NE(motivo, nullptr) << e.what();
      EXPECT_NE(std::string(e.what()).find(motivo), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace medravolix
