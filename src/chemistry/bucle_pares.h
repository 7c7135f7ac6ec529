// The variables one run of the ionic-strength loop works on, 1-based like the model's arrays, and
// the ion-pair loop that runs inside each of its passes.
#pragma once

#include <array>
#include <cstdint>

namespace medravolix {

struct TrabajoFuerzaIonica {
  std::array<double, 12> T{};       // CONC_TOTAL of species 1..11
  std::array<double, 12> f{};       // CONC_LIBRE of species 1..11
  std::array<double, 12> nueva{};   // CONC_LIBRE_NUEVA of ligands 7..11
  std::array<double, 12> cambio{};  // CAMBIO_RELATIVO of ligands 7..11
  std::array<double, 13> g{};       // COEF_ACTIVIDAD of species 1..12
  std::array<double, 25> gp{};      // COEF_ACTIVIDAD of pairs 1..24
  std::array<double, 25> par{};     // CONC_LIBRE of pairs 1..24
  std::array<double, 31> Kc{};      // K_CONDICIONAL of constants 1..30
  double I = 0.0, I_nueva = 0.0, cambio_I = 0.0, OH = 0.0, alcalinidad = 0.0;
  int16_t pasadas_I = 0, pasadas_pares = 0;
  int64_t total_I = 0, total_pares = 0;
};

// The ion-pair and the ionic-strength loop end when their counter exceeds these.
inline constexpr int kMaxPasadasPares = 100;
inline constexpr int kMaxPasadasFuerzaIonica = 100;

// The ion-pair loop: free OH- and ligands from the cations of the previous pass, then the cations
// from the new ligands, until no ligand's free concentration changes by more than epsilon
// percent or 101 passes are done. Reads Kc, T, f and cambio; writes OH, f 2..11, nueva, cambio,
// pasadas_pares and total_pares.
void paresIonicos(TrabajoFuerzaIonica& w, double epsilon);

}  // namespace medravolix
