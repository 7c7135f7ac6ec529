// The whole water-balance chain: what it refuses before it runs, and invariants that hold for
// any computable simulation (water balance closure, demand spreading, drainage with depth,
// independence from the simulation run before).
#include "balance/cadena_balance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "balance/balance_capas.h"
#include "balance/simulaciones_prueba.h"
#include "batch/entradas_simulacion.h"
#include "batch/simulacion.h"
#include "support/test_support.h"

namespace medravolix {
namespace {

using testing::MismosBits;
using testing::Near;
using testing::OlivarFrancoMediterraneo;
using testing::SimulacionAleatoria;

constexpr int kSimulacionesAleatorias = 300;

// Simulations generated from one seed: their inputs, and the same run through the chain (none
// may be refused).
class CadenaAleatoria : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::mt19937 gen(20240611);
    entradas_ = new std::vector<Simulacion>();
    sims_ = new std::vector<Simulacion>();
    for (int i = 0; i < kSimulacionesAleatorias; ++i) {
      entradas_->push_back(SimulacionAleatoria(gen));
      sims_->push_back(entradas_->back());
      EJECUTAR_CADENA_BALANCE(sims_->back());
    }
  }
  static void TearDownTestSuite() {
    delete entradas_;
    delete sims_;
  }
  static std::vector<Simulacion>* entradas_;
  static std::vector<Simulacion>* sims_;
};
std::vector<Simulacion>* CadenaAleatoria::entradas_ = nullptr;
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

// A new simulation's inputs and settings put over a used state, as a driver that kept one state
// for the whole batch would do.
void CopiarEntradas(const Simulacion& de, Simulacion& a) {
  Simulacion copia = de;
  batch::ponerEntradas(batch::tomarEntradas(std::move(copia)), a);
  a.PROF_EVAPORATIVA = de.PROF_EVAPORATIVA;
  a.PROF_SIMULACION = de.PROF_SIMULACION;
  a.OPCION_CAPACIDAD = de.OPCION_CAPACIDAD;
  a.OPCION_SOLUCION = de.OPCION_SOLUCION;
  a.SALIDA_MAYOR_QUE = false;  // the driver clears it for every simulation
  a.AVISOS.clear();
}

TEST_F(CadenaAleatoria, ResultsDoNotDependOnTheSimulationRunBefore) {
  for (int i = 1; i < kSimulacionesAleatorias; i += 3) {
    Simulacion usada = (*sims_)[i - 1];
    CopiarEntradas((*entradas_)[i], usada);
    EJECUTAR_CADENA_BALANCE(usada);
    const Simulacion& sola = (*sims_)[i];
    EXPECT_TRUE(MismosBits(sola.ET_REAL_MENSUAL, usada.ET_REAL_MENSUAL)) << i;
    EXPECT_TRUE(MismosBits(sola.DRENAJE_CAPA, usada.DRENAJE_CAPA)) << i;
    EXPECT_TRUE(MismosBits(sola.DRENAJE_ANUAL_CAPA, usada.DRENAJE_ANUAL_CAPA)) << i;
    EXPECT_TRUE(MismosBits(sola.ETC_POTENCIAL, usada.ETC_POTENCIAL)) << i;
    EXPECT_TRUE(MismosBits(sola.KE_MENSUAL, usada.KE_MENSUAL)) << i;
    EXPECT_TRUE(MismosBits(sola.BALANCE.CAMBIO_ET, usada.BALANCE.CAMBIO_ET)) << i;
    EXPECT_EQ(sola.BALANCE.ITERACIONES_ESTRES, usada.BALANCE.ITERACIONES_ESTRES) << i;
    EXPECT_EQ(sola.SALIDA_MAYOR_QUE, usada.SALIDA_MAYOR_QUE) << i;
    EXPECT_EQ(sola.FACTOR_CONCENTRACION_CC, usada.FACTOR_CONCENTRACION_CC) << i;
    EXPECT_EQ(sola.FACTOR_CONCENTRACION_SAT, usada.FACTOR_CONCENTRACION_SAT) << i;
    EXPECT_EQ(sola.FACTOR_CONCENTRACION_FONDO, usada.FACTOR_CONCENTRACION_FONDO) << i;
    EXPECT_EQ(sola.FRACCION_LAVADO, usada.FRACCION_LAVADO) << i;
    EXPECT_EQ(sola.AVISOS, usada.AVISOS) << i;
  }
}

Simulacion Olivar() {
  return testing::OlivarFrancoMediterraneo();
}

TEST_F(CadenaAleatoria, NoChangeOfEtIsCarriedIntoAYearWithoutEt) {
  // After a simulation whose stress passes ended unsettled, a year without water (no ET in any
  // pass) still stops after its first pass.
  const auto inquieta = std::find_if(sims_->begin(), sims_->end(), [](const Simulacion& s) {
    return s.BALANCE.CAMBIO_ET >= 0.01;
  });
  ASSERT_NE(inquieta, sims_->end());
  Simulacion seca = Olivar();
  seca.ESTACION.PRECIPITACION.fill(0.0);
  seca.DATOS_RIEGO.RIEGO_MENSUAL.fill(0.0);
  Simulacion usada = *inquieta;
  CopiarEntradas(seca, usada);
  EJECUTAR_CADENA_BALANCE(usada);
  EXPECT_EQ(usada.BALANCE.ITERACIONES_ESTRES, 1);
  EXPECT_EQ(usada.BALANCE.CAMBIO_ET, 0.0);
}

void ExpectRechazada(Simulacion sim, const std::string& fragmento) {
  try {
    EJECUTAR_CADENA_BALANCE(sim);
    ADD_FAILURE() << "not refused; expected a reason with \"" << fragmento << "\"";
  } catch (const SimulacionRechazada& e) {
    EXPECT_NE(std::string(e.what()).find(fragmento), std::string::npos) << e.what();
  }
}

TEST(ValidarDatosBalance, RefusesWhatTheBalanceCannotCompute) {
  Simulacion sin_perfil = Olivar();
  sin_perfil.PROF_SIMULACION = 0;
  sin_perfil.RAIZ_MENSUAL.fill(0.0);
  ExpectRechazada(sin_perfil, "profile would be 0 cm deep");
  Simulacion evaporativa = Olivar();
  evaporativa.PROF_EVAPORATIVA = 120;  // 64 * 120 / 100 = 76.8 layers
  ExpectRechazada(evaporativa, "evaporative layer (120 cm)");
  Simulacion horizonte = Olivar();
  horizonte.PROF_FILA[2] = 25;  // above the first horizon's bottom at 30 cm
  ExpectRechazada(horizonte, "horizon 2 ends at 25 cm");
  Simulacion lluvia = Olivar();
  lluvia.ESTACION.PRECIPITACION[11] = -3;
  ExpectRechazada(lluvia, "rainfall (mm) of month 11 is -3");
  Simulacion riego = Olivar();
  riego.DATOS_RIEGO.RIEGO_MENSUAL[6] = -1;
  ExpectRechazada(riego, "irrigation (mm) of month 6");
  Simulacion raiz = Olivar();
  raiz.RAIZ_MENSUAL[2] = -10;
  ExpectRechazada(raiz, "root depth (cm) of month 2");
  Simulacion sin_suelo = Olivar();
  sin_suelo.NUM_FILAS_SUELO = 0;
  ExpectRechazada(sin_suelo, "has no horizon");
}

TEST(ValidarDatosBalance, EvaporativeLayerUpToTheWholeProfile) {
  // 64 x 90.703125 / 90 = 64.5 layers, which round to 64 (halves to even).
  Simulacion justo = Olivar();
  justo.RAIZ_MENSUAL.fill(0.0);
  justo.PROF_EVAPORATIVA = 90.703125;
  EXPECT_NO_THROW(EJECUTAR_CADENA_BALANCE(justo));
  EXPECT_EQ(justo.NUM_CAPAS_EVAP, 64.0);
  Simulacion encima = justo;
  encima.PROF_EVAPORATIVA = 92.109375;  // 65.5 layers round to 66
  ExpectRechazada(encima, "evaporative layer");
}

TEST(Cadena, YearWithoutWaterClosesAtOnce) {
  Simulacion sim = Olivar();
  sim.ESTACION.PRECIPITACION.fill(0.0);
  sim.DATOS_RIEGO.RIEGO_MENSUAL.fill(0.0);
  EJECUTAR_CADENA_BALANCE(sim);
  EXPECT_EQ(sim.ET_REAL_ANUAL, 0.0);
  EXPECT_EQ(sim.BALANCE.PASADAS_BALANCE, sim.BALANCE.CORRIDAS_BALANCE);  // one pass a run
  EXPECT_FALSE(sim.FRACCION_LAVADO.has_value());
  EXPECT_FALSE(sim.FACTOR_CONCENTRACION_CC.has_value());
  EXPECT_TRUE(sim.SALIDA_MAYOR_QUE);
}

// Pinned regression values of the olive orchard (not independent reference values): they
// change only when the model's arithmetic changes.
TEST(Cadena, OliveOrchardPinnedResults) {
  Simulacion sim = Olivar();
  EJECUTAR_CADENA_BALANCE(sim);
  EXPECT_EQ(sim.PROF_PERFIL, 100.0);
  EXPECT_EQ(sim.BALANCE.ITERACIONES_ESTRES, 2);
  EXPECT_TRUE(Near(564.377, sim.ETC_ANUAL, 5e-4));
  EXPECT_TRUE(Near(564.91, sim.ET_REAL_ANUAL, 5e-3));
  EXPECT_TRUE(Near(370.09, sim.DRENAJE_ANUAL_CAPA[kCapas], 5e-3));
  EXPECT_TRUE(Near(0.716318, *sim.FACTOR_CONCENTRACION_CC, 5e-7));
  EXPECT_TRUE(Near(0.543834, *sim.FACTOR_CONCENTRACION_SAT, 5e-7));
  EXPECT_TRUE(Near(0.395818, *sim.FRACCION_LAVADO, 5e-7));
  EXPECT_FALSE(sim.SALIDA_MAYOR_QUE);
}

}  // namespace
}  // namespace medravolix
