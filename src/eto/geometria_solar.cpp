#include "eto/geometria_solar.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/calendario.h"
#include "eto/radiacion_extraterrestre.h"

namespace medravolix::eto {

int16_t DIA_MEDIO_MES(int16_t mes) {
  return mes == 2 ? 14 : 15;
}

double RESIDUO_ARCOCOSENO(double x, double c) {
  return c - std::cos(x);
}

// Newton's method on f(x) = c - cos x, whose derivative is sin x. A step that does not lower the
// residual is halved until it does; from pi / 2 the residual falls at every Newton step for c in
// [-1, 1], so the halving only guards the iteration. The iteration stops when the residual or the
// relative change of x is at most 1e-5; at c = +-1 it converges linearly and stops about
// 0.0043 rad short of 0 or pi. Both loops are bounded, so an argument whose residual is already
// exactly 0 cannot halve forever.
double ARCOCOSENO(double c) {
  if (c > 1) return 0;
  if (c < -1) return kPi;
  constexpr int kMaxPasos = 200;
  constexpr int kMaxMitades = 100;
  double x = kMedioPi;
  double r = 0;
  double x1 = x;
  for (int paso = 0; paso < kMaxPasos; ++paso) {
    const double q = RESIDUO_ARCOCOSENO(x, c);
    x1 = x - q / std::sin(x);
    for (int k = 0; k < kMaxMitades && std::fabs(RESIDUO_ARCOCOSENO(x1, c)) >= std::fabs(q); ++k) {
      x1 = (x1 + x) / 2;
    }
    if (x1 != 0) r = std::fabs((x1 - x) / x1);
    x = x1;
    if (std::fabs(RESIDUO_ARCOCOSENO(x1, c)) <= 1e-5 || r <= 1e-5) break;
  }
  return x1;
}

double anguloLatitud(double latitud) {
  // The double nearest pi / 2 lies below it, so its tangent is large and positive.
  constexpr double kLimite = std::numbers::pi / 2;
  return std::clamp(latitud * kPi / 180, -kLimite, kLimite);
}

double declinacionSolar(int16_t J) {
  return 0.409 * std::sin(kDosPi * J / 365 - 1.39);
}

double anguloPuestaSol(double latitud, double declinacion) {
  const double p = anguloLatitud(latitud);
  return ARCOCOSENO(-std::tan(p) * std::tan(declinacion));
}

double HORAS_LUZ_DIA(double latitud, int16_t mes) {
  const int16_t J = DIA_JULIANO(DIA_MEDIO_MES(mes), mes);
  return 24 * terminosSolares(latitud, J).ws / kPi;
}

}  // namespace medravolix::eto
