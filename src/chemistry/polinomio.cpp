#include "chemistry/polinomio.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace medravolix {

namespace {

constexpr int kMaxMitades = 32766;

// Halves the step from x to y until |P(y)| < |P(x)|. Once a halving leaves y exactly as it was
// (y already equals x), every further halving would too, so the remaining ones are skipped.
double amortiguar(double x, double y, double a, double b, double c, double d, double e) {
  const double p_x = std::fabs(EVALUAR_POLINOMIO(x, a, b, c, d, e));
  for (int mitades = 0; mitades < kMaxMitades; ++mitades) {
    if (std::fabs(EVALUAR_POLINOMIO(y, a, b, c, d, e)) < p_x) break;
    const double medio = (y + x) / 2;
    if (std::bit_cast<uint64_t>(medio) == std::bit_cast<uint64_t>(y)) break;
    y = medio;
  }
  return y;
}

}  // namespace

double EVALUAR_POLINOMIO(double x, double a, double b, double c, double d, double e) {
  const double x2 = x * x;
  const double x3 = x2 * x;
  const double x4 = x3 * x;
  return a * x4 + b * x3 + c * x2 + d * x + e;
}

double DERIVAR_POLINOMIO(double x, double a, double b, double c, double d, double /*e*/) {
  const double x2 = x * x;
  const double x3 = x2 * x;
  return 4 * a * x3 + 3 * b * x2 + 2 * c * x + d;
}

RaizNewton RAIZ_NEWTON_POLINOMIO(double a, double b, double c, double d, double e, double tol,
                                 double x0) {
  RaizNewton raiz;
  double x = x0;
  double r = 0.0;  // relative change of x, percent
  while (raiz.pasos < kMaxPasosNewton) {
    double y = x - EVALUAR_POLINOMIO(x, a, b, c, d, e) / DERIVAR_POLINOMIO(x, a, b, c, d, e);
    y = amortiguar(x, y, a, b, c, d, e);
    if (y != 0) r = std::fabs((y - x) / y) * 100;
    x = y;
    ++raiz.pasos;
    if (!(r > tol && std::fabs(EVALUAR_POLINOMIO(x, a, b, c, d, e)) > tol)) {
      raiz.convergio = true;
      break;
    }
  }
  raiz.x = x;
  return raiz;
}

}  // namespace medravolix
