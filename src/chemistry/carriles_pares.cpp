#include "chemistry/carriles_pares.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace medravolix {

namespace {

// GCC's vector types: each operation is the IEEE operation lane by lane.
typedef double V4 __attribute__((vector_size(32), may_alias));
typedef int64_t M4 __attribute__((vector_size(32), may_alias));
typedef double V2 __attribute__((vector_size(16), may_alias));
typedef int64_t M2 __attribute__((vector_size(16), may_alias));

constexpr int kNumK = 24, kFilaK = 7;  // the rows of K are constants 7..30

// One ion-pair pass of the lanes o .. o + W - 1, as buclePares<P7, P8> does it; returns the lanes
// whose loop ended, as bits, and above them (shifted by kCarriles) those that must run their
// loop again on the plain path: a variant without the pairs of ligand 7 or 8 met a value that is
// not finite.
template <class V, class M, bool P7, bool P8>
[[gnu::always_inline]] inline unsigned pase(CarrilesPares::Datos& d, int o, double epsilon) {
  constexpr int W = sizeof(V) / sizeof(double);
#define VEC(fila) (*reinterpret_cast<V*>(&(fila)[o]))
#define MASK(fila) (*reinterpret_cast<M*>(&(fila)[o]))
#define KC(k) VEC(d.K[(k)-kFilaK])
  const M sin_signo = M{} + INT64_MAX;
  V& f3 = VEC(d.f[0]);
  V& f4 = VEC(d.f[1]);
  V& f5 = VEC(d.f[2]);
  V& f6 = VEC(d.f[3]);
  const V c3 = f3, c4 = f4, c5 = f5, c6 = f6;
  const V oh = VEC(d.T[0]) / (1.0 + KC(7) * c3 + KC(8) * c4 + KC(9) * c5 + KC(10) * c6);
  VEC(d.oh) = oh;
  M estable = M{} - 1;
#pragma GCC unroll 5
  for (int j = 0; j < 5; ++j) {  // ligand a = j + 1, species j + 7: constants 4a + 7 .. 4a + 10
    const int k = 4 * (j + 1) + 7;
    V n;
    if ((j == 0 && !P7) || (j == 1 && !P8)) {
      n = VEC(d.T[j + 5]);
    } else {
      n = VEC(d.T[j + 5]) / (1.0 + KC(k) * c3 + KC(k + 1) * c4 + KC(k + 2) * c5 + KC(k + 3) * c6);
    }
    V& lig = VEC(d.lig[j]);
    V& cambio = VEC(d.cambio[j]);
    V& pn = VEC(d.pn[j]);
    V& po = VEC(d.po[j]);
    M& pend = MASK(d.pend[j]);
    const M nz = n != 0;
    // |(pn - po) / pn| x 100, the sign cleared as fabs does
    const V relativo = (pn - po) / pn;
    const V porcentaje = reinterpret_cast<V>(reinterpret_cast<M>(relativo) & sin_signo) * 100.0;
    const V cambio_cero = pend ? porcentaje : cambio;
    const M igual = (n - lig) == 0;
    const M sin_cambio = cambio_cero <= epsilon;
    estable &= nz ? igual : sin_cambio;
    cambio = nz ? cambio : cambio_cero;
    pn = nz ? n : pn;
    po = nz ? lig : po;
    pend = nz;
    lig = n;
  }
  const V l7 = VEC(d.lig[0]), l8 = VEC(d.lig[1]), l9 = VEC(d.lig[2]), l10 = VEC(d.lig[3]),
          l11 = VEC(d.lig[4]);
  V d3 = 1.0 + KC(7) * oh, d4 = 1.0 + KC(8) * oh, d5 = 1.0 + KC(9) * oh, d6 = 1.0 + KC(10) * oh;
  if constexpr (P7) {
    d3 = d3 + KC(11) * l7, d4 = d4 + KC(12) * l7, d5 = d5 + KC(13) * l7, d6 = d6 + KC(14) * l7;
  }
  if constexpr (P8) {
    d3 = d3 + KC(15) * l8, d4 = d4 + KC(16) * l8, d5 = d5 + KC(17) * l8, d6 = d6 + KC(18) * l8;
  }
  f3 = VEC(d.T[1]) / (d3 + KC(19) * l9 + KC(23) * l10 + KC(27) * l11);
  f4 = VEC(d.T[2]) / (d4 + KC(20) * l9 + KC(24) * l10 + KC(28) * l11);
  f5 = VEC(d.T[3]) / (d5 + KC(21) * l9 + KC(25) * l10 + KC(29) * l11);
  f6 = VEC(d.T[4]) / (d6 + KC(22) * l9 + KC(26) * l10 + KC(30) * l11);
  const M activo = MASK(d.activo);
  M al_plano = M{};
  if constexpr (!P7 || !P8) {
    const V inf = V{} + __builtin_inf();
#define ABS(x) reinterpret_cast<V>(reinterpret_cast<M>(x) & sin_signo)
    const M finitos = (ABS(f3) < inf) & (ABS(f4) < inf) & (ABS(f5) < inf) & (ABS(f6) < inf);
#undef ABS
    al_plano = ~finitos & activo;
  }
  V& pasadas = VEC(d.pasadas);
  pasadas = pasadas + 1.0;
  const M fin = (pasadas > double{kMaxPasadasPares}) | estable | al_plano;
  // The cations came out with the very bits they went in with: see buclePares.
  const M quieto = (reinterpret_cast<M>(c3) == reinterpret_cast<M>(f3)) &
                   (reinterpret_cast<M>(c4) == reinterpret_cast<M>(f4)) &
                   (reinterpret_cast<M>(c5) == reinterpret_cast<M>(f5)) &
                   (reinterpret_cast<M>(c6) == reinterpret_cast<M>(f6)) & ~fin & activo;
  M salida = (fin | quieto) & activo;
  bool alguno = false;
  for (int l = 0; l < W; ++l) alguno = alguno || quieto[l] != 0;
  if (alguno) {
    M termina = M{} - 1;
#pragma GCC unroll 5
    for (int j = 0; j < 5; ++j) {
      const V lig = VEC(d.lig[j]);
      const M nz = (lig != 0) & quieto;
      termina &= lig != 0 ? M((lig - lig) == 0) : M(VEC(d.cambio[j]) <= epsilon);
      VEC(d.pn[j]) = nz ? lig : VEC(d.pn[j]);
      VEC(d.po[j]) = nz ? lig : VEC(d.po[j]);
      MASK(d.pend[j]) |= nz;
    }
    const V tope = V{} + double{kMaxPasadasPares + 1};
    pasadas = quieto ? (termina ? pasadas + 1 : tope) : pasadas;
  }
#undef KC
#undef MASK
#undef VEC
  unsigned bits = 0;
  for (int l = 0; l < W; ++l) {
    bits |= salida[l] != 0 ? 1u << (o + l) : 0u;
    bits |= al_plano[l] != 0 ? 1u << (o + l + CarrilesPares::kCarriles) : 0u;
  }
  return bits;
}

template <class V, class M, bool P7, bool P8>
[[gnu::always_inline]] inline unsigned pasesHastaUnFin(CarrilesPares::Datos& d, double epsilon) {
  constexpr int W = sizeof(V) / sizeof(double);
  for (;;) {
    unsigned fin = 0;
    for (int o = 0; o < CarrilesPares::kCarriles; o += W) {
      fin |= pase<V, M, P7, P8>(d, o, epsilon);
    }
    if (fin != 0) return fin;
  }
}

template <bool P7, bool P8>
__attribute__((target("avx2"))) unsigned pasesAvx2(CarrilesPares::Datos& d, double epsilon) {
  return pasesHastaUnFin<V4, M4, P7, P8>(d, epsilon);
}

template <bool P7, bool P8>
unsigned pasesSse2(CarrilesPares::Datos& d, double epsilon) {
  return pasesHastaUnFin<V2, M2, P7, P8>(d, epsilon);
}

using Pases = unsigned (*)(CarrilesPares::Datos&, double);

// By the pairs of ligands 7 and 8 that some lane needs (bit 0: ligand 7, bit 1: ligand 8).
constexpr Pases kPasesAvx2[4] = {pasesAvx2<false, false>, pasesAvx2<true, false>,
                                 pasesAvx2<false, true>, pasesAvx2<true, true>};
constexpr Pases kPasesSse2[4] = {pasesSse2<false, false>, pasesSse2<true, false>,
                                 pasesSse2<false, true>, pasesSse2<true, true>};

bool finitos(double a, double b, double c, double d) {
  return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

// Whether any of the four pairs of ligand a is switched on, as paresIonicos decides it.
bool filaActiva(const std::array<double, 31>& Kc, int a) {
  for (int k = 4 * a + 7; k <= 4 * a + 10; ++k) {
    if (std::bit_cast<uint64_t>(Kc[k]) != 0) return true;
  }
  return false;
}

double porcentajeEscalar(double n, double o) {
  return std::fabs((n - o) / n) * 100;
}

}  // namespace

CarrilesPares::CarrilesPares(double epsilon, bool forzar_sse2)
    : epsilon_(epsilon), avx2_(!forzar_sse2 && __builtin_cpu_supports("avx2")) {}

bool CarrilesPares::algunoOcupado() const {
  for (const TrabajoFuerzaIonica* w : trabajos_) {
    if (w != nullptr) return true;
  }
  return false;
}

void CarrilesPares::cargar(int l, TrabajoFuerzaIonica& w) {
  trabajos_[l] = &w;
  // The pairs of ligands 7 and 8 this loop needs: none where they are switched off, unless the
  // values it starts from are not finite (then the plain path runs the full loop at once).
  const bool variante_corta = !filaActiva(w.Kc, 1) || !filaActiva(w.Kc, 2);
  const bool plena =
      variante_corta && !(finitos(w.f[3], w.f[4], w.f[5], w.f[6]) && finitos(w.T[7], w.T[8], 0, 0));
  necesita_[l] = plena ? 3 : (filaActiva(w.Kc, 1) ? 1 : 0) | (filaActiva(w.Kc, 2) ? 2 : 0);
  for (int k = 0; k < kNumK; ++k) d_.K[k][l] = w.Kc[k + kFilaK];
  for (int s = 2; s <= 11; ++s) d_.T[s - 2][l] = w.T[s];
  for (int c = 0; c < 4; ++c) d_.f[c][l] = w.f[c + 3];
  for (int j = 0; j < 5; ++j) {
    d_.lig[j][l] = w.f[j + 7];
    d_.cambio[j][l] = w.cambio[j + 7];
    d_.pn[j][l] = d_.po[j][l] = 0.0;
    d_.pend[j][l] = 0;
  }
  d_.oh[l] = w.OH;
  d_.pasadas[l] = 0.0;
  d_.activo[l] = ~uint64_t{0};
}

void CarrilesPares::descargar(int l, bool al_plano) {
  TrabajoFuerzaIonica& w = *trabajos_[l];
  if (al_plano) paresIonicos(w, epsilon_);  // w still holds what the loop started from
  trabajos_[l] = nullptr;
  d_.activo[l] = 0;
  necesita_[l] = 0;
  if (al_plano) return;
  w.OH = d_.oh[l];
  w.f[2] = d_.oh[l];
  for (int c = 0; c < 4; ++c) w.f[c + 3] = d_.f[c][l];
  for (int j = 0; j < 5; ++j) {
    const double lig = d_.lig[j][l];
    w.f[j + 7] = lig;
    w.nueva[j + 7] = lig;
    w.cambio[j + 7] =
        d_.pend[j][l] != 0 ? porcentajeEscalar(d_.pn[j][l], d_.po[j][l]) : d_.cambio[j][l];
  }
  const auto pasadas = static_cast<int16_t>(d_.pasadas[l]);
  w.pasadas_pares = pasadas;
  w.total_pares += pasadas;
}

unsigned CarrilesPares::avanzar() {
  if (!algunoOcupado()) return 0;
  int variante = 0;
  for (int l = 0; l < kCarriles; ++l) variante |= necesita_[l];
  const unsigned bits = (avx2_ ? kPasesAvx2 : kPasesSse2)[variante](d_, epsilon_);
  const unsigned fin = bits & ((1u << kCarriles) - 1);
  for (int l = 0; l < kCarriles; ++l) {
    if (fin & (1u << l)) descargar(l, (bits >> kCarriles) & (1u << l));
  }
  return fin;
}

}  // namespace medravolix
