#include "chemistry/bucle_fuerza_ionica.h"

#include <bit>
#include <cmath>
#include <string>

#include "chemistry/actividad.h"

namespace medravolix {

namespace {

constexpr int kMaxPasadasPares = 100;         // the loop ends when its counter exceeds this
constexpr int kMaxPasadasFuerzaIonica = 100;  // likewise

bool parNeutroEspecial(int16_t index) {
  return index == 15 || index == 16 || index == 23 || index == 24;
}

// Two species or pairs whose activity coefficients are equal at every ionic strength: the same
// squared charge under the Davies equation, or the same formula for neutral ones.
bool mismaFormula(double z1, int16_t kind1, int16_t index1, double z2, int16_t kind2,
                  int16_t index2) {
  if (z1 != 0 || z2 != 0) {
    return z1 != 0 && z2 != 0 && std::bit_cast<uint64_t>(z1 * z1) == std::bit_cast<uint64_t>(z2 * z2);
  }
  if (kind1 != kind2) return false;
  return kind1 != kParIonico || parNeutroEspecial(index1) == parNeutroEspecial(index2);
}

}  // namespace

BucleFuerzaIonica::BucleFuerzaIonica(const Simulacion& sim) {
  for (int s = 1; s <= 12; ++s) {
    const double z = sim.ESPECIES[s].CARGA;
    clase_especie_[s] = static_cast<uint8_t>(claseDe(z, kEspecieLibre, static_cast<int16_t>(s)));
    if (s <= 11) carga2_[s] = z * z;
  }
  for (int p = 1; p <= 24; ++p) {
    const double z = sim.QUIMICA.PARES[p].CARGA;
    clase_par_[p] = static_cast<uint8_t>(claseDe(z, kParIonico, static_cast<int16_t>(p)));
    carga2_par_[p] = z * z;
  }
  for (int k = 1; k <= 30; ++k) K_[k] = sim.QUIMICA.CONSTANTES[k].K_EQUILIBRIO;
  P_ = sim.PCO2;
  epsilon_ = sim.QUIMICA.EPSILON;
}

int BucleFuerzaIonica::claseDe(double z, int16_t kind, int16_t index) {
  for (int i = 0; i < num_clases_; ++i) {
    const Clase& c = clases_[i];
    if (mismaFormula(z, kind, index, c.z, c.kind, c.index)) return i;
  }
  clases_[num_clases_] = Clase{z, kind, index};
  return num_clases_++;
}

void BucleFuerzaIonica::ejecutar(Simulacion& sim) {
  Trabajo w;
  cargar(sim, w);
  w.pasadas_I = 0;
  for (;;) {
    coeficientes(w);
    carbonato(w);
    constantesPares(w);
    buclePares(w);
    nuevaFuerzaIonica(w);
    ++w.pasadas_I;
    ++w.total_I;
    if (w.pasadas_I > kMaxPasadasFuerzaIonica || !(w.cambio_I > epsilon_)) break;
  }
  guardar(w, sim);
}

void BucleFuerzaIonica::cargar(const Simulacion& sim, Trabajo& w) const {
  for (int s = 1; s <= 11; ++s) {
    const REGISTRO_ESPECIE& e = sim.ESPECIES[s];
    w.T[s] = e.CONC_TOTAL;
    w.f[s] = e.CONC_LIBRE;
    w.nueva[s] = e.CONC_LIBRE_NUEVA;
    w.cambio[s] = e.CAMBIO_RELATIVO;
  }
  const EstadoQuimica& q = sim.QUIMICA;
  w.I = q.FUERZA_IONICA;
  w.I_nueva = q.FUERZA_IONICA_NUEVA;
  w.cambio_I = q.CAMBIO_FUERZA_IONICA;
  w.OH = q.OH_LIBRE;
  w.alcalinidad = sim.ALCALINIDAD;
}

void BucleFuerzaIonica::guardar(const Trabajo& w, Simulacion& sim) const {
  for (int s = 1; s <= 11; ++s) {
    REGISTRO_ESPECIE& e = sim.ESPECIES[s];
    e.CONC_TOTAL = w.T[s];
    e.CONC_LIBRE = w.f[s];
    e.CONC_LIBRE_NUEVA = w.nueva[s];
    e.CAMBIO_RELATIVO = w.cambio[s];
  }
  for (int s = 1; s <= 12; ++s) sim.ESPECIES[s].COEF_ACTIVIDAD = w.g[s];
  EstadoQuimica& q = sim.QUIMICA;
  for (int p = 1; p <= 24; ++p) {
    q.PARES[p].COEF_ACTIVIDAD = w.gp[p];
    q.PARES[p].CONC_LIBRE = w.par[p];
  }
  for (int k = 1; k <= 30; ++k) {
    if (k != 5 && k != 6) q.CONSTANTES[k].K_CONDICIONAL = w.Kc[k];
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
  for (int s = 1; s <= 12; ++s) w.g[s] = por_clase[clase_especie_[s]];
  for (int p = 1; p <= 24; ++p) w.gp[p] = por_clase[clase_par_[p]];
  // OH-, HCO3- and CO3 2-: a coefficient that applies to the total, with the free and total
  // values as the previous pass left them.
  for (int s : {2, 10, 11}) {
    if (w.T[s] != 0 && w.f[s] != 0) w.g[s] = w.g[s] * w.f[s] / w.T[s];
  }
}

// The carbonate system at the solution's alkalinity and CO2 pressure.
void BucleFuerzaIonica::carbonato(Trabajo& w) const {
  const auto& g = w.g;
  w.Kc[1] = K_[1] / g[12];
  w.Kc[2] = K_[2] / (g[2] * g[1]);
  w.Kc[3] = K_[3] * g[12] / (g[10] * g[1]);
  w.Kc[4] = K_[4] * g[10] / (g[11] * g[1]);
  const double k1 = w.Kc[1], k2 = w.Kc[2], k3 = w.Kc[3], k4 = w.Kc[4];
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
        std::string("Soil solution cannot be computed: the H+ concentration of the carbonate "
                    "system is ") +
        (h == 0 ? "0" : "not a number") + " (check the water, CO2 and carbonic acid constants)");
  }
  w.T[1] = h;
  w.T[2] = k2 / h;
  w.T[10] = k3 * k1 * P_ / h;
  w.T[11] = k3 * k1 * k4 * P_ / (h * h);
}

// K' = K g(cation) g(ligand) / g(pair), for the pair 4a + c of ligand a and cation c.
void BucleFuerzaIonica::constantesPares(Trabajo& w) const {
  const auto& g = w.g;
  for (int c = 1; c <= 4; ++c) {
    const double g_cation = g[c + 2];
    w.Kc[c + 6] = g_cation * K_[c + 6] * g[2] / w.gp[c];
    for (int a = 1; a <= 5; ++a) {
      w.Kc[4 * a + c + 6] = g_cation * K_[4 * a + c + 6] * g[a + 6] / w.gp[4 * a + c];
    }
  }
}

// The ion-pair loop: free OH- and ligands from the cations of the previous pass, then the cations
// from the new ligands, until no ligand's free concentration changes by more than EPSILON
// percent or 101 passes are done.
void BucleFuerzaIonica::buclePares(Trabajo& w) const {
  const auto& K = w.Kc;
  const auto& T = w.T;
  double f3 = w.f[3], f4 = w.f[4], f5 = w.f[5], f6 = w.f[6];
  std::array<double, 12> lig = w.f;  // free ligands 7..11
  std::array<double, 12> nueva = w.nueva;
  std::array<double, 12> cambio = w.cambio;
  double oh = w.OH;
  int16_t pasadas = 0;
  for (;;) {
    oh = T[2] / (1 + K[7] * f3 + K[8] * f4 + K[9] * f5 + K[10] * f6);
    bool estable = true;
#pragma GCC unroll 5
    for (int s = 7; s <= 11; ++s) {
      const int k = 4 * (s - 6) + 6;
      const double n =
          T[s] / (1 + K[k + 1] * f3 + K[k + 2] * f4 + K[k + 3] * f5 + K[k + 4] * f6);
      if (n != 0) cambio[s] = std::fabs((n - lig[s]) / n) * 100;
      nueva[s] = n;
      lig[s] = n;
      if (!(cambio[s] <= epsilon_)) estable = false;
    }
    const double l7 = lig[7], l8 = lig[8], l9 = lig[9], l10 = lig[10], l11 = lig[11];
    f3 = T[3] / (1 + K[7] * oh + K[11] * l7 + K[15] * l8 + K[19] * l9 + K[23] * l10 + K[27] * l11);
    f4 = T[4] / (1 + K[8] * oh + K[12] * l7 + K[16] * l8 + K[20] * l9 + K[24] * l10 + K[28] * l11);
    f5 = T[5] / (1 + K[9] * oh + K[13] * l7 + K[17] * l8 + K[21] * l9 + K[25] * l10 + K[29] * l11);
    f6 = T[6] / (1 + K[10] * oh + K[14] * l7 + K[18] * l8 + K[22] * l9 + K[26] * l10 + K[30] * l11);
    ++pasadas;
    if (pasadas > kMaxPasadasPares || estable) break;
  }
  w.OH = oh;
  w.f[2] = oh;
  w.f[3] = f3;
  w.f[4] = f4;
  w.f[5] = f5;
  w.f[6] = f6;
  for (int s = 7; s <= 11; ++s) {
    w.f[s] = lig[s];
    w.nueva[s] = nueva[s];
    w.cambio[s] = cambio[s];
  }
  w.pasadas_pares = pasadas;
  w.total_pares += pasadas;
}

// The pairs' concentrations and the ionic strength they and the free species give.
void BucleFuerzaIonica::nuevaFuerzaIonica(Trabajo& w) const {
  const auto& f = w.f;
  for (int c = 1; c <= 4; ++c) {
    w.par[c] = f[c + 2] * w.Kc[c + 6] * f[2];
    for (int a = 1; a <= 5; ++a) w.par[4 * a + c] = f[c + 2] * w.Kc[4 * a + c + 6] * f[a + 6];
  }
  double suma = 0.0;
  for (int s = 3; s <= 11; ++s) suma = suma + carga2_[s] * (f[s] * 0.5);
  for (int p = 1; p <= 24; ++p) suma = suma + carga2_par_[p] * (w.par[p] * 0.5);
  w.I_nueva = suma;
  if (w.I_nueva != 0) w.cambio_I = std::fabs((w.I_nueva - w.I) / w.I_nueva) * 100;
  w.I = w.I_nueva;
}

}  // namespace medravolix
