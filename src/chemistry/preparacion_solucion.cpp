#include "chemistry/preparacion_solucion.h"

#include <optional>
#include <string>

#include "chemistry/especies_quimicas.h"

namespace medravolix {

namespace {

constexpr double kMasaMolarCalcita = 100.0869;  // g/mol, CaCO3
constexpr double kMasaMolarYeso = 172.1656;     // g/mol, CaSO4.2H2O

const std::string kSinSolucion = "the soil solution is left empty: ";

struct SolucionElegida {
  std::optional<double> factor, humedad;
  const char* nombre_factor;
  const char* nombre_humedad;
};

std::optional<SolucionElegida> elegirSolucion(const Simulacion& sim) {
  const OpcionSolucion opcion = sim.OPCION_SOLUCION;
  if (opcion == OpcionSolucion::Drenaje) {
    return SolucionElegida{sim.FACTOR_CONCENTRACION_FONDO, sim.CC_PERFIL,
                           "the concentration factor of the drainage water",
                           "the water content at field capacity"};
  }
  if (opcion == OpcionSolucion::CapacidadCampo) {
    return SolucionElegida{sim.FACTOR_CONCENTRACION_CC, sim.CC_PERFIL,
                           "the concentration factor at field capacity",
                           "the water content at field capacity"};
  }
  if (opcion == OpcionSolucion::Saturacion) {
    return SolucionElegida{sim.FACTOR_CONCENTRACION_SAT, sim.SAT_PERFIL,
                           "the concentration factor at saturation",
                           "the water content at saturation"};
  }
  return std::nullopt;
}

// The chosen factor and water content, or the reason the solution has none.
bool fijarSolucion(Simulacion& sim) {
  const std::optional<SolucionElegida> elegida = elegirSolucion(sim);
  if (!elegida) {
    sim.AVISOS.push_back(kSinSolucion + "unknown soil solution option " +
                         std::to_string(static_cast<int>(sim.OPCION_SOLUCION)));
    return false;
  }
  if (!elegida->factor) {
    sim.AVISOS.push_back(kSinSolucion + elegida->nombre_factor + " could not be computed");
    return false;
  }
  if (!elegida->humedad) {
    sim.AVISOS.push_back(kSinSolucion + elegida->nombre_humedad + " could not be computed");
    return false;
  }
  if (*elegida->humedad == 0.0) {
    sim.AVISOS.push_back(kSinSolucion + elegida->nombre_humedad + " is 0");
    return false;
  }
  sim.QUIMICA.FACTOR_SOLUCION = *elegida->factor;
  sim.QUIMICA.HUMEDAD_SOLUCION = *elegida->humedad;
  return true;
}

}  // namespace

void CARGAR_COMPOSICION_AGUA(Simulacion& sim) {
  for (int s = quimica::kNa; s <= quimica::kSO4; ++s) {
    sim.ESPECIES[s].CONC_TOTAL = sim.COMPOSICION_AGUA[s];
  }
  sim.ALCALINIDAD = sim.ALCALINIDAD_AGUA;
}

bool PREPARAR_SOLUCION_SUELO(Simulacion& sim) {
  if (!fijarSolucion(sim)) return false;
  EstadoQuimica& q = sim.QUIMICA;
  // Percent by mass times 10 is g per kg of soil; over the molar mass, mol per kg of soil; over
  // the water content (kg of water per kg of soil), mol per litre of solution.
  q.CALCITA_DISPONIBLE = (sim.CALIZA_PERFIL * 10) / (q.HUMEDAD_SOLUCION * kMasaMolarCalcita);
  q.YESO_DISPONIBLE = (sim.YESO_PERFIL * 10) / (q.HUMEDAD_SOLUCION * kMasaMolarYeso);
  for (int s = quimica::kNa; s <= quimica::kSO4; ++s) {
    sim.ESPECIES[s].CONC_TOTAL = (q.FACTOR_SOLUCION * sim.ESPECIES[s].CONC_TOTAL) / 1000;
  }
  sim.ALCALINIDAD = (sim.ALCALINIDAD * q.FACTOR_SOLUCION) / 1000;
  return true;
}

}  // namespace medravolix
