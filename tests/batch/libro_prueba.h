// Small in-memory workbooks with the batch's sheets, for the batch tests.
#pragma once

#include <string>
#include <string_view>

#include "batch/hojas_batch.h"
#include "workbook/workbook.h"

namespace medravolix::batch::prueba {

using workbook::CellValue;

inline CellValue T(std::string texto) {
  return CellValue::text(std::move(texto));
}
inline CellValue N(double numero) {
  return CellValue::number(numero);
}

struct IdsSimulacion {
  CellValue id, clima, suelo, agua, riego, cultivo;
};

class LibroPrueba {
 public:
  LibroPrueba() : libro(workbook::Workbook::create({kHojasBatch.begin(), kHojasBatch.end()})) {
    libro.setCell(kHojaClimas, 1, 1, T("Id"));  // the headings the tools leave on row 1
    libro.setCell(kHojaCultivos, 1, 1, T("Id"));
    libro.setCell(kHojaSimulaciones, 1, 1, T("Simulation"));
  }

  void poner(std::string_view hoja, int fila, int columna, const CellValue& v) {
    libro.setCell(hoja, fila, columna, v);
  }

  // Sim_batch row i + 1.
  void simulacion(int i, const IdsSimulacion& s) {
    const CellValue* ids[] = {&s.id, &s.clima, &s.suelo, &s.agua, &s.riego, &s.cultivo};
    for (int c = 1; c <= 6; ++c) poner(kHojaSimulaciones, i + 1, c, *ids[c - 1]);
  }

  // One soil horizon row: depth in column 3, the other columns from `base`, log10 pCO2 in 15.
  void horizonte(int fila, const CellValue& id, double profundidad_cm, double base = 1.0) {
    poner(kHojaSuelos, fila, 1, id);
    poner(kHojaSuelos, fila, 3, N(profundidad_cm));
    for (int c = 4; c <= 14; ++c) poner(kHojaSuelos, fila, c, N(base + c / 100.0));
    poner(kHojaSuelos, fila, 15, N(-3.0 + base / 10));
  }

  // A twelve-row block of Clim_batch or Crop_batch at r0: row r0 + m - 1 holds base + m,
  // base + m / 10 and base + m / 100 in columns 2 to 4, the id in column 1 of every row.
  void bloque(std::string_view hoja, int r0, const CellValue& id, double base) {
    for (int m = 1; m <= 12; ++m) {
      poner(hoja, r0 + m - 1, 1, id);
      poner(hoja, r0 + m - 1, 2, N(base + m));
      poner(hoja, r0 + m - 1, 3, N(base + m / 10.0));
      poner(hoja, r0 + m - 1, 4, N(base + m / 100.0));
    }
  }

  // An Irrigat_batch row: column c holds base + c; the root-uptake pattern 40, 30, 20, 10.
  void riego(int fila, const CellValue& id, double base) {
    poner(kHojaRiegos, fila, 1, id);
    for (int c = 2; c <= 26; ++c) poner(kHojaRiegos, fila, c, N(base + c));
    for (int q = 1; q <= 4; ++q) poner(kHojaRiegos, fila, 26 + q, N(50 - 10 * q));
  }

  // A Wat_batch row: column c holds base + c.
  void agua(int fila, const CellValue& id, double base) {
    poner(kHojaAguas, fila, 1, id);
    for (int c = 2; c <= 9; ++c) poner(kHojaAguas, fila, c, N(base + c));
  }

  // Inputs for simulations that find everything: soil "S<k>" on rows 2k-1 and 2k (depths 20 and
  // `profundidad_cm`), climate and crop "C<k>" in block k, irrigation "R<k>" and water "W<k>" on
  // row k.
  void entradas(int k, double profundidad_cm = 90) {
    const std::string n = std::to_string(k);
    horizonte(2 * k - 1, T("S" + n), 20, k);
    horizonte(2 * k, T("S" + n), profundidad_cm, k + 0.5);
    bloque(kHojaClimas, 2 + 12 * (k - 1), T("C" + n), 10 * k);
    bloque(kHojaCultivos, 2 + 12 * (k - 1), T("C" + n), k / 10.0);
    riego(k, T("R" + n), k);
    agua(k, T("W" + n), k);
  }
  static IdsSimulacion idsDe(const CellValue& id, int k) {
    const std::string n = std::to_string(k);
    return {id, T("C" + n), T("S" + n), T("W" + n), T("R" + n), T("C" + n)};
  }

  workbook::Workbook libro;
};

}  // namespace medravolix::batch::prueba
