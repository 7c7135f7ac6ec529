// A month's reference evapotranspiration as the methods give it out.
#pragma once

namespace medravolix::eto {

// The month's total in mm, never below 0: a daily rate that comes out negative (net radiation
// below the soil heat flux, a cold month's empirical line crossing zero) means no evaporative
// demand, as in a polar night or a month below freezing, not water given back by the air. A value
// that is not a number stays as it is, so the dispatch still reports it.
inline double totalMensualEto(double mm) {
  return mm < 0 ? 0.0 : mm;
}

}  // namespace medravolix::eto
