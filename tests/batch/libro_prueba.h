// Small in-memory workbooks with the batch's sheets, for the batch tests.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <exception>
#include <string>
#include <vector>

#include "batch/hojas_batch.h"
#include "workbook/workbook.h"

#define EXPECT_CONTIENE(texto, parte) EXPECT_PRED_FORMAT2(::testing::IsSubstring, parte, texto)

namespace medravolix::batch::prueba {

using workbook::CellValue;

inline CellValue T(std::string texto) {
  return CellValue::text(std::move(texto));
}
inline CellValue N(double numero) {
  return CellValue::number(numero);
}

// What the call throws, or "no error".
template <class F>
std::string error(F&& f) try {
  f();
  return "no error";
} catch (const std::exception& e) {
  return e.what();
}

// Columns 1 to `columnas` of a row as one line: numbers, 'texts', and - for an empty cell.
inline std::string linea(const workbook::Workbook& libro, std::string_view hoja, int r,
                         int columnas) {
  std::string texto;
  for (int c = 1; c <= columnas; ++c) {
    const CellValue v = libro.cell(hoja, r, c);
    texto += c > 1 ? " " : "";
    texto += v.isText() ? "'" + v.asText() + "'" : v.isEmpty() ? "-" : v.toDisplayText();
  }
  return texto;
}

class LibroPrueba {
 public:
  // With simulations 1 to n that find their inputs (see completa).
  explicit LibroPrueba(int n = 0)
      : libro(workbook::Workbook::create({kHojasBatch.begin(), kHojasBatch.end()})) {
    for (const auto hoja : {kHojaClimas, kHojaCultivos, kHojaSimulaciones}) {
      poner(hoja, 1, 1, T("Id"));  // the headings the tools leave on row 1
    }
    for (int k = 1; k <= n; ++k) completa(k);
  }

  void poner(std::string_view hoja, int fila, int columna, const CellValue& v) {
    libro.setCell(hoja, fila, columna, v);
  }
  // A row with the id in column 1 and base + c in columns c = desde..hasta.
  void fila(std::string_view hoja, int r, const CellValue& id, double base, int desde, int hasta) {
    poner(hoja, r, 1, id);
    for (int c = desde; c <= hasta; ++c) poner(hoja, r, c, N(base + c));
  }
  // A soil horizon: its depth in column 3, base + c in columns 4 to 14, but the field capacity
  // (base + 9) / 100 above the wilting point (base + 8) / 100 in columns 8 and 9, both volume
  // fractions, and -(base + 15) in column 15 (log10 pCO2, at most 0).
  void horizonte(int r, const CellValue& id, double profundidad_cm, double base = 0) {
    fila(kHojaSuelos, r, id, base, 4, 14);
    poner(kHojaSuelos, r, 8, N((base + 9) / 100));
    poner(kHojaSuelos, r, 9, N((base + 8) / 100));
    poner(kHojaSuelos, r, 15, N(-(base + 15)));
    poner(kHojaSuelos, r, 3, N(profundidad_cm));
  }
  // The four shares of root water uptake (Irrigat_batch columns 27 to 30, %) of row r.
  void cuotas(int r, const std::array<double, 4>& pct) {
    for (int q = 0; q < 4; ++q) poner(kHojaRiegos, r, 27 + q, N(pct[q]));
  }
  // A twelve-row Clim_batch or Crop_batch block: month m holds base + 10 m + c in column c, in
  // the range of its quantity: divided by 100 for the rainy days and the basal crop coefficient,
  // by 1000 for the ground cover.
  void bloque(std::string_view hoja, int r0, const CellValue& id, double base) {
    for (int m = 1; m <= 12; ++m) {
      const double v = base + 10 * m;
      fila(hoja, r0 + m - 1, id, v, 2, 4);
      if (hoja == kHojaClimas) poner(hoja, r0 + m - 1, 3, N((v + 3) / 100));
      if (hoja != kHojaCultivos) continue;
      poner(hoja, r0 + m - 1, 2, N((v + 2) / 100));
      poner(hoja, r0 + m - 1, 4, N((v + 4) / 1000));
    }
  }

  // Simulation k ("sim<k>" on Sim_batch row k + 1) and inputs that it finds: soil "S<k>" on rows
  // 2k - 1 and 2k, climate and crop "C<k>" in block k, irrigation and water on row k.
  void completa(int k) {
    const std::string n = std::to_string(k);
    horizonte(2 * k - 1, T("S" + n), 20, k);
    horizonte(2 * k, T("S" + n), 90, k + 0.5);
    bloque(kHojaClimas, 2 + 12 * (k - 1), T("C" + n), 100 * k);
    bloque(kHojaCultivos, 2 + 12 * (k - 1), T("C" + n), k / 10.0);
    fila(kHojaRiegos, k, T("R" + n), k, 2, 26);
    poner(kHojaRiegos, k, 26, N((k + 26) / 100.0));  // the wetted fraction, at most 1
    cuotas(k, {40, 30, 20, 10});
    fila(kHojaAguas, k, T("W" + n), k, 2, 9);
    const CellValue ids[] = {T("sim" + n), T("C" + n), T("S" + n),
                             T("W" + n),   T("R" + n), T("C" + n)};
    for (int c = 1; c <= 6; ++c) poner(kHojaSimulaciones, k + 1, c, ids[c - 1]);
  }

  workbook::Workbook libro;
};

}  // namespace medravolix::batch::prueba
