// The batch settings dialog's controller: the three fields, their labels' colours, the two
// groups of options, the key filter, the check of the fields, and "Accept" / "Cancel". "Accept"
// stores the five settings, closes the dialog, runs the batch in the busy window and reports;
// it first refuses a write-protected workbook and, when another program seems to hold the
// workbook open, asks whether to go on.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "batch/ejecutar_batch.h"
#include "ui/canvas.h"
#include "ui/dialogs.h"
#include "ui/twips.h"

namespace medravolix::batch {

class Form5 {
 public:
  static constexpr const char* Caption = "MEDRAVOLIX";
  static constexpr double kAnchoCliente = 9495;  // twips
  static constexpr double kAltoCliente = 8775;   // twips
  static constexpr const char* kMensajeVacio =
      "Please, enter a numerical value for variables in red";
  static constexpr const char* kMensajeCompletado = "The batch is completed";
  // Heads the reason when the batch was refused before it ran.
  static constexpr const char* kMensajeNoEjecutado = "The batch was not run.\r\n\r\n";
  // What the batch writes, as the question about another program's lock file names it.
  static constexpr const char* kLoQueEscribe =
      "the results of this batch in Sim_batch, SSol_batch and WBal_batch";

  struct Entorno {
    ui::Dialogs& dialogs;
    // The settings shared with the batch; they keep their values when the dialog is gone.
    AjustesBatch& ajustes;
    // Shows the busy window modally; it runs the batch with these settings and saves the
    // workbook, and returns when the window has closed.
    std::function<ResultadoOperacion(const AjustesBatch&)> mostrarForm11;
    // Closes (unloads) the dialog's window.
    std::function<void()> descargar;
    // The file of the bound workbook, where the batch will save its results (empty: none).
    std::function<std::filesystem::path()> rutaLibro;
    // Draws the dialog as it stands now, so that a message box opens over red labels.
    std::function<void()> mostrar;
  };

  explicit Form5(Entorno entorno);

  void Form_Load();
  // A character typed into field `index` (1 to 3): only the digits pass; any other character
  // is cancelled (set to 0) with a beep. Returns whether it passes.
  bool Text1_KeyPress(int index, int& KeyAscii);
  // The text of field `index` changed (typed or pasted).
  void Text1_Change(int index, const std::string& texto);
  void Option1_Click(int index);
  void Command1_Click();
  void Command2_Click();
  void COMPROBAR_CONTENIDO_frm5();

  const std::string& Text1(int index) const { return text1_.at(index); }
  // A label's text colour; empty while it still has the default text colour.
  std::optional<ui::Rgb> Label1_ForeColor(int index) const { return label1_color_.at(index); }
  bool Option1(int index) const { return option1_.at(index); }
  bool descargado() const { return descargado_; }

  // Captions and places (twips) of the controls.
  static const char* Label2_Caption() { return "Common variables to all simulations"; }
  static const char* Label1_Caption(int index);
  static const char* Frame1_Caption(int index);
  static const char* Option1_Caption(int index);
  static const char* Command_Caption(int index);  // 1 "Accept", 2 "Cancel"
  static ui::TwipsRect Label2_Place() { return {1080, 240, 7215, 495}; }
  static ui::TwipsRect Label1_Place(int index);
  static ui::TwipsRect Text1_Place(int index);
  static ui::TwipsRect Frame1_Place(int index);
  static ui::TwipsRect Option1_Place(int index);  // inside its frame
  static ui::TwipsRect Command_Place(int index);
  // The frame (0 or 1) that holds option `index`.
  static int frameOfOption(int index) { return index <= 1 ? 0 : 1; }

 private:
  // The field's text as a whole number from 0 to 32767, or nothing.
  static std::optional<int16_t> enteroDelCampo(const std::string& texto);
  void guardarAjustes();
  bool libroEscribible();
  bool seguirPeseAlBloqueo();
  void informarFinDelBatch(const ResultadoOperacion& resultado);

  Entorno entorno_;
  std::array<std::string, 4> text1_;                    // [1..3]
  std::array<std::optional<ui::Rgb>, 4> label1_color_;  // [1..3]
  std::array<bool, 5> option1_{false, true, false, true, false};
  bool error_ = false;
  bool descargado_ = false;
};

}  // namespace medravolix::batch
