// Chemistry tables and soil solutions shared by the chemistry tests and benchmark: the constants,
// charges and conductivity coefficients of the sample workbook (WATEQ4F log K at 25 C, limiting
// ionic conductivities), and simulations whose water balance has already given the factors.
#pragma once

#include <cmath>

#include "chemistry/preparacion_solucion.h"
#include "chemistry/tablas_quimicas.h"
#include "simulation/simulacion.h"

namespace medravolix::prueba {

inline TablasQuimicas TablasReferencia() {
  TablasQuimicas t;
  t.LOG_K = {0,    -1.468, -14.00, -6.352, -10.329, -8.48, -4.58, 0,     0,    1.22, 2.56,
             0,    0,      0,      0,      0,       0,     0,     0,     0.70, 0.85, 2.30,
             2.37, -0.25,  0,      1.106,  1.07,    1.27,  0,     3.224, 2.98};
  // H+ OH- Na+ K+ Ca2+ Mg2+ Cl- NO3- SO4 2- HCO3- CO3 2- (charge magnitudes, as the sample)
  t.carga_especie = {0, 1, 1, 1, 1, 2, 2, 1, 1, 2, 1, 2, 0};
  t.coef_conductividad_especie = {0,     349.65, 198,  50.10, 73.50, 59.47, 53.0,
                                  76.35, 71.46,  80.0, 44.5,  69.3,  0};
  // pair 4a + c: ligand a (OH, Cl, NO3, SO4, HCO3, CO3), cation c (Na, K, Ca, Mg)
  t.carga_par = {0, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0};
  t.coef_conductividad_par = {0,  0,    0, 0, 0, 0, 0,  0,     0,    0, 0, 0, 0,
                              50, 56.3, 0, 0, 0, 0, 19, 17.95, 45.1, 0, 0, 0};
  t.CE = 0.115;
  t.FACTOR_CE = 0.000803;
  return t;
}

// An irrigation water in mmol/L (Na, K, Ca, Mg, Cl, NO3, SO4) and meq/L of alkalinity.
struct Agua {
  double na, k, ca, mg, cl, no3, so4, alcalinidad;
};

// The soil: log10 of its CO2 pressure, the saturation extract's concentration factor (twice that
// at field capacity, three times in the drainage water), its calcite and gypsum in percent.
struct Suelo {
  double log_pco2, factor_sat, caliza_pct, yeso_pct;
};

// A simulation ready for the chemistry; water contents 0.45 at saturation, 0.25 at field capacity.
inline Simulacion SimulacionCon(const Agua& agua, const Suelo& suelo,
                                OpcionSolucion solucion = OpcionSolucion::Saturacion) {
  Simulacion sim;
  sim.COMPOSICION_AGUA = {0, 0, 0, agua.na, agua.k, agua.ca, agua.mg, agua.cl, agua.no3, agua.so4};
  sim.ALCALINIDAD_AGUA = agua.alcalinidad;
  sim.PCO2 = std::pow(10.0, suelo.log_pco2);
  sim.OPCION_SOLUCION = solucion;
  sim.FACTOR_CONCENTRACION_SAT = suelo.factor_sat;
  sim.FACTOR_CONCENTRACION_CC = 2 * suelo.factor_sat;
  sim.FACTOR_CONCENTRACION_FONDO = 3 * suelo.factor_sat;
  sim.SAT_PERFIL = 0.45;
  sim.CC_PERFIL = 0.25;
  sim.CALIZA_PERFIL = suelo.caliza_pct;
  sim.YESO_PERFIL = suelo.yeso_pct;
  return sim;
}

}  // namespace medravolix::prueba
