#include "common/enteros.h"

#include <cmath>
#include <stdexcept>

#include "common/number_text.h"

namespace medravolix {

bool CABE_EN_ENTERO16(double valor) {
  const double k = std::nearbyint(valor);
  return k >= -32768.0 && k <= 32767.0;
}

int16_t A_ENTERO16(double valor, const std::string& que) {
  if (!CABE_EN_ENTERO16(valor)) {
    throw std::out_of_range(que + " " + plainDecimal(valor) +
                            " is outside the 16-bit integer range -32768..32767");
  }
  return static_cast<int16_t>(std::nearbyint(valor));
}

}  // namespace medravolix
