// The production solver against the step-by-step one: every variable bit for bit, for waters and
// soils across the range the model meets (fresh to saline, with and without calcite and gypsum,
// several CO2 pressures and reference solutions), and for tables with unusual charges.
#include "chemistry/equilibrio_literal.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>

#include "chemistry/equilibrio_solucion.h"
#include "chemistry/tablas_prueba.h"

namespace medravolix {
namespace {

using prueba::Agua;
using prueba::SimulacionCon;
using prueba::TablasReferencia;

bool mismosBits(double a, double b) {
  return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

void compararRegistro(const std::string& nombre, const REGISTRO_ESPECIE& a,
                      const REGISTRO_ESPECIE& b, std::ostringstream& diferencias) {
  const double va[] = {a.CONC_TOTAL,     a.CONC_LIBRE,    a.CONC_LIBRE_NUEVA,   a.CARGA,
                       a.COEF_ACTIVIDAD, a.LOG_ACTIVIDAD, a.COEF_CONDUCTIVIDAD, a.CAMBIO_RELATIVO};
  const double vb[] = {b.CONC_TOTAL,     b.CONC_LIBRE,    b.CONC_LIBRE_NUEVA,   b.CARGA,
                       b.COEF_ACTIVIDAD, b.LOG_ACTIVIDAD, b.COEF_CONDUCTIVIDAD, b.CAMBIO_RELATIVO};
  for (int i = 0; i < 8; ++i) {
    if (!mismosBits(va[i], vb[i])) {
      diferencias << nombre << " field " << i << ": " << va[i] << " vs " << vb[i] << "\n";
    }
  }
}

void compararEscalar(const char* nombre, double a, double b, std::ostringstream& diferencias) {
  if (!mismosBits(a, b)) diferencias << nombre << ": " << a << " vs " << b << "\n";
}

// Every variable of the soil solution, bit for bit.
::testing::AssertionResult MismoEstado(const Simulacion& a, const Simulacion& b) {
  std::ostringstream d;
  for (int s = 1; s <= 12; ++s) {
    compararRegistro("species " + std::to_string(s), a.ESPECIES[s], b.ESPECIES[s], d);
  }
  const EstadoQuimica &qa = a.QUIMICA, &qb = b.QUIMICA;
  for (int p = 1; p <= 24; ++p) {
    compararRegistro("pair " + std::to_string(p), qa.PARES[p], qb.PARES[p], d);
  }
  for (int k = 1; k <= 30; ++k) {
    compararEscalar("K", qa.CONSTANTES[k].K_EQUILIBRIO, qb.CONSTANTES[k].K_EQUILIBRIO, d);
    compararEscalar("K'", qa.CONSTANTES[k].K_CONDICIONAL, qb.CONSTANTES[k].K_CONDICIONAL, d);
  }
  const std::pair<const char*, double EstadoQuimica::*> escalares[] = {
      {"CALCITA_DISPONIBLE", &EstadoQuimica::CALCITA_DISPONIBLE},
      {"YESO_DISPONIBLE", &EstadoQuimica::YESO_DISPONIBLE},
      {"FUERZA_IONICA", &EstadoQuimica::FUERZA_IONICA},
      {"FUERZA_IONICA_NUEVA", &EstadoQuimica::FUERZA_IONICA_NUEVA},
      {"CAMBIO_FUERZA_IONICA", &EstadoQuimica::CAMBIO_FUERZA_IONICA},
      {"OH_LIBRE", &EstadoQuimica::OH_LIBRE},
      {"K_CALCITA_CO2", &EstadoQuimica::K_CALCITA_CO2},
      {"PRODUCTO_CALCITA", &EstadoQuimica::PRODUCTO_CALCITA},
      {"PRODUCTO_YESO", &EstadoQuimica::PRODUCTO_YESO},
      {"CALCITA_CAMBIO", &EstadoQuimica::CALCITA_CAMBIO},
      {"YESO_CAMBIO", &EstadoQuimica::YESO_CAMBIO},
      {"CALCIO_NUEVO", &EstadoQuimica::CALCIO_NUEVO},
      {"CAMBIO_CALCIO_CALCITA", &EstadoQuimica::CAMBIO_CALCIO_CALCITA},
      {"CAMBIO_CALCIO_YESO", &EstadoQuimica::CAMBIO_CALCIO_YESO}};
  for (const auto& [nombre, campo] : escalares) compararEscalar(nombre, qa.*campo, qb.*campo, d);
  compararEscalar("ALCALINIDAD", a.ALCALINIDAD, b.ALCALINIDAD, d);
  compararEscalar("PH", a.PH, b.PH, d);
  compararEscalar("CE", a.CE, b.CE, d);
  if (qa.ITERACIONES != qb.ITERACIONES) d << "ITERACIONES differ\n";
  if (qa.PASADAS.fuerza_ionica != qb.PASADAS.fuerza_ionica ||
      qa.PASADAS.pares != qb.PASADAS.pares || qa.PASADAS.calcita != qb.PASADAS.calcita ||
      qa.PASADAS.yeso != qb.PASADAS.yeso || qa.PASADAS.newton != qb.PASADAS.newton) {
    d << "pass counts differ\n";
  }
  if (a.SOLUCION_CON_VALOR != b.SOLUCION_CON_VALOR) d << "SOLUCION_CON_VALOR differs\n";
  if (d.str().empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << d.str();
}

// Both solvers on the same simulation; a refusal must be the same refusal.
void compararSolvers(const Simulacion& inicial, const TablasQuimicas& tablas) {
  Simulacion rapida = inicial, literal_sim = inicial;
  std::string rechazo_rapida, rechazo_literal;
  try {
    EQUILIBRIO_SOLUCION_SUELO(rapida, tablas);
  } catch (const SimulacionRechazada& e) {
    rechazo_rapida = e.what();
  }
  try {
    literal::EQUILIBRIO_SOLUCION_SUELO(literal_sim, tablas);
  } catch (const SimulacionRechazada& e) {
    rechazo_literal = e.what();
  }
  EXPECT_EQ(rechazo_literal, rechazo_rapida);
  if (rechazo_literal.empty()) {
    EXPECT_TRUE(MismoEstado(literal_sim, rapida));
  }
}

TEST(EquilibrioLiteral, SampleLikeWatersAndSoilsMatchBitForBit) {
  const Agua aguas[] = {{0.35, 0.03, 1.3, 0.3, 0.3, 0.03, 0.45, 2.35},
                        {3.2, 0.08, 2.5, 1, 2.9, 0.15, 2.2, 2.83},
                        {8.864, 0.18, 6.265, 2.779, 9.513, 0.5, 6.125, 4.399},
                        {10, 0.1, 0.6, 0.5, 3, 0.1, 1, 7.2},
                        {71.74, 0.67, 3.045, 3.645, 63.5, 0.2, 7.97, 6.66}};
  const double suelos[][3] = {{20, 0.5, -2}, {10, 30, -2}, {3, 0, -2.5}, {0, 1, -1.7}, {0, 0, -3}};
  const TablasQuimicas tablas = TablasReferencia();
  for (const Agua& agua : aguas) {
    for (const auto& suelo : suelos) {
      for (double factor : {1.2, 4.0}) {
        SCOPED_TRACE(::testing::Message() << "Na " << agua.na << " calcite " << suelo[0]
                                          << " gypsum " << suelo[1] << " factor " << factor);
        compararSolvers(SimulacionCon(agua, suelo[2], factor, suelo[0], suelo[1]), tablas);
      }
    }
  }
}

TEST(EquilibrioLiteral, RandomWatersMatchBitForBit) {
  std::mt19937_64 azar(20240611);
  std::uniform_real_distribution<double> log_mmol(-2.0, 2.0), log_pco2(-3.5, -1.0),
      factor(0.5, 12.0), porcentaje(0.0, 40.0);
  const TablasQuimicas tablas = TablasReferencia();
  for (int i = 0; i < 40; ++i) {
    const auto mmol = [&] { return std::pow(10.0, log_mmol(azar)); };
    const Agua agua{mmol(), mmol(), mmol(), mmol(), mmol(), mmol(), mmol(), mmol()};
    Simulacion sim = SimulacionCon(agua, log_pco2(azar), factor(azar), porcentaje(azar),
                                   i % 3 == 0 ? 0.0 : porcentaje(azar) / 4);
    SCOPED_TRACE(::testing::Message() << "case " << i);
    compararSolvers(sim, tablas);
  }
}

TEST(EquilibrioLiteral, UnusualChargesMatchBitForBit) {
  TablasQuimicas tablas = TablasReferencia();
  tablas.CARGA_ESPECIE[7] = -1;  // signed anion charges
  tablas.CARGA_ESPECIE[9] = -2;
  tablas.CARGA_PAR[16] = 0.5;  // a fractional charge on a usually neutral pair
  tablas.CARGA_PAR[3] = -1;
  tablas.CARGA_PAR[22] = 3;
  tablas.LOG_K[11] = -0.5;  // NaCl and CaNO3+ switched on
  tablas.LOG_K[17] = 0.6;
  compararSolvers(SimulacionCon(prueba::kAguaModerada, -2.0, 3.0, 10, 2), tablas);
  compararSolvers(SimulacionCon(prueba::kAguaModerada, -1.5, 6.0, 0, 0), tablas);
}

TEST(EquilibrioLiteral, HostileInputsMatchOrAreRefusedAlike) {
  // negative concentrations, overflowing and huge constants, absurd charges: whatever the
  // step-by-step solver gives, or refuses, the production one must give or refuse alike
  std::mt19937_64 azar(7);
  std::uniform_real_distribution<double> mmol(-20.0, 40.0), log_k(-30.0, 30.0), carga(-3, 3);
  for (int i = 0; i < 40; ++i) {
    TablasQuimicas tablas = TablasReferencia();
    if (i % 2 == 0) tablas.LOG_K[7 + i % 24] = log_k(azar) * (i % 5 == 0 ? 12 : 1);
    if (i % 3 == 0) tablas.CARGA_ESPECIE[3 + i % 9] = std::round(carga(azar));
    if (i % 4 == 0) tablas.CARGA_PAR[1 + i % 24] = carga(azar);
    const Agua agua{mmol(azar), mmol(azar), mmol(azar), mmol(azar),
                    mmol(azar), mmol(azar), mmol(azar), mmol(azar)};
    SCOPED_TRACE(::testing::Message() << "case " << i);
    compararSolvers(SimulacionCon(agua, -2.0, 2.0, i % 2 ? 5.0 : 0.0, i % 3 ? 1.0 : 0.0), tablas);
  }
}

}  // namespace
}  // namespace medravolix
