// The rotation's monthly series: basal crop coefficient, occupancy and irrigation, each a sum
// over the crops and their periods weighted by the share of the month's days in the period.
#pragma once

#include <array>

#include "common/series.h"
#include "crops/registro_cultivo.h"
#include "simulation/registro_riego.h"

namespace medravolix::crops {

// Day-weighted mean of the periods' coefficients over each month (the fallow counts 0).
Mensual CALCULAR_KCB_MENSUAL(const Rotacion& rotacion);

// The fraction of each month's days that lie in a growth stage of some crop; days in the
// stages of two crops count twice.
Mensual CALCULAR_OCUPACION_MENSUAL(const Rotacion& rotacion);

// RIEGO_MENSUAL and NRIEGOS_MENSUAL of the rotation: each stage's depth and number spread evenly
// over its days; the numbers rounded to whole ones (halves to even), the depths not. A stage of
// no days (or fewer) has no day to spread over and adds nothing.
void CALCULAR_RIEGO_MENSUAL(const Rotacion& rotacion, REGISTRO_RIEGO& DATOS_RIEGO);

// The stage days of each month, all crops together, as whole days (shared days counted twice).
std::array<int, 13> diasOcupadosMes(const Rotacion& rotacion);

// The overlap rule on whole days: a day of the year held by the stages of two crops means that
// the crop just added overlaps another, also across the year's end. A crop sown on the day
// after another's last stage day (the other's harvest date) touches it and does not overlap.
bool haySolape(const Rotacion& rotacion);

}  // namespace medravolix::crops
