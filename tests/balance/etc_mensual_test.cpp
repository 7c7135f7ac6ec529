// Monthly crop ET without stress and the soil evaporation coefficient.
#include "balance/etc_mensual.h"

#include <gtest/gtest.h>

#include "batch/simulacion.h"
#include "support/test_support.h"

namespace medravolix {
namespace {

using testing::Near;

TEST(EvaporacionSuelo, DryingCurve) {
  Simulacion sim;
  CALCULAR_EVAPORACION_SUELO(sim);
  const auto& c = sim.BALANCE.CURVA_SECADO;
  EXPECT_TRUE(Near(1.085673, c[0], 5e-7));
  EXPECT_TRUE(Near(0.721805, c[1], 5e-7));
  EXPECT_TRUE(Near(0.479889, c[2], 5e-7));
  EXPECT_TRUE(Near(0.319052, c[3], 5e-7));
}

TEST(EvaporacionSuelo, WorkedExamples) {
  Simulacion sim;
  // January (31 days): 5 rainy days, 4 irrigations wetting half the surface, cover 0.3.
  sim.ESTACION.DIAS_LLUVIA[1] = 5;
  sim.DATOS_RIEGO.NRIEGOS_MENSUAL[1] = 4;
  sim.DATOS_RIEGO.FRACCION_MOJADA = 0.5;
  sim.COBERTURA_MENSUAL[1] = 0.3;
  // April (30 days): 3 rainy days, cover 0.2.
  sim.ESTACION.DIAS_LLUVIA[4] = 3;
  sim.COBERTURA_MENSUAL[4] = 0.2;
  CALCULAR_EVAPORACION_SUELO(sim);
  const EstadoBalance& b = sim.BALANCE;
  EXPECT_TRUE(Near(0.4, b.PESOS_HUMECTACION[3][1], 1e-15));
  EXPECT_TRUE(Near(2.414988, b.FACTOR_HUMECTACION[1], 5e-7));
  EXPECT_TRUE(Near(0.225806, b.TASA_HUMECTACION[1], 5e-7));
  EXPECT_TRUE(Near(0.381724, sim.KE_MENSUAL[1], 5e-7));
  EXPECT_TRUE(Near(2.606420, b.FACTOR_HUMECTACION[4], 5e-7));
  EXPECT_TRUE(Near(0.208514, sim.KE_MENSUAL[4], 5e-7));
}

TEST(EvaporacionSuelo, WeightsAtTheEventThresholds) {
  Simulacion sim;
  const double eventos[] = {7.5, 10, 15, 30, 45};
  for (int m = 1; m <= 5; ++m) sim.ESTACION.DIAS_LLUVIA[m] = eventos[m - 1];
  CALCULAR_EVAPORACION_SUELO(sim);
  const auto& f = sim.BALANCE.FACTOR_HUMECTACION;
  EXPECT_TRUE(Near(2.606420, f[1], 5e-7));
  EXPECT_TRUE(Near(1.085673 + 0.721805 + 0.479889, f[2], 2e-6));
  EXPECT_TRUE(Near(1.085673 + 0.721805, f[3], 2e-6));
  EXPECT_TRUE(Near(1.085673, f[4], 5e-7));
  EXPECT_TRUE(Near(0.363868, f[5], 2e-6));
  EXPECT_EQ(sim.BALANCE.PESOS_HUMECTACION[1][5], -1.0);
}

TEST(EvaporacionSuelo, MonthWithoutWettingHasNoEvaporation) {
  Simulacion sim;
  sim.COBERTURA_MENSUAL.fill(0.0);
  sim.ESTACION.DIAS_LLUVIA[2] = 4;
  CALCULAR_EVAPORACION_SUELO(sim);
  EXPECT_GT(sim.KE_MENSUAL[2], 0.0);
  sim.ESTACION.DIAS_LLUVIA[2] = 0;
  CALCULAR_EVAPORACION_SUELO(sim);
  EXPECT_EQ(sim.KE_MENSUAL[2], 0.0);
  // No working value of the earlier call is left behind.
  EXPECT_EQ(sim.BALANCE.FACTOR_HUMECTACION[2], 0.0);
  EXPECT_EQ(sim.BALANCE.TASA_HUMECTACION[2], 0.0);
}

TEST(EtcMensual, BasalCoefficientScaledByTheYearsLargestCover) {
  Simulacion sim;
  for (int m = 1; m <= kMeses; ++m) {
    sim.ETO_MENSUAL[m] = 10.0 * m;
    sim.KCB_MENSUAL[m] = 0.1 * m;
    sim.COBERTURA_MENSUAL[m] = m == 7 ? 0.5 : 0.1;
  }
  sim.ESTACION.DIAS_LLUVIA[3] = 3;
  CALCULAR_ETC_MENSUAL(sim);
  double suma = 0.0;
  for (int m = 1; m <= kMeses; ++m) {
    EXPECT_TRUE(Near(0.5 * 0.1 * m, sim.KCB_AJUSTADO[m], 1e-15));
    suma += sim.ETC_POTENCIAL[m];
  }
  EXPECT_TRUE(Near(30.0 * (sim.KE_MENSUAL[3] + 0.15), sim.ETC_MENSUAL[3], 1e-13));
  EXPECT_EQ(sim.ETC_ANUAL, suma);
}

TEST(EtcMensual, WithoutCoverKcIsKe) {
  Simulacion sim;
  sim.KCB_MENSUAL.fill(1.0);
  sim.ETO_MENSUAL.fill(100.0);
  sim.ESTACION.DIAS_LLUVIA.fill(3.0);
  CALCULAR_ETC_MENSUAL(sim);
  for (int m = 1; m <= kMeses; ++m) {
    EXPECT_EQ(sim.KCB_AJUSTADO[m], 0.0);
    EXPECT_EQ(sim.KC_MENSUAL[m], sim.KE_MENSUAL[m]);
  }
}

TEST(KcbMaximo, LargestMonthlyValue) {
  Mensual kcb{};
  kcb.fill(0.7);
  EXPECT_EQ(MAXIMO_KCB_MENSUAL(kcb), 0.7);
  kcb.fill(-0.5);
  EXPECT_EQ(MAXIMO_KCB_MENSUAL(kcb), -0.5);
  kcb[9] = 1.15;
  EXPECT_EQ(MAXIMO_KCB_MENSUAL(kcb), 1.15);
}

}  // namespace
}  // namespace medravolix
