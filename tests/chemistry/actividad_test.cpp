#include "chemistry/actividad.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/test_support.h"

namespace medravolix {
namespace {

using testing::Near;

TEST(Actividad, EpsilonIsTwoToTheMinus53) {
  EXPECT_EQ(0x1p-53, CALCULAR_EPSILON());
}

TEST(Actividad, DaviesForChargedSpeciesAndPairs) {
  const double I = 0.1, r = std::sqrt(I);
  const double log_g1 = -0.512 * (r / (1 + r) - 0.3 * I);
  EXPECT_TRUE(Near(std::pow(10.0, log_g1), COEFICIENTE_ACTIVIDAD(I, 1, kEspecieLibre, 3), 1e-15));
  EXPECT_TRUE(
      Near(std::pow(10.0, 4 * log_g1), COEFICIENTE_ACTIVIDAD(I, 2, kEspecieLibre, 5), 1e-15));
  // published Davies values at I = 0.1: about 0.78 for a monovalent ion, 0.37 for a divalent one
  EXPECT_TRUE(Near(0.78, COEFICIENTE_ACTIVIDAD(I, 1, kEspecieLibre, 3), 0.01));
  EXPECT_TRUE(Near(0.37, COEFICIENTE_ACTIVIDAD(I, -2, kEspecieLibre, 9), 0.01));
  // only the charge decides: the sign does not matter, and a charged pair 15 takes Davies too
  EXPECT_EQ(COEFICIENTE_ACTIVIDAD(I, 2, kEspecieLibre, 9),
            COEFICIENTE_ACTIVIDAD(I, -2, kEspecieLibre, 9));
  EXPECT_EQ(COEFICIENTE_ACTIVIDAD(I, 1, kEspecieLibre, 3),
            COEFICIENTE_ACTIVIDAD(I, 1, kParIonico, 15));
  EXPECT_EQ(1.0, COEFICIENTE_ACTIVIDAD(0, 2, kEspecieLibre, 5));
}

TEST(Actividad, NeutralPairsOfCalciumAndMagnesiumSulphateAndCarbonateHaveTheirOwnRule) {
  const double I = 0.2;
  const double especial = std::pow(10.0, 0.033 * I * I - 0.3 * I);
  const double otro =
      std::pow(10.0, -11.7021 * (I / (1 + 60.8128 * I) - 0.0319 * I * I) - 0.044 * I * I * I);
  for (int16_t par : {15, 16, 23, 24}) {
    EXPECT_TRUE(Near(especial, COEFICIENTE_ACTIVIDAD(I, 0, kParIonico, par), 1e-15)) << par;
  }
  for (int16_t par : {1, 2, 14, 17, 18, 22}) {
    EXPECT_TRUE(Near(otro, COEFICIENTE_ACTIVIDAD(I, 0, kParIonico, par), 1e-15)) << par;
  }
  EXPECT_GT(std::fabs(especial - otro), 0.01);
}

TEST(Actividad, NeutralFreeSpeciesAreSaltedOut) {
  EXPECT_TRUE(Near(std::pow(10.0, 0.05), COEFICIENTE_ACTIVIDAD(0.5, 0, kEspecieLibre, 12), 1e-15));
  // index 15 means nothing for a free species
  EXPECT_EQ(COEFICIENTE_ACTIVIDAD(0.5, 0, kEspecieLibre, 12),
            COEFICIENTE_ACTIVIDAD(0.5, 0, kEspecieLibre, 15));
}

}  // namespace
}  // namespace medravolix
