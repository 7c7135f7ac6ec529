// The root zone: profile depth, root and evaporative layers, and the spreading of the month's
// crop ET over the root layers by quarters.
#include "balance/zona_raices.h"

#include <gtest/gtest.h>

#include <vector>

#include "batch/simulacion.h"
#include "support/test_support.h"

namespace medravolix {
namespace {

using testing::Near;

Simulacion ConRaices(double raiz_cm, double prof_simulacion_cm, double prof_evaporativa_cm) {
  Simulacion sim;
  sim.RAIZ_MENSUAL.fill(raiz_cm);
  sim.PROF_SIMULACION = prof_simulacion_cm;
  sim.PROF_EVAPORATIVA = prof_evaporativa_cm;
  CALCULAR_PROFUNDIDAD_PERFIL(sim);
  CALCULAR_CAPAS_RAICES(sim);
  return sim;
}

TEST(ProfundidadPerfil, RootsDeeperThanTheSimulationDeepenTheProfile) {
  Simulacion sim;
  sim.PROF_SIMULACION = 90;
  sim.RAIZ_MENSUAL[7] = 120;
  CALCULAR_PROFUNDIDAD_PERFIL(sim);
  EXPECT_EQ(sim.RAIZ_MAXIMA, 120.0);
  EXPECT_EQ(sim.PROF_PERFIL, 120.0);
  sim.RAIZ_MENSUAL[7] = 60;
  CALCULAR_PROFUNDIDAD_PERFIL(sim);
  EXPECT_EQ(sim.PROF_PERFIL, 90.0);
}

TEST(CapasRaices, RoundToWholeLayersHalvesToEven) {
  EXPECT_EQ(ConRaices(50, 90, 0).CAPAS_RAIZ_MENSUAL[1], 36.0);
  EXPECT_EQ(ConRaices(45, 90, 0).CAPAS_RAIZ_MENSUAL[1], 32.0);
  Simulacion sim = ConRaices(0, 128, 0);
  sim.RAIZ_MENSUAL[1] = 5;  // 2.5 layers
  sim.RAIZ_MENSUAL[2] = 7;  // 3.5 layers
  CALCULAR_CAPAS_RAICES(sim);
  EXPECT_EQ(sim.CAPAS_RAIZ_MENSUAL[1], 2.0);
  EXPECT_EQ(sim.CAPAS_RAIZ_MENSUAL[2], 4.0);
}

TEST(CapasRaices, EveryMonthDrawsFromTheWholeEvaporativeLayer) {
  Simulacion sim = ConRaices(0, 90, 15);
  sim.RAIZ_MENSUAL[3] = 5.625;  // 4 layers
  sim.RAIZ_MENSUAL[4] = 50;     // 36 layers
  CALCULAR_CAPAS_RAICES(sim);
  EXPECT_EQ(sim.NUM_CAPAS_EVAP, 11.0);
  EXPECT_EQ(sim.CAPAS_RAIZ_MENSUAL[1], 11.0);
  EXPECT_EQ(sim.CAPAS_RAIZ_MENSUAL[3], 11.0);
  EXPECT_EQ(sim.CAPAS_RAIZ_MENSUAL[4], 36.0);
}

TEST(CoberturaMaxima, LargestCoverFromZero) {
  Simulacion sim;
  MAXIMO_COBERTURA_MENSUAL(sim);
  EXPECT_EQ(sim.COBERTURA_MAXIMA, 0.0);
  sim.COBERTURA_MENSUAL.fill(-0.2);
  MAXIMO_COBERTURA_MENSUAL(sim);
  EXPECT_EQ(sim.COBERTURA_MAXIMA, 0.0);
  sim.COBERTURA_MENSUAL[5] = 0.7;
  MAXIMO_COBERTURA_MENSUAL(sim);
  EXPECT_EQ(sim.COBERTURA_MAXIMA, 0.7);
}

// The demand of each layer of a month with R root layers, ETc 100 mm, shares 40/30/20/10.
std::vector<double> Demandas(int capas_raiz,
                             std::array<double, 5> patron = {0, 0.4, 0.3, 0.2, 0.1}) {
  Simulacion sim;
  sim.ETC_MENSUAL.fill(100.0);
  sim.CAPAS_RAIZ_MENSUAL.fill(capas_raiz);
  sim.PATRON_EXTRACCION = patron;
  DISTRIBUIR_EXTRACCION_RAICES(sim);
  std::vector<double> d;
  for (int j = 1; j <= kCapas; ++j) {
    if (j <= capas_raiz)
      d.push_back(sim.DEMANDA_ET_CAPA[6][j]);
    else
      EXPECT_EQ(sim.DEMANDA_ET_CAPA[6][j], 0.0) << "layer " << j << " below the roots";
  }
  return d;
}

void ExpectDemandas(int capas_raiz, const std::vector<double>& esperadas) {
  const std::vector<double> d = Demandas(capas_raiz);
  ASSERT_EQ(d.size(), esperadas.size());
  for (size_t i = 0; i < d.size(); ++i) {
    EXPECT_TRUE(Near(esperadas[i], d[i], 1e-12)) << "R = " << capas_raiz << ", layer " << i + 1;
  }
}

TEST(DistribuirExtraccion, QuartersSpreadOverOneToEightLayers) {
  ExpectDemandas(1, {100});
  ExpectDemandas(2, {70, 30});
  ExpectDemandas(3, {50, 100.0 / 3, 50.0 / 3});
  ExpectDemandas(4, {40, 30, 20, 10});
  ExpectDemandas(5, {32, 26, 20, 14, 8});
  ExpectDemandas(6, {80.0 / 3, 70.0 / 3, 20, 40.0 / 3, 10, 20.0 / 3});
  ExpectDemandas(8, {20, 20, 15, 15, 10, 10, 5, 5});
}

TEST(DistribuirExtraccion, SharesAreNotRescaled) {
  double suma = 0.0;
  for (double d : Demandas(37, {0, 0.3, 0.3, 0.2, 0.1})) suma += d;
  EXPECT_TRUE(Near(90.0, suma, 1e-12));
}

TEST(DistribuirExtraccion, NoRootLayersNoDemand) {
  Simulacion sim = ConRaices(0, 90, 0);
  EXPECT_EQ(sim.CAPAS_RAIZ_MENSUAL[2], 0.0);
  sim.ETC_MENSUAL.fill(100.0);
  sim.PATRON_EXTRACCION = {0, 0.4, 0.3, 0.2, 0.1};
  sim.DEMANDA_ET_CAPA[2][1] = 5.0;
  DISTRIBUIR_EXTRACCION_RAICES(sim);
  for (int j = 1; j <= kCapas; ++j) EXPECT_EQ(sim.DEMANDA_ET_CAPA[2][j], 0.0);
}

TEST(DistribuirExtraccion, RefusesRootLayerCountsOutsideTheProfile) {
  Simulacion sim;
  sim.CAPAS_RAIZ_MENSUAL[4] = -3;  // would never end the spreading
  EXPECT_THROW(DISTRIBUIR_EXTRACCION_RAICES(sim), SimulacionRechazada);
  sim.CAPAS_RAIZ_MENSUAL[4] = 65;
  EXPECT_THROW(DISTRIBUIR_EXTRACCION_RAICES(sim), SimulacionRechazada);
  sim.CAPAS_RAIZ_MENSUAL[4] = 64;
  EXPECT_NO_THROW(DISTRIBUIR_EXTRACCION_RAICES(sim));
}

}  // namespace
}  // namespace medravolix
