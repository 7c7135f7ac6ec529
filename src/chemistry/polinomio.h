// Quartic polynomials a x^4 + b x^3 + c x^2 + d x + e and a damped Newton root finder, used for
// the amount of calcite that brings the soil solution to equilibrium.
#pragma once

namespace medravolix {

inline constexpr int kMaxPasosNewton = 1000;

double EVALUAR_POLINOMIO(double x, double a, double b, double c, double d, double e);
// 4a x^3 + 3b x^2 + 2c x + d (e is not used).
double DERIVAR_POLINOMIO(double x, double a, double b, double c, double d, double e);

struct RaizNewton {
  double x = 0.0;          // the last iterate: the root when it converged
  int pasos = 0;           // Newton steps made
  bool convergio = false;  // false when kMaxPasosNewton steps did not reach the tolerance
};

// Newton's method from x0; each step is halved back towards the previous iterate (at most 32766
// times) until |P| decreases. Stops when the relative change of x (percent) or |P(x)| is at most
// tol, or after kMaxPasosNewton steps. The result may be infinite or NaN when the derivative
// vanishes on the way: callers check it.
RaizNewton RAIZ_NEWTON_POLINOMIO(double a, double b, double c, double d, double e, double tol,
                                 double x0);

}  // namespace medravolix
