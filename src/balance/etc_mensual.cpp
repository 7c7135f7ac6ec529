#include "balance/etc_mensual.h"

#include <algorithm>
#include <cmath>

#include "balance/zona_raices.h"
#include "common/calendario.h"
#include "simulation/simulacion.h"

namespace medravolix {

namespace {

// Evaporation on day t after a wetting (t = 0 the wetting day), as a fraction of ETo.
void calcularCurvaSecado(EstadoBalance& b) {
  for (int t = 0; t <= 3; ++t)
    b.CURVA_SECADO[t] = std::exp(0.0822 - 0.4082 * static_cast<double>(t));
}

// Weights of drying days 1 to 3: the more wetting events, the sooner the next wetting cuts the
// curve short. The thresholds are the event counts at which a 30-day month's interval between
// events falls to 4, 3, 2 and 1 days. From 30 events on the surface is wetted every day, so
// only the wetting day counts: wetting it more often cannot cut the curve shorter.
void calcularPesos(EstadoBalance& b, int m) {
  constexpr double kEventosDiarios = 30.0;
  const double e = std::min(b.EVENTOS_HUMECTACION[m], kEventosDiarios);
  for (int d = 1; d <= 3; ++d) b.PESOS_HUMECTACION[d][m] = 1.0;
  if (e > 7.5 && e <= 10.0) {
    b.PESOS_HUMECTACION[3][m] = (10.0 - e) / 2.5;
  }
  if (e > 10.0 && e <= 15.0) {
    b.PESOS_HUMECTACION[3][m] = 0.0;
    b.PESOS_HUMECTACION[2][m] = (15.0 - e) / 5.0;
  }
  if (e > 15.0) {
    b.PESOS_HUMECTACION[3][m] = 0.0;
    b.PESOS_HUMECTACION[2][m] = 0.0;
    b.PESOS_HUMECTACION[1][m] = (30.0 - e) / 15.0;
  }
}

void calcularKeMes(Simulacion& sim, int m) {
  EstadoBalance& b = sim.balance;
  const auto& pesos = b.PESOS_HUMECTACION;
  const auto& curva = b.CURVA_SECADO;
  b.FACTOR_HUMECTACION[m] =
      pesos[1][m] * curva[1] + curva[0] + pesos[2][m] * curva[2] + pesos[3][m] * curva[3];
  b.SUELO_EXPUESTO[m] = 1.0 - sim.COBERTURA_MENSUAL[m];
  // Irrigations wet the surface at most once a day: a second one on the same day wets soil
  // that is wet already.
  const double dias = DIAS_MES(static_cast<int16_t>(m));
  const double riegos = std::min(sim.DATOS_RIEGO.NRIEGOS_MENSUAL[m], dias);
  b.TASA_HUMECTACION[m] =
      (sim.DATOS_RIEGO.FRACCION_MOJADA * riegos + sim.ESTACION.DIAS_LLUVIA[m]) / dias;
  sim.KE_MENSUAL[m] = b.TASA_HUMECTACION[m] * b.SUELO_EXPUESTO[m] * b.FACTOR_HUMECTACION[m];
}

}  // namespace

void CARGAR_ETO_EXTERNA(EntradasSimulacion& sim) {
  CARGAR_ETO_EXTERNA(sim.ESTACION.ETO_EXTERNA, sim.ETO_MENSUAL);
}

void CARGAR_ETO_EXTERNA(const Mensual& eto_externa_mm, Mensual& eto_mensual_mm) {
  for (int m = 1; m <= kMeses; ++m) eto_mensual_mm[m] = eto_externa_mm[m];
}

double MAXIMO_KCB_MENSUAL(const Mensual& kcb_mensual) {
  double maximo = kcb_mensual[1];
  for (int m = 2; m <= kMeses; ++m) {
    if (kcb_mensual[m] > maximo) maximo = kcb_mensual[m];
  }
  return maximo;
}

void CALCULAR_EVAPORACION_SUELO(Simulacion& sim) {
  EstadoBalance& b = sim.balance;
  calcularCurvaSecado(b);
  for (int m = 1; m <= kMeses; ++m) {
    b.EVENTOS_HUMECTACION[m] = sim.ESTACION.DIAS_LLUVIA[m] + sim.DATOS_RIEGO.NRIEGOS_MENSUAL[m];
  }
  for (int m = 1; m <= kMeses; ++m) calcularPesos(b, m);
  for (int m = 1; m <= kMeses; ++m) {
    sim.KE_MENSUAL[m] = 0.0;
    if (b.EVENTOS_HUMECTACION[m] != 0.0) {
      calcularKeMes(sim, m);
    } else {
      // No wetting, no soil evaporation; the month's working values are not used.
      b.FACTOR_HUMECTACION[m] = b.SUELO_EXPUESTO[m] = b.TASA_HUMECTACION[m] = 0.0;
    }
  }
}

void CALCULAR_ETC_MENSUAL(Simulacion& sim) {
  CALCULAR_EVAPORACION_SUELO(sim);
  MAXIMO_COBERTURA_MENSUAL(sim);
  sim.ETC_ANUAL = 0.0;
  for (int m = 1; m <= kMeses; ++m) {
    sim.KCB_AJUSTADO[m] = sim.COBERTURA_MAXIMA * sim.KCB_MENSUAL[m];
    sim.KC_MENSUAL[m] = sim.KE_MENSUAL[m] + sim.KCB_AJUSTADO[m];
    sim.ETC_MENSUAL[m] = sim.ETO_MENSUAL[m] * sim.KC_MENSUAL[m];
    sim.ETC_POTENCIAL[m] = sim.ETC_MENSUAL[m];
    sim.ETC_ANUAL = sim.ETC_ANUAL + sim.ETC_POTENCIAL[m];
  }
}

}  // namespace medravolix
