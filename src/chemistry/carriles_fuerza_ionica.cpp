#include "chemistry/carriles_fuerza_ionica.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "chemistry/especies_quimicas.h"

namespace medravolix {

namespace {

using namespace quimica;
using Datos = CarrilesFuerzaIonica::Datos;
constexpr int kN = CarrilesFuerzaIonica::kCarriles;

// GCC's vector types: each operation is the IEEE operation lane by lane.
typedef double V4 __attribute__((vector_size(32), may_alias));
typedef int64_t M4 __attribute__((vector_size(32), may_alias));
typedef double V2 __attribute__((vector_size(16), may_alias));
typedef int64_t M2 __attribute__((vector_size(16), may_alias));

// The lanes o .. o + W - 1 of a row; |x| as fabs gives it (the sign bit cleared).
#define VEC(fila) (*reinterpret_cast<V*>(&(fila)[o]))
#define MASK(fila) (*reinterpret_cast<M*>(&(fila)[o]))
#define ABS(x) reinterpret_cast<V>(reinterpret_cast<M>(x) & (M{} + INT64_MAX))
// Whether any lane of the mask m is set.
#define ALGUNO(m)                                  \
  ([&] {                                           \
    uint64_t lanes_[sizeof(M) / sizeof(uint64_t)]; \
    __builtin_memcpy(lanes_, &(m), sizeof lanes_); \
    uint64_t o_ = 0;                               \
    for (uint64_t x_ : lanes_) o_ |= x_;           \
    return o_ != 0;                                \
  }())

// The start of a pass after the coefficients: OH-, HCO3- and CO3 2- corrected to the totals, the
// carbonate system and the pair constants, as BucleFuerzaIonica does them. Returns the lanes
// whose [H+] is 0 or not a number (their pass stops there).
template <class V, class M>
[[gnu::always_inline]] inline unsigned cabezaCarriles(Datos& d, int o) {
  constexpr int W = sizeof(V) / sizeof(double);
  for (int s : {kOH, kHCO3, kCO3}) {
    const V T = VEC(d.T[s]), f = VEC(d.f[s]), g = VEC(d.g[s]);
    VEC(d.g[s]) = ((T != 0.0) & (f != 0.0)) ? g * f / T : g;
  }
  const V g1 = VEC(d.g[kH]), g2 = VEC(d.g[kOH]), g10 = VEC(d.g[kHCO3]);
  const V g11 = VEC(d.g[kCO3]), g12 = VEC(d.g[kCO2]);
  const V k1 = VEC(d.K[kKCO2]) / g12;
  const V k2 = VEC(d.K[kKAgua]) / (g2 * g1);
  const V k3 = VEC(d.K[kKBicarbonato]) * g12 / (g10 * g1);
  const V k4 = VEC(d.K[kKCarbonato]) * g10 / (g11 * g1);
  VEC(d.Kc[kKCO2]) = k1;
  VEC(d.Kc[kKAgua]) = k2;
  VEC(d.Kc[kKBicarbonato]) = k3;
  VEC(d.Kc[kKCarbonato]) = k4;
  const V A = VEC(d.alcalinidad), P = VEC(d.P);
  const V t = k3 * k1 * P + k2;
  V raiz_pos = t * t + 8.0 * A * k1 * k3 * k4 * P;
  V raiz_neg = A * A + 4.0 * t;
  for (int l = 0; l < W; ++l) {  // the scalar square root: correctly rounded, as the vector one
    raiz_pos[l] = std::sqrt(raiz_pos[l]);
    raiz_neg[l] = std::sqrt(raiz_neg[l]);
  }
  const V h = A > 0.0 ? (t + raiz_pos) / (2.0 * A) : (raiz_neg - A) / 2.0;
  VEC(d.h) = h;
  const M mal = ~((h != 0.0) & (ABS(h) < __builtin_inf())) & MASK(d.activo);
  VEC(d.T[kH]) = h;
  VEC(d.T[kOH]) = k2 / h;
  VEC(d.T[kHCO3]) = k3 * k1 * P / h;
  VEC(d.T[kCO3]) = k3 * k1 * k4 * P / (h * h);
  auto& g = d.g;
  for (int c = 1; c <= kNumCationes; ++c) {
    for (int a = 0; a < kNumLigandos; ++a) {
      const int p = par(a, c), k = constantePar(p);
      VEC(d.Kc[k]) =
          VEC(g[especieCation(c)]) * VEC(d.K[k]) * VEC(g[especieLigando(a)]) / VEC(d.gp[p]);
    }
  }
  unsigned bits = 0;
  for (int l = 0; l < W; ++l) bits |= mal[l] != 0 ? 1u << (o + l) : 0u;
  return bits;
}

// One ion-pair pass of the lanes o .. o + W - 1 whose loop still runs, as buclePares<P7, P8>
// does it, in two halves so that the registers' independent chains of operations can overlap
// (every register's first half, then every register's second half); the lanes whose loop has
// ended keep their values. The first half: OH- and the ligands from the cations.
template <class V, class M, bool P7, bool P8, bool kTodos>
[[gnu::always_inline]] inline void paseLigandos(Datos& d, int o, double epsilon) {
#define KC(k) VEC(d.Kc[k])
  const M vivo = kTodos ? M{} - 1 : MASK(d.vivo);
  const V c3 = VEC(d.f[3]), c4 = VEC(d.f[4]), c5 = VEC(d.f[5]), c6 = VEC(d.f[6]);
  const V oh = VEC(d.T[2]) / (1.0 + KC(7) * c3 + KC(8) * c4 + KC(9) * c5 + KC(10) * c6);
  VEC(d.OH) = vivo ? oh : VEC(d.OH);
  M estable = M{} - 1;
#pragma GCC unroll 5
  for (int s = 7; s <= 11; ++s) {  // ligand a = s - 6: constants 4a + 7 .. 4a + 10
    const int k = 4 * (s - 6) + 7;
    V n;
    if ((s == 7 && !P7) || (s == 8 && !P8)) {
      n = VEC(d.T[s]);
    } else {
      n = VEC(d.T[s]) / (1.0 + KC(k) * c3 + KC(k + 1) * c4 + KC(k + 2) * c5 + KC(k + 3) * c6);
    }
    const V viejo = VEC(d.f[s]), cambio = VEC(d.cambio[s]);
    const V pn = VEC(d.pn[s]), po = VEC(d.po[s]);
    const M pend = MASK(d.pend[s]);
    const M nz = n != 0.0;
    // a ligand whose new value is 0 takes the percentage still owed, if any: a division that
    // is needed only then
    V cambio_cero = cambio;
    const M debe = pend & ~nz & vivo;
    if (ALGUNO(debe)) {
      const V relativo = (pn - po) / pn;
      cambio_cero = pend ? ABS(relativo) * 100.0 : cambio;
    }
    estable &= nz ? M((n - viejo) == 0.0) : M(cambio_cero <= epsilon);
    VEC(d.cambio[s]) = vivo ? (nz ? cambio : cambio_cero) : cambio;
    VEC(d.pn[s]) = vivo & nz ? n : pn;
    VEC(d.po[s]) = vivo & nz ? viejo : po;
    MASK(d.pend[s]) = vivo ? nz : pend;
    VEC(d.f[s]) = vivo ? n : viejo;
  }
  MASK(d.estable) = estable;
#undef KC
}

// The second half: the cations from the new ligands, and the loop's ends. Marks in al_plano the
// lanes that must run their loop again on the plain path; returns whether any lane's loop still
// runs.
template <class V, class M, bool P7, bool P8, bool kTodos>
[[gnu::always_inline]] inline bool paseCationes(Datos& d, int o, double epsilon) {
#define KC(k) VEC(d.Kc[k])
  const M vivo = kTodos ? M{} - 1 : MASK(d.vivo);
  const V c3 = VEC(d.f[3]), c4 = VEC(d.f[4]), c5 = VEC(d.f[5]), c6 = VEC(d.f[6]);
  const V oh = VEC(d.OH);
  const V l7 = VEC(d.f[7]), l8 = VEC(d.f[8]), l9 = VEC(d.f[9]), l10 = VEC(d.f[10]);
  const V l11 = VEC(d.f[11]);
  V d3 = 1.0 + KC(7) * oh, d4 = 1.0 + KC(8) * oh, d5 = 1.0 + KC(9) * oh, d6 = 1.0 + KC(10) * oh;
  if constexpr (P7) {
    d3 = d3 + KC(11) * l7, d4 = d4 + KC(12) * l7, d5 = d5 + KC(13) * l7, d6 = d6 + KC(14) * l7;
  }
  if constexpr (P8) {
    d3 = d3 + KC(15) * l8, d4 = d4 + KC(16) * l8, d5 = d5 + KC(17) * l8, d6 = d6 + KC(18) * l8;
  }
  const V f3 = VEC(d.T[3]) / (d3 + KC(19) * l9 + KC(23) * l10 + KC(27) * l11);
  const V f4 = VEC(d.T[4]) / (d4 + KC(20) * l9 + KC(24) * l10 + KC(28) * l11);
  const V f5 = VEC(d.T[5]) / (d5 + KC(21) * l9 + KC(25) * l10 + KC(29) * l11);
  const V f6 = VEC(d.T[6]) / (d6 + KC(22) * l9 + KC(26) * l10 + KC(30) * l11);
#undef KC
  M al_plano = M{};
  if constexpr (!P7 || !P8) {
    const V inf = V{} + __builtin_inf();
    al_plano = ~((ABS(f3) < inf) & (ABS(f4) < inf) & (ABS(f5) < inf) & (ABS(f6) < inf)) & vivo;
  }
  VEC(d.f[3]) = vivo ? f3 : c3;
  VEC(d.f[4]) = vivo ? f4 : c4;
  VEC(d.f[5]) = vivo ? f5 : c5;
  VEC(d.f[6]) = vivo ? f6 : c6;
  V& pasadas = VEC(d.pasadas);
  pasadas = vivo ? pasadas + 1.0 : pasadas;
  const M fin = ((pasadas > double{kMaxPasadasPares}) | MASK(d.estable) | al_plano) & vivo;
  // The cations came out with the very bits they went in with: see buclePares.
  const M quieto = (reinterpret_cast<M>(c3) == reinterpret_cast<M>(f3)) &
                   (reinterpret_cast<M>(c4) == reinterpret_cast<M>(f4)) &
                   (reinterpret_cast<M>(c5) == reinterpret_cast<M>(f5)) &
                   (reinterpret_cast<M>(c6) == reinterpret_cast<M>(f6)) & ~fin & vivo;
  if (ALGUNO(quieto)) {
    M termina = M{} - 1;
    for (int s = 7; s <= 11; ++s) {
      const V l = VEC(d.f[s]);
      const M nz = (l != 0.0) & quieto;
      termina &= l != 0.0 ? M((l - l) == 0.0) : M(VEC(d.cambio[s]) <= epsilon);
      VEC(d.pn[s]) = nz ? l : VEC(d.pn[s]);
      VEC(d.po[s]) = nz ? l : VEC(d.po[s]);
      MASK(d.pend[s]) |= nz;
    }
    const V tope = V{} + double{kMaxPasadasPares + 1};
    pasadas = quieto ? (termina ? pasadas + 1.0 : tope) : pasadas;
  }
  const M sigue = vivo & ~(fin | quieto);
  MASK(d.vivo) = sigue;
  MASK(d.al_plano) |= al_plano;
  return ALGUNO(sigue);
}

// The end of the ion-pair loop: the percentages still owed, OH- and the new free ligands.
template <class V, class M>
[[gnu::always_inline]] inline void finPares(Datos& d, int o) {
  VEC(d.f[2]) = VEC(d.OH);
  for (int s = 7; s <= 11; ++s) {
    VEC(d.nueva[s]) = VEC(d.f[s]);
    const V relativo = (VEC(d.pn[s]) - VEC(d.po[s])) / VEC(d.pn[s]);
    VEC(d.cambio[s]) = MASK(d.pend[s]) ? ABS(relativo) * 100.0 : VEC(d.cambio[s]);
  }
}

// The pairs' concentrations and the ionic strength they and the free species give.
template <class V, class M>
[[gnu::always_inline]] inline void colaCarriles(Datos& d, int o) {
  for (int c = 1; c <= kNumCationes; ++c) {
    for (int a = 0; a < kNumLigandos; ++a) {
      const int p = par(a, c);
      VEC(d.par[p]) =
          VEC(d.f[especieCation(c)]) * VEC(d.Kc[constantePar(p)]) * VEC(d.f[especieLigando(a)]);
    }
  }
  V suma = V{};
  for (int s = kNa; s <= kCO3; ++s) suma = suma + VEC(d.carga2[s]) * (VEC(d.f[s]) * 0.5);
  for (int p = 1; p <= kNumPares; ++p) {
    suma = suma + VEC(d.carga2_par[p]) * (VEC(d.par[p]) * 0.5);
  }
  const V I = VEC(d.I);
  VEC(d.I_nueva) = suma;
  const V relativo = (suma - I) / suma;
  VEC(d.cambio_I) = suma != 0.0 ? ABS(relativo) * 100.0 : VEC(d.cambio_I);
  VEC(d.I) = suma;
}

template <class V, class M>
[[gnu::always_inline]] inline unsigned cabezaTodas(Datos& d) {
  unsigned mal = 0;
  for (int o = 0; o < kN; o += static_cast<int>(sizeof(V) / sizeof(double))) {
    mal |= cabezaCarriles<V, M>(d, o);
  }
  return mal;
}

template <class V, class M, bool P7, bool P8>
[[gnu::always_inline]] inline void paresTodas(Datos& d, double epsilon) {
  constexpr int W = sizeof(V) / sizeof(double);
  bool vivos[kN / W];
  bool alguno = true;
  for (int o = 0; o < kN; o += W) vivos[o / W] = ALGUNO(MASK(d.vivo));
  // a register whose lanes all run takes the passes without the blends that keep ended lanes
  bool todos[kN / W];
  while (alguno) {
    alguno = false;
    for (int o = 0; o < kN; o += W) {
      if (!vivos[o / W]) continue;
      const M muertos = ~MASK(d.vivo);
      todos[o / W] = !ALGUNO(muertos);
      if (todos[o / W]) {
        paseLigandos<V, M, P7, P8, true>(d, o, epsilon);
      } else {
        paseLigandos<V, M, P7, P8, false>(d, o, epsilon);
      }
    }
    for (int o = 0; o < kN; o += W) {
      if (!vivos[o / W]) continue;
      vivos[o / W] = todos[o / W] ? paseCationes<V, M, P7, P8, true>(d, o, epsilon)
                                  : paseCationes<V, M, P7, P8, false>(d, o, epsilon);
      alguno = alguno || vivos[o / W];
    }
  }
  for (int o = 0; o < kN; o += W) finPares<V, M>(d, o);
}

template <class V, class M>
[[gnu::always_inline]] inline void colaTodas(Datos& d) {
  for (int o = 0; o < kN; o += static_cast<int>(sizeof(V) / sizeof(double))) {
    colaCarriles<V, M>(d, o);
  }
}

__attribute__((target("avx2"))) unsigned cabezaAvx2(Datos& d) {
  return cabezaTodas<V4, M4>(d);
}
unsigned cabezaSse2(Datos& d) {
  return cabezaTodas<V2, M2>(d);
}
__attribute__((target("avx2"))) void colaAvx2(Datos& d) {
  colaTodas<V4, M4>(d);
}
void colaSse2(Datos& d) {
  colaTodas<V2, M2>(d);
}

template <bool P7, bool P8>
__attribute__((target("avx2"))) void paresAvx2(Datos& d, double epsilon) {
  paresTodas<V4, M4, P7, P8>(d, epsilon);
}
template <bool P7, bool P8>
void paresSse2(Datos& d, double epsilon) {
  paresTodas<V2, M2, P7, P8>(d, epsilon);
}

#undef ALGUNO
#undef ABS
#undef MASK
#undef VEC

using Pares = void (*)(Datos&, double);
// By the pairs of ligands 7 and 8 that some lane needs (bit 0: ligand 7, bit 1: ligand 8).
constexpr Pares kParesAvx2[4] = {paresAvx2<false, false>, paresAvx2<true, false>,
                                 paresAvx2<false, true>, paresAvx2<true, true>};
constexpr Pares kParesSse2[4] = {paresSse2<false, false>, paresSse2<true, false>,
                                 paresSse2<false, true>, paresSse2<true, true>};

bool filaActiva(const Datos& d, int a, int l) {
  for (int k = 4 * a + 7; k <= 4 * a + 10; ++k) {
    if (std::bit_cast<uint64_t>(d.Kc[k][l]) != 0) return true;
  }
  return false;
}

// The variant of the ion-pair loop that paresIonicos would take for lane l, as bits of the pairs
// of ligands 7 and 8 it keeps: all where the values it starts from are not finite.
int variante(const Datos& d, int l) {
  const bool p7 = filaActiva(d, 1, l), p8 = filaActiva(d, 2, l);
  if (p7 && p8) return 3;
  bool finitos = std::isfinite(d.T[7][l]) && std::isfinite(d.T[8][l]);
  for (int s = 3; s <= 6; ++s) finitos = finitos && std::isfinite(d.f[s][l]);
  return finitos ? (p7 ? 1 : 0) | (p8 ? 2 : 0) : 3;
}

}  // namespace

bool CarrilesFuerzaIonica::rinden() {
  return __builtin_cpu_supports("avx2");
}

CarrilesFuerzaIonica::CarrilesFuerzaIonica(bool forzar_sse2) : avx2_(!forzar_sse2 && rinden()) {}

bool CarrilesFuerzaIonica::algunoOcupado() const {
  for (const BucleFuerzaIonica* b : bucles_) {
    if (b != nullptr) return true;
  }
  return false;
}

void CarrilesFuerzaIonica::cargar(int l, const BucleFuerzaIonica& bucle, TrabajoFuerzaIonica& w) {
  bucles_[l] = &bucle;
  trabajos_[l] = &w;
  epsilon_ = bucle.epsilon();
  for (int k = 1; k <= kNumConstantes; ++k) {
    d_.K[k][l] = bucle.K()[k];
    d_.Kc[k][l] = w.Kc[k];
  }
  for (int s = 1; s <= kCO3; ++s) {
    d_.carga2[s][l] = bucle.carga2()[s];
    d_.T[s][l] = w.T[s], d_.f[s][l] = w.f[s], d_.nueva[s][l] = w.nueva[s];
    d_.cambio[s][l] = w.cambio[s];
  }
  for (int s = 1; s <= kNumEspecies; ++s) d_.g[s][l] = w.g[s];
  for (int p = 1; p <= kNumPares; ++p) {
    d_.carga2_par[p][l] = bucle.carga2Par()[p];
    d_.gp[p][l] = w.gp[p], d_.par[p][l] = w.par[p];
  }
  d_.P[l] = bucle.P();
  d_.I[l] = w.I, d_.I_nueva[l] = w.I_nueva, d_.cambio_I[l] = w.cambio_I;
  d_.OH[l] = w.OH, d_.alcalinidad[l] = w.alcalinidad;
  pasadas_I_[l] = w.pasadas_I, pasadas_pares_[l] = w.pasadas_pares;
  total_I_[l] = w.total_I, total_pares_[l] = w.total_pares;
  d_.activo[l] = ~uint64_t{0};
}

void CarrilesFuerzaIonica::guardar(int l) {
  TrabajoFuerzaIonica& w = *trabajos_[l];
  for (int k = 1; k <= kNumConstantes; ++k) w.Kc[k] = d_.Kc[k][l];
  for (int s = 1; s <= kCO3; ++s) {
    w.T[s] = d_.T[s][l], w.f[s] = d_.f[s][l], w.nueva[s] = d_.nueva[s][l];
    w.cambio[s] = d_.cambio[s][l];
  }
  for (int s = 1; s <= kNumEspecies; ++s) w.g[s] = d_.g[s][l];
  for (int p = 1; p <= kNumPares; ++p) w.gp[p] = d_.gp[p][l], w.par[p] = d_.par[p][l];
  w.I = d_.I[l], w.I_nueva = d_.I_nueva[l], w.cambio_I = d_.cambio_I[l];
  w.OH = d_.OH[l], w.alcalinidad = d_.alcalinidad[l];
  w.pasadas_I = pasadas_I_[l], w.pasadas_pares = pasadas_pares_[l];
  w.total_I = total_I_[l], w.total_pares = total_pares_[l];
}

// The ion-pair loop of lane l once more on the plain path, from where it started.
void CarrilesFuerzaIonica::alPlano(int l) {
  TrabajoFuerzaIonica w;
  for (int k = 1; k <= kNumConstantes; ++k) w.Kc[k] = d_.Kc[k][l];
  for (int s = 1; s <= kCO3; ++s) {
    w.T[s] = d_.T[s][l], w.f[s] = d_.f_inicio[s][l], w.cambio[s] = d_.cambio_inicio[s][l];
  }
  paresIonicos(w, epsilon_);
  for (int s = 2; s <= kCO3; ++s) d_.f[s][l] = w.f[s];
  for (int s = 7; s <= kCO3; ++s) d_.nueva[s][l] = w.nueva[s], d_.cambio[s][l] = w.cambio[s];
  d_.OH[l] = w.OH;
  d_.pasadas[l] = w.pasadas_pares;
}

unsigned CarrilesFuerzaIonica::cabeza() {
  for (int l = 0; l < kN; ++l) {
    if (bucles_[l] == nullptr) continue;
    std::array<double, 13> g;
    std::array<double, 25> gp;
    bucles_[l]->coeficientesSinCorregir(d_.I[l], g.data(), gp.data());
    for (int s = 1; s <= kNumEspecies; ++s) d_.g[s][l] = g[s];
    for (int p = 1; p <= kNumPares; ++p) d_.gp[p][l] = gp[p];
  }
  return avx2_ ? cabezaAvx2(d_) : cabezaSse2(d_);
}

void CarrilesFuerzaIonica::pares() {
  int necesita = 0;
  for (int l = 0; l < kN; ++l) {
    d_.vivo[l] = d_.activo[l];
    if (d_.activo[l] == 0) continue;
    necesita |= variante(d_, l);
    for (int s = 3; s <= kCO3; ++s) d_.f_inicio[s][l] = d_.f[s][l];
    for (int s = 7; s <= kCO3; ++s) {
      d_.cambio_inicio[s][l] = d_.cambio[s][l];
      d_.pend[s][l] = 0;
    }
    d_.pasadas[l] = 0.0;
    d_.al_plano[l] = 0;
  }
  (avx2_ ? kParesAvx2 : kParesSse2)[necesita](d_, epsilon_);
  for (int l = 0; l < kN; ++l) {
    if (d_.activo[l] == 0) continue;
    if (d_.al_plano[l] != 0) alPlano(l);
    const auto pasadas = static_cast<int16_t>(d_.pasadas[l]);
    pasadas_pares_[l] = pasadas;
    total_pares_[l] += pasadas;
  }
}

unsigned CarrilesFuerzaIonica::pasada(std::array<std::exception_ptr, kCarriles>& fallos) {
  unsigned fin = 0;
  const unsigned mal = cabeza();
  for (int l = 0; l < kN; ++l) {
    if (!(mal & (1u << l))) continue;
    fallos[l] = std::make_exception_ptr(rechazoHidrogeno(d_.h[l]));
    bucles_[l] = nullptr;
    d_.activo[l] = 0;
    fin |= 1u << l;
  }
  pares();
  avx2_ ? colaAvx2(d_) : colaSse2(d_);
  for (int l = 0; l < kN; ++l) {
    if (d_.activo[l] == 0) continue;
    ++pasadas_I_[l];
    ++total_I_[l];
    if (pasadas_I_[l] <= kMaxPasadasFuerzaIonica && d_.cambio_I[l] > epsilon_) continue;
    guardar(l);
    bucles_[l] = nullptr;
    d_.activo[l] = 0;
    fin |= 1u << l;
  }
  return fin;
}

}  // namespace medravolix
