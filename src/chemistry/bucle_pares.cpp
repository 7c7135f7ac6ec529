#include "chemistry/bucle_pares.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "chemistry/especies_quimicas.h"

namespace medravolix {

namespace {

using namespace quimica;

bool mismosBits(double a, double b) {
  return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

bool finitos(double a, double b, double c, double d) {
  return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

// Whether any of the four pairs of ligand a is switched on: a conditional constant other than an
// exact +0.
bool filaActiva(const std::array<double, 31>& Kc, int a) {
  for (int c = 1; c <= kNumCationes; ++c) {
    if (std::bit_cast<uint64_t>(Kc[constantePar(par(a, c))]) != 0) return true;
  }
  return false;
}

// The ion-pair loop: free OH- and ligands from the cations of the previous pass, then the cations
// from the new ligands, until no ligand's free concentration changes by more than EPSILON
// percent or 101 passes are done.
//
// For finite values, the relative change |(n - o) / n| x 100 of a new value n != 0 against the
// old o is either 0 (n == o) or at least 100 x 2^-54, far above EPSILON = 2^-53: the test
// "change <= EPSILON" is the test n - o == 0 (false as well for infinities and NaN, like the
// percentage). So the percentage is computed only for the last pass that set it, when the loop
// ends, or when a ligand whose new value is 0 falls back on its earlier change.
//
// A ligand whose four pairs are all switched off (K' exactly 0, as chloride and nitrate usually
// are) keeps its total free, and adds exact zeros to the cations' sums: the variants without
// pairs for species 7 or 8 leave those terms out. That holds while the cations stay finite; when
// they do not, the variant gives up and the loop runs again in full.
template <bool kPares7, bool kPares8>
bool buclePares(TrabajoFuerzaIonica& w, double epsilon_) {
  constexpr bool kAtajo = !kPares7 || !kPares8;
  const auto& K = w.Kc;
  const auto& T = w.T;
  double f3 = w.f[3], f4 = w.f[4], f5 = w.f[5], f6 = w.f[6];
  if constexpr (kAtajo) {
    if (!finitos(f3, f4, f5, f6) || !finitos(T[7], T[8], 0, 0)) return false;
  }
  std::array<double, 12> lig = w.f;  // free ligands 7..11
  std::array<double, 12> cambio = w.cambio;
  // the new and old values behind a change not yet turned into a percentage
  std::array<double, 12> pend_n{}, pend_o{};
  std::array<bool, 12> pendiente{};
  double oh = w.OH;
  int16_t pasadas = 0;
  const auto porcentaje = [](double n, double o) { return std::fabs((n - o) / n) * 100; };
  for (;;) {
    oh = T[2] / (1 + K[7] * f3 + K[8] * f4 + K[9] * f5 + K[10] * f6);
    std::array<double, 12> n;
    n[7] = kPares7 ? T[7] / (1 + K[11] * f3 + K[12] * f4 + K[13] * f5 + K[14] * f6) : T[7];
    n[8] = kPares8 ? T[8] / (1 + K[15] * f3 + K[16] * f4 + K[17] * f5 + K[18] * f6) : T[8];
    n[9] = T[9] / (1 + K[19] * f3 + K[20] * f4 + K[21] * f5 + K[22] * f6);
    n[10] = T[10] / (1 + K[23] * f3 + K[24] * f4 + K[25] * f5 + K[26] * f6);
    n[11] = T[11] / (1 + K[27] * f3 + K[28] * f4 + K[29] * f5 + K[30] * f6);
    bool estable = true;
#pragma GCC unroll 5
    for (int s = 7; s <= 11; ++s) {
      if (n[s] != 0) {
        estable = estable && n[s] - lig[s] == 0;
        pend_n[s] = n[s];
        pend_o[s] = lig[s];
        pendiente[s] = true;
      } else {
        if (pendiente[s]) cambio[s] = porcentaje(pend_n[s], pend_o[s]);
        pendiente[s] = false;
        estable = estable && cambio[s] <= epsilon_;
      }
      lig[s] = n[s];
    }
    const double l7 = lig[7], l8 = lig[8], l9 = lig[9], l10 = lig[10], l11 = lig[11];
    const double c3 = f3, c4 = f4, c5 = f5, c6 = f6;
    double d3 = 1 + K[7] * oh, d4 = 1 + K[8] * oh, d5 = 1 + K[9] * oh, d6 = 1 + K[10] * oh;
    if constexpr (kPares7) {
      d3 = d3 + K[11] * l7, d4 = d4 + K[12] * l7, d5 = d5 + K[13] * l7, d6 = d6 + K[14] * l7;
    }
    if constexpr (kPares8) {
      d3 = d3 + K[15] * l8, d4 = d4 + K[16] * l8, d5 = d5 + K[17] * l8, d6 = d6 + K[18] * l8;
    }
    f3 = T[3] / (d3 + K[19] * l9 + K[23] * l10 + K[27] * l11);
    f4 = T[4] / (d4 + K[20] * l9 + K[24] * l10 + K[28] * l11);
    f5 = T[5] / (d5 + K[21] * l9 + K[25] * l10 + K[29] * l11);
    f6 = T[6] / (d6 + K[22] * l9 + K[26] * l10 + K[30] * l11);
    if constexpr (kAtajo) {
      if (!finitos(f3, f4, f5, f6)) return false;
    }
    ++pasadas;
    if (pasadas > kMaxPasadasPares || estable) break;
    // Cations that come out with the very bits they went in with give every later pass the same
    // OH-, ligands and cations as this one: the loop stands still. The next pass ends it when it
    // finds every ligand unchanged, else the loop runs on unchanged to its cap; either way the
    // values stand and only the count of passes moves on.
    if (mismosBits(c3, f3) && mismosBits(c4, f4) && mismosBits(c5, f5) && mismosBits(c6, f6)) {
      bool termina = true;
      for (int s = 7; s <= 11; ++s) {
        if (lig[s] != 0) {
          termina = termina && lig[s] - lig[s] == 0;
          pend_n[s] = lig[s];
          pend_o[s] = lig[s];
          pendiente[s] = true;
        } else {
          termina = termina && cambio[s] <= epsilon_;
        }
      }
      pasadas = termina ? static_cast<int16_t>(pasadas + 1) : kMaxPasadasPares + 1;
      break;
    }
  }
  w.OH = oh;
  w.f[2] = oh;
  w.f[3] = f3;
  w.f[4] = f4;
  w.f[5] = f5;
  w.f[6] = f6;
  for (int s = 7; s <= 11; ++s) {
    w.f[s] = lig[s];
    w.nueva[s] = lig[s];
    w.cambio[s] = pendiente[s] ? porcentaje(pend_n[s], pend_o[s]) : cambio[s];
  }
  w.pasadas_pares = pasadas;
  w.total_pares += pasadas;
  return true;
}

// The ion-pair loop in the variant that the switched-off pairs allow.
}  // namespace

void paresIonicos(TrabajoFuerzaIonica& w, double epsilon) {
  const bool pares7 = filaActiva(w.Kc, kAnion1 - 6), pares8 = filaActiva(w.Kc, kAnion2 - 6);
  bool hecho = false;
  if (!pares7 && !pares8) {
    hecho = buclePares<false, false>(w, epsilon);
  } else if (!pares7) {
    hecho = buclePares<false, true>(w, epsilon);
  } else if (!pares8) {
    hecho = buclePares<true, false>(w, epsilon);
  }
  if (!hecho) buclePares<true, true>(w, epsilon);
}

}  // namespace medravolix
