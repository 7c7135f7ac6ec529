#include "chemistry/resolucion_equilibrio.h"

#include <cmath>
#include <string>

#include "chemistry/actividad.h"
#include "chemistry/bucle_fuerza_ionica.h"
#include "chemistry/especies_quimicas.h"
#include "chemistry/polinomio.h"
#include "simulation/simulacion.h"

namespace medravolix {

namespace {

using namespace quimica;

constexpr int kMaxPasadasMineral = 50;  // calcite and gypsum: at most 51 passes each

// The tables' log K, charges, conductivity coefficients, CE and FACTOR_CE where the solver reads
// them; K = 10^log K, a log K of exactly 0 switching the constant off.
void aplicarTablas(const TablasQuimicas& tablas, SalidaEquilibrio& s) {
  EstadoQuimica& q = s.estado;
  for (int k = 1; k <= kNumConstantes; ++k) {
    const double log_k = tablas.LOG_K[k];
    q.CONSTANTES[k].LOG_K = log_k;
    q.CONSTANTES[k].K_EQUILIBRIO = log_k != 0 ? std::pow(10.0, log_k) : 0.0;
  }
  for (int e = 1; e <= 11; ++e) {
    s.ESPECIES[e].CARGA = tablas.carga_especie[e];
    s.ESPECIES[e].COEF_CONDUCTIVIDAD = tablas.coef_conductividad_especie[e];
  }
  for (int p = 1; p <= kNumPares; ++p) {
    q.PARES[p].CARGA = tablas.carga_par[p];
    q.PARES[p].COEF_CONDUCTIVIDAD = tablas.coef_conductividad_par[p];
  }
  s.CE = tablas.CE;
  q.FACTOR_CE = tablas.FACTOR_CE;
}

// The first estimate of the ionic strength in a calcite pass: from the totals, not the free
// concentrations.
void fuerzaIonicaTotales(SalidaEquilibrio& s) {
  double suma = 0.0;
  for (int e = kNa; e <= kCO3; ++e) {
    const REGISTRO_ESPECIE& especie = s.ESPECIES[e];
    suma = suma + especie.CARGA * especie.CARGA * (especie.CONC_TOTAL * 0.5);
  }
  s.estado.FUERZA_IONICA = suma;
}

// The coefficients of species 3 to 11 made to apply to the totals (times free over total) for the
// mineral equilibria. HCO3- and CO3 2- already had this correction at the start of the last
// ionic-strength pass and get it a second time here, as the model has it.
void coeficientesSobreTotales(SalidaEquilibrio& s) {
  for (int e = kNa; e <= kCO3; ++e) {
    REGISTRO_ESPECIE& especie = s.ESPECIES[e];
    if (especie.CONC_TOTAL != 0 && especie.CONC_LIBRE != 0) {
      especie.COEF_ACTIVIDAD = especie.COEF_ACTIVIDAD * especie.CONC_LIBRE / especie.CONC_TOTAL;
    }
  }
}

// The amount of calcite that solves the calcite equation from x = 0.
double raizCalcita(EstadoQuimica& q, double b, double c, double d, double e) {
  if (d == 0) {
    throw rechazoSolucion(
        "the calcite equation has no slope at its start (no bicarbonate in the solution)");
  }
  const RaizNewton raiz = RAIZ_NEWTON_POLINOMIO(0, b, c, d, e, q.EPSILON, 0);
  q.PASADAS.newton += raiz.pasos;
  if (!raiz.convergio) {
    throw rechazoSolucion("the calcite equation did not converge in " +
                          std::to_string(kMaxPasosNewton) + " Newton steps");
  }
  if (!std::isfinite(raiz.x)) {
    throw rechazoSolucion("the calcite equation has no finite root");
  }
  return raiz.x;
}

// The end of a mineral step: the relative change of the calcium total in percent (EPSILON + 1
// when there was no calcium), the new total in place, one more pass counted. Another pass follows
// while the change is at least `umbral` and the cap on passes is not reached.
bool cerrarPasoMineral(SalidaEquilibrio& s, double Ca, double& cambio, int16_t& contador,
                       double umbral) {
  EstadoQuimica& q = s.estado;
  cambio = q.EPSILON + 1;
  if (Ca != 0) cambio = std::fabs((Ca - q.CALCIO_NUEVO) / Ca) * 100;
  s.ESPECIES[kCa].CONC_TOTAL = q.CALCIO_NUEVO;
  ++contador;
  return cambio >= umbral && contador <= kMaxPasadasMineral;
}

// One calcite step: dissolves or precipitates the calcite that brings [Ca2+][HCO3-]^2 to
// K_CALCITA_CO2 x P. Returns whether another calcite pass follows.
bool pasoCalcita(SalidaEquilibrio& s, double P) {
  auto& E = s.ESPECIES;
  EstadoQuimica& q = s.estado;
  auto& C = q.CONSTANTES;
  const double Ca = E[kCa].CONC_TOTAL, B = E[kHCO3].CONC_TOTAL;
  C[kKCalcita].K_CONDICIONAL =
      C[kKCalcita].K_EQUILIBRIO / (E[kCO3].COEF_ACTIVIDAD * E[kCa].COEF_ACTIVIDAD);
  q.K_CALCITA_CO2 = C[kKCO2].K_CONDICIONAL * C[kKBicarbonato].K_CONDICIONAL *
                    C[kKCalcita].K_CONDICIONAL / C[kKCarbonato].K_CONDICIONAL;
  q.PRODUCTO_CALCITA = Ca * (B * B);
  const double Q = q.K_CALCITA_CO2 * P;
  if (q.CALCITA_DISPONIBLE <= 0 && !(Q < q.PRODUCTO_CALCITA)) return false;
  const double D = q.PRODUCTO_CALCITA - Q;
  if (Q < q.PRODUCTO_CALCITA) {
    // Supersaturated: (Ca - x)(B - 2x)^2 = Q; the precipitate joins the stock.
    const double x = raizCalcita(q, -4, 4 * (Ca + B), -B * (4 * Ca + B), D);
    q.CALCITA_CAMBIO = x;
    q.CALCIO_NUEVO = Ca - x;
    s.ALCALINIDAD = s.ALCALINIDAD - 2 * x;
    q.CALCITA_DISPONIBLE = q.CALCITA_DISPONIBLE + x;
  } else {
    // Undersaturated: (Ca + x)(B + 2x)^2 = Q, dissolving no more than the stock.
    double x = raizCalcita(q, 4, 4 * (Ca + B), B * (4 * Ca + B), D);
    if (x > q.CALCITA_DISPONIBLE) x = q.CALCITA_DISPONIBLE;
    q.CALCITA_CAMBIO = x;
    q.CALCIO_NUEVO = Ca + x;
    s.ALCALINIDAD = s.ALCALINIDAD + 2 * x;
    q.CALCITA_DISPONIBLE = q.CALCITA_DISPONIBLE - x;
  }
  return cerrarPasoMineral(s, Ca, q.CAMBIO_CALCIO_CALCITA, q.ITERACIONES[kIteracionCalcita],
                           q.EPSILON * 10000);
}

// One gypsum step: dissolves or precipitates the gypsum that brings [Ca2+][SO4 2-] to K'6.
// Returns whether another gypsum pass follows.
bool pasoYeso(SalidaEquilibrio& s) {
  auto& E = s.ESPECIES;
  EstadoQuimica& q = s.estado;
  auto& C = q.CONSTANTES;
  const double Ca = E[kCa].CONC_TOTAL, S = E[kSO4].CONC_TOTAL;
  C[kKYeso].K_CONDICIONAL =
      C[kKYeso].K_EQUILIBRIO / (E[kSO4].COEF_ACTIVIDAD * E[kCa].COEF_ACTIVIDAD);
  const double K6 = C[kKYeso].K_CONDICIONAL;
  q.PRODUCTO_YESO = S * Ca;
  if (q.YESO_DISPONIBLE <= 0 && q.PRODUCTO_YESO <= K6) return false;
  const double m = S + Ca;
  const double R = std::sqrt(m * m - 4 * (q.PRODUCTO_YESO - K6));
  if (q.PRODUCTO_YESO <= K6) {
    // Undersaturated: (Ca + x)(S + x) = K'6, dissolving no more than the stock.
    q.YESO_CAMBIO = (R - m) / 2;
    if (q.YESO_CAMBIO > q.YESO_DISPONIBLE) q.YESO_CAMBIO = q.YESO_DISPONIBLE;
    q.CALCIO_NUEVO = Ca + q.YESO_CAMBIO;
    E[kSO4].CONC_TOTAL = E[kSO4].CONC_TOTAL + q.YESO_CAMBIO;
    q.YESO_DISPONIBLE = q.YESO_DISPONIBLE - q.YESO_CAMBIO;
  } else {
    // Supersaturated: (Ca - x)(S - x) = K'6; the precipitate joins the stock.
    q.YESO_CAMBIO = (m - R) / 2;
    q.CALCIO_NUEVO = Ca - q.YESO_CAMBIO;
    E[kSO4].CONC_TOTAL = E[kSO4].CONC_TOTAL - q.YESO_CAMBIO;
    q.YESO_DISPONIBLE = q.YESO_DISPONIBLE + q.YESO_CAMBIO;
  }
  return cerrarPasoMineral(s, Ca, q.CAMBIO_CALCIO_YESO, q.ITERACIONES[kIteracionYeso],
                           q.EPSILON * 100000);
}

// pH and electrical conductivity, from the free species and pairs of the last ionic-strength
// pass (before the last mineral step). The charges enter the conductivity with their sign.
void resultados(SalidaEquilibrio& s) {
  auto& E = s.ESPECIES;
  const EstadoQuimica& q = s.estado;
  const double actividad_h = E[kH].COEF_ACTIVIDAD * E[kH].CONC_TOTAL;
  if (!(actividad_h > 0)) {
    throw rechazoSolucion("the H+ activity for the pH is not positive");
  }
  s.PH = -0.434294481 * std::log(actividad_h);
  for (int e = kOH; e <= kCO3; ++e) {
    s.CE = s.CE + q.FACTOR_CE * E[e].CARGA * E[e].COEF_CONDUCTIVIDAD * 1000 * E[e].CONC_LIBRE;
  }
  for (int p = 1; p <= kNumPares; ++p) {
    const REGISTRO_ESPECIE& par = q.PARES[p];
    s.CE = s.CE + q.FACTOR_CE * par.CARGA * par.COEF_CONDUCTIVIDAD * 1000 * par.CONC_LIBRE;
  }
}

// No value that is not a number ever reaches a sheet.
void comprobarFinitos(const SalidaEquilibrio& s) {
  bool finitos = std::isfinite(s.ALCALINIDAD) && std::isfinite(s.PH) && std::isfinite(s.CE);
  for (int e = kNa; e <= kSO4; ++e) finitos = finitos && std::isfinite(s.ESPECIES[e].CONC_TOTAL);
  if (!finitos) {
    throw rechazoSolucion("the equilibrium gave a value that is not a number");
  }
}

// Hands the run of the ionic-strength loop to the caller of avanzar; rethrows what made it fail.
struct PedirFuerzaIonica {
  BucleFuerzaIonica*& peticion;
  BucleFuerzaIonica& bucle;
  std::exception_ptr& fallo;
  bool await_ready() const noexcept { return false; }
  void await_suspend(std::coroutine_handle<>) const noexcept { peticion = &bucle; }
  void await_resume() const {
    if (fallo) std::rethrow_exception(fallo);
  }
};

}  // namespace

ResolucionEquilibrio::ResolucionEquilibrio(const EntradaEquilibrio& entrada) {
  SalidaEquilibrio& s = salida_;
  s.estado.EPSILON = CALCULAR_EPSILON();
  aplicarTablas(entrada.tablas, s);
  for (int e = kNa; e <= kSO4; ++e) s.ESPECIES[e].CONC_TOTAL = entrada.CONC_TOTAL[e];
  s.ALCALINIDAD = entrada.ALCALINIDAD;
  s.estado.CALCITA_DISPONIBLE = entrada.CALCITA_DISPONIBLE;
  s.estado.YESO_DISPONIBLE = entrada.YESO_DISPONIBLE;
  tarea_ = pasos(entrada.PCO2);
}

ResolucionEquilibrio::~ResolucionEquilibrio() {
  tarea_.h.destroy();
}

BucleFuerzaIonica* ResolucionEquilibrio::avanzar() {
  peticion_ = nullptr;
  if (tarea_.h.done()) return nullptr;
  tarea_.h.resume();
  if (tarea_.h.promise().fallo) std::rethrow_exception(tarea_.h.promise().fallo);
  return tarea_.h.done() ? nullptr : peticion_;
}

// Gypsum passes, each running calcite passes, each running the ionic-strength loop from the
// totals; the free concentrations start from the totals. Then the pH and the conductivity.
ResolucionEquilibrio::Tarea ResolucionEquilibrio::pasos(double P) {
  SalidaEquilibrio& s = salida_;
  EstadoQuimica& q = s.estado;
  BucleFuerzaIonica bucle(s, P);
  for (int e = kNa; e <= kCO3; ++e) s.ESPECIES[e].CONC_LIBRE = s.ESPECIES[e].CONC_TOTAL;
  q.ITERACIONES[kIteracionYeso] = 0;
  do {
    ++q.PASADAS.yeso;
    q.ITERACIONES[kIteracionCalcita] = 0;
    do {
      ++q.PASADAS.calcita;
      fuerzaIonicaTotales(s);
      if (!bucle.empezar(s)) {
        co_await PedirFuerzaIonica{peticion_, bucle, fallo_};
        bucle.terminar(s);
      }
      coeficientesSobreTotales(s);
    } while (pasoCalcita(s, P));
  } while (pasoYeso(s));
  resultados(s);
  comprobarFinitos(s);
}

}  // namespace medravolix
