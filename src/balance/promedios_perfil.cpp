#include "balance/promedios_perfil.h"

#include <vector>

#include "simulation/simulacion.h"

namespace medravolix {

namespace {

// Sum over the horizons of thickness x value / depth of the column, the division made for every
// term. The column's depth is positive: the chain refuses a soil or profile without depth.
double mediaPonderada(const REGISTRO_SUELO& perfil, const std::vector<double>& valores) {
  const int n = perfil.NUM_HORIZONTES;
  const double fondo_cm = perfil.PROF_HORIZONTE[n];
  double media = 0.0;
  for (int k = 1; k <= n; ++k) {
    const double espesor_cm = perfil.PROF_HORIZONTE[k] - perfil.PROF_HORIZONTE[k - 1];
    media = media + espesor_cm * valores[k] / fondo_cm;
  }
  return media;
}

}  // namespace

void PROMEDIAR_CARBONATOS_YESO(Simulacion& sim) {
  const REGISTRO_SUELO& perfil = sim.balance.PERFIL;
  sim.CALIZA_PERFIL = mediaPonderada(perfil, perfil.CALIZA_HORIZONTE);
  sim.YESO_PERFIL = mediaPonderada(perfil, perfil.YESO_HORIZONTE);
}

void PROMEDIAR_TEXTURA_PERFIL(Simulacion& sim) {
  EstadoBalance& b = sim.balance;
  b.ARENA_PERFIL = mediaPonderada(b.PERFIL, b.PERFIL.ARENA_HORIZONTE);
  b.ARCILLA_PERFIL = mediaPonderada(b.PERFIL, b.PERFIL.ARCILLA_HORIZONTE);
  b.MO_PERFIL = mediaPonderada(b.PERFIL, b.PERFIL.MO_HORIZONTE);
}

void PROMEDIAR_HUMEDAD_PERFIL(Simulacion& sim) {
  EstadoBalance& b = sim.balance;
  sim.SAT_PERFIL = mediaPonderada(b.PERFIL, b.PERFIL.SAT_HORIZONTE);
  b.CC_MEDIA = mediaPonderada(b.PERFIL, b.PERFIL.CC_HORIZONTE);
  b.DENSIDAD_MEDIA = mediaPonderada(b.PERFIL, b.PERFIL.DENSIDAD_HORIZONTE);
}

}  // namespace medravolix
