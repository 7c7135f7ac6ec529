#include "balance/zona_raices.h"

#include <cmath>
#include <cstdint>

#include "common/calendario.h"
#include "common/number_text.h"
#include "simulation/simulacion.h"

namespace medravolix {

namespace {

// The yearly maximum of a monthly series, from 0: a value strictly greater replaces it.
double maximoDesdeCero(const Mensual& serie) {
  double maximo = 0.0;
  for (int m = 1; m <= kMeses; ++m) {
    if (serie[m] > maximo) maximo = serie[m];
  }
  return maximo;
}

void comprobarCapasRaiz(double capas, int16_t num_capas, int mes) {
  if (!(capas >= 0.0 && capas <= num_capas && capas == std::floor(capas))) {
    throw SimulacionRechazada("month " + std::to_string(mes) + " has " + plainDecimal(capas) +
                              " root layers; expected 0 to " + std::to_string(num_capas));
  }
}

// Spreads the month's ETc over its R root layers. Depth within the root zone is measured in
// quarters (0 to 4): layer j spans (4(j-1)/R, 4j/R], quarter q spans (q-1, q].
void repartirMes(Simulacion& sim, int m, double capas_raiz) {
  PorCapa& demanda = sim.DEMANDA_ET_CAPA[m];
  const double etc_mm = sim.ETC_MENSUAL[m];
  int16_t j = 1;
  int16_t q = 1;
  double anterior = 0.0;
  do {
    const double posicion = static_cast<int16_t>(4 * j) / capas_raiz;
    if (q >= posicion) {
      demanda[j] = etc_mm * sim.PATRON_EXTRACCION[q] * (posicion - anterior) + demanda[j];
      if (q == posicion) ++q;
      anterior = posicion;
      ++j;
    } else {
      demanda[j] = etc_mm * sim.PATRON_EXTRACCION[q] * (q - anterior) + demanda[j];
      anterior = q;
      ++q;
    }
  } while (!(j / capas_raiz > 1.0));
}

}  // namespace

void CALCULAR_PROFUNDIDAD_PERFIL(Simulacion& sim) {
  sim.RAIZ_MAXIMA = maximoDesdeCero(sim.RAIZ_MENSUAL);
  sim.PROF_PERFIL = sim.PROF_SIMULACION < sim.RAIZ_MAXIMA ? sim.RAIZ_MAXIMA : sim.PROF_SIMULACION;
}

void CALCULAR_CAPAS_RAICES(Simulacion& sim) {
  for (int m = 1; m <= kMeses; ++m) {
    sim.CAPAS_RAIZ_MENSUAL[m] =
        REDONDEAR((sim.RAIZ_MENSUAL[m] / sim.PROF_PERFIL) * sim.NUM_CAPAS, 0);
  }
  sim.NUM_CAPAS_EVAP = REDONDEAR((sim.NUM_CAPAS * sim.PROF_EVAPORATIVA) / sim.PROF_PERFIL, 0);
  for (int m = 1; m <= kMeses; ++m) {
    if (sim.CAPAS_RAIZ_MENSUAL[m] < sim.NUM_CAPAS_EVAP)
      sim.CAPAS_RAIZ_MENSUAL[m] = sim.NUM_CAPAS_EVAP;
  }
}

void MAXIMO_COBERTURA_MENSUAL(Simulacion& sim) {
  sim.COBERTURA_MAXIMA = maximoDesdeCero(sim.COBERTURA_MENSUAL);
}

void DISTRIBUIR_EXTRACCION_RAICES(Simulacion& sim) {
  for (int m = 1; m <= kMeses; ++m) comprobarCapasRaiz(sim.CAPAS_RAIZ_MENSUAL[m], sim.NUM_CAPAS, m);
  for (int m = 1; m <= kMeses; ++m) {
    sim.DEMANDA_ET_CAPA[m].fill(0.0);
    const double capas_raiz = sim.CAPAS_RAIZ_MENSUAL[m];
    if (capas_raiz != 0.0) repartirMes(sim, m, capas_raiz);
  }
}

}  // namespace medravolix
