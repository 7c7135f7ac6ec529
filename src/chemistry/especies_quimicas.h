// The numbering of the soil solution's 12 species, 24 ion pairs and 30 equilibrium constants, as
// the records ESPECIES, PARES and CONSTANTES (1-based) and the sheets Constants and Parameters
// use it.
#pragma once

namespace medravolix::quimica {

// ---- species, the index into ESPECIES ----
inline constexpr int kH = 1;
inline constexpr int kOH = 2;
inline constexpr int kNa = 3;
inline constexpr int kK = 4;
inline constexpr int kCa = 5;
inline constexpr int kMg = 6;
inline constexpr int kAnion1 = 7;  // the first further anion (chloride in the sample workbook)
inline constexpr int kAnion2 = 8;  // the second further anion (nitrate in the sample workbook)
inline constexpr int kSO4 = 9;
inline constexpr int kHCO3 = 10;
inline constexpr int kCO3 = 11;
inline constexpr int kCO2 = 12;  // dissolved CO2
inline constexpr int kNumEspecies = 12;

// ---- ion pairs: cation c (1..4) with ligand a (0..5) is pair 4a + c ----
inline constexpr int kNumCationes = 4;  // Na+, K+, Ca2+, Mg2+
inline constexpr int kNumLigandos = 6;  // OH- (a = 0), then species 7..11 (a = 1..5)
inline constexpr int kNumPares = 24;

constexpr int especieCation(int c) {
  return c + 2;
}
constexpr int especieLigando(int a) {
  return a == 0 ? kOH : a + 6;
}
constexpr int par(int a, int c) {
  return 4 * a + c;
}

inline constexpr int kCationCa = kCa - 2;
inline constexpr int kCationMg = kMg - 2;
inline constexpr int kLigandoSO4 = kSO4 - 6;
inline constexpr int kLigandoCO3 = kCO3 - 6;

// The neutral pairs whose activity has its own formula: CaSO4, MgSO4, CaCO3 and MgCO3.
constexpr bool esParNeutroEspecial(int p) {
  return p == par(kLigandoSO4, kCationCa) || p == par(kLigandoSO4, kCationMg) ||
         p == par(kLigandoCO3, kCationCa) || p == par(kLigandoCO3, kCationMg);
}

// ---- constants, the index into CONSTANTES ----
inline constexpr int kKCO2 = 1;          // CO2 gas to dissolved CO2
inline constexpr int kKAgua = 2;         // water into H+ and OH-
inline constexpr int kKBicarbonato = 3;  // dissolved CO2 and water into H+ and HCO3-
inline constexpr int kKCarbonato = 4;    // HCO3- into H+ and CO3 2-
inline constexpr int kKCalcita = 5;
inline constexpr int kKYeso = 6;
inline constexpr int kNumConstantes = 30;

// The formation constant of pair p: constants 7..30.
constexpr int constantePar(int p) {
  return p + 6;
}

}  // namespace medravolix::quimica
