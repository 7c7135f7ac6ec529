// The water-stress iteration: the stress factor of a month's root zone, the passes, and the
// reuse of the previous pass's last balance run.
#include "balance/balance_estres.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "balance/balance_capas.h"
#include "balance/cadena_balance.h"
#include "balance/etc_mensual.h"
#include "balance/perfil_suelo.h"
#include "balance/simulaciones_prueba.h"
#include "balance/zona_raices.h"
#include "batch/simulacion.h"
#include "support/test_support.h"

namespace medravolix {
namespace {

using testing::MismosBits;
using testing::Near;

// Month 6: `capas` root layers of 30 mm capacity each holding `almacen_mm`; adjusted Kcb 0.8,
// Ke 0.2, ETo 100 mm.
Simulacion ZonaRaices(int capas, double almacen_mm) {
  Simulacion sim;
  sim.CAPAS_RAIZ_MENSUAL.fill(1);
  sim.CAPAS_RAIZ_MENSUAL[6] = capas;
  for (int m = 1; m <= kMeses; ++m) {
    for (int j = 1; j <= kCapas; ++j) sim.CAPACIDAD_CAPA[m][j] = 30.0;
  }
  for (int j = 1; j <= kCapas; ++j) sim.BALANCE.ALMACEN_CAPA[6][j] = almacen_mm;
  sim.KCB_AJUSTADO[6] = 0.8;
  sim.KE_MENSUAL[6] = 0.2;
  sim.ETO_MENSUAL[6] = 100.0;
  return sim;
}

TEST(EstresHidrico, HalfFullRootZone) {
  Simulacion sim = ZonaRaices(2, 15.0);  // 30 of 60 mm
  APLICAR_ESTRES_HIDRICO(sim);
  EXPECT_EQ(sim.BALANCE.ALMACEN_RAIZ[6], 30.0);
  EXPECT_EQ(sim.BALANCE.CAPACIDAD_RAIZ[6], 60.0);
  EXPECT_TRUE(Near(0.853785, sim.BALANCE.KS_MENSUAL[6], 5e-7));
  EXPECT_TRUE(Near(88.3028, sim.ETC_MENSUAL[6], 5e-5));
  EXPECT_EQ(sim.KC_MENSUAL[6], sim.KE_MENSUAL[6] + sim.BALANCE.KCB_ESTRES[6]);
}

TEST(EstresHidrico, FullAndEmptyRootZones) {
  Simulacion lleno = ZonaRaices(3, 30.0);
  APLICAR_ESTRES_HIDRICO(lleno);
  EXPECT_TRUE(Near(1.0021607, lleno.BALANCE.KS_MENSUAL[6], 5e-8));
  EXPECT_GT(lleno.BALANCE.KCB_ESTRES[6], 0.8);
  Simulacion vacio = ZonaRaices(3, 0.0);
  APLICAR_ESTRES_HIDRICO(vacio);
  EXPECT_EQ(vacio.BALANCE.KS_MENSUAL[6], 0.0);
  EXPECT_TRUE(Near(20.0, vacio.ETC_MENSUAL[6], 1e-12));  // soil evaporation alone
}

TEST(EstresHidrico, OnlyTheMonthsRootLayersCount) {
  Simulacion sim = ZonaRaices(11, 0.0);
  for (int j = 1; j <= 11; ++j) sim.BALANCE.ALMACEN_CAPA[6][j] = 15.0;
  sim.BALANCE.ALMACEN_CAPA[6][12] = 30.0;
  sim.BALANCE.ALMACEN_CAPA[5][1] = 30.0;  // another month's storage
  APLICAR_ESTRES_HIDRICO(sim);
  EXPECT_EQ(sim.BALANCE.ALMACEN_RAIZ[6], 165.0);
  EXPECT_EQ(sim.BALANCE.CAPACIDAD_RAIZ[6], 330.0);
  EXPECT_TRUE(Near(0.853785, sim.BALANCE.KS_MENSUAL[6], 5e-7));
}

TEST(EstresHidrico, RootZoneWithoutCapacityIsNotStressed) {
  Simulacion sim = ZonaRaices(2, 0.0);
  sim.CAPACIDAD_CAPA[6][1] = sim.CAPACIDAD_CAPA[6][2] = 0.0;
  APLICAR_ESTRES_HIDRICO(sim);
  EXPECT_FALSE(sim.BALANCE.HUMEDAD_RELATIVA_RAIZ[6].has_value());
  EXPECT_EQ(sim.BALANCE.KS_MENSUAL[6], 1.0);
  EXPECT_TRUE(Near(100.0, sim.ETC_MENSUAL[6], 1e-12));
  Simulacion sin_raices = ZonaRaices(0, 10.0);
  APLICAR_ESTRES_HIDRICO(sin_raices);
  EXPECT_EQ(sin_raices.BALANCE.KS_MENSUAL[6], 1.0);
}

// Everything the chain leaves for the sheets, the chemistry and the next steps, bit for bit.
void ExpectMismosResultados(const Simulacion& a, const Simulacion& b) {
  EXPECT_TRUE(MismosBits(a.ET_REAL_MENSUAL, b.ET_REAL_MENSUAL));
  EXPECT_TRUE(MismosBits(a.ET_REAL_ANUAL, b.ET_REAL_ANUAL));
  EXPECT_TRUE(MismosBits(a.DRENAJE_CAPA, b.DRENAJE_CAPA));
  EXPECT_TRUE(MismosBits(a.DRENAJE_ANUAL_CAPA, b.DRENAJE_ANUAL_CAPA));
  EXPECT_TRUE(MismosBits(a.BALANCE.ALMACEN_CAPA, b.BALANCE.ALMACEN_CAPA));
  EXPECT_TRUE(MismosBits(a.ETC_MENSUAL, b.ETC_MENSUAL));
  EXPECT_TRUE(MismosBits(a.KC_MENSUAL, b.KC_MENSUAL));
  EXPECT_TRUE(MismosBits(a.DEMANDA_ET_CAPA, b.DEMANDA_ET_CAPA));
  EXPECT_TRUE(MismosBits(a.ETC_POTENCIAL, b.ETC_POTENCIAL));
  EXPECT_EQ(a.BALANCE.ITERACIONES_ESTRES, b.BALANCE.ITERACIONES_ESTRES);
  EXPECT_TRUE(MismosBits(a.BALANCE.CAMBIO_ET, b.BALANCE.CAMBIO_ET));
  EXPECT_EQ(a.SALIDA_MAYOR_QUE, b.SALIDA_MAYOR_QUE);
  for (auto campo : {&Simulacion::FACTOR_CONCENTRACION_CC, &Simulacion::FACTOR_CONCENTRACION_SAT,
                     &Simulacion::FACTOR_CONCENTRACION_FONDO, &Simulacion::FRACCION_LAVADO,
                     &Simulacion::CC_PERFIL, &Simulacion::SAT_PERFIL}) {
    ASSERT_EQ((a.*campo).has_value(), (b.*campo).has_value());
    if ((a.*campo).has_value()) {
      EXPECT_TRUE(MismosBits(*(a.*campo), *(b.*campo)));
    }
  }
}

TEST(BalanceConEstres, ReusingThePreviousPassesRunChangesNoOutput) {
  std::mt19937 gen(7001);
  int64_t pasadas_con = 0, pasadas_sin = 0;
  for (int i = 0; i < 120; ++i) {
    Simulacion con =
        i == 0 ? testing::OlivarFrancoMediterraneo() : testing::SimulacionAleatoria(gen);
    Simulacion sin = con;
    sin.BALANCE.REUTILIZAR_ULTIMA_CORRIDA = false;
    EJECUTAR_CADENA_BALANCE(con);
    EJECUTAR_CADENA_BALANCE(sin);
    ExpectMismosResultados(con, sin);
    EXPECT_EQ(con.BALANCE.CORRIDAS_REUTILIZADAS, con.BALANCE.ITERACIONES_ESTRES - 1);
    EXPECT_EQ(sin.BALANCE.CORRIDAS_REUTILIZADAS, 0);
    EXPECT_EQ(sin.BALANCE.CORRIDAS_BALANCE, 2 * sin.BALANCE.ITERACIONES_ESTRES);
    pasadas_con += con.BALANCE.PASADAS_BALANCE;
    pasadas_sin += sin.BALANCE.PASADAS_BALANCE;
  }
  EXPECT_LT(pasadas_con, pasadas_sin);
}

TEST(BalanceConEstres, PassesEndWhenEtSettlesOrAfter51) {
  std::mt19937 gen(99);
  for (int i = 0; i < 200; ++i) {
    Simulacion sim = testing::SimulacionAleatoria(gen);
    EJECUTAR_CADENA_BALANCE(sim);
    const EstadoBalance& b = sim.BALANCE;
    EXPECT_GE(b.ITERACIONES_ESTRES, 1);
    EXPECT_LE(b.ITERACIONES_ESTRES, 51);
    EXPECT_TRUE(b.CAMBIO_ET < 0.01 || b.ITERACIONES_ESTRES == 51);
    if (sim.ET_REAL_ANUAL > 0.0) {
      EXPECT_GE(b.ITERACIONES_ESTRES, 2);
    }
  }
}

// The olive orchard with a fifth less rainfall and irrigation.
Simulacion OlivarMasSeco() {
  Simulacion sim = testing::OlivarFrancoMediterraneo();
  for (int m = 1; m <= kMeses; ++m) {
    sim.ESTACION.PRECIPITACION[m] *= 0.8;
    sim.DATOS_RIEGO.RIEGO_MENSUAL[m] *= 0.8;
  }
  return sim;
}

TEST(BalanceConEstres, SecondPassSettlesRelativeToItsOwnEt) {
  Simulacion sim = OlivarMasSeco();
  EJECUTAR_CADENA_BALANCE(sim);
  ASSERT_EQ(sim.BALANCE.ITERACIONES_ESTRES, 2);
  // The first pass by hand: a balance under the unstressed demand, the stress factors from its
  // storage, the demand spread again, and a balance under it.
  Simulacion uno = OlivarMasSeco();
  PREPARAR_PERFIL_SUELO(uno);
  CALCULAR_ETC_MENSUAL(uno);
  CALCULAR_PROFUNDIDAD_PERFIL(uno);
  CALCULAR_CAPAS_RAICES(uno);
  DISTRIBUIR_EXTRACCION_RAICES(uno);
  DISCRETIZAR_PERFIL(uno);
  SUMAS_ANUALES(uno);
  BALANCE_AGUA_CAPAS(uno);
  APLICAR_ESTRES_HIDRICO(uno);
  DISTRIBUIR_EXTRACCION_RAICES(uno);
  BALANCE_AGUA_CAPAS(uno);
  const double et_1 = uno.ET_REAL_ANUAL, et_2 = sim.ET_REAL_ANUAL;
  ASSERT_NE(et_1, et_2);
  // The change is taken relative to the new pass's ET, not the previous one's.
  EXPECT_TRUE(Near(std::fabs((et_2 - et_1) / et_2) * 100.0, sim.BALANCE.CAMBIO_ET, 0, 1e-12));
  EXPECT_LT(sim.BALANCE.CAMBIO_ET, 0.01);
  // The stress factor never exceeds 1.0021607: actual ET stays within the unstressed ETc.
  EXPECT_LE(sim.ET_REAL_ANUAL, sim.ETC_ANUAL * 1.0021607);
}

TEST(BalanceConEstres, RefusesNegativeWaterAndCapacities) {
  Simulacion lluvia = testing::OlivarFrancoMediterraneo();
  lluvia.ESTACION.PRECIPITACION[3] = -1.0;
  EXPECT_THROW(BALANCE_CON_ESTRES(lluvia), SimulacionRechazada);
  Simulacion riego = testing::OlivarFrancoMediterraneo();
  riego.DATOS_RIEGO.RIEGO_MENSUAL[7] = -0.5;
  EXPECT_THROW(BALANCE_CON_ESTRES(riego), SimulacionRechazada);
  Simulacion capacidad = testing::OlivarFrancoMediterraneo();
  capacidad.CAPACIDAD_CAPA[4][33] = -0.1;
  EXPECT_THROW(BALANCE_CON_ESTRES(capacidad), SimulacionRechazada);
}

}  // namespace
}  // namespace medravolix
