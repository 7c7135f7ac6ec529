// The splash window's controller: its size, its timer and its closing.
#pragma once

namespace medravolix::shell {

class Form10 {
 public:
  static constexpr const char* Caption = "MEDRAVOLIX";
  static constexpr double kAnchoCliente = 8190;  // twips
  static constexpr double kAltoCliente = 8175;   // twips
  static constexpr int kIntervalo_ms = 5000;

  // The timer's interval may be shortened (tests); the program uses 5000 ms.
  explicit Form10(int intervalo_ms = kIntervalo_ms) : intervalo_ms_(intervalo_ms) {}

  // The timer runs from the moment the window is loaded.
  int Timer1_Interval() const { return intervalo_ms_; }
  // The timer fired: the splash closes.
  void Timer1_Timer() { CERRAR_PRESENTACION(); }
  void CERRAR_PRESENTACION() { descargado_ = true; }
  bool descargado() const { return descargado_; }

 private:
  int intervalo_ms_;
  bool descargado_ = false;
};

}  // namespace medravolix::shell
