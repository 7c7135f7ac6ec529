#include "chemistry/equilibrio_solucion.h"

#include <optional>

#include "chemistry/especies_quimicas.h"
#include "chemistry/preparacion_solucion.h"
#include "chemistry/resolucion_equilibrio.h"

namespace medravolix {

namespace {

using namespace quimica;

void reiniciar(Simulacion& sim) {
  sim.ESPECIES = {};
  sim.QUIMICA = EstadoQuimica{};
  sim.ALCALINIDAD = 0.0;
  sim.PH = 0.0;
  sim.CE = 0.0;
  sim.SOLUCION_CON_VALOR = false;
}

EntradaEquilibrio entradaDe(const Simulacion& sim, const TablasQuimicas& tablas) {
  EntradaEquilibrio entrada;
  for (int e = kNa; e <= kSO4; ++e) entrada.CONC_TOTAL[e] = sim.ESPECIES[e].CONC_TOTAL;
  entrada.ALCALINIDAD = sim.ALCALINIDAD;
  entrada.PCO2 = sim.PCO2;
  entrada.CALCITA_DISPONIBLE = sim.QUIMICA.CALCITA_DISPONIBLE;
  entrada.YESO_DISPONIBLE = sim.QUIMICA.YESO_DISPONIBLE;
  entrada.tablas = tablas;
  return entrada;
}

}  // namespace

SalidaEquilibrio resolverEquilibrio(const EntradaEquilibrio& entrada) {
  ResolucionEquilibrio resolucion(entrada);
  while (BucleFuerzaIonica* bucle = resolucion.avanzar()) bucle->correr();
  return resolucion.salida();
}

std::optional<EntradaEquilibrio> prepararEquilibrio(Simulacion& sim, const TablasQuimicas& tablas) {
  reiniciar(sim);
  CARGAR_COMPOSICION_AGUA(sim);
  if (!PREPARAR_SOLUCION_SUELO(sim)) return std::nullopt;
  return entradaDe(sim, tablas);
}

void ponerEquilibrio(Simulacion& sim, const SalidaEquilibrio& s) {
  const double factor = sim.QUIMICA.FACTOR_SOLUCION, humedad = sim.QUIMICA.HUMEDAD_SOLUCION;
  sim.ESPECIES = s.ESPECIES;
  sim.ALCALINIDAD = s.ALCALINIDAD;
  sim.PH = s.PH;
  sim.CE = s.CE;
  sim.QUIMICA = s.estado;
  sim.QUIMICA.FACTOR_SOLUCION = factor;
  sim.QUIMICA.HUMEDAD_SOLUCION = humedad;
  sim.SOLUCION_CON_VALOR = true;
}

void EQUILIBRIO_SOLUCION_SUELO(Simulacion& sim, const TablasQuimicas& tablas) {
  const std::optional<EntradaEquilibrio> entrada = prepararEquilibrio(sim, tablas);
  if (entrada) ponerEquilibrio(sim, resolverEquilibrio(*entrada));
}

}  // namespace medravolix
