// The state of one simulation of a batch: its settings, the inputs the look-ups fill, every
// variable the simulation chain passes from one step to the next, and its results. Each
// simulation starts from a fresh value of this type, so no result depends on another simulation.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/series.h"
#include "simulation/entradas_simulacion.h"
#include "simulation/estado_balance.h"
#include "simulation/estado_quimica.h"
#include "simulation/opciones.h"
#include "simulation/registro_especie.h"

namespace medravolix {

// A simulation the model cannot compute: the batch skips it and lists it with this reason.
class SimulacionRechazada : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A refusal of the model as it computes, not of one input: the water balance or the soil
// solution cannot be computed from the simulation's inputs taken together. The batch names the
// inputs of the step that failed.
class CalculoRechazado : public SimulacionRechazada {
 public:
  enum class Paso { Balance, Solucion };
  CalculoRechazado(Paso paso, const std::string& motivo)
      : SimulacionRechazada(motivo), paso_(paso) {}
  Paso paso() const { return paso_; }

 private:
  Paso paso_;
};

// The five settings common to all simulations of a batch.
struct AjustesBatch {
  double PROF_EVAPORATIVA = 15.0;  // cm
  double PROF_SIMULACION = 90.0;   // cm
  int16_t NUM_CAPAS = 64;
  OpcionCapacidad OPCION_CAPACIDAD = OpcionCapacidad::Pedotransferencia;
  OpcionSolucion OPCION_SOLUCION = OpcionSolucion::Saturacion;
};

// Every simulation runs with the batch's settings, from the inputs its look-ups filled.
struct Simulacion : AjustesBatch, EntradasSimulacion {
  // ---- the water balance (shared between its steps and with the chemistry and the sheets) ----
  double RAIZ_MAXIMA = 0.0, COBERTURA_MAXIMA = 0.0, KCB_MAXIMO = 0.0;
  double PROF_PERFIL = 0.0;     // cm
  double NUM_CAPAS_EVAP = 0.0;  // a whole number held as a double
  Mensual CAPAS_RAIZ_MENSUAL{};
  MesCapa CAPACIDAD_CAPA{};
  Mensual ETC_MENSUAL{}, KE_MENSUAL{}, KCB_AJUSTADO{}, KC_MENSUAL{};
  MesCapa DEMANDA_ET_CAPA{};
  Mensual ETC_POTENCIAL{};
  double ETC_ANUAL = 0.0;
  Mensual ET_REAL_MENSUAL{};
  double ET_REAL_ANUAL = 0.0;
  MesCapa DRENAJE_CAPA{};
  PorCapa DRENAJE_ANUAL_CAPA{};
  double PRECIPITACION_ANUAL = 0.0, ETO_ANUAL = 0.0;  // RIEGO_ANUAL is in DATOS_RIEGO
  double CALIZA_PERFIL = 0.0, YESO_PERFIL = 0.0;
  // A value that cannot be computed for this simulation (a zero divisor) has none.
  std::optional<double> SAT_PERFIL, CC_PERFIL;
  std::optional<double> FACTOR_CONCENTRACION_CC, FACTOR_CONCENTRACION_SAT,
      FACTOR_CONCENTRACION_FONDO, FRACCION_LAVADO;
  bool SALIDA_MAYOR_QUE = false;

  // ---- the soil solution ----
  std::array<REGISTRO_ESPECIE, 13> ESPECIES{};  // 1..12
  double ALCALINIDAD = 0.0;                     // eq/L
  double PH = 0.0;
  double CE = 0.0;
  bool SOLUCION_CON_VALOR = false;  // false: SSol_batch columns 12 to 21 stay empty

  // Why parts of this simulation's results have no value; the batch lists them.
  std::vector<std::string> AVISOS;

  EstadoBalance balance;
  EstadoQuimica QUIMICA;
};

}  // namespace medravolix
