// A small workbook with the crop libraries, Crop_batch and Irrigat_batch, for the crop tool
// tests; and a crop tool window on it with fake dialogs and recording canvases.
#pragma once

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "crop_tool/form4.h"
#include "crop_tool/hojas_cultivos.h"
#include "support/fake_dialogs.h"
#include "ui/recording_canvas.h"
#include "workbook/workbook.h"

namespace medravolix::crop_tool::prueba {

using workbook::CellValue;

inline void fila(workbook::Workbook& libro, std::string_view hoja, int r,
                 const std::vector<CellValue>& valores) {
  for (std::size_t c = 0; c < valores.size(); ++c) {
    libro.setCell(hoja, r, static_cast<int>(c) + 1, valores[c]);
  }
}

inline CellValue N(double x) {
  return CellValue::number(x);
}
inline CellValue T(std::string t) {
  return CellValue::text(std::move(t));
}

// Annual crops: "Maize" (125 days), "Wheat" (60 days, quarters), "Long" (400 days); irrigation
// rows for Maize and Wheat; tree crops "Olive" and "Almond" (peaking at 0.9).
inline workbook::Workbook libroCultivos() {
  auto libro =
      workbook::Workbook::create({std::string(kHojaAnuales), std::string(kHojaRiegosAnuales),
                                  std::string(kHojaArboles), "Crop_batch", "Irrigat_batch"});
  fila(libro, kHojaAnuales, 1, {T("Annual crop")});
  fila(libro, kHojaAnuales, 2,
       {T("Maize"), N(100), N(0.3), N(0.8), N(1.2), N(0.5), N(0.2), N(0.3), N(0.3), N(0.2), N(0.9),
        N(125)});
  fila(libro, kHojaAnuales, 3,
       {T("Wheat"), N(120), N(0.3), N(0.7), N(1.1), N(0.3), N(0.25), N(0.25), N(0.25), N(0.25),
        N(0.8), N(60)});
  fila(libro, kHojaAnuales, 4,
       {T("Long"), N(80), N(0.3), N(0.7), N(1.1), N(0.3), N(0.25), N(0.25), N(0.25), N(0.25),
        N(0.8), N(400)});
  fila(libro, kHojaRiegosAnuales, 1, {T("Annual crop")});
  fila(libro, kHojaRiegosAnuales, 2,
       {T("Maize"), N(1), N(600), N(0.1), N(0.2), N(0.5), N(0.2), N(0.1), N(0.2), N(0.5), N(0.2),
        N(24)});
  fila(libro, kHojaRiegosAnuales, 3,
       {T("Wheat"), N(0.5), N(300), N(0.25), N(0.25), N(0.25), N(0.25), N(0.25), N(0.25), N(0.25),
        N(0.25), N(12)});
  fila(libro, kHojaArboles, 1, {T("Tree crop")});
  std::vector<CellValue> olivo{T("Olive"), N(140)}, almendro{T("Almond"), N(150)};
  for (int m = 1; m <= 12; ++m) {
    olivo.push_back(N(0.5 + m / 100.0));
    almendro.push_back(N(m >= 6 && m <= 9 ? 0.9 : 0.45));
  }
  olivo.push_back(N(0.5));
  almendro.push_back(N(0.6));
  fila(libro, kHojaArboles, 2, olivo);
  fila(libro, kHojaArboles, 3, almendro);
  fila(libro, "Crop_batch", 1, {T("Crop id")});
  fila(libro, "Irrigat_batch", 1, {T("Irrigation id")});
  return libro;
}

// The crop tool window on a workbook, loaded.
struct Ventana {
  explicit Ventana(workbook::Workbook libro_inicial)
      : libro(std::make_unique<workbook::Workbook>(std::move(libro_inicial))) {
    form.Form_Load();
  }
  std::unique_ptr<workbook::Workbook> libro;
  testing::FakeDialogs dialogs;
  ui::RecordingCanvas calendario, grafico;
  bool descargado = false;
  DatosForm4 datos;
  Form4 form{{dialogs, [this] { return libro.get(); }, datos, calendario, grafico,
              [this] { descargado = true; }}};

  // A click on the calendar at X twips, the question answered so.
  void clic(float X, ui::Answer respuesta = ui::Answer::Yes) {
    form.Picture1_MouseMove(X);
    dialogs.question_answers.push_back(respuesta);
    form.Picture1_MouseDown();
  }
  // The texts of the messages shown so far, then forgotten.
  std::vector<std::string> mensajes() {
    std::vector<std::string> textos;
    for (const auto& m : dialogs.messages) textos.push_back(m.text);
    dialogs.messages.clear();
    return textos;
  }
};

// X twips on the calendar for day d of the year (the middle of its 30-twip cell).
inline float xDelDia(int d) {
  return static_cast<float>(30 * d - 15);
}

// Row r of the window's grid, its cells joined by "|".
inline std::string filaGrid(const Form4& f, int r) {
  std::string texto;
  for (int c = 0; c < f.Grid_Cols(); ++c) texto += (c ? "|" : "") + f.Grid_TextMatrix(r, c);
  return texto;
}

// Whether every monthly series of the window holds only finite numbers.
inline bool seriesFinitas(const Form4& f) {
  for (int m = 1; m <= 12; ++m) {
    for (double v : {f.KCB_MENSUAL()[m], f.RAIZ_MENSUAL()[m], f.COBERTURA_MENSUAL()[m],
                     f.DATOS_RIEGO().RIEGO_MENSUAL[m], f.DATOS_RIEGO().NRIEGOS_MENSUAL[m]}) {
      if (!std::isfinite(v)) return false;
    }
  }
  return true;
}

}  // namespace medravolix::crop_tool::prueba
