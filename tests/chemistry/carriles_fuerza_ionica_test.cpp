// The ionic-strength loops run in vector lanes against the plain loop: recorded runs replayed
// through both, every variable they leave compared byte for byte; and whole solves, several in
// flight, against each solved alone.
#include "chemistry/carriles_fuerza_ionica.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <limits>
#include <memory>
#include <string>
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
// unbalanced, negative concentrations, no alkalinity, both mineral loops at their caps.
const Solucion kSoluciones[] = {
    {{0.35, 0.03, 1.3, 0.3, 0.3, 0.03, 0.45, 2.35}, {-2.0, 2.0, 40, 1.0}},
    {{3.2, 0.08, 2.5, 1, 2.9, 0.15, 2.2, 2.83}, {-2.0, 3.0, 20, 35}},
    {{71.74, 0.67, 3.045, 3.645, 63.5, 0.2, 7.97, 6.66}, {-2.0, 2.5, 29, 0.5}},
    {{2, 0, 1, 0, 2, 0, 1, 0}, {-2, 1, 0, 0.5}},
    {{-12.4, 19.3, 37.9, -8.3, 13, 13.7, 19.8, -2.2}, {-2, 2, 5, 1}},
    {{27.1, -11.4, 13.7, 15.7, 0.95, -17.5, 14.2, -0.16}, {-2, 2, 0, 1}},
    {{1, 0.1, 0.5, 0.3, 0, 0, 0.7, 0}, {-2.5, 2, 0, 0}}};

// One recorded run: the loop (its fixed values) and the variables it started from.
struct Corrida {
  const BucleFuerzaIonica* bucle;
  TrabajoFuerzaIonica entrada;
};

// The runs of the solves above, on the sample's tables (no pairs of chloride and nitrate) and
// with NaCl and CaNO3+ paired, and copies of some that take the loops' special exits.
class Grabacion {
 public:
  Grabacion() {
    TablasQuimicas pareadas = TablasReferencia();
    pareadas.LOG_K[11] = -0.5, pareadas.LOG_K[17] = 0.6;
    for (const TablasQuimicas& tablas : {TablasReferencia(), pareadas}) {
      for (const Solucion& s : kSoluciones) grabar(s, tablas);
    }
    const double inf = std::numeric_limits<double>::infinity();
    const std::size_t n = corridas.size();
    for (std::size_t k = 0; k < n; k += 13) {
      Corrida c = corridas[k];
      c.entrada.T[8] = 0;  // a ligand without total: its change falls back on the earlier one
      c.entrada.cambio[8] = 3.5;
      corridas.push_back(c);
      c.entrada.f[4] = k % 2 ? inf : std::numeric_limits<double>::quiet_NaN();
      corridas.push_back(c);  // a free cation that is not a number
      c = corridas[k];
      c.entrada.T[3] = inf;  // a cation not finite after the first ion-pair pass
      corridas.push_back(c);
      c = corridas[k];
      c.entrada.alcalinidad = -c.entrada.alcalinidad;  // the other root for [H+]
      corridas.push_back(c);
    }
  }
  std::vector<Corrida> corridas;

 private:
  void grabar(const Solucion& s, const TablasQuimicas& tablas) {
    Simulacion sim = SimulacionCon(s.agua, s.suelo);
    resoluciones_.push_back(
        std::make_unique<ResolucionEquilibrio>(*prepararEquilibrio(sim, tablas)));
    ResolucionEquilibrio& r = *resoluciones_.back();
    try {
      for (int n = 0; BucleFuerzaIonica* bucle = r.avanzar(); ++n) {
        if (n < 300) corridas.push_back({bucle, bucle->trabajo()});
        bucle->correr();
      }
    } catch (const SimulacionRechazada&) {
      // refused on the way: the runs before count
    }
  }
  // the solves stay, suspended, for their loops' fixed values
  std::deque<std::unique_ptr<ResolucionEquilibrio>> resoluciones_;
};

TEST(CarrilesFuerzaIonica, EveryLaneLeavesThePlainLoopsBytes) {
  const Grabacion grabacion;
  const std::vector<Corrida>& corridas = grabacion.corridas;
  ASSERT_GT(corridas.size(), 3000u);
  std::vector<TrabajoFuerzaIonica> esperadas;
  std::vector<bool> rechazadas;
  for (const Corrida& c : corridas) {
    esperadas.push_back(c.entrada);
    try {
      c.bucle->correr(esperadas.back());
      rechazadas.push_back(false);
    } catch (const SimulacionRechazada&) {
      rechazadas.push_back(true);
    }
  }
  for (const bool sse2 : {false, true}) {
    CarrilesFuerzaIonica carriles(sse2);
    SCOPED_TRACE(carriles.usaAvx2() ? "AVX2" : "SSE2");
    std::vector<TrabajoFuerzaIonica> salidas;
    for (const Corrida& c : corridas) salidas.push_back(c.entrada);
    std::vector<bool> fallidas(corridas.size());
    std::vector<std::size_t> en_carril(CarrilesFuerzaIonica::kCarriles);
    std::size_t siguiente = 0;
    const auto llenar = [&](int l) {  // lanes refilled as they end, in the recorded order
      if (siguiente == corridas.size()) return;
      en_carril[l] = siguiente;
      carriles.cargar(l, *corridas[siguiente].bucle, salidas[siguiente]);
      ++siguiente;
    };
    for (int l = 0; l < CarrilesFuerzaIonica::kCarriles; ++l) llenar(l);
    while (carriles.algunoOcupado()) {
      std::array<std::exception_ptr, CarrilesFuerzaIonica::kCarriles> fallos{};
      const unsigned fin = carriles.pasada(fallos);
      for (int l = 0; l < CarrilesFuerzaIonica::kCarriles; ++l) {
        if (!(fin & (1u << l))) continue;
        fallidas[en_carril[l]] = fallos[l] != nullptr;
        llenar(l);
      }
    }
    int distintas = 0;
    for (std::size_t k = 0; k < corridas.size(); ++k) {
      const bool igual =
          rechazadas[k] ? fallidas[k] : !fallidas[k] && mismosBytes(esperadas[k], salidas[k]);
      if (!igual && ++distintas <= 5) {
        ADD_FAILURE() << "run " << k << ": " << salidas[k].pasadas_I << " passes against "
                      << esperadas[k].pasadas_I << (rechazadas[k] ? ", refused" : "");
      }
    }
    EXPECT_EQ(0, distintas) << " of " << corridas.size();
  }
}

class FuenteDePrueba : public FuenteSimulaciones {
 public:
  explicit FuenteDePrueba(std::deque<Simulacion>& sims) : sims_(sims) {}
  Simulacion* siguiente() override {
    return siguiente_ < sims_.size() ? &sims_[siguiente_++] : nullptr;
  }
  void terminada(Simulacion& sim, std::exception_ptr fallo) override {
    try {
      if (fallo) std::rethrow_exception(fallo);
    } catch (const SimulacionRechazada& e) {
      sim.AVISOS.push_back(std::string("refused: ") + e.what());
    }
  }

 private:
  std::deque<Simulacion>& sims_;
  std::size_t siguiente_ = 0;
};

TEST(CarrilesFuerzaIonica, SolvesInLanesEqualSolvesAlone) {
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

// Refusals in lanes name the same reason as alone, and the simulations around them are solved.
TEST(CarrilesFuerzaIonica, RefusalsInLanesAreThoseOfSolvesAlone) {
  struct Caso {
    void (*ajuste)(TablasQuimicas&);
    Agua agua;
    Suelo suelo;
  };
  const Caso casos[] = {
      {nullptr, {0.35, 0.03, 1.3, 0.3, 0.3, 0.03, 0.45, 2.35}, {-2, 2, 40, 1}},
      {[](TablasQuimicas& t) { t.LOG_K[1] = t.LOG_K[2] = 0; },
       {1, 0, 1, 0, 1, 0, 1, 0},
       {-2, 1, 0, 0}},  // [H+] = 0
      {[](TablasQuimicas& t) { t.LOG_K[1] = 0; }, {5, 0.2, 3, 2, 5, 0.5, 3.35, 3}, {-2, 1, 5, 0}},
      {[](TablasQuimicas& t) { t.LOG_K[21] = 400; },
       {5, 0.2, 3, 2, 5, 0.5, 3.35, 3},
       {-2, 1, 5, 0}},  // values that are not numbers
      {nullptr, {3.2, 0.08, 2.5, 1, 2.9, 0.15, 2.2, 2.83}, {-2, 3, 20, 35}}};
  int rechazos = 0;
  for (const Caso& c : casos) {
    SCOPED_TRACE(&c - casos);
    TablasQuimicas tablas = TablasReferencia();
    if (c.ajuste != nullptr) c.ajuste(tablas);
    std::deque<Simulacion> en_carriles(3, SimulacionCon(c.agua, c.suelo));
    std::string solo;
    Simulacion sola = en_carriles.front();
    try {
      EQUILIBRIO_SOLUCION_SUELO(sola, tablas);
    } catch (const SimulacionRechazada& e) {
      solo = std::string("refused: ") + e.what();
      ++rechazos;
    }
    FuenteDePrueba fuente(en_carriles);
    equilibrioEnCarriles(fuente, tablas);
    for (const Simulacion& sim : en_carriles) {
      EXPECT_EQ(solo.empty() ? std::vector<std::string>{} : std::vector<std::string>{solo},
                sim.AVISOS);
      if (solo.empty()) {
        EXPECT_EQ(0, std::memcmp(&sola.ESPECIES, &sim.ESPECIES, sizeof sim.ESPECIES));
      }
    }
  }
  EXPECT_EQ(3, rechazos);
}

}  // namespace
}  // namespace medravolix
