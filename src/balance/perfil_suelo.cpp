#include "balance/perfil_suelo.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "balance/pedotransferencia.h"
#include "common/number_text.h"
#include "simulation/simulacion.h"

namespace medravolix {

namespace {

// Horizon k of a soil row array (1..n); the driver sizes them n + 1.
std::vector<double> copiarHorizontes(const std::vector<double>& filas, int n, const char* nombre) {
  if (static_cast<int>(filas.size()) < n + 1) {
    throw std::invalid_argument(std::string(nombre) +
                                " holds fewer than NUM_FILAS_SUELO + 1 values");
  }
  std::vector<double> horizontes(n + 1, 0.0);
  for (int k = 1; k <= n; ++k) horizontes[k] = filas[k];
  return horizontes;
}

void copiarProfundidades(const Simulacion& sim, REGISTRO_SUELO& perfil) {
  const int n = perfil.NUM_HORIZONTES;
  if (static_cast<int>(sim.PROF_FILA.size()) < n + 1) {
    throw std::invalid_argument("PROF_FILA holds fewer than NUM_FILAS_SUELO + 1 values");
  }
  perfil.PROF_HORIZONTE.assign(n + 1, 0.0);
  for (int k = 1; k <= n; ++k) perfil.PROF_HORIZONTE[k] = static_cast<double>(sim.PROF_FILA[k]);
}

// Every array of the water balance starts from zero; only the choice of how the stress passes
// reuse a balance run is kept.
void reiniciarBalance(Simulacion& sim) {
  const bool reutilizar = sim.balance.reutilizarUltimaCorrida;
  sim.balance = EstadoBalance{};
  sim.balance.reutilizarUltimaCorrida = reutilizar;
  sim.CAPACIDAD_CAPA = MesCapa{};
  sim.DEMANDA_ET_CAPA = MesCapa{};
  sim.DRENAJE_CAPA = MesCapa{};
  sim.DRENAJE_ANUAL_CAPA = PorCapa{};
}

// The share of a layer's thickness that lies between the previous boundary and `hasta_cm`.
double peso(double hasta_cm, double anterior_cm, double espesor_cm) {
  return (hasta_cm - anterior_cm) / espesor_cm;
}

// Walks the horizon and layer boundaries from the surface, giving each layer the weighted
// values of the horizons it spans.
void repartirHorizontesEnCapas(Simulacion& sim) {
  REGISTRO_SUELO& perfil = sim.balance.PERFIL;
  const double espesor_cm = sim.balance.ESPESOR_CAPA;
  int16_t k = 1;
  int16_t j = 1;
  double anterior_cm = 0.0;
  while (j <= sim.NUM_CAPAS && k <= perfil.NUM_HORIZONTES) {
    const double fondo_horizonte = perfil.PROF_HORIZONTE[k];
    const double fondo_capa = perfil.PROF_CAPA[j];
    if (fondo_horizonte < fondo_capa) {
      ACUMULAR_HORIZONTE_CAPA(perfil, j, k, peso(fondo_horizonte, anterior_cm, espesor_cm),
                              sim.OPCION_CAPACIDAD);
      anterior_cm = fondo_horizonte;
      ++k;
    } else {
      ACUMULAR_HORIZONTE_CAPA(perfil, j, k, peso(fondo_capa, anterior_cm, espesor_cm),
                              sim.OPCION_CAPACIDAD);
      anterior_cm = fondo_capa;
      if (fondo_horizonte == fondo_capa) ++k;
      ++j;
    }
  }
}

// Water-holding capacity of each layer, mm: field capacity less the wilting point (half of it
// in the evaporative layers, which dry further), less the stones, over the layer's thickness.
void calcularAguaUtil(Simulacion& sim) {
  EstadoBalance& b = sim.balance;
  REGISTRO_SUELO& perfil = b.PERFIL;
  for (int j = 1; j <= sim.NUM_CAPAS; ++j) {
    if (sim.OPCION_CAPACIDAD == OpcionCapacidad::Pedotransferencia) {
      perfil.CC_CAPA[j] = FUNCION_PEDOTRANSFERENCIA_CAPA(
          perfil.ARENA_CAPA[j], perfil.CALIZA_CAPA[j], PropiedadHidrica::CapacidadCampo);
      perfil.PMP_CAPA[j] = FUNCION_PEDOTRANSFERENCIA_CAPA(
          perfil.ARENA_CAPA[j], perfil.CALIZA_CAPA[j], PropiedadHidrica::PuntoMarchitez);
    }
    const double factor_evaporativa = static_cast<double>(j) <= sim.NUM_CAPAS_EVAP ? 0.5 : 1.0;
    b.AGUA_UTIL_CAPA[j] = (perfil.CC_CAPA[j] - factor_evaporativa * perfil.PMP_CAPA[j]) * 10.0 *
                          (1.0 - perfil.PIEDRAS_CAPA[j] * 0.01) * b.ESPESOR_CAPA;
    for (int m = 1; m <= kMeses; ++m) sim.CAPACIDAD_CAPA[m][j] = b.AGUA_UTIL_CAPA[j];
  }
}

}  // namespace

void PREPARAR_PERFIL_SUELO(Simulacion& sim) {
  reiniciarBalance(sim);
  REGISTRO_SUELO& perfil = sim.balance.PERFIL;
  perfil.NUM_HORIZONTES = sim.NUM_FILAS_SUELO;
  const int n = perfil.NUM_HORIZONTES < 0 ? 0 : perfil.NUM_HORIZONTES;
  copiarProfundidades(sim, perfil);
  for (const SerieHorizonte& serie : kSeriesHorizonte)
    perfil.*serie.horizonte = copiarHorizontes(sim.*serie.fila, n, serie.nombre);
  sim.NUM_CAPAS = kCapas;
}

void DISCRETIZAR_PERFIL(Simulacion& sim) {
  REGISTRO_SUELO& perfil = sim.balance.PERFIL;
  if (!(sim.PROF_PERFIL > 0.0)) {
    throw SimulacionRechazada("the simulated profile is " + plainDecimal(sim.PROF_PERFIL) +
                              " cm deep: the depth of simulation or a root depth must be above 0");
  }
  if (perfil.NUM_HORIZONTES < 1) throw SimulacionRechazada("the soil has no horizon");
  double& fondo_suelo = perfil.PROF_HORIZONTE[perfil.NUM_HORIZONTES];
  if (sim.PROF_PERFIL > fondo_suelo) fondo_suelo = sim.PROF_PERFIL;
  sim.balance.ESPESOR_CAPA = sim.PROF_PERFIL / sim.NUM_CAPAS;
  CALCULAR_LIMITES_CAPAS(perfil, sim.NUM_CAPAS, sim.balance.ESPESOR_CAPA);
  repartirHorizontesEnCapas(sim);
  calcularAguaUtil(sim);
}

void CALCULAR_LIMITES_CAPAS(REGISTRO_SUELO& perfil, int16_t num_capas, double espesor_capa_cm) {
  perfil.PROF_CAPA[0] = 0.0;
  for (int j = 1; j <= num_capas; ++j) {
    perfil.PROF_CAPA[j] = perfil.PROF_CAPA[j - 1] + espesor_capa_cm;
  }
}

void ACUMULAR_HORIZONTE_CAPA(REGISTRO_SUELO& perfil, int16_t j, int16_t k, double w,
                             OpcionCapacidad metodo) {
  if (metodo == OpcionCapacidad::Empirica) {
    perfil.CC_CAPA[j] += perfil.CC_HORIZONTE[k] * w;
    perfil.PMP_CAPA[j] += perfil.PMP_HORIZONTE[k] * w;
  } else if (metodo == OpcionCapacidad::Pedotransferencia) {
    perfil.ARENA_CAPA[j] += perfil.ARENA_HORIZONTE[k] * w;
    perfil.CALIZA_CAPA[j] += perfil.CALIZA_HORIZONTE[k] * w;
  }
  perfil.PIEDRAS_CAPA[j] += perfil.PIEDRAS_HORIZONTE[k] * w;
}

}  // namespace medravolix
