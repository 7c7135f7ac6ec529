// What the look-ups of one simulation read from the workbook, kept apart from the much larger
// state of the chain: the batch reads every simulation's inputs first, on the thread that holds
// the workbook, and runs the chains afterwards on fresh states.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "simulation/simulacion.h"

namespace medravolix::batch {

struct EntradasSimulacion {
  FILA_SIMULACION SIMULACION;
  int16_t NUM_FILAS_SUELO = 0;
  std::vector<int16_t> PROF_FILA;
  std::vector<double> ARENA_FILA, ARCILLA_FILA, SAT_FILA, CC_FILA, PMP_FILA, DENSIDAD_FILA,
      PIEDRAS_FILA, CALIZA_FILA, MO_FILA, YESO_FILA;
  double PCO2 = 0.0;
  std::array<double, 10> COMPOSICION_AGUA{};
  double ALCALINIDAD_AGUA = 0.0;
  REGISTRO_CLIMA ESTACION;
  Mensual ETO_MENSUAL{};
  Mensual KCB_MENSUAL{}, RAIZ_MENSUAL{}, COBERTURA_MENSUAL{};
  REGISTRO_RIEGO DATOS_RIEGO;
  std::array<double, 5> PATRON_EXTRACCION{};
};

// Takes the inputs out of a state the look-ups filled (its vectors are moved).
EntradasSimulacion tomarEntradas(Simulacion&& sim);
// Puts the inputs into a fresh state.
void ponerEntradas(const EntradasSimulacion& entradas, Simulacion& sim);

}  // namespace medravolix::batch
