// Chemistry tables and soil solutions for the tests: the constants, charges and conductivity
// coefficients of the reference set (WATEQ4F log K at 25 C, limiting ionic conductivities), and
// simulations whose water balance has already given the concentration factors.
#pragma once

#include <array>
#include <cmath>

#include "batch/simulacion.h"
#include "chemistry/tablas_quimicas.h"

namespace medravolix::prueba {

inline TablasQuimicas TablasReferencia() {
  TablasQuimicas t;
  const std::array<double, 31> log_k = {0, -1.468, -14.00, -6.352, -10.329, -8.48, -4.58, 0,
                                        0, 1.22,   2.56,   0,      0,       0,     0,     0,
                                        0, 0,      0,      0.70,   0.85,    2.30,  2.37,  -0.25,
                                        0, 1.106,  1.07,   1.27,   0,       3.224, 2.98};
  t.LOG_K = log_k;
  // H+ OH- Na+ K+ Ca2+ Mg2+ Cl- NO3- SO4 2- HCO3- CO3 2- (charge magnitudes, as the sample)
  t.CARGA_ESPECIE = {0, 1, 1, 1, 1, 2, 2, 1, 1, 2, 1, 2, 0};
  t.COEF_CONDUCTIVIDAD_ESPECIE = {0,     349.65, 198,  50.10, 73.50, 59.47, 53.0,
                                  76.35, 71.46,  80.0, 44.5,  69.3,  0};
  // pair 4a + c: ligand a (OH, Cl, NO3, SO4, HCO3, CO3), cation c (Na, K, Ca, Mg)
  t.CARGA_PAR = {0, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0};
  t.COEF_CONDUCTIVIDAD_PAR = {};
  t.COEF_CONDUCTIVIDAD_PAR[13] = 50.0;
  t.COEF_CONDUCTIVIDAD_PAR[14] = 56.3;
  t.COEF_CONDUCTIVIDAD_PAR[19] = 19.0;
  t.COEF_CONDUCTIVIDAD_PAR[20] = 17.95;
  t.COEF_CONDUCTIVIDAD_PAR[21] = 45.1;
  t.CE = 0.115;
  t.FACTOR_CE = 0.000803;
  return t;
}

// An irrigation water in mmol/L (Na, K, Ca, Mg, Cl, NO3, SO4) and meq/L of alkalinity.
struct Agua {
  double na, k, ca, mg, cl, no3, so4, alcalinidad;
};

// A balanced water of moderate salinity: 15.2 meq/L of cations and of anions.
inline constexpr Agua kAguaModerada{5.0, 0.2, 3.0, 2.0, 5.0, 0.5, 3.35, 3.0};

// A simulation ready for the chemistry: the water, log pCO2, the saturation solution with the
// given concentration factor, and the profile's calcite and gypsum (percent).
inline Simulacion SimulacionCon(const Agua& agua, double log_pco2, double factor, double caliza_pct,
                                double yeso_pct) {
  Simulacion sim;
  sim.COMPOSICION_AGUA = {0, 0, 0, agua.na, agua.k, agua.ca, agua.mg, agua.cl, agua.no3, agua.so4};
  sim.ALCALINIDAD_AGUA = agua.alcalinidad;
  sim.PCO2 = std::pow(10.0, log_pco2);
  sim.OPCION_SOLUCION = "saturación";
  sim.FACTOR_CONCENTRACION_SAT = factor;
  sim.FACTOR_CONCENTRACION_CC = 2 * factor;
  sim.FACTOR_CONCENTRACION_FONDO = 3 * factor;
  sim.SAT_PERFIL = 0.45;
  sim.CC_PERFIL = 0.25;
  sim.CALIZA_PERFIL = caliza_pct;
  sim.YESO_PERFIL = yeso_pct;
  return sim;
}

}  // namespace medravolix::prueba
