#include "chemistry/polinomio.h"

#include <gtest/gtest.h>

#include <cmath>

namespace medravolix {
namespace {

TEST(Polinomio, StopsAfterAThousandStepsAndReportsAVanishingDerivative) {
  // x^4 has a fourfold root at 0: Newton only takes a quarter off x at every step, so from 1e75
  // it needs some 1250 steps before x^4 underflows to 0.
  const RaizNewton lenta = RAIZ_NEWTON_POLINOMIO(1, 0, 0, 0, 0, 0, 1e75);
  EXPECT_FALSE(lenta.convergio);
  EXPECT_EQ(kMaxPasosNewton, lenta.pasos);
  // P'(0) = 0 with P(0) != 0: the first step goes to infinity; the caller must refuse it.
  EXPECT_FALSE(std::isfinite(RAIZ_NEWTON_POLINOMIO(0, 0, 1, 0, 1, 0x1p-53, 0).x));
}

}  // namespace
}  // namespace medravolix
