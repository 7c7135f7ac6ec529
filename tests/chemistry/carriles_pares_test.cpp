// The ion-pair loops run in vector lanes against the plain loop: recorded loop inputs replayed
// through both, every output variable compared byte for byte.
#include "chemistry/carriles_pares.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <deque>
#include <limits>
#include <vector>

#include "chemistry/equilibrio_carriles.h"
#include "chemistry/equilibrio_solucion.h"
#include "chemistry/resolucion_equilibrio.h"
#include "chemistry/tablas_prueba.h"

namespace medravolix {
namespace {

using prueba::Agua;
using prueba::SimulacionCon;
using prueba::Suelo;
using prueba::TablasReferencia;

// Every member, byte for byte.
bool mismosBytes(const TrabajoFuerzaIonica& a, const TrabajoFuerzaIonica& b) {
  const auto igual = [](const auto& x, const auto& y) {
    return std::memcmp(&x, &y, sizeof x) == 0;
  };
  return igual(a.T, b.T) && igual(a.f, b.f) && igual(a.nueva, b.nueva) &&
         igual(a.cambio, b.cambio) && igual(a.g, b.g) && igual(a.gp, b.gp) && igual(a.par, b.par) &&
         igual(a.Kc, b.Kc) && igual(a.I, b.I) && igual(a.I_nueva, b.I_nueva) &&
         igual(a.cambio_I, b.cambio_I) && igual(a.OH, b.OH) &&
         igual(a.alcalinidad, b.alcalinidad) && igual(a.pasadas_I, b.pasadas_I) &&
         igual(a.pasadas_pares, b.pasadas_pares) && igual(a.total_I, b.total_I) &&
         igual(a.total_pares, b.total_pares);
}

struct Solucion {
  Agua agua;
  Suelo suelo;
};

// Waters of the sample workbook and the edge cases of the chemistry tests: balanced and
// unbalanced, negative concentrations, no pairs, both mineral loops at their caps.
const Solucion kSoluciones[] = {
    {{0.35, 0.03, 1.3, 0.3, 0.3, 0.03, 0.45, 2.35}, {-2.0, 2.0, 40, 1.0}},
    {{3.2, 0.08, 2.5, 1, 2.9, 0.15, 2.2, 2.83}, {-2.0, 3.0, 20, 35}},
    {{71.74, 0.67, 3.045, 3.645, 63.5, 0.2, 7.97, 6.66}, {-2.0, 2.5, 29, 0.5}},
    {{2, 0, 1, 0, 2, 0, 1, 0}, {-2, 1, 0, 0.5}},
    {{-12.4, 19.3, 37.9, -8.3, 13, 13.7, 19.8, -2.2}, {-2, 2, 5, 1}},
    {{27.1, -11.4, 13.7, 15.7, 0.95, -17.5, 14.2, -0.16}, {-2, 2, 0, 1}},
    {{1, 0.1, 0.5, 0.3, 0, 0, 0.7, 0}, {-2.5, 2, 0, 0}}};

// The input of every ion-pair loop of the solves, with some that take the loop's special exits.
std::vector<TrabajoFuerzaIonica> entradasGrabadas() {
  std::vector<TrabajoFuerzaIonica> grabadas;
  // the sample's tables (no pairs of chloride and nitrate), and with NaCl and CaNO3+ paired
  TablasQuimicas pareadas = TablasReferencia();
  pareadas.LOG_K[11] = -0.5, pareadas.LOG_K[17] = 0.6;
  for (const TablasQuimicas& tablas : {TablasReferencia(), pareadas}) {
    for (const Solucion& s : kSoluciones) {
      Simulacion sim = SimulacionCon(s.agua, s.suelo);
      ResolucionEquilibrio resolucion(*prepararEquilibrio(sim, tablas));
      try {
        for (int n = 0; TrabajoFuerzaIonica* w = resolucion.avanzar(); ++n) {
          if (n < 4000) grabadas.push_back(*w);
          paresIonicos(*w, resolucion.epsilon());
        }
      } catch (const SimulacionRechazada&) {
        // refused on the way: the loops before count
      }
    }
  }
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::size_t n = grabadas.size();
  for (std::size_t k = 0; k < n; k += 97) {
    TrabajoFuerzaIonica w = grabadas[k];
    w.T[8] = 0;  // a ligand without total: its change falls back on the earlier one
    w.cambio[8] = 3.5;
    grabadas.push_back(w);
    w.T[9] = 0, w.T[7] = 0;
    w.Kc.fill(0);  // no pair at all: the cations come back unchanged at once
    grabadas.push_back(w);
    w = grabadas[k];
    w.f[4] = k % 2 ? inf : nan;  // values that are not numbers
    grabadas.push_back(w);
    w = grabadas[k];
    w.Kc[12] = 1e300, w.T[7] = 1e300;  // an overflow on the way
    grabadas.push_back(w);
    w = grabadas[k];
    w.T[3] = inf;  // a cation that is not finite after the first pass: back to the plain path
    grabadas.push_back(w);
  }
  return grabadas;
}

TEST(CarrilesPares, EveryLaneGivesThePlainLoopsBytes) {
  const std::vector<TrabajoFuerzaIonica> entradas = entradasGrabadas();
  ASSERT_GT(entradas.size(), 10000u);
  const double epsilon = 0x1p-53;
  std::vector<TrabajoFuerzaIonica> esperadas = entradas;
  for (auto& w : esperadas) paresIonicos(w, epsilon);
  for (const bool sse2 : {false, true}) {
    CarrilesPares carriles(epsilon, sse2);
    SCOPED_TRACE(carriles.usaAvx2() ? "AVX2" : "SSE2");
    std::vector<TrabajoFuerzaIonica> salidas = entradas;
    std::vector<std::size_t> en_carril(CarrilesPares::kCarriles);
    std::size_t siguiente = 0;
    // lanes refilled as they end, in the order of the recorded loops
    const auto llenar = [&](int l) {
      if (siguiente == salidas.size()) return;
      en_carril[l] = siguiente;
      carriles.cargar(l, salidas[siguiente++]);
    };
    for (int l = 0; l < CarrilesPares::kCarriles; ++l) llenar(l);
    while (const unsigned fin = carriles.avanzar()) {
      for (int l = 0; l < CarrilesPares::kCarriles; ++l) {
        if (fin & (1u << l)) llenar(l);
      }
    }
    int distintas = 0;
    for (std::size_t k = 0; k < entradas.size(); ++k) {
      if (!mismosBytes(esperadas[k], salidas[k]) && ++distintas <= 5) {
        ADD_FAILURE() << "loop " << k << ": " << salidas[k].pasadas_pares << " passes against "
                      << esperadas[k].pasadas_pares;
      }
    }
    EXPECT_EQ(0, distintas) << " of " << entradas.size();
  }
}

// The whole solve with its loops in lanes, several simulations in flight, against each
// simulation solved alone: every result and variable of the solution, byte for byte.
class FuenteDePrueba : public FuenteSimulaciones {
 public:
  explicit FuenteDePrueba(std::deque<Simulacion>& sims) : sims_(sims) {}
  Simulacion* siguiente() override {
    return siguiente_ < sims_.size() ? &sims_[siguiente_++] : nullptr;
  }
  void terminada(Simulacion& sim, std::exception_ptr fallo) override {
    if (fallo) sim.AVISOS.push_back("refused");
  }

 private:
  std::deque<Simulacion>& sims_;
  std::size_t siguiente_ = 0;
};

TEST(CarrilesPares, SolvesInLanesEqualSolvesAlone) {
  std::deque<Simulacion> en_carriles;
  std::vector<Simulacion> solas;
  for (int vuelta = 0; vuelta < 3; ++vuelta) {
    for (const Solucion& s : kSoluciones) {
      Suelo suelo = s.suelo;
      suelo.factor_sat += vuelta;
      en_carriles.push_back(SimulacionCon(s.agua, suelo));
      solas.push_back(en_carriles.back());
      EQUILIBRIO_SOLUCION_SUELO(solas.back(), TablasReferencia());
    }
  }
  FuenteDePrueba fuente(en_carriles);
  equilibrioEnCarriles(fuente, TablasReferencia());
  for (std::size_t k = 0; k < solas.size(); ++k) {
    const Simulacion& a = solas[k];
    const Simulacion& b = en_carriles[k];
    SCOPED_TRACE(k);
    EXPECT_TRUE(b.AVISOS.empty());
    EXPECT_EQ(0, std::memcmp(&a.ESPECIES, &b.ESPECIES, sizeof a.ESPECIES));
    EXPECT_EQ(0, std::memcmp(&a.QUIMICA.PARES, &b.QUIMICA.PARES, sizeof a.QUIMICA.PARES));
    EXPECT_EQ(
        0, std::memcmp(&a.QUIMICA.CONSTANTES, &b.QUIMICA.CONSTANTES, sizeof a.QUIMICA.CONSTANTES));
    const double escalares_a[] = {
        a.ALCALINIDAD,          a.PH, a.CE, a.QUIMICA.CALCITA_DISPONIBLE, a.QUIMICA.YESO_DISPONIBLE,
        a.QUIMICA.FUERZA_IONICA};
    const double escalares_b[] = {
        b.ALCALINIDAD,          b.PH, b.CE, b.QUIMICA.CALCITA_DISPONIBLE, b.QUIMICA.YESO_DISPONIBLE,
        b.QUIMICA.FUERZA_IONICA};
    EXPECT_EQ(0, std::memcmp(escalares_a, escalares_b, sizeof escalares_a));
    EXPECT_EQ(a.QUIMICA.ITERACIONES, b.QUIMICA.ITERACIONES);
    EXPECT_EQ(a.QUIMICA.PASADAS.pares, b.QUIMICA.PASADAS.pares);
    EXPECT_EQ(a.QUIMICA.PASADAS.fuerza_ionica, b.QUIMICA.PASADAS.fuerza_ionica);
  }
}

}  // namespace
}  // namespace medravolix
