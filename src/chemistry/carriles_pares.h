// Several ion-pair loops at once, each in its own lane of the vector registers: eight lanes, as
// two registers of four doubles where the processor has AVX2, else four registers of two
// (SSE2). A lane whose loop has ended is handed back at once, so the caller can refill it with
// the next waiting loop while the others go on.
//
// Every lane does exactly the operations of paresIonicos in the same order, one IEEE operation
// per operation (no fused multiply-add, no flush of tiny values to zero), so each loop's result
// is bit for bit the one paresIonicos gives. Where the pairs of ligand 7 or 8 are switched off,
// the lanes leave them out as paresIonicos does, in the variant every busy lane allows (one that
// keeps pairs a lane has not switched on only adds exact zeros to it); a lane that meets a value
// that is not finite in such a variant runs its loop again on the plain path.
#pragma once

#include <array>
#include <cstdint>

#include "chemistry/bucle_pares.h"

namespace medravolix {

class CarrilesPares {
 public:
  static constexpr int kCarriles = 8;

  // forzar_sse2: the two-lane registers even where AVX2 is there (for tests).
  explicit CarrilesPares(double epsilon, bool forzar_sse2 = false);

  bool usaAvx2() const { return avx2_; }
  bool libre(int carril) const { return trabajos_[carril] == nullptr; }
  bool algunoOcupado() const;

  // Starts the ion-pair loop of w in a free lane. w stays the caller's; it is written when the
  // loop ends.
  void cargar(int carril, TrabajoFuerzaIonica& w);

  // Runs passes until at least one lane's loop ends; writes those loops' results into their
  // TrabajoFuerzaIonica, frees their lanes and returns them as a bit mask. Returns 0 when every
  // lane is free.
  unsigned avanzar();

  // The lanes' variables, one row of eight lanes per variable.
  struct alignas(64) Datos {
    double K[24][kCarriles];      // K_CONDICIONAL of constants 7..30
    double T[10][kCarriles];      // totals of species 2..11
    double f[4][kCarriles];       // free cations 3..6
    double lig[5][kCarriles];     // free ligands 7..11
    double cambio[5][kCarriles];  // CAMBIO_RELATIVO of the ligands
    double pn[5][kCarriles];      // new and old value behind a change not yet made a percentage
    double po[5][kCarriles];
    uint64_t pend[5][kCarriles];  // all ones where such a change waits
    double oh[kCarriles];
    double pasadas[kCarriles];
    uint64_t activo[kCarriles];  // all ones where a loop runs
  };

 private:
  void descargar(int carril, bool al_plano);

  Datos d_{};
  std::array<TrabajoFuerzaIonica*, kCarriles> trabajos_{};
  std::array<uint8_t, kCarriles> necesita_{};  // pairs of ligand 7 (bit 0) and 8 (bit 1)
  double epsilon_;
  bool avx2_;
};

}  // namespace medravolix
