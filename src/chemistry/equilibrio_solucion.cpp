#include "chemistry/equilibrio_solucion.h"

#include <cmath>
#include <string>

#include "chemistry/actividad.h"
#include "chemistry/bucle_fuerza_ionica.h"
#include "chemistry/polinomio.h"
#include "chemistry/preparacion_solucion.h"

namespace medravolix {

namespace {

constexpr int kMaxPasadasMineral = 50;  // calcite and gypsum: at most 51 passes each

const std::string kRechazo = "the soil solution cannot be computed: ";

void reiniciar(Simulacion& sim) {
  sim.ESPECIES = {};
  sim.QUIMICA = EstadoQuimica{};
  sim.ALCALINIDAD = 0.0;
  sim.PH = 0.0;
  sim.CE = 0.0;
  sim.SOLUCION_CON_VALOR = false;
}

// K = 10^log K; a log K of exactly 0 switches the constant off.
void constantesEquilibrio(EstadoQuimica& q) {
  for (int k = 1; k <= 30; ++k) {
    const double log_k = q.CONSTANTES[k].LOG_K;
    q.CONSTANTES[k].K_EQUILIBRIO = log_k != 0 ? std::pow(10.0, log_k) : 0.0;
  }
}

// The first estimate of the ionic strength in a calcite pass: from the totals, not the free
// concentrations.
void fuerzaIonicaTotales(Simulacion& sim) {
  double suma = 0.0;
  for (int s = 3; s <= 11; ++s) {
    const REGISTRO_ESPECIE& e = sim.ESPECIES[s];
    suma = suma + e.CARGA * e.CARGA * (e.CONC_TOTAL * 0.5);
  }
  sim.QUIMICA.FUERZA_IONICA = suma;
}

// The coefficients of species 3 to 11 made to apply to the totals (times free over total) for the
// mineral equilibria. HCO3- and CO3 2- already had this correction at the start of the last
// ionic-strength pass and get it a second time here, as the model has it.
void coeficientesSobreTotales(Simulacion& sim) {
  for (int s = 3; s <= 11; ++s) {
    REGISTRO_ESPECIE& e = sim.ESPECIES[s];
    if (e.CONC_TOTAL != 0 && e.CONC_LIBRE != 0) {
      e.COEF_ACTIVIDAD = e.COEF_ACTIVIDAD * e.CONC_LIBRE / e.CONC_TOTAL;
    }
  }
}

// The amount of calcite that solves the calcite equation from x = 0.
double raizCalcita(Simulacion& sim, double b, double c, double d, double e) {
  if (d == 0) {
    throw SimulacionRechazada(
        kRechazo +
        "the calcite equation has no slope at its start (no bicarbonate in the solution)");
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

// One calcite step: dissolves or precipitates the calcite that brings [Ca2+][HCO3-]^2 to
// K_CALCITA_CO2 x P. Returns whether another calcite pass follows.
bool pasoCalcita(Simulacion& sim) {
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

// One gypsum step: dissolves or precipitates the gypsum that brings [Ca2+][SO4 2-] to K'6.
// Returns whether another gypsum pass follows.
bool pasoYeso(Simulacion& sim) {
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

// pH and electrical conductivity, from the free species and pairs of the last ionic-strength
// pass (before the last mineral step). The charges enter the conductivity with their sign.
void resultados(Simulacion& sim) {
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

// No value that is not a number ever reaches a sheet.
void comprobarFinitos(const Simulacion& sim) {
  bool finitos = std::isfinite(sim.ALCALINIDAD) && std::isfinite(sim.PH) && std::isfinite(sim.CE);
  for (int s = 3; s <= 9; ++s) finitos = finitos && std::isfinite(sim.ESPECIES[s].CONC_TOTAL);
  if (!finitos) {
    throw SimulacionRechazada(kRechazo + "the equilibrium gave a value that is not a number");
  }
}

// Gypsum passes, each running calcite passes, each running the ionic-strength loop from the
// totals; the free concentrations start from the totals.
void resolver(Simulacion& sim) {
  EstadoQuimica& q = sim.QUIMICA;
  BucleFuerzaIonica bucle_fuerza_ionica(sim);
  for (int s = 3; s <= 11; ++s) sim.ESPECIES[s].CONC_LIBRE = sim.ESPECIES[s].CONC_TOTAL;
  q.ITERACIONES[kIteracionYeso] = 0;
  do {
    ++q.PASADAS.yeso;
    q.ITERACIONES[kIteracionCalcita] = 0;
    do {
      ++q.PASADAS.calcita;
      fuerzaIonicaTotales(sim);
      bucle_fuerza_ionica.ejecutar(sim);
      coeficientesSobreTotales(sim);
    } while (pasoCalcita(sim));
  } while (pasoYeso(sim));
}

}  // namespace

void EQUILIBRIO_SOLUCION_SUELO(Simulacion& sim, const TablasQuimicas& tablas) {
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

}  // namespace medravolix
