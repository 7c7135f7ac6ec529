// Monthly crop evapotranspiration without water stress: a soil evaporation coefficient Ke from
// the month's wetting events (rainy days and irrigations) and a four-day drying curve, plus the
// basal crop coefficient scaled by the year's largest ground cover, times ETo.
#pragma once

#include "common/series.h"

namespace medravolix {

struct EntradasSimulacion;
struct Simulacion;

// ETO_MENSUAL := the station's ETO_EXTERNA, month by month.
void CARGAR_ETO_EXTERNA(EntradasSimulacion& sim);
// The same copy for a caller that keeps its own series (the reference ET tool).
void CARGAR_ETO_EXTERNA(const Mensual& eto_externa_mm, Mensual& eto_mensual_mm);

// The largest monthly basal crop coefficient, January's value first (ties keep the earlier).
double MAXIMO_KCB_MENSUAL(const Mensual& kcb_mensual);

// KE_MENSUAL and its working arrays (drying curve, weights, events, exposed soil, wetting rate).
void CALCULAR_EVAPORACION_SUELO(Simulacion& sim);

// Second step of the chain: KCB_AJUSTADO, KC_MENSUAL, ETC_MENSUAL, ETC_POTENCIAL, ETC_ANUAL.
void CALCULAR_ETC_MENSUAL(Simulacion& sim);

}  // namespace medravolix
