#include "chemistry/actividad.h"

#include <cmath>

#include "chemistry/especies_quimicas.h"

namespace medravolix {

double CALCULAR_EPSILON() {
  // volatile: every sum is rounded to double precision, as the loop's test requires
  volatile double epsilon = 1.0;
  while (1.0 + epsilon > 1.0) epsilon = epsilon / 2;
  return epsilon;
}

double COEFICIENTE_ACTIVIDAD(double I, double z, int16_t kind, int16_t index) {
  double log_g = 0.0;
  if (z != 0.0) {
    log_g = -0.512 * (z * z) * (std::sqrt(I) / (1 + std::sqrt(I)) - 0.3 * I);
  } else if (kind == kParIonico && quimica::esParNeutroEspecial(index)) {
    log_g = 0.033 * (I * I) - 0.3 * I;
  } else if (kind == kParIonico) {
    log_g = -11.7021 * (I / (1 + 60.8128 * I) - 0.0319 * (I * I)) - 0.044 * (I * I * I);
  } else {
    log_g = 0.1 * I;
  }
  return std::pow(10.0, log_g);
}

}  // namespace medravolix
