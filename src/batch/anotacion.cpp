#include "batch/anotacion.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "batch/escritura_batch.h"
#include "batch/hojas_batch.h"
#include "workbook/lock_files.h"
#include "workbook/workbook_file.h"

namespace medravolix::batch {

using workbook::CellValue;
using workbook::Workbook;
using workbook::WorkbookError;
using Forma = BloqueAnotacion::Forma;

namespace {

constexpr const char* kNadaEscrito = "Nothing was written to the workbook.\r\n\r\n";
constexpr const char* kDeNuevo = "click \"Annotate\" again";
// The cells in the way that a message names; the rest are counted.
constexpr std::size_t kCeldasNombradas = 8;

// An empty cell, or one holding the empty text, ends a batch's search like an empty one. A cell
// that cannot be read (an error value) holds something.
bool celdaVacia(const Workbook& libro, std::string_view hoja, int fila, int columna) {
  try {
    return libro.cell(hoja, fila, columna).isEmptyText();
  } catch (const WorkbookError&) {
    return false;
  }
}

// "A" for column 1, "E" for column 5.
std::string letras(int columna) {
  std::string referencia = workbook::cellReference(1, columna);
  referencia.pop_back();
  return referencia;
}

std::string comillas(const CellValue& id) {
  return "\"" + id.toDisplayText() + "\"";
}

std::string filas(int primera, int n) {
  if (n == 1) return "row " + std::to_string(primera);
  return "rows " + std::to_string(primera) + " to " + std::to_string(primera + n - 1);
}

// The cells of rows primera..primera+n-1, columns 1..columnas, that hold something.
std::vector<std::string> celdasOcupadas(const Workbook& libro, std::string_view hoja, int primera,
                                        int n, int columnas) {
  std::vector<std::string> ocupadas;
  for (int r = primera; r < primera + n; ++r) {
    for (int c = 1; c <= columnas; ++c) {
      if (!celdaVacia(libro, hoja, r, c)) ocupadas.push_back(workbook::cellReference(hoja, r, c));
    }
  }
  return ocupadas;
}

// "Clim_batch!B27, Clim_batch!C27 and 3 more cells".
std::string listaCeldas(const std::vector<std::string>& celdas) {
  std::string texto;
  for (std::size_t i = 0; i < celdas.size() && i < kCeldasNombradas; ++i) {
    texto += (i == 0 ? "" : ", ") + celdas[i];
  }
  if (celdas.size() > kCeldasNombradas) {
    const std::size_t resto = celdas.size() - kCeldasNombradas;
    texto += " and " + std::to_string(resto) + (resto == 1 ? " more cell" : " more cells");
  }
  return texto;
}

LugarAnotacion problema(std::string texto) {
  return {0, std::move(texto)};
}

LugarAnotacion hojaQueFalta(std::string_view hoja) {
  return problema("The workbook has no sheet named " + std::string(hoja) +
                  ". Add a sheet of that name, with a heading in row 1, and " + kDeNuevo + ".");
}

LugarAnotacion sinEncabezado(std::string_view hoja) {
  const std::string h(hoja);
  return problema(h + " has no heading in row 1: cell " + workbook::cellReference(hoja, 1, 1) +
                  " is empty. A batch looks for the twelve-row blocks of " + h +
                  " on rows 2, 14, 26, ..., below a heading in row 1. Type a heading in " +
                  workbook::cellReference(hoja, 1, 1) + " (any text, such as Id), check that " +
                  "every block below starts on one of those rows, and " + kDeNuevo + ".");
}

// A sheet whose part cannot be read as it stands (missing from the file, or a cell in it that
// cannot be read as stored) holds no cell that can be trusted, so there is no place to look for:
// the damage is named as a batch names it when it refuses to start.
std::optional<LugarAnotacion> hojaDanada(const Workbook& libro, std::string_view hoja) {
  try {
    libro.requireSheet(hoja);
    return std::nullopt;
  } catch (const WorkbookError& e) {
    return problema(frase(e.what()));
  }
}

// What to do with the cells in the way.
const char* despejar(bool una) {
  return una ? "Clear it, or move what it holds" : "Clear them, or move what they hold";
}

LugarAnotacion bloqueEnElCamino(std::string_view hoja, int r0, int columnas,
                                const std::vector<std::string>& ocupadas) {
  const std::string sitio = filas(r0, kFilasBloque);
  const bool una = ocupadas.size() == 1;
  return problema("The next block of " + std::string(hoja) + " belongs on " + sitio +
                  ", where a batch will look for it, but " +
                  (una ? "this cell there is not empty: " : "these cells there are not empty: ") +
                  listaCeldas(ocupadas) + ". " + despejar(una) + ", so that " + sitio +
                  " are empty in columns A to " + letras(columnas) + ", and " + kDeNuevo + ".");
}

LugarAnotacion filaEnElCamino(std::string_view hoja, int r, int columnas,
                              const std::vector<std::string>& ocupadas) {
  const bool una = ocupadas.size() == 1;
  return problema("The next row of " + std::string(hoja) + " is row " + std::to_string(r) +
                  ", the first whose column A is empty, but " +
                  (una ? "this cell of it is not empty: " : "these cells of it are not empty: ") +
                  listaCeldas(ocupadas) + ". " + despejar(una) + ", so that row " +
                  std::to_string(r) + " is empty in columns A to " + letras(columnas) + ", and " +
                  kDeNuevo + ".");
}

LugarAnotacion sinSitio(std::string_view hoja) {
  static_assert(workbook::kMaxRows == 1048576);  // the last row, as the message names it
  return problema(std::string(hoja) +
                  " has no room left below its last block: its rows up to 1,048,576, the last row "
                  "of a worksheet, are taken.");
}

int columnasDe(const BloqueAnotacion& bloque) {
  std::size_t columnas = 0;
  for (const auto& fila : bloque.filas) columnas = std::max(columnas, fila.size());
  return static_cast<int>(columnas);
}

const CellValue& idDe(const BloqueAnotacion& bloque) {
  return bloque.filas.front().front();
}

// The tools build the blocks; a malformed one is a fault of the program, not of the workbook.
void comprobarBloques(const std::vector<BloqueAnotacion>& bloques) {
  for (std::size_t i = 0; i < bloques.size(); ++i) {
    const BloqueAnotacion& b = bloques[i];
    const std::size_t n = b.forma == Forma::Bloque12 ? kFilasBloque : 1;
    if (b.filas.size() != n)
      throw std::invalid_argument("a block for " + b.hoja + " has " +
                                  std::to_string(b.filas.size()) + " rows");
    for (const auto& fila : b.filas) {
      if (fila.empty() || fila.front().isEmptyText() || !(fila.front() == idDe(b))) {
        throw std::invalid_argument("a block for " + b.hoja + " lacks its id on a row");
      }
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (bloques[j].hoja == b.hoja) throw std::invalid_argument("two blocks for " + b.hoja);
    }
  }
}

// "twelve rows for the id "X" in Crop_batch and a row for the id "X" in Irrigat_batch".
std::string loQueSeEscribe(const std::vector<BloqueAnotacion>& bloques) {
  std::string texto;
  for (const BloqueAnotacion& b : bloques) {
    texto += texto.empty() ? "" : " and ";
    texto += b.forma == Forma::Bloque12 ? "twelve rows" : "a row";
    texto += " for the id " + comillas(idDe(b)) + " in " + b.hoja;
  }
  return texto;
}

// Another program that holds the workbook open would overwrite the append with its next save.
bool seguirPeseAlBloqueo(const Workbook& libro, ui::Dialogs& dialogs,
                         const std::vector<BloqueAnotacion>& bloques) {
  const auto bloqueo = workbook::lockFileOfAnotherProgram(libro.path());
  if (!bloqueo) return true;
  const std::string pregunta =
      workbook::lockFileQuestion(libro.path(), *bloqueo, loQueSeEscribe(bloques));
  return dialogs.questionBox(pregunta, ui::Buttons::YesNo, ui::Icon::Exclamation) ==
         ui::Answer::Yes;
}

// Edits saved from a spreadsheet program since the workbook was read are taken in first.
bool recargar(Workbook& libro, ui::Dialogs& dialogs) {
  try {
    libro.reloadIfChanged();
    return true;
  } catch (const WorkbookError& e) {
    dialogs.messageBox(std::string(kNadaEscrito) +
                           "The workbook could not be read again from its file: " + frase(e.what()),
                       ui::Icon::Critical);
    return false;
  }
}

// The first row of every block, or nothing after the message that says what to fix.
std::optional<std::vector<int>> lugares(const Workbook& libro, ui::Dialogs& dialogs,
                                        const std::vector<BloqueAnotacion>& bloques) {
  std::vector<int> filas_de_inicio;
  for (const BloqueAnotacion& b : bloques) {
    const LugarAnotacion lugar = lugarAnotacion(libro, b);
    if (!lugar.encontrado()) {
      dialogs.messageBox(kNadaEscrito + lugar.problema, ui::Icon::Exclamation);
      return std::nullopt;
    }
    filas_de_inicio.push_back(lugar.fila);
  }
  return filas_de_inicio;
}

// "block", "row" or "block or row": what a batch takes the first of.
std::string queBusca(const std::vector<BloqueAnotacion>& bloques) {
  bool bloque = false, fila = false;
  for (const BloqueAnotacion& b : bloques) (b.forma == Forma::Bloque12 ? bloque : fila) = true;
  return bloque && fila ? "block or row" : bloque ? "block" : "row";
}

// An id that a sheet already holds: the batch would never reach the new block. Asked once.
bool confirmarIdsRepetidos(const Workbook& libro, ui::Dialogs& dialogs,
                           const std::vector<BloqueAnotacion>& bloques) {
  std::string repetidos;
  for (const BloqueAnotacion& b : bloques) {
    const auto r = filaConId(libro, b.hoja, b.forma, idDe(b));
    if (!r) continue;
    const bool bloque = b.forma == Forma::Bloque12;
    repetidos += b.hoja + " already has a " + (bloque ? "block" : "row") + " with the id " +
                 comillas(idDe(b)) + " (" + filas(*r, bloque ? kFilasBloque : 1) + ").\r\n";
  }
  if (repetidos.empty()) return true;
  const std::string que = queBusca(bloques);
  const std::string pregunta = repetidos + "\r\nA batch uses the first " + que +
                               " with an id and never one further down, so it would not use " +
                               "what is appended now under the same id.\r\n\r\nAppend anyway?";
  return dialogs.questionBox(pregunta, ui::Buttons::YesNo, ui::Icon::Question) == ui::Answer::Yes;
}

LoteEscrituras escrituras(const std::vector<BloqueAnotacion>& bloques,
                          const std::vector<int>& filas_de_inicio) {
  LoteEscrituras lote;
  for (std::size_t i = 0; i < bloques.size(); ++i) {
    const auto& filas_bloque = bloques[i].filas;
    for (std::size_t j = 0; j < filas_bloque.size(); ++j) {
      for (std::size_t c = 0; c < filas_bloque[j].size(); ++c) {
        lote.push_back({bloques[i].hoja, filas_de_inicio[i] + static_cast<int>(j),
                        static_cast<int>(c) + 1, filas_bloque[j][c]});
      }
    }
  }
  return lote;
}

// A number the workbook would refuse, found before the first cell is written. (A text it would
// refuse, not UTF-8 or too long, is met by the write itself, which is then undone.)
std::optional<std::string> valorRechazado(const Escritura& e) {
  if (e.valor.isNumber() && !std::isfinite(e.valor.asNumber())) {
    return "The value for " + workbook::cellReference(e.hoja, e.fila, e.columna) +
           " is not a number the program can use.";
  }
  return std::nullopt;
}

// Every value can be written and every target cell overwritten, or a message says why not.
bool sePuedeEscribir(const Workbook& libro, ui::Dialogs& dialogs, const LoteEscrituras& lote) {
  for (const Escritura& e : lote) {
    if (auto motivo = valorRechazado(e)) {
      dialogs.messageBox(kNadaEscrito + *motivo, ui::Icon::Critical);
      return false;
    }
  }
  try {
    comprobarEscrituras(libro, lote);
    return true;
  } catch (const WorkbookError& e) {
    dialogs.messageBox(kNadaEscrito + frase(e.what()), ui::Icon::Critical);
    return false;
  }
}

// The workbook in memory is read again from its file, so that it holds what the file holds and a
// later save never writes this append unannounced. When the file cannot be read, the next
// operation finds it changed and reads it then.
void olvidarCambios(Workbook& libro) {
  try {
    libro.reload();
  } catch (const WorkbookError&) {
  }
}

bool escribirYGuardar(Workbook& libro, ui::Dialogs& dialogs, const LoteEscrituras& lote) {
  try {
    aplicarEscrituras(libro, lote);
  } catch (const WorkbookError& e) {
    olvidarCambios(libro);
    dialogs.messageBox(kNadaEscrito + frase(e.what()), ui::Icon::Critical);
    return false;
  }
  try {
    libro.save();
    return true;
  } catch (const std::exception& e) {
    olvidarCambios(libro);
    dialogs.messageBox(std::string("The workbook could not be saved, so nothing was appended: ") +
                           "its file was left as it was.\r\n\r\n" + frase(e.what()),
                       ui::Icon::Critical);
    return false;
  }
}

}  // namespace

bool sinIdTecleado(std::string_view respuesta) {
  constexpr std::string_view kEspacioDuro = "\xC2\xA0";  // U+00A0 in UTF-8
  while (!respuesta.empty()) {
    if (respuesta.starts_with(kEspacioDuro)) {
      respuesta.remove_prefix(kEspacioDuro.size());
    } else if (std::string_view(" \t\r\n\v\f").find(respuesta.front()) != std::string_view::npos) {
      respuesta.remove_prefix(1);
    } else {
      return false;
    }
  }
  return true;
}

LugarAnotacion lugarBloque12(const Workbook& libro, std::string_view hoja, int columnas) {
  if (!libro.hasSheet(hoja)) return hojaQueFalta(hoja);
  if (auto danada = hojaDanada(libro, hoja)) return *danada;
  if (celdaVacia(libro, hoja, 1, 1)) return sinEncabezado(hoja);
  for (int r = kPrimeraFilaBloque; r + kFilasBloque - 1 <= workbook::kMaxRows; r += kFilasBloque) {
    if (!celdaVacia(libro, hoja, r, 1)) continue;
    const auto ocupadas = celdasOcupadas(libro, hoja, r, kFilasBloque, columnas);
    if (!ocupadas.empty()) return bloqueEnElCamino(hoja, r, columnas, ocupadas);
    return {r, ""};
  }
  return sinSitio(hoja);
}

LugarAnotacion lugarFila(const Workbook& libro, std::string_view hoja, int columnas) {
  if (!libro.hasSheet(hoja)) return hojaQueFalta(hoja);
  if (auto danada = hojaDanada(libro, hoja)) return *danada;
  for (int r = 1; r <= workbook::kMaxRows; ++r) {
    if (!celdaVacia(libro, hoja, r, 1)) continue;
    const auto ocupadas = celdasOcupadas(libro, hoja, r, 1, columnas);
    if (!ocupadas.empty()) return filaEnElCamino(hoja, r, columnas, ocupadas);
    return {r, ""};
  }
  return sinSitio(hoja);
}

LugarAnotacion lugarAnotacion(const Workbook& libro, const BloqueAnotacion& bloque) {
  const int columnas = columnasDe(bloque);
  return bloque.forma == Forma::Bloque12 ? lugarBloque12(libro, bloque.hoja, columnas)
                                         : lugarFila(libro, bloque.hoja, columnas);
}

std::optional<int> filaConId(const Workbook& libro, std::string_view hoja, Forma forma,
                             const CellValue& id) {
  if (id.isEmptyText() || !libro.hasSheet(hoja)) return std::nullopt;
  const int primera = forma == Forma::Bloque12 ? kPrimeraFilaBloque : 1;
  const int paso = forma == Forma::Bloque12 ? kFilasBloque : 1;
  for (int r = primera; r <= workbook::kMaxRows; r += paso) {
    try {
      const CellValue celda = libro.cell(hoja, r, 1);
      if (celda.isEmptyText()) return std::nullopt;
      if (celda.matchesId(id)) return r;
    } catch (const WorkbookError&) {
      // A batch cannot read this id either; the search goes on below it.
    }
  }
  return std::nullopt;
}

bool anotarBloques(Workbook& libro, ui::Dialogs& dialogs,
                   const std::vector<BloqueAnotacion>& bloques,
                   const ComprobacionAnotacion& vigente) {
  comprobarBloques(bloques);
  if (bloques.empty()) return true;
  if (!seguirPeseAlBloqueo(libro, dialogs, bloques)) return false;
  if (!recargar(libro, dialogs)) return false;
  if (vigente && !vigente(libro)) return false;
  const auto filas_de_inicio = lugares(libro, dialogs, bloques);
  if (!filas_de_inicio) return false;
  if (!confirmarIdsRepetidos(libro, dialogs, bloques)) return false;
  const LoteEscrituras lote = escrituras(bloques, *filas_de_inicio);
  if (!sePuedeEscribir(libro, dialogs, lote)) return false;
  return escribirYGuardar(libro, dialogs, lote);
}

bool libroEscribible(const Workbook* libro, ui::Dialogs& dialogs) {
  if (!libro) return true;
  try {
    workbook::WorkbookFile::requireWritable(libro->path());
    return true;
  } catch (const WorkbookError& e) {
    dialogs.messageBox(frase(e.what()), ui::Icon::Critical);
    return false;
  }
}

std::string frase(std::string texto) {
  if (!texto.empty() && std::string_view(".!?:").find(texto.back()) == std::string_view::npos) {
    texto += '.';
  }
  return texto;
}

}  // namespace medravolix::batch
