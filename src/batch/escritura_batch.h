// The batch's results as cells: the settings stamped into Sim_batch, one SSol_batch row and twelve
// WBal_batch rows per simulation. The writers only format the cells into a list; the batch checks
// every target cell of every simulation before it writes the first one, so that writing cannot
// fail halfway.
//
// A result without value (a factor whose divisor was 0, a soil solution that could not be
// computed) is an empty cell, which clears what the cell held. When SALIDA_MAYOR_QUE is set (a
// layer within the depth of simulation does not drain) the concentration columns hold lower
// bounds, written as "> " and the whole number (halves to even).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "simulation/simulacion.h"
#include "workbook/workbook.h"

namespace medravolix::batch {

// One cell to write.
struct Escritura {
  std::string_view hoja;  // one of the batch's sheet names (static storage)
  int fila = 0;
  int columna = 0;
  workbook::CellValue valor;
};
using LoteEscrituras = std::vector<Escritura>;

// "> " and the value rounded to a whole number, halves to even, in plain decimal digits. The
// value must be finite; any finite value is written, however large.
std::string formaMayorQue(double valor);

// Sim_batch row i + 1, columns 7 to 10: the settings the simulation ran with.
void ESCRIBIR_AJUSTES(const Simulacion& sim, int i, LoteEscrituras& lote);
// SSol_batch row i + 1, columns 1 to 21 (11 is skipped for an unknown soil-solution keyword).
void ESCRIBIR_SOLUCION(const Simulacion& sim, int i, LoteEscrituras& lote);
// WBal_batch rows 12(i - 1) + 2 to 12(i - 1) + 13, columns 1 to 7, January first.
void ESCRIBIR_BALANCE(const Simulacion& sim, int i, LoteEscrituras& lote);
// The three writers in order. A result that no soil can hold (not finite, a negative amount, a
// leaching fraction outside 0 to 1, a pH outside 0 to 14) throws ResultadoImposible naming the
// result and its cell, so no such value ever reaches a sheet.
LoteEscrituras escribirResultados(const Simulacion& sim, int i);

// Throws workbook::WorkbookError for the first cell of the list that may not be overwritten.
void comprobarEscrituras(const workbook::Workbook& libro, const LoteEscrituras& lote);
// Writes the cells in the order of the list.
void aplicarEscrituras(workbook::Workbook& libro, const LoteEscrituras& lote);

}  // namespace medravolix::batch
