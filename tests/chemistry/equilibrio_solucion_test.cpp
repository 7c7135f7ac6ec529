#include "chemistry/equilibrio_solucion.h"

#include <gtest/gtest.h>

#include <cmath>

#include "chemistry/tablas_prueba.h"
#include "support/test_support.h"

namespace medravolix {
namespace {

using prueba::kAguaModerada;
using prueba::SimulacionCon;
using prueba::TablasReferencia;

TEST(EquilibrioSolucionSuelo, CalcareousSoilGivesAPlausibleSolution) {
  Simulacion sim = SimulacionCon(kAguaModerada, -2.0, 3.0, 10.0, 0.0);
  EQUILIBRIO_SOLUCION_SUELO(sim, TablasReferencia());
  ASSERT_TRUE(sim.SOLUCION_CON_VALOR);
  EXPECT_GT(sim.PH, 6.5);
  EXPECT_LT(sim.PH, 8.5);
  EXPECT_GT(sim.CE, 1.0);
  EXPECT_LT(sim.CE, 6.0);
  const PasadasQuimica& n = sim.QUIMICA.PASADAS;
  std::printf(
      "pH %.6f CE %.6f Ca %.6g alk %.6g passes: gypsum %lld calcite %lld I %lld pairs %lld newton "
      "%lld\n",
      sim.PH, sim.CE, sim.ESPECIES[5].CONC_TOTAL, sim.ALCALINIDAD, (long long)n.yeso,
      (long long)n.calcita, (long long)n.fuerza_ionica, (long long)n.pares, (long long)n.newton);
}

}  // namespace
}  // namespace medravolix
