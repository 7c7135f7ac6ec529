#include "common/enteros.h"

#include <cmath>
#include <stdexcept>

#include "common/number_text.h"

namespace medravolix {

bool fitsInInt16(double value) {
  const double k = std::nearbyint(value);
  return k >= -32768.0 && k <= 32767.0;
}

namespace {

// The value in plain decimals, or in the short scientific form when that would run to many
// digits (1e+300 rather than three hundred of them).
std::string shortNumber(double value) {
  return shortDecimal(value);
}

}  // namespace

int16_t toInt16(double value, const std::string& what) {
  if (!fitsInInt16(value)) {
    throw std::out_of_range(what + " " + shortNumber(value) +
                            " is outside -32768 to 32767, the whole numbers the program can hold");
  }
  return static_cast<int16_t>(std::nearbyint(value));
}

}  // namespace medravolix
