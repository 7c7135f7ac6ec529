// Concentration factors and leaching fraction from the annual drainage of the layers.
#include "balance/factores_concentracion.h"

#include <gtest/gtest.h>

#include "batch/simulacion.h"
#include "support/test_support.h"

namespace medravolix {
namespace {

using testing::Near;

// One horizon down to the profile's bottom; every layer drains 100 mm a year. The empirical
// method with field capacity 0.375 m3/m3, bulk density 1.5 and saturation 0.5 gives
// CC_PERFIL 0.25 and SAT_PERFIL 0.5.
Simulacion Drenando(double prof_simulacion_cm, double prof_perfil_cm) {
  Simulacion sim;
  sim.NUM_CAPAS = kCapas;
  sim.OPCION_CAPACIDAD = 0;
  sim.PROF_SIMULACION = prof_simulacion_cm;
  sim.PROF_PERFIL = prof_perfil_cm;
  REGISTRO_SUELO& p = sim.BALANCE.PERFIL;
  p.NUM_HORIZONTES = 1;
  p.PROF_HORIZONTE = {0.0, prof_perfil_cm};
  p.CC_HORIZONTE = {0.0, 0.375};
  p.DENSIDAD_HORIZONTE = {0.0, 1.5};
  p.SAT_HORIZONTE = {0.0, 0.5};
  for (auto* v : {&p.ARENA_HORIZONTE, &p.ARCILLA_HORIZONTE, &p.MO_HORIZONTE, &p.CALIZA_HORIZONTE,
                  &p.YESO_HORIZONTE, &p.PIEDRAS_HORIZONTE, &p.PMP_HORIZONTE}) {
    *v = {0.0, 0.0};
  }
  sim.DRENAJE_ANUAL_CAPA.fill(100.0);
  sim.DATOS_RIEGO.RIEGO_ANUAL = 600.0;
  sim.PRECIPITACION_ANUAL = 300.0;
  return sim;
}

TEST(FactoresConcentracion, WorkedExample) {
  Simulacion sim = Drenando(2, 64);  // two layers within the depth of simulation
  sim.DRENAJE_ANUAL_CAPA[1] = 400.0;
  sim.DRENAJE_ANUAL_CAPA[2] = 200.0;
  sim.DRENAJE_ANUAL_CAPA[kCapas] = 150.0;
  CALCULAR_FACTORES_CONCENTRACION(sim);
  EXPECT_EQ(sim.BALANCE.CAPAS_SIMULACION, 2);
  EXPECT_TRUE(Near(2.25, *sim.FACTOR_CONCENTRACION_CC, 1e-15));
  EXPECT_TRUE(Near(4.0, *sim.FACTOR_CONCENTRACION_FONDO, 1e-15));
  EXPECT_TRUE(Near(150.0 / 900.0, *sim.FRACCION_LAVADO, 1e-15));
  EXPECT_TRUE(Near(0.25, *sim.CC_PERFIL, 1e-15));
  EXPECT_TRUE(Near(0.5, *sim.SAT_PERFIL, 1e-15));
  EXPECT_TRUE(Near(1.125, *sim.FACTOR_CONCENTRACION_SAT, 1e-15));
  EXPECT_FALSE(sim.SALIDA_MAYOR_QUE);
  EXPECT_TRUE(sim.AVISOS.empty());
}

TEST(FactoresConcentracion, LayersWithinTheDepthOfSimulationRoundHalvesToEven) {
  Simulacion sim = Drenando(90, 100);  // 57.6 layers
  CALCULAR_FACTORES_CONCENTRACION(sim);
  EXPECT_EQ(sim.BALANCE.CAPAS_SIMULACION, 58);
  Simulacion abajo = Drenando(89, 128);  // 44.5 layers
  CALCULAR_FACTORES_CONCENTRACION(abajo);
  EXPECT_EQ(abajo.BALANCE.CAPAS_SIMULACION, 44);
  Simulacion arriba = Drenando(91, 128);  // 45.5 layers
  CALCULAR_FACTORES_CONCENTRACION(arriba);
  EXPECT_EQ(arriba.BALANCE.CAPAS_SIMULACION, 46);
  Simulacion todo = Drenando(90, 90);
  CALCULAR_FACTORES_CONCENTRACION(todo);
  EXPECT_EQ(todo.BALANCE.CAPAS_SIMULACION, 64);
  EXPECT_FALSE(todo.SALIDA_MAYOR_QUE);
}

TEST(FactoresConcentracion, FirstDryLayerEndsTheMeanAndMarksALowerBound) {
  Simulacion sim = Drenando(90, 90);
  sim.DRENAJE_ANUAL_CAPA[4] = 50.0;
  for (int j = 5; j <= kCapas; ++j) sim.DRENAJE_ANUAL_CAPA[j] = 0.0;
  CALCULAR_FACTORES_CONCENTRACION(sim);
  EXPECT_EQ(sim.BALANCE.CAPAS_SIMULACION, 4);
  EXPECT_TRUE(sim.SALIDA_MAYOR_QUE);
  EXPECT_TRUE(Near(600.0 * (3 / 100.0 + 1 / 50.0) / 4, *sim.FACTOR_CONCENTRACION_CC, 1e-13));
  EXPECT_FALSE(sim.FACTOR_CONCENTRACION_FONDO.has_value());
  EXPECT_EQ(*sim.FRACCION_LAVADO, 0.0);
}

TEST(FactoresConcentracion, DryLayerBelowTheDepthOfSimulationSetsNoFlag) {
  Simulacion sim = Drenando(90, 120);  // 48 layers within the depth of simulation
  for (int j = 49; j <= kCapas; ++j) sim.DRENAJE_ANUAL_CAPA[j] = 0.0;
  CALCULAR_FACTORES_CONCENTRACION(sim);
  EXPECT_FALSE(sim.SALIDA_MAYOR_QUE);
  EXPECT_EQ(sim.BALANCE.CAPAS_SIMULACION, 48);
  EXPECT_TRUE(sim.FACTOR_CONCENTRACION_CC.has_value());
  EXPECT_FALSE(sim.FACTOR_CONCENTRACION_FONDO.has_value());
  EXPECT_EQ(*sim.FRACCION_LAVADO, 0.0);
  EXPECT_TRUE(sim.AVISOS.empty());  // the drainage factor is not the chosen solution's
  sim.OPCION_SOLUCION = "drenaje";
  CALCULAR_FACTORES_CONCENTRACION(sim);
  EXPECT_EQ(sim.AVISOS.size(), 1u);
  // The last layer within the depth of simulation is searched too.
  Simulacion ultima = Drenando(90, 120);
  for (int j = 48; j <= kCapas; ++j) ultima.DRENAJE_ANUAL_CAPA[j] = 0.0;
  CALCULAR_FACTORES_CONCENTRACION(ultima);
  EXPECT_TRUE(ultima.SALIDA_MAYOR_QUE);
  EXPECT_EQ(ultima.BALANCE.CAPAS_SIMULACION, 47);
}

TEST(FactoresConcentracion, TinyDrainageCountsInFull) {
  Simulacion sim = Drenando(90, 90);
  sim.DRENAJE_ANUAL_CAPA[30] = 1e-9;
  CALCULAR_FACTORES_CONCENTRACION(sim);
  EXPECT_GT(*sim.FACTOR_CONCENTRACION_CC, 1e9);
  EXPECT_FALSE(sim.SALIDA_MAYOR_QUE);
}

TEST(FactoresConcentracion, ZeroDivisorsLeaveNoValueNotAnEarlierOne) {
  Simulacion sim = Drenando(90, 90);
  CALCULAR_FACTORES_CONCENTRACION(sim);
  ASSERT_TRUE(sim.FACTOR_CONCENTRACION_CC && sim.FACTOR_CONCENTRACION_SAT && sim.FRACCION_LAVADO);
  // Next simulation in the same state: layer 1 does not drain, no water enters.
  sim.DRENAJE_ANUAL_CAPA.fill(0.0);
  sim.DATOS_RIEGO.RIEGO_ANUAL = sim.PRECIPITACION_ANUAL = 0.0;
  CALCULAR_FACTORES_CONCENTRACION(sim);
  EXPECT_EQ(sim.BALANCE.CAPAS_SIMULACION, 0);
  EXPECT_TRUE(sim.SALIDA_MAYOR_QUE);
  EXPECT_FALSE(sim.FACTOR_CONCENTRACION_CC.has_value());
  EXPECT_FALSE(sim.FACTOR_CONCENTRACION_SAT.has_value());
  EXPECT_FALSE(sim.FACTOR_CONCENTRACION_FONDO.has_value());
  EXPECT_FALSE(sim.FRACCION_LAVADO.has_value());
  ASSERT_EQ(sim.AVISOS.size(), 2u);
  EXPECT_NE(sim.AVISOS[0].find("surface layer does not drain"), std::string::npos);
  Simulacion somera = Drenando(0.5, 90);  // 0.36 layers
  CALCULAR_FACTORES_CONCENTRACION(somera);
  EXPECT_FALSE(somera.FACTOR_CONCENTRACION_CC.has_value());
  EXPECT_FALSE(somera.SALIDA_MAYOR_QUE);
  EXPECT_NE(somera.AVISOS.at(0).find("holds no whole layer"), std::string::npos);
}

TEST(FactoresConcentracion, NoSaturationOrBulkDensityNoSaturationFactor) {
  Simulacion sat = Drenando(90, 90);
  sat.BALANCE.PERFIL.SAT_HORIZONTE[1] = 0.0;
  CALCULAR_FACTORES_CONCENTRACION(sat);
  EXPECT_TRUE(sat.FACTOR_CONCENTRACION_CC.has_value());
  EXPECT_FALSE(sat.FACTOR_CONCENTRACION_SAT.has_value());
  EXPECT_EQ(sat.AVISOS.size(), 1u);
  Simulacion densidad = Drenando(90, 90);
  densidad.BALANCE.PERFIL.DENSIDAD_HORIZONTE[1] = 0.0;
  CALCULAR_FACTORES_CONCENTRACION(densidad);
  EXPECT_FALSE(densidad.CC_PERFIL.has_value());
  EXPECT_TRUE(densidad.SAT_PERFIL.has_value());
  EXPECT_FALSE(densidad.FACTOR_CONCENTRACION_SAT.has_value());
  EXPECT_EQ(densidad.AVISOS.size(), 2u);
}

TEST(FactoresConcentracion, PedotransferWaterContentsFromTheProfileRegression) {
  Simulacion sim = Drenando(90, 90);
  sim.OPCION_CAPACIDAD = 1;
  REGISTRO_SUELO& p = sim.BALANCE.PERFIL;
  p.ARCILLA_HORIZONTE[1] = 20;
  p.ARENA_HORIZONTE[1] = 40;
  p.MO_HORIZONTE[1] = 2;
  p.CALIZA_HORIZONTE[1] = 10;
  p.YESO_HORIZONTE[1] = 3;
  CALCULAR_FACTORES_CONCENTRACION(sim);
  EXPECT_TRUE(Near(0.32309, *sim.SAT_PERFIL, 1e-14));
  EXPECT_TRUE(Near(0.29399, *sim.CC_PERFIL, 1e-14));
  EXPECT_TRUE(Near(10.0, sim.CALIZA_PERFIL, 1e-14));
  EXPECT_TRUE(Near(3.0, sim.YESO_PERFIL, 1e-14));
  EXPECT_TRUE(Near(0.29399 * 6.0 / 0.32309, *sim.FACTOR_CONCENTRACION_SAT, 1e-12));
}

}  // namespace
}  // namespace medravolix
