// The chemistry's tables as the sheets Constants and Parameters give them: the log10 of the 30
// equilibrium constants, the charges and conductivity coefficients of the 11 species and the 24
// ion pairs, and the two cells of the conductivity sum. Read once per batch, on the thread that
// holds the workbook, and shared read-only by every simulation.
//
//   Constants  row 5, B..G          log K of constants 1..6 (column = constant + 1)
//              rows 13..18, C..F    log K of pair constants: row 13 + ligand a (0..5), column
//                                   2 + cation c (1..4) gives constant 4a + c + 6
//   Parameters row 4 / row 6, B..L  charge / conductivity coefficient of species 1..11
//              rows 10, 11, B..M    charge, coefficient of pairs 1..12 (column = pair + 1)
//              rows 14, 15, B..M    charge, coefficient of pairs 13..24 (column = pair - 11)
//              E19, E20             intercept and factor of the conductivity sum
#pragma once

#include <array>
#include <string_view>

#include "workbook/workbook.h"

namespace medravolix {

inline constexpr std::string_view kHojaConstantes = "Constants";
inline constexpr std::string_view kHojaParametros = "Parameters";

struct TablasQuimicas {
  std::array<double, 31> LOG_K{};                       // constants 1..30; 0 switches one off
  std::array<double, 13> CARGA_ESPECIE{};               // species 1..11 (12, CO2, stays 0)
  std::array<double, 13> COEF_CONDUCTIVIDAD_ESPECIE{};  // species 1..11
  std::array<double, 25> CARGA_PAR{};                   // pairs 1..24
  std::array<double, 25> COEF_CONDUCTIVIDAD_PAR{};      // pairs 1..24
  double CE = 0.0;         // Parameters E19: where the conductivity sum starts
  double FACTOR_CE = 0.0;  // Parameters E20
};

// Reads the exact cells above. An empty cell reads 0. A missing sheet, or a cell that is not a
// number, throws workbook::WorkbookError naming the sheet and the cell.
TablasQuimicas LEER_CONSTANTES_QUIMICAS(const workbook::Workbook& libro);

}  // namespace medravolix
