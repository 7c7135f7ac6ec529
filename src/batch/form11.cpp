#include "batch/form11.h"

#include <exception>

#include "common/calendario.h"

namespace medravolix::batch {

Form11::Form11(Operacion operacion) : operacion_(std::move(operacion)) {}

void Form11::Form_Activate() {
  ocupado_ = true;
}

ResultadoOperacion Form11::ejecutar(const Progreso& progreso) {
  try {
    resultado_ = operacion_(progreso);
  } catch (const std::exception& error) {
    resultado_ = ResultadoOperacion{};
    resultado_.estado = EstadoOperacion::NoGuardado;
    resultado_.motivo = std::string("The batch stopped: ") + error.what();
  } catch (...) {
    resultado_ = ResultadoOperacion{};
    resultado_.estado = EstadoOperacion::NoGuardado;
    resultado_.motivo = "The batch stopped on an unexpected error.";
  }
  return resultado_;
}

// The frame shows the percentage done ("33%", and "100% finishing" at the end); the bar grows to
// p x 4695 / 100 twips.
void Form11::MOSTRAR_PROGRESO(double p) {
  const long entero = static_cast<long>(REDONDEAR(p, 0));
  frame1_caption_ = std::to_string(entero) + "%";
  if (p == 100) frame1_caption_ += " finishing";
  label1_width_ = static_cast<float>(p * 4695 / 100);
}

}  // namespace medravolix::batch
