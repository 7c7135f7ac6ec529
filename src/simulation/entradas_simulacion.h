// The inputs of one simulation, as the look-ups of the batch sheets fill them. They are the
// first part of the simulation's state: the batch reads every simulation's inputs on the thread
// that holds the workbook, then moves each into a fresh state when its chain runs.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "common/series.h"
#include "simulation/registro_clima.h"
#include "simulation/registro_riego.h"
#include "simulation/registro_suelo.h"
#include "workbook/cell_value.h"

namespace medravolix {

// The ids of one Sim_batch row, kept as read.
struct FILA_SIMULACION {
  workbook::CellValue ID_SIMULACION, ID_CLIMA, ID_SUELO, ID_AGUA, ID_RIEGO, ID_CULTIVO;
};

struct EntradasSimulacion {
  FILA_SIMULACION SIMULACION;
  int16_t NUM_FILAS_SUELO = 0;
  std::vector<int16_t> PROF_FILA;  // 0..n, element 0 the surface
  // The ten horizon arrays, 1..n; kSeriesHorizonte lists them for every loop over them.
  std::vector<double> ARENA_FILA, ARCILLA_FILA, SAT_FILA, CC_FILA, PMP_FILA, DENSIDAD_FILA,
      PIEDRAS_FILA, CALIZA_FILA, MO_FILA, YESO_FILA;
  double PCO2 = 0.0;
  std::array<double, 10> COMPOSICION_AGUA{};  // species 3..9, mmol/L
  double ALCALINIDAD_AGUA = 0.0;              // meq/L
  REGISTRO_CLIMA ESTACION;                    // PRECIPITACION, DIAS_LLUVIA, ETO_EXTERNA
  Mensual ETO_MENSUAL{};
  Mensual KCB_MENSUAL{}, RAIZ_MENSUAL{}, COBERTURA_MENSUAL{};
  REGISTRO_RIEGO DATOS_RIEGO;
  std::array<double, 5> PATRON_EXTRACCION{};  // quarters 1..4, top first
};

// One horizon array of a soil: the array the look-up fills, the horizon array of the profile it
// is copied to, and its name for messages.
struct SerieHorizonte {
  std::vector<double> EntradasSimulacion::*fila;
  std::vector<double> REGISTRO_SUELO::*horizonte;
  const char* nombre;
};

// The ten horizon arrays in the order a soil's row is read: clay, sand, saturation, field
// capacity, wilting point, density, stones, CaCO3, organic matter, gypsum.
inline constexpr std::array<SerieHorizonte, 10> kSeriesHorizonte{{
    {&EntradasSimulacion::ARCILLA_FILA, &REGISTRO_SUELO::ARCILLA_HORIZONTE, "ARCILLA_FILA"},
    {&EntradasSimulacion::ARENA_FILA, &REGISTRO_SUELO::ARENA_HORIZONTE, "ARENA_FILA"},
    {&EntradasSimulacion::SAT_FILA, &REGISTRO_SUELO::SAT_HORIZONTE, "SAT_FILA"},
    {&EntradasSimulacion::CC_FILA, &REGISTRO_SUELO::CC_HORIZONTE, "CC_FILA"},
    {&EntradasSimulacion::PMP_FILA, &REGISTRO_SUELO::PMP_HORIZONTE, "PMP_FILA"},
    {&EntradasSimulacion::DENSIDAD_FILA, &REGISTRO_SUELO::DENSIDAD_HORIZONTE, "DENSIDAD_FILA"},
    {&EntradasSimulacion::PIEDRAS_FILA, &REGISTRO_SUELO::PIEDRAS_HORIZONTE, "PIEDRAS_FILA"},
    {&EntradasSimulacion::CALIZA_FILA, &REGISTRO_SUELO::CALIZA_HORIZONTE, "CALIZA_FILA"},
    {&EntradasSimulacion::MO_FILA, &REGISTRO_SUELO::MO_HORIZONTE, "MO_FILA"},
    {&EntradasSimulacion::YESO_FILA, &REGISTRO_SUELO::YESO_HORIZONTE, "YESO_FILA"},
}};

}  // namespace medravolix
