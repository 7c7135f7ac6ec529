// The busy window's controller: its caption, label, the progress frame's caption and the green
// bar's width (MOSTRAR_PROGRESO), and the run of the batch it was shown for. The view runs
// `ejecutar` on a thread of its own and hands each progress report back to MOSTRAR_PROGRESO on
// the window's thread; while the batch runs the window refuses to close.
#pragma once

#include <functional>
#include <string>

#include "batch/ejecutar_batch.h"
#include "ui/canvas.h"
#include "ui/twips.h"

namespace medravolix::batch {

class Form11 {
 public:
  static constexpr const char* Caption = "MEDRAVOLIX";
  static constexpr const char* Label2_Caption = "Please wait, MEDRAVOLIX is busy";
  static constexpr double kAnchoCliente = 6615;  // twips
  static constexpr double kAltoCliente = 2655;   // twips
  static constexpr ui::TwipsRect Label2_Place{1320, 360, 4215, 405};
  static constexpr ui::TwipsRect Frame1_Place{600, 960, 5415, 1095};
  static constexpr double kLabel1_Left = 360;  // inside the frame
  static constexpr double kLabel1_Top = 480;
  static constexpr double kLabel1_Height = 375;
  static constexpr double kLabel1_AnchoTotal = 4695;  // the bar's width at 100 %
  static constexpr ui::Rgb Label1_BackColor = ui::kGreen;

  // The batch and the saving of its results, reporting progress in whole percent.
  using Operacion = std::function<ResultadoOperacion(const Progreso&)>;

  explicit Form11(Operacion operacion);

  // The window is activated: the batch starts. The view then calls `ejecutar` off its thread.
  void Form_Activate();
  // Runs the batch and saves it; returns (and keeps) the outcome. Never throws: an unexpected
  // error becomes an outcome that says the results were not saved.
  ResultadoOperacion ejecutar(const Progreso& progreso);
  // The batch thread has ended and its outcome is in `resultado()`: the window may close.
  void Form_Terminado() { ocupado_ = false; }

  void MOSTRAR_PROGRESO(double p);

  // A request to close the window: refused while the batch runs.
  bool QueryUnload() const { return !ocupado_; }
  bool ocupado() const { return ocupado_; }

  const std::string& Frame1_Caption() const { return frame1_caption_; }
  float Label1_Width() const { return label1_width_; }
  const ResultadoOperacion& resultado() const { return resultado_; }

 private:
  Operacion operacion_;
  std::string frame1_caption_;
  float label1_width_ = 15.0f;
  bool ocupado_ = false;
  ResultadoOperacion resultado_;
};

}  // namespace medravolix::batch
