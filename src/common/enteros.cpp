#include "common/enteros.h"

#include <cmath>
#include <stdexcept>

#include "common/number_text.h"

namespace medravolix {

bool fitsInInt16(double value) {
  const double k = std::nearbyint(value);
  return k >= -32768.0 && k <= 32767.0;
}

int16_t toInt16(double value, const std::string& what) {
  if (!fitsInInt16(value)) {
    throw std::out_of_range(what + " " + plainDecimal(value) +
                            " is outside the 16-bit integer range -32768..32767");
  }
  return static_cast<int16_t>(std::nearbyint(value));
}

}  // namespace medravolix
