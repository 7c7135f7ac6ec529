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
#include "simulation/estado_balance.h"
#include "simulation/estado_quimica.h"
#include "simulation/registro_clima.h"
#include "simulation/registro_especie.h"
#include "simulation/registro_riego.h"
#include "workbook/cell_value.h"

namespace medravolix {

// The ids of one Sim_batch row, kept as read.
struct FILA_SIMULACION {
  workbook::CellValue ID_SIMULACION, ID_CLIMA, ID_SUELO, ID_AGUA, ID_RIEGO, ID_CULTIVO;
};

// A simulation the model cannot compute: the batch skips it and lists it with this reason.
class SimulacionRechazada : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The five settings common to all simulations of a batch.
struct AJUSTES_BATCH {
  double PROF_EVAPORATIVA = 15.0;  // cm
  double PROF_SIMULACION = 90.0;   // cm
  int16_t NUM_CAPAS = 64;
  int16_t OPCION_CAPACIDAD = 1;  // 0 empirical, 1 pedotransfer
  std::string OPCION_SOLUCION = "saturación";
};

// Every simulation runs with the batch's settings.
struct Simulacion : AJUSTES_BATCH {
  FILA_SIMULACION SIMULACION;

  // ---- inputs filled by the look-ups of the batch sheets ----
  int16_t NUM_FILAS_SUELO = 0;
  std::vector<int16_t> PROF_FILA;  // 0..n, element 0 the surface
  std::vector<double> ARENA_FILA, ARCILLA_FILA, SAT_FILA, CC_FILA, PMP_FILA, DENSIDAD_FILA,
      PIEDRAS_FILA, CALIZA_FILA, MO_FILA, YESO_FILA;  // 1..n
  double PCO2 = 0.0;
  std::array<double, 10> COMPOSICION_AGUA{};  // species 3..9, mmol/L
  double ALCALINIDAD_AGUA = 0.0;              // meq/L
  REGISTRO_CLIMA ESTACION;                    // PRECIPITACION, DIAS_LLUVIA, ETO_EXTERNA
  Mensual ETO_MENSUAL{};
  Mensual KCB_MENSUAL{}, RAIZ_MENSUAL{}, COBERTURA_MENSUAL{};
  REGISTRO_RIEGO DATOS_RIEGO;
  std::array<double, 5> PATRON_EXTRACCION{};  // quarters 1..4, top first

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

  EstadoBalance BALANCE;
  EstadoQuimica QUIMICA;
};

}  // namespace medravolix
