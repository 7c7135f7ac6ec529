// Several runs of the ionic-strength loop at once, each in its own lane of the vector registers:
// eight lanes, as two registers of four doubles where the processor has AVX2. (Four registers
// of two, SSE2, give the same bits but are slower than the plain loop one run after another:
// the batch uses the lanes only with AVX2; tests and the benchmark can ask for SSE2.) All busy
// lanes make one ionic-strength pass together: the activity coefficients (the scalar pow of each
// lane's formulas), the carbonate system, the pair constants, the ion-pair loop (each lane stops at
// its own last pass and waits for the others) and the new ionic strength. A lane whose run has
// ended is handed back at once, so the caller can refill it with the next run that waits.
//
// Every lane does exactly the operations of BucleFuerzaIonica::correr in the same order, one IEEE
// operation per operation (no fused multiply-add, no flush of tiny values to zero), so each run
// leaves bit for bit the variables the plain loop leaves. The ion-pair loop leaves out the pairs
// of ligand 7 or 8 where they are switched off, as paresIonicos does, in the variant every busy
// lane allows (one that keeps pairs a lane has not switched on only adds exact zeros to it); a
// lane that meets a value that is not finite in such a variant runs its loop again on the plain
// path. The ionic strength is summed over every term, the exact zeros of neutral species and
// switched-off pairs included, which gives the plain loop's sum.
#pragma once

#include <array>
#include <cstdint>
#include <exception>

#include "chemistry/bucle_fuerza_ionica.h"

namespace medravolix {

class CarrilesFuerzaIonica {
 public:
  static constexpr int kCarriles = 8;

  // forzar_sse2: the two-lane registers even where AVX2 is there (for tests).
  explicit CarrilesFuerzaIonica(bool forzar_sse2 = false);

  bool usaAvx2() const { return avx2_; }
  // Whether the lanes are faster than the plain loop on this processor: it has AVX2.
  static bool rinden();
  bool libre(int carril) const { return bucles_[carril] == nullptr; }
  bool algunoOcupado() const;

  // Starts a run of bucle's loop on w (as BucleFuerzaIonica::correr would run it) in a free
  // lane. Both stay the caller's; w is written when the run ends.
  void cargar(int carril, const BucleFuerzaIonica& bucle, TrabajoFuerzaIonica& w);

  // One ionic-strength pass of every busy lane. Returns the lanes whose run has ended, as bits:
  // their variables are back in their w, or fallos holds why the run could not go on ([H+] of
  // 0 or not a number, w then left as it was); either way the lane is free.
  unsigned pasada(std::array<std::exception_ptr, kCarriles>& fallos);

  // The lanes' variables, one row of eight lanes per variable, numbered as in
  // TrabajoFuerzaIonica.
  struct alignas(64) Datos {
    double K[31][kCarriles];       // K_EQUILIBRIO
    double carga2[12][kCarriles];  // squared charges of species 3..11
    double carga2_par[25][kCarriles];
    double P[kCarriles];
    double T[12][kCarriles], f[12][kCarriles], nueva[12][kCarriles], cambio[12][kCarriles];
    double g[13][kCarriles], gp[25][kCarriles], par[25][kCarriles], Kc[31][kCarriles];
    double I[kCarriles], I_nueva[kCarriles], cambio_I[kCarriles], OH[kCarriles];
    double alcalinidad[kCarriles];
    double h[kCarriles];  // [H+] of the carbonate step
    // the ion-pair loop: where it started, and its changes not yet made percentages
    double f_inicio[12][kCarriles], cambio_inicio[12][kCarriles];
    double pn[12][kCarriles], po[12][kCarriles];
    uint64_t pend[12][kCarriles];
    double pasadas[kCarriles];
    uint64_t vivo[kCarriles];      // all ones where the ion-pair loop still runs
    uint64_t estable[kCarriles];   // all ones where no ligand changed in this pass
    uint64_t al_plano[kCarriles];  // all ones where it must run again on the plain path
    uint64_t activo[kCarriles];    // all ones where a run is loaded
  };

 private:
  unsigned cabeza();
  void pares();
  void cola();
  void guardar(int carril);
  void alPlano(int carril);

  Datos d_{};
  std::array<const BucleFuerzaIonica*, kCarriles> bucles_{};
  std::array<TrabajoFuerzaIonica*, kCarriles> trabajos_{};
  std::array<int16_t, kCarriles> pasadas_I_{}, pasadas_pares_{};
  std::array<int64_t, kCarriles> total_I_{}, total_pares_{};
  double epsilon_ = 0.0;
  bool avx2_;
};

}  // namespace medravolix
