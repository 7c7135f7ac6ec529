#include "chemistry/polinomio.h"

#include <gtest/gtest.h>

#include <cmath>

#include "chemistry/actividad.h"
#include "support/test_support.h"

namespace medravolix {
namespace {

using testing::Near;

// (x - 1)(x - 2)(x - 3)(x - 4) = x^4 - 10 x^3 + 35 x^2 - 50 x + 24
constexpr double kA = 1, kB = -10, kC = 35, kD = -50, kE = 24;

TEST(Polinomio, FindsTheRootsOfAQuarticWithKnownRoots) {
  EXPECT_EQ(24.0, EVALUAR_POLINOMIO(5, kA, kB, kC, kD, kE));  // 4 x 3 x 2 x 1
  EXPECT_EQ(50.0, DERIVAR_POLINOMIO(5, kA, kB, kC, kD, kE));  // 500 - 750 + 350 - 50
  struct Caso {
    double x0, raiz;
  };
  // from either side of the outer roots, and from next to an inner one
  for (const Caso c : {Caso{0, 1}, Caso{-3, 1}, Caso{5, 4}, Caso{9, 4}, Caso{2.1, 2}}) {
    SCOPED_TRACE(c.x0);
    const RaizNewton r = RAIZ_NEWTON_POLINOMIO(kA, kB, kC, kD, kE, 0x1p-53, c.x0);
    EXPECT_TRUE(r.convergio);
    EXPECT_TRUE(Near(c.raiz, r.x, 1e-12));
  }
}

TEST(Polinomio, StopsAfterAThousandStepsAndReportsAVanishingDerivative) {
  // x^4 has a fourfold root at 0: Newton only takes a quarter off x at every step, so from 1e75
  // it needs some 1250 steps before x^4 underflows to 0.
  const RaizNewton lenta = RAIZ_NEWTON_POLINOMIO(1, 0, 0, 0, 0, 0, 1e75);
  EXPECT_FALSE(lenta.convergio);
  EXPECT_EQ(kMaxPasosNewton, lenta.pasos);
  // P'(0) = 0 with P(0) != 0: the first step goes to infinity; the caller must refuse it.
  EXPECT_FALSE(std::isfinite(RAIZ_NEWTON_POLINOMIO(0, 0, 1, 0, 1, 0x1p-53, 0).x));
}

// The four formulas at one ionic strength each, against 10^L worked out by hand (Python's math
// module) from the formulas as the model gives them.
TEST(CoeficienteActividad, ClosedFormValues) {
  struct Caso {
    const char* formula;
    double I, z;
    int16_t kind, index;
    double esperado;
  };
  const Caso casos[] = {{"Davies, z = 1", 0.01, 1, kEspecieLibre, 3, 0.9015515107102118},
                        {"Davies, z = 2", 0.01, 2, kEspecieLibre, 5, 0.6606359176034106},
                        {"Davies for a charged pair, whatever its index", 0.1, -2, kParIonico, 15,
                         0.3710237458816492},
                        {"neutral CaSO4", 0.1, 0, kParIonico, 15, 0.9339637064404159},
                        {"another neutral pair", 0.1, 0, kParIonico, 17, 0.6893423304348896},
                        {"dissolved CO2", 0.1, 0, kEspecieLibre, 12, 1.023292992280754}};
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.formula);
    EXPECT_TRUE(Near(c.esperado, COEFICIENTE_ACTIVIDAD(c.I, c.z, c.kind, c.index), 0, 1e-15));
  }
}

}  // namespace
}  // namespace medravolix
