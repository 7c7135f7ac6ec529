// The chemistry's tables as the sheets Constants and Parameters give them, read once per batch on
// the thread that holds the workbook.
//
//   Constants  row 5, B..G          log K of constants 1..6 (column = constant + 1)
//              rows 13..18, C..F    log K of pair constants: row 13 + ligand a (0..5), column
//                                   2 + cation c (1..4) gives constant 4a + c + 6
//   Parameters row 4 / row 6, B..L  charge / conductivity coefficient of species 1..11
//              rows 10, 11, B..M    charge, coefficient of pairs 1..12 (column = pair + 1)
//              rows 14, 15, B..M    charge, coefficient of pairs 13..24 (column = pair - 11)
//              E19, E20             intercept and factor of the conductivity sum
#pragma once

#include <string_view>

#include "chemistry/tablas_quimicas.h"
#include "workbook/workbook.h"

namespace medravolix::batch {

inline constexpr std::string_view kHojaConstantes = "Constants";
inline constexpr std::string_view kHojaParametros = "Parameters";

// Reads the exact cells above. An empty cell reads 0. A missing sheet, or a cell that is not a
// number, throws workbook::WorkbookError naming the sheet and the cell.
TablasQuimicas LEER_CONSTANTES_QUIMICAS(const workbook::Workbook& libro);

}  // namespace medravolix::batch
