#include "chemistry/preparacion_solucion.h"

#include <gtest/gtest.h>

#include "chemistry/tablas_prueba.h"
#include "support/test_support.h"

namespace medravolix {
namespace {

using testing::Near;

Simulacion Preparada(const char* opcion) {
  // factors: saturation 2, field capacity 4, drainage 6; water contents 0.45 and 0.25
  Simulacion sim = prueba::SimulacionCon(prueba::kAguaModerada, -2, 2.0, 12.5, 3.0);
  sim.OPCION_SOLUCION = opcion;
  CARGAR_COMPOSICION_AGUA(sim);
  return sim;
}

TEST(PrepararSolucionSuelo, EachReferenceSolutionTakesItsFactorAndWaterContent) {
  struct Caso {
    const char* opcion;
    double factor, humedad;
  };
  for (const Caso& caso : {Caso{"saturación", 2.0, 0.45}, Caso{"capacidad de campo", 4.0, 0.25},
                           Caso{"drenaje", 6.0, 0.25}}) {
    SCOPED_TRACE(caso.opcion);
    Simulacion sim = Preparada(caso.opcion);
    ASSERT_TRUE(PREPARAR_SOLUCION_SUELO(sim));
    EXPECT_EQ(caso.factor, sim.QUIMICA.FACTOR_SOLUCION);
    EXPECT_EQ(caso.humedad, sim.QUIMICA.HUMEDAD_SOLUCION);
    // 12.5 % CaCO3 = 125 g/kg of soil = 1.2489 mol/kg, in the solution's water
    EXPECT_TRUE(Near(125 / 100.0869 / caso.humedad, sim.QUIMICA.CALCITA_DISPONIBLE, 0, 1e-14));
    EXPECT_TRUE(Near(30 / 172.1656 / caso.humedad, sim.QUIMICA.YESO_DISPONIBLE, 0, 1e-14));
    // mmol/L of the water times the factor, in mol/L
    EXPECT_TRUE(Near(5.0 * caso.factor / 1000, sim.ESPECIES[3].CONC_TOTAL, 0, 1e-15));
    EXPECT_TRUE(Near(3.35 * caso.factor / 1000, sim.ESPECIES[9].CONC_TOTAL, 0, 1e-15));
    EXPECT_TRUE(Near(3.0 * caso.factor / 1000, sim.ALCALINIDAD, 0, 1e-15));
    EXPECT_TRUE(sim.AVISOS.empty());
  }
}

TEST(PrepararSolucionSuelo, NoCalciumCarbonateGivesNoCalciteStock) {
  Simulacion sim = Preparada("saturación");
  sim.CALIZA_PERFIL = 0;
  ASSERT_TRUE(PREPARAR_SOLUCION_SUELO(sim));
  EXPECT_EQ(0.0, sim.QUIMICA.CALCITA_DISPONIBLE);
}

TEST(PrepararSolucionSuelo, ASolutionWithoutFactorOrWaterContentHasNoValue) {
  Simulacion sin_factor = Preparada("drenaje");
  sin_factor.FACTOR_CONCENTRACION_FONDO.reset();
  EXPECT_FALSE(PREPARAR_SOLUCION_SUELO(sin_factor));
  ASSERT_EQ(1u, sin_factor.AVISOS.size());
  EXPECT_NE(sin_factor.AVISOS[0].find("drainage"), std::string::npos) << sin_factor.AVISOS[0];

  Simulacion sin_humedad = Preparada("capacidad de campo");
  sin_humedad.CC_PERFIL.reset();
  EXPECT_FALSE(PREPARAR_SOLUCION_SUELO(sin_humedad));
  ASSERT_EQ(1u, sin_humedad.AVISOS.size());
  EXPECT_NE(sin_humedad.AVISOS[0].find("field capacity"), std::string::npos);

  Simulacion humedad_cero = Preparada("saturación");
  humedad_cero.SAT_PERFIL = 0.0;
  EXPECT_FALSE(PREPARAR_SOLUCION_SUELO(humedad_cero));
  ASSERT_EQ(1u, humedad_cero.AVISOS.size());
  EXPECT_NE(humedad_cero.AVISOS[0].find("is 0"), std::string::npos);

  // the saturation solution does not need the drainage factor
  Simulacion otra = Preparada("saturación");
  otra.FACTOR_CONCENTRACION_FONDO.reset();
  EXPECT_TRUE(PREPARAR_SOLUCION_SUELO(otra));

  Simulacion opcion_rara = Preparada("Saturación");  // the option is compared exactly
  EXPECT_FALSE(PREPARAR_SOLUCION_SUELO(opcion_rara));
  EXPECT_EQ(1u, opcion_rara.AVISOS.size());
}

}  // namespace
}  // namespace medravolix
