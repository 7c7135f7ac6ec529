// The soil profile: horizons cut into 64 layers, layer water-holding capacity, pedotransfer
// regressions and profile means.
#include "balance/perfil_suelo.h"

#include <gtest/gtest.h>

#include "balance/pedotransferencia.h"
#include "balance/promedios_perfil.h"
#include "balance/simulaciones_prueba.h"
#include "batch/simulacion.h"
#include "support/test_support.h"

namespace medravolix {
namespace {

using testing::Horizonte;
using testing::Near;
using testing::PonerSuelo;

// A horizon with only the values these tests look at; the rest 0.
Horizonte H(int16_t fondo_cm, double cc, double pmp, double piedras, double caliza = 0.0,
            double arena = 0.0) {
  return {fondo_cm, arena, 0, 0, cc, pmp, 0, piedras, caliza, 0, 0};
}

// Prepares the soil and cuts a profile of `prof_perfil_cm` with `capas_evap` evaporative layers.
Simulacion Discretizado(const std::vector<Horizonte>& horizontes, double prof_perfil_cm,
                        int16_t metodo = 0, double capas_evap = 0.0) {
  Simulacion sim;
  sim.OPCION_CAPACIDAD = metodo;
  PonerSuelo(sim, horizontes);
  PREPARAR_PERFIL_SUELO(sim);
  sim.PROF_PERFIL = prof_perfil_cm;
  sim.NUM_CAPAS_EVAP = capas_evap;
  DISCRETIZAR_PERFIL(sim);
  return sim;
}

TEST(DiscretizarPerfil, HorizonsAt20And90CmWeighLayer15ByThickness) {
  // Stones 100 % in both horizons make each layer's stones the sum of its weights.
  const Simulacion sim = Discretizado({H(20, 0.20, 0.10, 100), H(90, 0.30, 0.15, 100)}, 90);
  const REGISTRO_SUELO& p = sim.BALANCE.PERFIL;
  EXPECT_EQ(sim.BALANCE.ESPESOR_CAPA, 1.40625);
  EXPECT_EQ(p.PROF_CAPA[14], 19.6875);
  EXPECT_EQ(p.PROF_CAPA[15], 21.09375);
  EXPECT_EQ(p.PROF_CAPA[64], 90.0);
  EXPECT_TRUE(Near(0.20 * (2.0 / 9.0) + 0.30 * (7.0 / 9.0), p.CC_CAPA[15], 1e-15));
  EXPECT_TRUE(Near(0.20, p.CC_CAPA[14], 1e-15));
  EXPECT_TRUE(Near(0.30, p.CC_CAPA[16], 1e-15));
  EXPECT_TRUE(Near(0.30, p.CC_CAPA[64], 1e-15));
  for (int j = 1; j <= kCapas; ++j) EXPECT_TRUE(Near(100.0, p.PIEDRAS_CAPA[j], 1e-12)) << j;
}

TEST(DiscretizarPerfil, ShallowSoilIsExtendedToTheProfile) {
  const Simulacion sim = Discretizado({H(30, 0.25, 0.12, 10)}, 90);
  const REGISTRO_SUELO& p = sim.BALANCE.PERFIL;
  EXPECT_EQ(p.PROF_HORIZONTE[1], 90.0);
  for (int j = 1; j <= kCapas; ++j) {
    EXPECT_TRUE(Near(0.25, p.CC_CAPA[j], 1e-15)) << j;
    EXPECT_TRUE(Near(10.0, p.PIEDRAS_CAPA[j], 1e-13)) << j;
  }
}

TEST(DiscretizarPerfil, SoilDeeperThanTheProfileStopsAtLayer64ButCountsInTheMeans) {
  Simulacion sim = Discretizado({H(60, 0.2, 0.1, 0, 10), H(150, 0.4, 0.2, 0, 40)}, 90);
  EXPECT_EQ(sim.BALANCE.PERFIL.PROF_HORIZONTE[2], 150.0);
  EXPECT_TRUE(Near(0.4, sim.BALANCE.PERFIL.CC_CAPA[64], 1e-15));
  PROMEDIAR_CARBONATOS_YESO(sim);
  EXPECT_TRUE(Near((60 * 10 + 90 * 40) / 150.0, sim.CALIZA_PERFIL, 1e-12));
}

TEST(DiscretizarPerfil, HorizonOfZeroThicknessContributesNothing) {
  const Simulacion sim =
      Discretizado({H(30, 0.2, 0.1, 0), H(30, 0.9, 0.1, 100), H(90, 0.2, 0.1, 0)}, 90);
  for (int j = 1; j <= kCapas; ++j) EXPECT_EQ(sim.BALANCE.PERFIL.PIEDRAS_CAPA[j], 0.0) << j;
}

TEST(DiscretizarPerfil, EvaporativeLayersDryToHalfTheWiltingPoint) {
  const Simulacion sim = Discretizado({H(90, 0.30, 0.15, 10)}, 90, 0, 11);
  for (int j = 1; j <= 11; ++j) EXPECT_TRUE(Near(2.84765625, sim.BALANCE.AGUA_UTIL_CAPA[j], 1e-13));
  for (int j = 12; j <= kCapas; ++j) {
    EXPECT_TRUE(Near(1.8984375, sim.BALANCE.AGUA_UTIL_CAPA[j], 1e-13));
  }
  for (int m = 1; m <= kMeses; ++m) {
    for (int j = 1; j <= kCapas; ++j) {
      EXPECT_EQ(sim.CAPACIDAD_CAPA[m][j], sim.BALANCE.AGUA_UTIL_CAPA[j]);
    }
  }
}

TEST(DiscretizarPerfil, EachMethodUsesItsOwnHorizonValues) {
  const std::vector<Horizonte> suelo = {H(90, 0.30, 0.15, 0, 10, 40)};
  const Simulacion empirico = Discretizado(suelo, 90, 0);
  EXPECT_EQ(empirico.BALANCE.PERFIL.ARENA_CAPA[7], 0.0);
  EXPECT_EQ(empirico.BALANCE.PERFIL.CALIZA_CAPA[7], 0.0);
  EXPECT_TRUE(Near(0.30, empirico.BALANCE.PERFIL.CC_CAPA[7], 1e-15));
  const Simulacion pedo = Discretizado(suelo, 90, 1);
  EXPECT_TRUE(Near(40.0, pedo.BALANCE.PERFIL.ARENA_CAPA[7], 1e-13));
  EXPECT_TRUE(Near(0.4027, pedo.BALANCE.PERFIL.CC_CAPA[7], 1e-14));
  EXPECT_TRUE(Near(0.15505, pedo.BALANCE.PERFIL.PMP_CAPA[7], 1e-14));
}

TEST(DiscretizarPerfil, RefusesAProfileWithoutDepth) {
  Simulacion sim;
  PonerSuelo(sim, {H(30, 0.2, 0.1, 0)});
  PREPARAR_PERFIL_SUELO(sim);
  sim.PROF_PERFIL = 0.0;
  EXPECT_THROW(DISCRETIZAR_PERFIL(sim), SimulacionRechazada);
}

TEST(PrepararPerfilSuelo, StartsEveryArrayFromZero) {
  Simulacion sim = Discretizado({H(40, 0.3, 0.1, 20)}, 90);
  sim.DRENAJE_CAPA[3][5] = 7.0;
  sim.BALANCE.CAMBIO_ET = 3.0;
  sim.NUM_CAPAS = 10;
  PonerSuelo(sim, {H(90, 0.2, 0.1, 0), H(120, 0.2, 0.1, 0)});
  PREPARAR_PERFIL_SUELO(sim);
  EXPECT_EQ(sim.NUM_CAPAS, 64);
  EXPECT_EQ(sim.BALANCE.PERFIL.NUM_HORIZONTES, 2);
  EXPECT_EQ(sim.BALANCE.PERFIL.PROF_HORIZONTE[2], 120.0);
  EXPECT_EQ(sim.BALANCE.PERFIL.PIEDRAS_CAPA[1], 0.0);
  EXPECT_EQ(sim.CAPACIDAD_CAPA[1][1], 0.0);
  EXPECT_EQ(sim.DRENAJE_CAPA[3][5], 0.0);
  EXPECT_EQ(sim.BALANCE.CAMBIO_ET, 0.0);
}

TEST(Pedotransferencia, RegressionValues) {
  EXPECT_TRUE(Near(0.4027, FUNCION_PEDOTRANSFERENCIA_CAPA(40, 10, "capacidad de campo"), 1e-15));
  EXPECT_TRUE(Near(0.15505, FUNCION_PEDOTRANSFERENCIA_CAPA(40, 10, "punto de marchitez"), 1e-15));
  EXPECT_EQ(FUNCION_PEDOTRANSFERENCIA_CAPA(40, 10, "Capacidad de campo"), 0.0);
  EXPECT_TRUE(Near(0.32309, FUNCION_PEDOTRANSFERENCIA_PERFIL(20, 40, 2, 10, "saturación"), 1e-15));
  EXPECT_TRUE(
      Near(0.29399, FUNCION_PEDOTRANSFERENCIA_PERFIL(20, 40, 2, 10, "capacidad de campo"), 1e-15));
  EXPECT_EQ(FUNCION_PEDOTRANSFERENCIA_PERFIL(20, 40, 2, 10, "punto de marchitez"), 0.0);
}

TEST(PromediosPerfil, LastHorizonCountsWithItsExtendedThickness) {
  const std::vector<Horizonte> suelo = {H(30, 0.2, 0.1, 0, 10), H(90, 0.2, 0.1, 0, 20)};
  Simulacion a90 = Discretizado(suelo, 90);
  PROMEDIAR_CARBONATOS_YESO(a90);
  EXPECT_TRUE(Near(50.0 / 3.0, a90.CALIZA_PERFIL, 1e-13));
  Simulacion a120 = Discretizado(suelo, 120);
  PROMEDIAR_CARBONATOS_YESO(a120);
  EXPECT_TRUE(Near(17.5, a120.CALIZA_PERFIL, 1e-13));
}

TEST(PromediosPerfil, MoistureAndTextureMeans) {
  Simulacion sim;
  PonerSuelo(sim, {{20, 40, 10, 0.40, 0.30, 0.1, 1.2, 0, 0, 2, 0},
                   {60, 20, 30, 0.50, 0.20, 0.1, 1.5, 0, 0, 1, 0}});
  PREPARAR_PERFIL_SUELO(sim);
  PROMEDIAR_HUMEDAD_PERFIL(sim);
  PROMEDIAR_TEXTURA_PERFIL(sim);
  EXPECT_TRUE(Near((20 * 0.40 + 40 * 0.50) / 60, *sim.SAT_PERFIL, 1e-15));
  EXPECT_TRUE(Near((20 * 0.30 + 40 * 0.20) / 60, sim.BALANCE.CC_MEDIA, 1e-15));
  EXPECT_TRUE(Near((20 * 1.2 + 40 * 1.5) / 60, sim.BALANCE.DENSIDAD_MEDIA, 1e-15));
  EXPECT_TRUE(Near((20 * 40 + 40 * 20) / 60.0, sim.BALANCE.ARENA_PERFIL, 1e-13));
  EXPECT_TRUE(Near((20 * 10 + 40 * 30) / 60.0, sim.BALANCE.ARCILLA_PERFIL, 1e-13));
  EXPECT_TRUE(Near((20 * 2 + 40 * 1) / 60.0, sim.BALANCE.MO_PERFIL, 1e-14));
}

}  // namespace
}  // namespace medravolix
