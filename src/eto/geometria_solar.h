// Solar geometry of a month's middle day: the day of the year, the sunset hour angle through an
// arccos solver, and the maximum possible sunshine hours N.
#pragma once

#include <cstdint>

namespace medravolix::eto {

// The constants of the methods as written (not the double-precision values of pi).
inline constexpr double kPi = 3.141592654;
inline constexpr double kDosPi = 6.283185308;
inline constexpr double kMedioPi = 1.570796327;

// The day of the month whose solar terms stand for the month: 15, or 14 in February.
int16_t DIA_MEDIO_MES(int16_t mes);

// c - cos x: the residual of the arccos solver.
double RESIDUO_ARCOCOSENO(double x, double c);

// The angle in radians whose cosine is c, by Newton's method from pi / 2 with step halving.
// Above 1 (the sun does not rise) it is 0; below -1 (the sun does not set) it is pi, a sunset
// hour angle of a whole half-day.
double ARCOCOSENO(double c);

// The latitude (degrees) as an angle in radians, kept below pi / 2 in magnitude: the methods'
// pi is a little above the true one, so 90 degrees would land just past pi / 2, where the tangent
// changes sign and the pole would see the polar night in summer. So limited, a pole behaves as
// the limit of the latitudes next to it.
double anguloLatitud(double latitud);

// Solar declination (radians) of day of the year J.
double declinacionSolar(int16_t J);

// The sunset hour angle (radians) at a latitude (degrees) on a day of declination d (radians).
double anguloPuestaSol(double latitud, double declinacion);

// Maximum possible sunshine hours N of the month's middle day at the latitude (degrees): 0 when
// the sun does not rise that day or only grazes the horizon.
double HORAS_LUZ_DIA(double latitud, int16_t mes);

}  // namespace medravolix::eto
