#include "chemistry/bucle_fuerza_ionica.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <string>
#include <type_traits>

#include "chemistry/actividad.h"
#include "chemistry/especies_quimicas.h"
#include "simulation/simulacion.h"

namespace medravolix {

namespace {

using namespace quimica;

constexpr int kMaxPasadasPares = 100;         // the loop ends when its counter exceeds this
constexpr int kMaxPasadasFuerzaIonica = 100;  // likewise

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

// Two species or pairs whose activity coefficients are equal at every ionic strength: the same
// squared charge under the Davies equation, or the same formula for neutral ones.
bool mismaFormula(double z1, int16_t kind1, int16_t index1, double z2, int16_t kind2,
                  int16_t index2) {
  if (z1 != 0 || z2 != 0) {
    return z1 != 0 && z2 != 0 &&
           std::bit_cast<uint64_t>(z1 * z1) == std::bit_cast<uint64_t>(z2 * z2);
  }
  if (kind1 != kind2) return false;
  return kind1 != kParIonico || esParNeutroEspecial(index1) == esParNeutroEspecial(index2);
}

// FNV-1a over the bits of the loop's starting variables.
template <class T>
uint64_t huellaDe(const T& valor) {
  static_assert(sizeof(T) % sizeof(uint64_t) == 0);
  std::array<uint64_t, sizeof(T) / sizeof(uint64_t)> palabras;
  std::memcpy(palabras.data(), &valor, sizeof(T));
  uint64_t h = 14695981039346656037ull;
  for (uint64_t p : palabras) h = (h ^ p) * 1099511628211ull;
  return h;
}

}  // namespace

BucleFuerzaIonica::BucleFuerzaIonica(const SalidaEquilibrio& solucion, double P) {
  for (int s = 1; s <= kNumEspecies; ++s) {
    const double z = solucion.ESPECIES[s].CARGA;
    clase_especie_[s] = static_cast<uint8_t>(claseDe(z, kEspecieLibre, static_cast<int16_t>(s)));
    if (s <= 11) carga2_[s] = z * z;
  }
  for (int p = 1; p <= kNumPares; ++p) {
    const double z = solucion.estado.PARES[p].CARGA;
    clase_par_[p] = static_cast<uint8_t>(claseDe(z, kParIonico, static_cast<int16_t>(p)));
    carga2_par_[p] = z * z;
  }
  for (int k = 1; k <= kNumConstantes; ++k) K_[k] = solucion.estado.CONSTANTES[k].K_EQUILIBRIO;
  for (int s = kNa; s <= kCO3; ++s) {
    if (carga2_[s] != 0) especies_cargadas_[num_especies_cargadas_++] = static_cast<uint8_t>(s);
  }
  for (int p = 1; p <= kNumPares; ++p) {
    if (carga2_par_[p] != 0 && K_[constantePar(p)] != 0) {
      pares_cargados_[num_pares_cargados_++] = static_cast<uint8_t>(p);
    }
  }
  P_ = P;
  epsilon_ = solucion.estado.EPSILON;
  recuerdos_.resize(kRecuerdos);
}

int BucleFuerzaIonica::claseDe(double z, int16_t kind, int16_t index) {
  for (int i = 0; i < num_clases_; ++i) {
    const Clase& c = clases_[i];
    if (mismaFormula(z, kind, index, c.z, c.kind, c.index)) return i;
  }
  clases_[num_clases_] = Clase{z, kind, index};
  return num_clases_++;
}

void BucleFuerzaIonica::ejecutar(SalidaEquilibrio& solucion) {
  const Entrada entrada = cargar(solucion);
  const uint64_t huella = huellaDe(entrada);
  if (const Recuerdo* recuerdo = recordar(entrada, huella)) {
    guardar(recuerdo->salida, solucion);
    return;
  }
  Recuerdo& nuevo = recuerdos_[siguiente_recuerdo_];
  siguiente_recuerdo_ = (siguiente_recuerdo_ + 1) % kRecuerdos;
  nuevo.usado = false;
  calcular(entrada, nuevo.salida);
  nuevo.huella = huella;
  nuevo.entrada = entrada;
  nuevo.usado = true;
  guardar(nuevo.salida, solucion);
}

const BucleFuerzaIonica::Recuerdo* BucleFuerzaIonica::recordar(const Entrada& entrada,
                                                               uint64_t huella) const {
  for (const Recuerdo& r : recuerdos_) {
    if (r.usado && r.huella == huella && std::memcmp(&r.entrada, &entrada, sizeof entrada) == 0) {
      return &r;
    }
  }
  return nullptr;
}

void BucleFuerzaIonica::calcular(const Entrada& entrada, Trabajo& w) const {
  w = Trabajo{};
  w.T = entrada.T;
  w.f = entrada.f;
  w.nueva = entrada.nueva;
  w.cambio = entrada.cambio;
  w.I = entrada.I;
  w.I_nueva = entrada.I_nueva;
  w.cambio_I = entrada.cambio_I;
  w.OH = entrada.OH;
  w.alcalinidad = entrada.alcalinidad;
  w.pasadas_I = 0;
  for (;;) {
    coeficientes(w);
    carbonato(w);
    constantesPares(w);
    paresIonicos(w);
    nuevaFuerzaIonica(w);
    ++w.pasadas_I;
    ++w.total_I;
    if (w.pasadas_I > kMaxPasadasFuerzaIonica || !(w.cambio_I > epsilon_)) break;
  }
}

BucleFuerzaIonica::Entrada BucleFuerzaIonica::cargar(const SalidaEquilibrio& solucion) {
  Entrada e;
  for (int s = 1; s <= kCO3; ++s) {
    const REGISTRO_ESPECIE& especie = solucion.ESPECIES[s];
    e.T[s] = especie.CONC_TOTAL;
    e.f[s] = especie.CONC_LIBRE;
    e.nueva[s] = especie.CONC_LIBRE_NUEVA;
    e.cambio[s] = especie.CAMBIO_RELATIVO;
  }
  const EstadoQuimica& q = solucion.estado;
  e.I = q.FUERZA_IONICA;
  e.I_nueva = q.FUERZA_IONICA_NUEVA;
  e.cambio_I = q.CAMBIO_FUERZA_IONICA;
  e.OH = q.OH_LIBRE;
  e.alcalinidad = solucion.ALCALINIDAD;
  return e;
}

void BucleFuerzaIonica::guardar(const Trabajo& w, SalidaEquilibrio& solucion) const {
  for (int s = 1; s <= kCO3; ++s) {
    REGISTRO_ESPECIE& e = solucion.ESPECIES[s];
    e.CONC_TOTAL = w.T[s];
    e.CONC_LIBRE = w.f[s];
    e.CONC_LIBRE_NUEVA = w.nueva[s];
    e.CAMBIO_RELATIVO = w.cambio[s];
  }
  for (int s = 1; s <= kNumEspecies; ++s) solucion.ESPECIES[s].COEF_ACTIVIDAD = w.g[s];
  EstadoQuimica& q = solucion.estado;
  for (int p = 1; p <= kNumPares; ++p) {
    q.PARES[p].COEF_ACTIVIDAD = w.gp[p];
    q.PARES[p].CONC_LIBRE = w.par[p];
  }
  for (int k = 1; k <= kNumConstantes; ++k) {
    if (k != kKCalcita && k != kKYeso) q.CONSTANTES[k].K_CONDICIONAL = w.Kc[k];
  }
  q.FUERZA_IONICA = w.I;
  q.FUERZA_IONICA_NUEVA = w.I_nueva;
  q.CAMBIO_FUERZA_IONICA = w.cambio_I;
  q.OH_LIBRE = w.OH;
  q.ITERACIONES[kIteracionFuerzaIonica] = w.pasadas_I;
  q.ITERACIONES[kIteracionPares] = w.pasadas_pares;
  q.PASADAS.fuerza_ionica += w.total_I;
  q.PASADAS.pares += w.total_pares;
}

// Activity coefficients at the current ionic strength: one evaluation per distinct formula.
void BucleFuerzaIonica::coeficientes(Trabajo& w) const {
  std::array<double, 37> por_clase;
  for (int i = 0; i < num_clases_; ++i) {
    const Clase& c = clases_[i];
    por_clase[i] = COEFICIENTE_ACTIVIDAD(w.I, c.z, c.kind, c.index);
  }
  for (int s = 1; s <= kNumEspecies; ++s) w.g[s] = por_clase[clase_especie_[s]];
  for (int p = 1; p <= kNumPares; ++p) w.gp[p] = por_clase[clase_par_[p]];
  // OH-, HCO3- and CO3 2-: a coefficient that applies to the total, with the free and total
  // values as the previous pass left them.
  for (int s : {kOH, kHCO3, kCO3}) {
    if (w.T[s] != 0 && w.f[s] != 0) w.g[s] = w.g[s] * w.f[s] / w.T[s];
  }
}

// The carbonate system at the solution's alkalinity and CO2 pressure.
void BucleFuerzaIonica::carbonato(Trabajo& w) const {
  const auto& g = w.g;
  w.Kc[kKCO2] = K_[kKCO2] / g[kCO2];
  w.Kc[kKAgua] = K_[kKAgua] / (g[kOH] * g[kH]);
  w.Kc[kKBicarbonato] = K_[kKBicarbonato] * g[kCO2] / (g[kHCO3] * g[kH]);
  w.Kc[kKCarbonato] = K_[kKCarbonato] * g[kHCO3] / (g[kCO3] * g[kH]);
  const double k1 = w.Kc[kKCO2], k2 = w.Kc[kKAgua];
  const double k3 = w.Kc[kKBicarbonato], k4 = w.Kc[kKCarbonato];
  const double A = w.alcalinidad;
  const double t = k3 * k1 * P_ + k2;
  double h = 0.0;
  if (A > 0) {
    h = (t + std::sqrt(t * t + 8 * A * k1 * k3 * k4 * P_)) / (2 * A);
  } else {
    h = (std::sqrt(A * A + 4 * t) - A) / 2;
  }
  if (!(h != 0 && std::isfinite(h))) {
    throw SimulacionRechazada(
        std::string("the soil solution cannot be computed: the H+ concentration of the carbonate "
                    "system is ") +
        (h == 0 ? "0" : "not a number") + " (check the water, CO2 and carbonic acid constants)");
  }
  w.T[kH] = h;
  w.T[kOH] = k2 / h;
  w.T[kHCO3] = k3 * k1 * P_ / h;
  w.T[kCO3] = k3 * k1 * k4 * P_ / (h * h);
}

// K' = K g(cation) g(ligand) / g(pair), for the pair of ligand a and cation c.
void BucleFuerzaIonica::constantesPares(Trabajo& w) const {
  const auto& g = w.g;
  for (int c = 1; c <= kNumCationes; ++c) {
    const double g_cation = g[especieCation(c)];
    for (int a = 0; a < kNumLigandos; ++a) {
      const int p = par(a, c), k = constantePar(p);
      w.Kc[k] = g_cation * K_[k] * g[especieLigando(a)] / w.gp[p];
    }
  }
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
bool BucleFuerzaIonica::buclePares(Trabajo& w) const {
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
void BucleFuerzaIonica::paresIonicos(Trabajo& w) const {
  const bool pares7 = filaActiva(w.Kc, kAnion1 - 6), pares8 = filaActiva(w.Kc, kAnion2 - 6);
  bool hecho = false;
  if (!pares7 && !pares8) {
    hecho = buclePares<false, false>(w);
  } else if (!pares7) {
    hecho = buclePares<false, true>(w);
  } else if (!pares8) {
    hecho = buclePares<true, false>(w);
  }
  if (!hecho) buclePares<true, true>(w);
}

// The pairs' concentrations and the ionic strength they and the free species give.
void BucleFuerzaIonica::nuevaFuerzaIonica(Trabajo& w) const {
  const auto& f = w.f;
  for (int c = 1; c <= kNumCationes; ++c) {
    for (int a = 0; a < kNumLigandos; ++a) {
      const int p = par(a, c);
      w.par[p] = f[especieCation(c)] * w.Kc[constantePar(p)] * f[especieLigando(a)];
    }
  }
  // A neutral species or pair, or a pair switched off (concentration 0), adds an exact zero to
  // the sum, which changes nothing as long as every concentration is finite.
  bool finitas = true;
  for (int s = kNa; s <= kCO3; ++s) finitas &= std::isfinite(f[s]);
  for (int p = 1; p <= kNumPares; ++p) finitas &= std::isfinite(w.par[p]);
  double suma = 0.0;
  if (finitas) {
    for (int i = 0; i < num_especies_cargadas_; ++i) {
      const int s = especies_cargadas_[i];
      suma = suma + carga2_[s] * (f[s] * 0.5);
    }
    for (int i = 0; i < num_pares_cargados_; ++i) {
      const int p = pares_cargados_[i];
      suma = suma + carga2_par_[p] * (w.par[p] * 0.5);
    }
  } else {
    for (int s = kNa; s <= kCO3; ++s) suma = suma + carga2_[s] * (f[s] * 0.5);
    for (int p = 1; p <= kNumPares; ++p) suma = suma + carga2_par_[p] * (w.par[p] * 0.5);
  }
  w.I_nueva = suma;
  if (w.I_nueva != 0) w.cambio_I = std::fabs((w.I_nueva - w.I) / w.I_nueva) * 100;
  w.I = w.I_nueva;
}

}  // namespace medravolix
