#include "chemistry/polinomio.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/test_support.h"

namespace medravolix {
namespace {

using testing::Near;

TEST(Polinomio, EvaluatesAndDifferentiatesTheQuartic) {
  // 2x^4 - 3x^3 + 0.5x^2 + 4x - 7 at x = 1.5
  EXPECT_TRUE(Near(2 * 5.0625 - 3 * 3.375 + 0.5 * 2.25 + 4 * 1.5 - 7,
                   EVALUAR_POLINOMIO(1.5, 2, -3, 0.5, 4, -7), 1e-14));
  EXPECT_TRUE(
      Near(8 * 3.375 - 9 * 2.25 + 1.5 + 4, DERIVAR_POLINOMIO(1.5, 2, -3, 0.5, 4, -7), 1e-14));
  // the constant term does not enter the derivative
  EXPECT_EQ(DERIVAR_POLINOMIO(0.3, 0, 1, 2, 3, 100), DERIVAR_POLINOMIO(0.3, 0, 1, 2, 3, -5));
}

TEST(Polinomio, NewtonFindsTheCalciteRoot) {
  // (Ca - x)(B - 2x)^2 = Q: the supersaturated calcite equation with Ca = 4e-3, B = 6e-3 and Q a
  // quarter of the product, as the solver writes it.
  const double Ca = 4e-3, B = 6e-3, Q = Ca * B * B / 4;
  const double D = Ca * B * B - Q;
  const RaizNewton raiz =
      RAIZ_NEWTON_POLINOMIO(0, -4, 4 * (Ca + B), -B * (4 * Ca + B), D, 0x1p-53, 0);
  ASSERT_TRUE(raiz.convergio);
  const double x = raiz.x;
  EXPECT_GT(x, 0);
  EXPECT_LT(x, B / 2);
  EXPECT_TRUE(Near(Q, (Ca - x) * (B - 2 * x) * (B - 2 * x), 0, 1e-12));
}

TEST(Polinomio, AStartThatIsAlreadyARootReturnsItAtOnce) {
  // The zero Newton step is halved (to no effect) and the root 0 comes back after one step.
  const RaizNewton raiz = RAIZ_NEWTON_POLINOMIO(0, 4, 1, 2, 0, 0x1p-53, 0);
  EXPECT_TRUE(raiz.convergio);
  EXPECT_EQ(0.0, raiz.x);
  EXPECT_EQ(1, raiz.pasos);
}

TEST(Polinomio, StopsAfterAThousandSteps) {
  // x^4 has a fourfold root at 0: Newton only takes a quarter off x at every step, so from 1e75
  // it needs some 1250 steps before x^4 underflows to 0.
  const RaizNewton raiz = RAIZ_NEWTON_POLINOMIO(1, 0, 0, 0, 0, 0, 1e75);
  EXPECT_FALSE(raiz.convergio);
  EXPECT_EQ(kMaxPasosNewton, raiz.pasos);
}

TEST(Polinomio, AVanishingDerivativeGivesANonFiniteResult) {
  // P'(0) = 0 with P(0) != 0: the first step goes to infinity; the caller must refuse it.
  const RaizNewton raiz = RAIZ_NEWTON_POLINOMIO(0, 0, 1, 0, 1, 0x1p-53, 0);
  EXPECT_FALSE(std::isfinite(raiz.x));
}

}  // namespace
}  // namespace medravolix
