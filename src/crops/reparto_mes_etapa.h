// The rotation's calendar: stage lengths, period boundaries, the period that contains 1 January,
// and the share of each calendar month's days that falls in each period of each crop.
#pragma once

#include <array>
#include <cstdint>

#include "crops/registro_cultivo.h"

namespace medravolix::crops {

// A rotation is one year: no crop's season can last longer.
inline constexpr int kTemporadaMaxima = 365;

// Recomputes DIAS_ETAPA, LIMITE and KCB_PERIODO[0] of every crop, the start of the year and the
// whole of FRACCION_MES_PERIODO (and its days). The shares are counted day by day: each crop's
// stages hold the days from its sowing on (across the year's end too), and a day that no stage
// holds lies in the fallow of the crop sown next, whatever the order in which the crops were
// added. An empty rotation leaves every table empty.
// Throws std::out_of_range when a stage length or a boundary leaves the 16-bit range, and
// std::invalid_argument when a crop's season, or its stages together, last more than 365 days.
void REPARTO_MES_ETAPA(Rotacion& rotacion);

// For each day of the year (1..365), how many crops hold it in one of their stages; needs the
// stage lengths and boundaries that REPARTO_MES_ETAPA computes.
std::array<int, 366> cultivosPorDia(const Rotacion& rotacion);

// The stage lengths of one crop: each stage's share of the season rounded to whole days (halves
// to even); when they do not add up to the season, the initial stage loses or the late stage
// gains one day, whatever the size of the difference.
void CALCULAR_DURACION_ETAPAS(REGISTRO_CULTIVO& cultivo);

// LIMITE[1..5] of every crop: the day before sowing, then each stage's end, a sum above 365
// brought back once into the year (366 becomes 1; 365 stays 365).
void CALCULAR_INICIO_ETAPAS(Rotacion& rotacion);

// KCB_PERIODO[0] = 0 for every crop, and CULTIVO_INICIO, ETAPA_INICIO: walking the boundaries
// backwards from the last crop's harvest, the last one before the walk first goes up again.
void BUSCAR_INICIO_ROTACION(Rotacion& rotacion);

// Day of the year of the last day of month m (1..12): 31, 59, ..., 365.
int16_t ULTIMO_DIA_MES(int16_t m);

}  // namespace medravolix::crops
