// The whole water-balance chain: what it refuses before it runs, and invariants that hold for
// any computable simulation (water balance closure, demand spreading, drainage with depth,
// independence from the simulation run before).
#include "balance/cadena_balance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "balance/balance_capas.h"
#include "balance/simulaciones_prueba.h"
#include "batch/simulacion.h"
#include "support/test_support.h"

namespace medravolix {
namespace {

using testing::MismosBits;
using testing::Near;
using testing::OlivarFrancoMediterraneo;
using testing::SimulacionAleatoria;

constexpr int kSimulacionesAleatorias = 300;

// Every simulation generated from the seed, run through the chain; none may be refused.
std::vector<Simulacion> SimulacionesCalculadas(unsigned semilla, int cuantas) {
  std::mt19937 gen(semilla);
  std::vector<Simulacion> sims;
  for (int i = 0; i < cuantas; ++i) {
    sims.push_back(SimulacionAleatoria(gen));
    EJECUTAR_CADENA_BALANCE(sims.back());
  }
  return sims;
}

class CadenaAleatoria : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sims_ = new std::vector<Simulacion>(SimulacionesCalculadas(20240611, kSimulacionesAleatorias));
  }
  static void TearDownTestSuite() { delete sims_; }
  static std::vector<Simulacion>* sims_;
};
std::vector<Simulacion>* CadenaAleatoria::sims_ = nullptr;

TEST_F(CadenaAleatoria, AnnualWaterBalanceCloses) {
  for (const Simulacion& sim : *sims_) {
    const double entrada = sim.PRECIPITACION_ANUAL + sim.DATOS_RIEGO.RIEGO_ANUAL;
    const double salida = sim.ET_REAL_ANUAL + sim.DRENAJE_ANUAL_CAPA[kCapas];
    EXPECT_TRUE(Near(entrada, salida, 1e-9, kErrorCierrePct / 100.0));
  }
}

TEST_F(CadenaAleatoria, LayerDemandsAddUpToEtcTimesTheShares) {
  for (const Simulacion& sim : *sims_) {
    const double suma_cuotas = sim.PATRON_EXTRACCION[1] + sim.PATRON_EXTRACCION[2] +
                               sim.PATRON_EXTRACCION[3] + sim.PATRON_EXTRACCION[4];
    for (int m = 1; m <= kMeses; ++m) {
      double suma = 0.0;
      for (int j = 1; j <= kCapas; ++j) suma += sim.DEMANDA_ET_CAPA[m][j];
      const double esperado =
          sim.CAPAS_RAIZ_MENSUAL[m] == 0 ? 0.0 : sim.ETC_MENSUAL[m] * suma_cuotas;
      EXPECT_TRUE(Near(esperado, suma, 1e-9, 1e-12));
    }
  }
}

TEST_F(CadenaAleatoria, AnnualDrainageDoesNotRiseWithDepth) {
  for (const Simulacion& sim : *sims_) {
    const double tolerancia =
        kErrorCierrePct / 100.0 * (sim.PRECIPITACION_ANUAL + sim.DATOS_RIEGO.RIEGO_ANUAL);
    for (int j = 2; j <= kCapas; ++j) {
      EXPECT_LE(sim.DRENAJE_ANUAL_CAPA[j], sim.DRENAJE_ANUAL_CAPA[j - 1] + tolerancia)
          << "layer " << j;
    }
  }
}

TEST(Cadena, RunsTheOliveOrchard) {
  Simulacion sim = OlivarFrancoMediterraneo();
  EJECUTAR_CADENA_BALANCE(sim);
  EXPECT_EQ(sim.NUM_CAPAS, 64);
  EXPECT_GT(sim.ET_REAL_ANUAL, 0.0);
  ASSERT_TRUE(sim.FACTOR_CONCENTRACION_CC.has_value());
}

}  // namespace
}  // namespace medravolix
