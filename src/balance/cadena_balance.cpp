#include "balance/cadena_balance.h"

#include <cmath>
#include <string>

#include "balance/balance_estres.h"
#include "balance/etc_mensual.h"
#include "balance/factores_concentracion.h"
#include "balance/perfil_suelo.h"
#include "balance/zona_raices.h"
#include "common/number_text.h"
#include "simulation/simulacion.h"

namespace medravolix {

namespace {

std::string textoCm(double valor) {
  return plainDecimal(valor) + " cm";
}

void validarHorizontes(const Simulacion& sim) {
  const std::string suelo = "soil " + sim.SIMULACION.ID_SUELO.toDisplayText();
  if (sim.NUM_FILAS_SUELO < 1) throw SimulacionRechazada(suelo + " has no horizon");
  if (static_cast<int>(sim.PROF_FILA.size()) < sim.NUM_FILAS_SUELO + 1) {
    throw SimulacionRechazada(suelo + ": the horizon depths are missing");
  }
  for (int k = 1; k <= sim.NUM_FILAS_SUELO; ++k) {
    if (sim.PROF_FILA[k] < sim.PROF_FILA[k - 1]) {
      throw SimulacionRechazada(
          suelo + ": horizon " + std::to_string(k) + " ends at " + textoCm(sim.PROF_FILA[k]) +
          ", above the bottom of the one before it (" + textoCm(sim.PROF_FILA[k - 1]) + ")");
    }
  }
}

void validarSerie(const Mensual& serie, const std::string& que) {
  for (int m = 1; m <= kMeses; ++m) {
    if (serie[m] < 0.0) {
      throw SimulacionRechazada(que + " of month " + std::to_string(m) + " is " +
                                shortDecimal(serie[m]) + "; it may not be negative");
    }
  }
}

// A cover above the whole surface would leave a negative share of bare soil to evaporate from.
void validarCobertura(const Mensual& cobertura) {
  for (int m = 1; m <= kMeses; ++m) {
    if (cobertura[m] <= 1.0) continue;
    throw SimulacionRechazada("the ground cover (fraction) of month " + std::to_string(m) + " is " +
                              shortDecimal(cobertura[m]) +
                              "; it may not be larger than 1, the whole surface");
  }
}

// The profile depth and evaporative layers as the root-zone steps will compute them.
void validarProfundidades(const Simulacion& sim) {
  double raiz_maxima_cm = 0.0;
  for (int m = 1; m <= kMeses; ++m) raiz_maxima_cm = std::fmax(raiz_maxima_cm, sim.RAIZ_MENSUAL[m]);
  const double perfil_cm =
      sim.PROF_SIMULACION < raiz_maxima_cm ? raiz_maxima_cm : sim.PROF_SIMULACION;
  if (!(perfil_cm > 0.0)) {
    throw SimulacionRechazada(
        "the simulated profile would be " + textoCm(perfil_cm) +
        " deep: the depth of simulation or a monthly root depth must be above 0");
  }
  const double capas_evap = std::nearbyint((kCapas * sim.PROF_EVAPORATIVA) / perfil_cm);
  if (!(capas_evap <= kCapas)) {
    throw SimulacionRechazada("the evaporative layer (" + textoCm(sim.PROF_EVAPORATIVA) +
                              ") is deeper than the simulated profile (" + textoCm(perfil_cm) +
                              ")");
  }
}

}  // namespace

void validarDatosBalance(const Simulacion& sim) {
  validarHorizontes(sim);
  validarSerie(sim.ESTACION.PRECIPITACION, "the rainfall (mm)");
  validarSerie(sim.DATOS_RIEGO.RIEGO_MENSUAL, "the irrigation (mm)");
  validarSerie(sim.RAIZ_MENSUAL, "the root depth (cm)");
  // A negative coefficient or cover would have the crop give water back to the air.
  validarSerie(sim.KCB_MENSUAL, "the basal crop coefficient");
  validarSerie(sim.COBERTURA_MENSUAL, "the ground cover (fraction)");
  validarCobertura(sim.COBERTURA_MENSUAL);
  validarProfundidades(sim);
}

void ejecutarCadenaBalance(Simulacion& sim) {
  validarDatosBalance(sim);
  PREPARAR_PERFIL_SUELO(sim);
  CALCULAR_ETC_MENSUAL(sim);
  CALCULAR_PROFUNDIDAD_PERFIL(sim);
  CALCULAR_CAPAS_RAICES(sim);
  DISTRIBUIR_EXTRACCION_RAICES(sim);
  DISCRETIZAR_PERFIL(sim);
  BALANCE_CON_ESTRES(sim);
  CALCULAR_FACTORES_CONCENTRACION(sim);
}

}  // namespace medravolix
