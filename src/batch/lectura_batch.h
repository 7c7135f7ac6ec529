// The batch's reading of its sheets: the list of simulations in Sim_batch and the look-ups that
// fill a simulation's inputs from Soil_batch, Clim_batch, Crop_batch, Irrigat_batch and Wat_batch.
//
// Ids are compared by CellValue::matchesId, by their texts, a number as its plain decimal form
// with a point (the number 7 and the text "7" are one id); a row holding the id in the same kind
// as Sim_batch holds it is taken before an earlier row that only has the same text. An id that is
// empty (or the empty text) is never looked up. Row searches stop at the first row whose column 1
// is empty; Clim_batch and Crop_batch are searched only on the block-start rows 2, 14, 26, ... An
// empty cell in a row or block that was found reads 0.
//
// A cell that cannot be read (a text where a number is expected, an error value, a formula
// without a stored value) throws workbook::WorkbookError naming the sheet and the cell; a soil
// the model cannot take (a depth outside the 16-bit range) throws SimulacionRechazada.
// Each look-up fills the inputs directly, in the simulation's state or on their own.
#pragma once

#include <optional>

#include "simulation/entradas_simulacion.h"
#include "workbook/workbook.h"

namespace medravolix::batch {

// The number of simulations: the run of rows from row 2 of Sim_batch whose column 1 is not empty.
// Throws WorkbookDamaged, with its cause, when Sim_batch cannot be read at all.
int CONTAR_SIMULACIONES(const workbook::Workbook& libro);

// The six ids of simulation i (Sim_batch row i + 1, columns 1 to 6) into sim.SIMULACION.
void LEER_SIMULACION(const workbook::Workbook& libro, int i, EntradasSimulacion& sim);

// Each look-up returns the row where its input was found (the soil's first horizon row, the
// block's first row, the irrigation or water row) and fills the simulation's inputs; when the id
// is empty or not found it returns nothing and changes nothing. One that throws may leave the
// simulation's inputs partly filled: the batch then refuses the simulation.
std::optional<int> BUSCAR_SUELO(const workbook::Workbook& libro, EntradasSimulacion& sim);
// The climate block found is refused when a month's reference evapotranspiration is negative.
std::optional<int> BUSCAR_CLIMA(const workbook::Workbook& libro, EntradasSimulacion& sim);
std::optional<int> BUSCAR_CULTIVO(const workbook::Workbook& libro, EntradasSimulacion& sim);
// The irrigation row found is refused when a share of root water uptake (columns 27 to 30, %)
// is negative or the four do not sum to 100, within 1.
std::optional<int> BUSCAR_RIEGO(const workbook::Workbook& libro, EntradasSimulacion& sim);
std::optional<int> BUSCAR_AGUA(const workbook::Workbook& libro, EntradasSimulacion& sim);

}  // namespace medravolix::batch
