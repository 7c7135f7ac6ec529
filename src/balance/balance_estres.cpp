#include "balance/balance_estres.h"

#include <cmath>
#include <string>

#include "balance/balance_capas.h"
#include "balance/zona_raices.h"
#include "common/enteros.h"
#include "common/number_text.h"
#include "simulation/simulacion.h"

namespace medravolix {

namespace {

constexpr int kMaxIteracionesEstres = 50;  // a pass starts while at most 50 are done: 51 in all
constexpr double kCambioEtPct = 0.01;

void rechazar(const std::string& que, int indice, double valor, const std::string& nota = "") {
  throw SimulacionRechazada(que + " " + std::to_string(indice) + " is " + shortDecimal(valor) +
                            "; it may not be negative" + nota);
}

// With negative water the balance loses water it cannot account for and may never close.
void comprobarEntradas(const Simulacion& sim) {
  for (int m = 1; m <= kMeses; ++m) {
    if (sim.ESTACION.PRECIPITACION[m] < 0.0)
      rechazar("rainfall of month", m, sim.ESTACION.PRECIPITACION[m]);
    if (sim.DATOS_RIEGO.RIEGO_MENSUAL[m] < 0.0)
      rechazar("irrigation of month", m, sim.DATOS_RIEGO.RIEGO_MENSUAL[m]);
  }
  for (int m = 1; m <= kMeses; ++m) {
    for (int capa = 1; capa <= sim.NUM_CAPAS; ++capa) {
      if (sim.CAPACIDAD_CAPA[m][capa] < 0.0) {
        rechazar("the water-holding capacity (mm) of layer", capa, sim.CAPACIDAD_CAPA[m][capa],
                 " (a field capacity below the wilting point, or stones above 100 %)");
      }
    }
  }
}

// Stress factor from the root zone's storage as a percentage of its capacity: log10(% + 1) / 2,
// 0 when empty, 1 at 99 %, slightly above 1 when full. A root zone that can hold no water
// cannot dry out; the layer balance already limits its ET to the month's inflow, so the month
// is left unstressed.
void factorEstresMes(EstadoBalance& b, int m) {
  if (b.CAPACIDAD_RAIZ[m] == 0.0) {
    b.HUMEDAD_RELATIVA_RAIZ[m].reset();
    b.KS_MENSUAL[m] = 1.0;
    return;
  }
  const double humedad_pct = b.ALMACEN_RAIZ[m] * 100.0 / b.CAPACIDAD_RAIZ[m];
  b.HUMEDAD_RELATIVA_RAIZ[m] = humedad_pct;
  b.KS_MENSUAL[m] = std::log(humedad_pct + 1.0) / std::log(100.0);
}

// Runs the first balance of a pass, or keeps the previous pass's last run: it had the same
// demand, so it would give the same storages.
void primeraCorridaDelPaso(Simulacion& sim, bool hay_corrida_anterior) {
  if (hay_corrida_anterior && sim.balance.reutilizarUltimaCorrida) {
    ++sim.balance.corridasReutilizadas;
    return;
  }
  BALANCE_AGUA_CAPAS(sim);
}

}  // namespace

void aplicarEstresHidrico(Simulacion& sim) {
  EstadoBalance& b = sim.balance;
  for (int m = 1; m <= kMeses; ++m) b.ALMACEN_RAIZ[m] = b.CAPACIDAD_RAIZ[m] = 0.0;
  for (int m = 1; m <= kMeses; ++m) {
    const int16_t capas_raiz = toInt16(sim.CAPAS_RAIZ_MENSUAL[m], "root layers");
    for (int capa = 1; capa <= capas_raiz && capa <= sim.NUM_CAPAS; ++capa) {
      b.ALMACEN_RAIZ[m] += b.ALMACEN_CAPA[m][capa];
      b.CAPACIDAD_RAIZ[m] += sim.CAPACIDAD_CAPA[m][capa];
    }
    factorEstresMes(b, m);
    b.KCB_ESTRES[m] = sim.KCB_AJUSTADO[m] * b.KS_MENSUAL[m];
    sim.KC_MENSUAL[m] = sim.KE_MENSUAL[m] + b.KCB_ESTRES[m];
    sim.ETC_MENSUAL[m] = sim.ETO_MENSUAL[m] * sim.KC_MENSUAL[m];
  }
}

void BALANCE_CON_ESTRES(Simulacion& sim) {
  comprobarEntradas(sim);
  EstadoBalance& b = sim.balance;
  SUMAS_ANUALES(sim);
  b.ITERACIONES_ESTRES = 0;
  b.ET_REAL_ANTERIOR = 0.0;
  // Each simulation's iteration starts from no change, whatever ran before it.
  b.CAMBIO_ET = 0.0;
  do {
    primeraCorridaDelPaso(sim, b.ITERACIONES_ESTRES > 0);
    aplicarEstresHidrico(sim);
    DISTRIBUIR_EXTRACCION_RAICES(sim);
    BALANCE_AGUA_CAPAS(sim);
    if (sim.ET_REAL_ANUAL != 0.0) {
      b.CAMBIO_ET = std::fabs((sim.ET_REAL_ANUAL - b.ET_REAL_ANTERIOR) / sim.ET_REAL_ANUAL) * 100.0;
    }
    b.ET_REAL_ANTERIOR = sim.ET_REAL_ANUAL;
    ++b.ITERACIONES_ESTRES;
    if (b.CAMBIO_ET < kCambioEtPct) break;
  } while (b.ITERACIONES_ESTRES <= kMaxIteracionesEstres);
}

}  // namespace medravolix
