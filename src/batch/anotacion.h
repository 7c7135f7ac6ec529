// "Annotate": the two tools append their monthly results to the batch's input sheets, where a
// batch then finds them by id. The reference-evapotranspiration tool appends a twelve-row block to
// Clim_batch; the crop tool a twelve-row block to Crop_batch and, for annual crops, one row to
// Irrigat_batch.
//
// A batch looks for a twelve-row block only on the block-start rows 2, 14, 26, ... (row 1 holds a
// heading) and stops at the first of them whose column 1 is empty; it reads Irrigat_batch row by
// row from row 1 and stops at the first row whose column 1 is empty. So a block goes to the first
// block-start row whose column 1 is empty, exactly where the batch will look, and a row to the
// first row whose column 1 is empty. A sheet whose layout would make the batch miss or misread the
// new block (no heading in row 1, cells in the way) is reported and nothing is written; so is a
// sheet that cannot be read at all, in the words a batch uses when it refuses to start.
//
// An append writes every block or nothing, then saves the workbook at once (atomically): a refusal
// always comes before the first cell is written, and a failed save leaves the file as it was.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/dialogs.h"
#include "workbook/workbook.h"

namespace medravolix::batch {

struct BloqueAnotacion {
  std::string hoja;  // "Clim_batch", "Crop_batch", "Irrigat_batch"
  // Bloque12: twelve rows, January first, at the next block-start row (2, 14, 26, ...);
  // Fila: one row, at the first row from row 1 whose column 1 is empty.
  enum class Forma { Bloque12, Fila } forma = Forma::Bloque12;
  // The rows' values, column 1 (the id) first: twelve rows for Bloque12, one for Fila. The id
  // must not be empty and must be the same on every row.
  std::vector<std::vector<workbook::CellValue>> filas;
};

// An answer to the id prompt that is empty (also when the prompt is cancelled) or made only of
// blanks (spaces, tabs, line breaks, no-break spaces) is no answer: nothing is appended.
bool sinIdTecleado(std::string_view respuesta);

// Where a block goes: its first row, or (fila 0) the text that says what in the sheet must be
// fixed before anything can be appended there.
struct LugarAnotacion {
  int fila = 0;
  std::string problema;
  bool encontrado() const { return fila > 0; }
};

// The first block-start row (2, 14, 26, ...) whose column 1 is empty, when row 1 has a heading
// in column 1 and the twelve rows from there hold nothing in columns 1 to `columnas`.
LugarAnotacion lugarBloque12(const workbook::Workbook& libro, std::string_view hoja, int columnas);
// The first row from row 1 whose column 1 is empty, when it holds nothing in columns 1 to
// `columnas`.
LugarAnotacion lugarFila(const workbook::Workbook& libro, std::string_view hoja, int columnas);
// The place of the block by its form, for the columns its rows write.
LugarAnotacion lugarAnotacion(const workbook::Workbook& libro, const BloqueAnotacion& bloque);

// The first row whose id matches (CellValue::matchesId: the number 7 and the text "7" alike),
// on the rows a batch searches (the block-start rows for Bloque12, every row for Fila, up to the
// first empty column 1), or nothing.
std::optional<int> filaConId(const workbook::Workbook& libro, std::string_view hoja,
                             BloqueAnotacion::Forma forma, const workbook::CellValue& id);

// Appends the blocks and saves the workbook; returns true when every block was written and the
// workbook saved. On the way: asks whether to go on when another program seems to hold the
// workbook open; reloads it when it changed on disk; refuses, with a message that says what to
// fix, a missing sheet or a sheet whose next block has no sound place; asks once whether to
// append an id that a sheet already holds. Each block goes to a different sheet; a block whose
// form, rows or id are not as described above throws std::invalid_argument before anything.
// `vigente`, when given, is asked once the workbook was read again and before anything is written
// whether the blocks still hold what the workbook holds; false stops the append (the check says
// why), so nothing read before the file changed on disk is written.
using ComprobacionAnotacion = std::function<bool(const workbook::Workbook&)>;
bool anotarBloques(workbook::Workbook& libro, ui::Dialogs& dialogs,
                   const std::vector<BloqueAnotacion>& bloques,
                   const ComprobacionAnotacion& vigente = {});

// Before "Annotate" asks for the id: false, after a message that names the file and says that
// nothing was written, when the workbook's file is write-protected. True when it may be written,
// and when there is no workbook (the caller says that none is open).
bool libroEscribible(const workbook::Workbook* libro, ui::Dialogs& dialogs);

// A reason (from the workbook, say) as a sentence of a message: with its full stop, unless it
// already ends in one, a question or exclamation mark or a colon.
std::string frase(std::string texto);

}  // namespace medravolix::batch
