// The soil-solution equilibrium written step by step exactly as the model states it, without any
// of the production solver's shortcuts: the yardstick its results must match bit for bit.
#pragma once

#include <cmath>
#include <string>

#include "batch/simulacion.h"
#include "chemistry/actividad.h"
#include "chemistry/polinomio.h"
#include "chemistry/preparacion_solucion.h"
#include "chemistry/tablas_quimicas.h"

namespace medravolix::literal {

inline constexpr int kMaxPasadasPares = 100;         // the loop ends when its counter exceeds this
inline constexpr int kMaxPasadasFuerzaIonica = 100;  // likewise
inline constexpr int kMaxPasadasMineral = 50;        // calcite and gypsum: at most 51 passes each

inline const std::string kRechazo = "the soil solution cannot be computed: ";

inline void reiniciar(Simulacion& sim) {
  sim.ESPECIES = {};
  sim.QUIMICA = EstadoQuimica{};
  sim.ALCALINIDAD = 0.0;
  sim.PH = 0.0;
  sim.CE = 0.0;
  sim.SOLUCION_CON_VALOR = false;
}

// Step 2: K = 10^log K, and a log K of exactly 0 switches the constant off.
inline void constantesEquilibrio(EstadoQuimica& q) {
  for (int k = 1; k <= 30; ++k) {
    const double log_k = q.CONSTANTES[k].LOG_K;
    q.CONSTANTES[k].K_EQUILIBRIO = log_k != 0 ? std::pow(10.0, log_k) : 0.0;
  }
}

// Step 6: the first estimate of a calcite pass, from the totals.
inline void fuerzaIonicaTotales(Simulacion& sim) {
  double suma = 0.0;
  for (int s = 3; s <= 11; ++s) {
    const REGISTRO_ESPECIE& e = sim.ESPECIES[s];
    suma = suma + e.CARGA * e.CARGA * (e.CONC_TOTAL * 0.5);
  }
  sim.QUIMICA.FUERZA_IONICA = suma;
}

// Step 8.1 to 8.3.
inline void coeficientesActividad(Simulacion& sim) {
  EstadoQuimica& q = sim.QUIMICA;
  const double I = q.FUERZA_IONICA;
  for (int s = 1; s <= 12; ++s) {
    REGISTRO_ESPECIE& e = sim.ESPECIES[s];
    e.COEF_ACTIVIDAD = COEFICIENTE_ACTIVIDAD(I, e.CARGA, kEspecieLibre, static_cast<int16_t>(s));
  }
  // OH-, HCO3- and CO3 2-: a coefficient that applies to the total, with the free and total
  // values as the previous pass left them.
  for (int s : {2, 10, 11}) {
    REGISTRO_ESPECIE& e = sim.ESPECIES[s];
    if (e.CONC_TOTAL != 0 && e.CONC_LIBRE != 0) {
      e.COEF_ACTIVIDAD = e.COEF_ACTIVIDAD * e.CONC_LIBRE / e.CONC_TOTAL;
    }
  }
  for (int p = 1; p <= 24; ++p) {
    REGISTRO_ESPECIE& par = q.PARES[p];
    par.COEF_ACTIVIDAD = COEFICIENTE_ACTIVIDAD(I, par.CARGA, kParIonico, static_cast<int16_t>(p));
  }
}

// Step 8.4 and 8.5: the carbonate system at the solution's alkalinity and CO2 pressure.
inline void sistemaCarbonato(Simulacion& sim) {
  auto& E = sim.ESPECIES;
  auto& C = sim.QUIMICA.CONSTANTES;
  const double P = sim.PCO2;
  C[1].K_CONDICIONAL = C[1].K_EQUILIBRIO / E[12].COEF_ACTIVIDAD;
  C[2].K_CONDICIONAL = C[2].K_EQUILIBRIO / (E[2].COEF_ACTIVIDAD * E[1].COEF_ACTIVIDAD);
  C[3].K_CONDICIONAL =
      C[3].K_EQUILIBRIO * E[12].COEF_ACTIVIDAD / (E[10].COEF_ACTIVIDAD * E[1].COEF_ACTIVIDAD);
  C[4].K_CONDICIONAL =
      C[4].K_EQUILIBRIO * E[10].COEF_ACTIVIDAD / (E[11].COEF_ACTIVIDAD * E[1].COEF_ACTIVIDAD);
  const double k1 = C[1].K_CONDICIONAL, k2 = C[2].K_CONDICIONAL;
  const double k3 = C[3].K_CONDICIONAL, k4 = C[4].K_CONDICIONAL;
  const double A = sim.ALCALINIDAD;
  const double t = k3 * k1 * P + k2;
  double h = 0.0;
  if (A > 0) {
    h = (t + std::sqrt(t * t + 8 * A * k1 * k3 * k4 * P)) / (2 * A);
  } else {
    h = (std::sqrt(A * A + 4 * t) - A) / 2;
  }
  if (!(h != 0 && std::isfinite(h))) {
    throw SimulacionRechazada(kRechazo + "the H+ concentration of the carbonate system is " +
                              (h == 0 ? "0" : "not a number") +
                              " (check the water, CO2 and carbonic acid constants)");
  }
  E[1].CONC_TOTAL = h;
  E[2].CONC_TOTAL = k2 / h;
  E[10].CONC_TOTAL = k3 * k1 * P / h;
  E[11].CONC_TOTAL = k3 * k1 * k4 * P / (h * h);
}

// Step 8.6: K' = K g(cation) g(ligand) / g(pair).
inline void constantesPares(Simulacion& sim) {
  auto& E = sim.ESPECIES;
  auto& q = sim.QUIMICA;
  auto& C = q.CONSTANTES;
  for (int c = 1; c <= 4; ++c) {
    const double g_cation = E[c + 2].COEF_ACTIVIDAD;
    C[c + 6].K_CONDICIONAL =
        g_cation * C[c + 6].K_EQUILIBRIO * E[2].COEF_ACTIVIDAD / q.PARES[c].COEF_ACTIVIDAD;
    for (int a = 1; a <= 5; ++a) {
      const int k = 4 * a + c + 6;
      C[k].K_CONDICIONAL = g_cation * C[k].K_EQUILIBRIO * E[a + 6].COEF_ACTIVIDAD /
                           q.PARES[4 * a + c].COEF_ACTIVIDAD;
    }
  }
}

// One pass of the ion-pair loop (step 8.7.1 to 8.7.3); returns whether every ligand's free
// concentration changed by at most EPSILON percent.
inline bool pasadaPares(Simulacion& sim) {
  auto& E = sim.ESPECIES;
  auto& q = sim.QUIMICA;
  const auto K = [&q](int k) { return q.CONSTANTES[k].K_CONDICIONAL; };
  q.OH_LIBRE = E[2].CONC_TOTAL / (1 + K(7) * E[3].CONC_LIBRE + K(8) * E[4].CONC_LIBRE +
                                  K(9) * E[5].CONC_LIBRE + K(10) * E[6].CONC_LIBRE);
  E[2].CONC_LIBRE = q.OH_LIBRE;
  bool estable = true;
  for (int s = 7; s <= 11; ++s) {
    const int a = s - 6;
    REGISTRO_ESPECIE& e = E[s];
    e.CONC_LIBRE_NUEVA =
        e.CONC_TOTAL / (1 + K(4 * a + 7) * E[3].CONC_LIBRE + K(4 * a + 8) * E[4].CONC_LIBRE +
                        K(4 * a + 9) * E[5].CONC_LIBRE + K(4 * a + 10) * E[6].CONC_LIBRE);
    if (e.CONC_LIBRE_NUEVA != 0) {
      e.CAMBIO_RELATIVO = std::fabs((e.CONC_LIBRE_NUEVA - e.CONC_LIBRE) / e.CONC_LIBRE_NUEVA) * 100;
    }
    e.CONC_LIBRE = e.CONC_LIBRE_NUEVA;
    if (!(e.CAMBIO_RELATIVO <= q.EPSILON)) estable = false;
  }
  for (int s = 3; s <= 6; ++s) {
    const int c = s - 2;
    E[s].CONC_LIBRE =
        E[s].CONC_TOTAL / (1 + K(c + 6) * E[2].CONC_LIBRE + K(c + 10) * E[7].CONC_LIBRE +
                           K(c + 14) * E[8].CONC_LIBRE + K(c + 18) * E[9].CONC_LIBRE +
                           K(c + 22) * E[10].CONC_LIBRE + K(c + 26) * E[11].CONC_LIBRE);
  }
  return estable;
}

// Step 8.7.
inline void buclePares(Simulacion& sim) {
  EstadoQuimica& q = sim.QUIMICA;
  int16_t& contador = q.ITERACIONES[kIteracionPares];
  contador = 0;
  for (;;) {
    const bool estable = pasadaPares(sim);
    ++contador;
    ++q.PASADAS.pares;
    if (contador > kMaxPasadasPares || estable) break;
  }
}

// Step 8.8 to 8.10: the pairs' concentrations and the new ionic strength.
inline void nuevaFuerzaIonica(Simulacion& sim) {
  auto& E = sim.ESPECIES;
  EstadoQuimica& q = sim.QUIMICA;
  for (int c = 1; c <= 4; ++c) {
    q.PARES[c].CONC_LIBRE =
        E[c + 2].CONC_LIBRE * q.CONSTANTES[c + 6].K_CONDICIONAL * E[2].CONC_LIBRE;
    for (int a = 1; a <= 5; ++a) {
      q.PARES[4 * a + c].CONC_LIBRE =
          E[c + 2].CONC_LIBRE * q.CONSTANTES[4 * a + c + 6].K_CONDICIONAL * E[a + 6].CONC_LIBRE;
    }
  }
  double suma = 0.0;
  for (int s = 3; s <= 11; ++s) suma = suma + E[s].CARGA * E[s].CARGA * (E[s].CONC_LIBRE * 0.5);
  for (int p = 1; p <= 24; ++p) {
    const REGISTRO_ESPECIE& par = q.PARES[p];
    suma = suma + par.CARGA * par.CARGA * (par.CONC_LIBRE * 0.5);
  }
  q.FUERZA_IONICA_NUEVA = suma;
  if (q.FUERZA_IONICA_NUEVA != 0) {
    q.CAMBIO_FUERZA_IONICA =
        std::fabs((q.FUERZA_IONICA_NUEVA - q.FUERZA_IONICA) / q.FUERZA_IONICA_NUEVA) * 100;
  }
  q.FUERZA_IONICA = q.FUERZA_IONICA_NUEVA;
}

// Step 7 and 8.
inline void bucleFuerzaIonica(Simulacion& sim) {
  EstadoQuimica& q = sim.QUIMICA;
  int16_t& contador = q.ITERACIONES[kIteracionFuerzaIonica];
  contador = 0;
  for (;;) {
    coeficientesActividad(sim);
    sistemaCarbonato(sim);
    constantesPares(sim);
    buclePares(sim);
    nuevaFuerzaIonica(sim);
    ++contador;
    ++q.PASADAS.fuerza_ionica;
    if (contador > kMaxPasadasFuerzaIonica || !(q.CAMBIO_FUERZA_IONICA > q.EPSILON)) break;
  }
}

// Step 9: the coefficients of species 3 to 11 made to apply to the totals. HCO3- and CO3 2-
// are corrected once more on top of the correction of step 8.2, as the model has it.
inline void coeficientesSobreTotales(Simulacion& sim) {
  for (int s = 3; s <= 11; ++s) {
    REGISTRO_ESPECIE& e = sim.ESPECIES[s];
    if (e.CONC_TOTAL != 0 && e.CONC_LIBRE != 0) {
      e.COEF_ACTIVIDAD = e.COEF_ACTIVIDAD * e.CONC_LIBRE / e.CONC_TOTAL;
    }
  }
}

// The amount of calcite that solves the calcite equation from x = 0.
inline double raizCalcita(Simulacion& sim, double b, double c, double d, double e) {
  if (d == 0) {
    throw SimulacionRechazada(kRechazo +
                              "the calcite equation cannot start (the bicarbonate total is 0)");
  }
  const RaizNewton raiz = RAIZ_NEWTON_POLINOMIO(0, b, c, d, e, sim.QUIMICA.EPSILON, 0);
  sim.QUIMICA.PASADAS.newton += raiz.pasos;
  if (!raiz.convergio) {
    throw SimulacionRechazada(kRechazo + "the calcite equation did not converge in " +
                              std::to_string(kMaxPasosNewton) + " Newton steps");
  }
  if (!std::isfinite(raiz.x)) {
    throw SimulacionRechazada(kRechazo + "the calcite equation has no finite root");
  }
  return raiz.x;
}

// Step 10: one calcite step; returns whether another calcite pass follows.
inline bool pasoCalcita(Simulacion& sim) {
  auto& E = sim.ESPECIES;
  EstadoQuimica& q = sim.QUIMICA;
  auto& C = q.CONSTANTES;
  const double Ca = E[5].CONC_TOTAL, B = E[10].CONC_TOTAL;
  C[5].K_CONDICIONAL = C[5].K_EQUILIBRIO / (E[11].COEF_ACTIVIDAD * E[5].COEF_ACTIVIDAD);
  q.K_CALCITA_CO2 =
      C[1].K_CONDICIONAL * C[3].K_CONDICIONAL * C[5].K_CONDICIONAL / C[4].K_CONDICIONAL;
  q.PRODUCTO_CALCITA = Ca * (B * B);
  const double Q = q.K_CALCITA_CO2 * sim.PCO2;
  if (q.CALCITA_DISPONIBLE <= 0 && !(Q < q.PRODUCTO_CALCITA)) return false;
  const double D = q.PRODUCTO_CALCITA - Q;
  if (Q < q.PRODUCTO_CALCITA) {
    // Supersaturated: (Ca - x)(B - 2x)^2 = Q; the precipitate joins the stock.
    const double x = raizCalcita(sim, -4, 4 * (Ca + B), -B * (4 * Ca + B), D);
    q.CALCITA_CAMBIO = x;
    q.CALCIO_NUEVO = Ca - x;
    sim.ALCALINIDAD = sim.ALCALINIDAD - 2 * x;
    q.CALCITA_DISPONIBLE = q.CALCITA_DISPONIBLE + x;
  } else {
    // Undersaturated: (Ca + x)(B + 2x)^2 = Q, dissolving no more than the stock.
    double x = raizCalcita(sim, 4, 4 * (Ca + B), B * (4 * Ca + B), D);
    if (x > q.CALCITA_DISPONIBLE) x = q.CALCITA_DISPONIBLE;
    q.CALCITA_CAMBIO = x;
    q.CALCIO_NUEVO = Ca + x;
    sim.ALCALINIDAD = sim.ALCALINIDAD + 2 * x;
    q.CALCITA_DISPONIBLE = q.CALCITA_DISPONIBLE - x;
  }
  q.CAMBIO_CALCIO_CALCITA = q.EPSILON + 1;
  if (Ca != 0) q.CAMBIO_CALCIO_CALCITA = std::fabs((Ca - q.CALCIO_NUEVO) / Ca) * 100;
  E[5].CONC_TOTAL = q.CALCIO_NUEVO;
  int16_t& contador = q.ITERACIONES[kIteracionCalcita];
  ++contador;
  return q.CAMBIO_CALCIO_CALCITA >= q.EPSILON * 10000 && contador <= kMaxPasadasMineral;
}

// Step 11: one gypsum step; returns whether another gypsum pass follows.
inline bool pasoYeso(Simulacion& sim) {
  auto& E = sim.ESPECIES;
  EstadoQuimica& q = sim.QUIMICA;
  auto& C = q.CONSTANTES;
  const double Ca = E[5].CONC_TOTAL, S = E[9].CONC_TOTAL;
  C[6].K_CONDICIONAL = C[6].K_EQUILIBRIO / (E[9].COEF_ACTIVIDAD * E[5].COEF_ACTIVIDAD);
  const double K6 = C[6].K_CONDICIONAL;
  q.PRODUCTO_YESO = S * Ca;
  if (q.YESO_DISPONIBLE <= 0 && q.PRODUCTO_YESO <= K6) return false;
  const double m = S + Ca;
  const double R = std::sqrt(m * m - 4 * (q.PRODUCTO_YESO - K6));
  if (q.PRODUCTO_YESO <= K6) {
    // Undersaturated: (Ca + x)(S + x) = K'6, dissolving no more than the stock.
    q.YESO_CAMBIO = (R - m) / 2;
    if (q.YESO_CAMBIO > q.YESO_DISPONIBLE) q.YESO_CAMBIO = q.YESO_DISPONIBLE;
    q.CALCIO_NUEVO = Ca + q.YESO_CAMBIO;
    E[9].CONC_TOTAL = E[9].CONC_TOTAL + q.YESO_CAMBIO;
    q.YESO_DISPONIBLE = q.YESO_DISPONIBLE - q.YESO_CAMBIO;
  } else {
    // Supersaturated: (Ca - x)(S - x) = K'6; the precipitate joins the stock.
    q.YESO_CAMBIO = (m - R) / 2;
    q.CALCIO_NUEVO = Ca - q.YESO_CAMBIO;
    E[9].CONC_TOTAL = E[9].CONC_TOTAL - q.YESO_CAMBIO;
    q.YESO_DISPONIBLE = q.YESO_DISPONIBLE + q.YESO_CAMBIO;
  }
  q.CAMBIO_CALCIO_YESO = q.EPSILON + 1;
  if (Ca != 0) q.CAMBIO_CALCIO_YESO = std::fabs((Ca - q.CALCIO_NUEVO) / Ca) * 100;
  E[5].CONC_TOTAL = q.CALCIO_NUEVO;
  int16_t& contador = q.ITERACIONES[kIteracionYeso];
  ++contador;
  return q.CAMBIO_CALCIO_YESO >= q.EPSILON * 100000 && contador <= kMaxPasadasMineral;
}

// Step 12: pH and electrical conductivity, from the last ionic-strength pass.
inline void resultados(Simulacion& sim) {
  auto& E = sim.ESPECIES;
  const EstadoQuimica& q = sim.QUIMICA;
  const double actividad_h = E[1].COEF_ACTIVIDAD * E[1].CONC_TOTAL;
  if (!(actividad_h > 0)) {
    throw SimulacionRechazada(kRechazo + "the H+ activity for the pH is not positive");
  }
  sim.PH = -0.434294481 * std::log(actividad_h);
  for (int s = 2; s <= 11; ++s) {
    sim.CE = sim.CE + q.FACTOR_CE * E[s].CARGA * E[s].COEF_CONDUCTIVIDAD * 1000 * E[s].CONC_LIBRE;
  }
  for (int p = 1; p <= 24; ++p) {
    const REGISTRO_ESPECIE& par = q.PARES[p];
    sim.CE = sim.CE + q.FACTOR_CE * par.CARGA * par.COEF_CONDUCTIVIDAD * 1000 * par.CONC_LIBRE;
  }
}

inline void comprobarFinitos(const Simulacion& sim) {
  bool finitos = std::isfinite(sim.ALCALINIDAD) && std::isfinite(sim.PH) && std::isfinite(sim.CE);
  for (int s = 3; s <= 9; ++s) finitos = finitos && std::isfinite(sim.ESPECIES[s].CONC_TOTAL);
  if (!finitos) {
    throw SimulacionRechazada(kRechazo + "the equilibrium gave a value that is not a number");
  }
}

inline void resolver(Simulacion& sim) {
  EstadoQuimica& q = sim.QUIMICA;
  for (int s = 3; s <= 11; ++s) sim.ESPECIES[s].CONC_LIBRE = sim.ESPECIES[s].CONC_TOTAL;
  q.ITERACIONES[kIteracionYeso] = 0;
  do {
    ++q.PASADAS.yeso;
    q.ITERACIONES[kIteracionCalcita] = 0;
    do {
      ++q.PASADAS.calcita;
      fuerzaIonicaTotales(sim);
      bucleFuerzaIonica(sim);
      coeficientesSobreTotales(sim);
    } while (pasoCalcita(sim));
  } while (pasoYeso(sim));
}

inline void EQUILIBRIO_SOLUCION_SUELO(Simulacion& sim, const TablasQuimicas& tablas) {
  reiniciar(sim);
  sim.QUIMICA.EPSILON = CALCULAR_EPSILON();
  APLICAR_TABLAS_QUIMICAS(sim, tablas);
  CARGAR_COMPOSICION_AGUA(sim);
  if (!PREPARAR_SOLUCION_SUELO(sim)) return;
  constantesEquilibrio(sim.QUIMICA);
  resolver(sim);
  resultados(sim);
  comprobarFinitos(sim);
  sim.SOLUCION_CON_VALOR = true;
}

}  // namespace medravolix::literal
