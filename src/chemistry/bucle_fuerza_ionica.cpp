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
    if (carga2_[s] != 0) {
      especies_cargadas_[num_especies_cargadas_++] = static_cast<uint8_t>(s);
    } else {
      especies_sin_carga_[num_especies_sin_carga_++] = static_cast<uint8_t>(s);
    }
  }
  for (int p = 1; p <= kNumPares; ++p) {
    if (carga2_par_[p] != 0 && K_[constantePar(p)] != 0) {
      pares_cargados_[num_pares_cargados_++] = static_cast<uint8_t>(p);
    } else {
      pares_sin_sumar_[num_pares_sin_sumar_++] = static_cast<uint8_t>(p);
    }
  }
  for (int a = 0; a < kNumLigandos; ++a) {
    for (int c = 1; c <= kNumCationes; ++c) {
      cation_par_[par(a, c)] = static_cast<uint8_t>(especieCation(c));
      ligando_par_[par(a, c)] = static_cast<uint8_t>(especieLigando(a));
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

CalculoRechazado rechazoSolucion(const std::string& detalle) {
  return CalculoRechazado(CalculoRechazado::Paso::Solucion,
                          "the soil solution cannot be computed: " + detalle);
}

CalculoRechazado rechazoHidrogeno(double h) {
  return rechazoSolucion(std::string("the H+ concentration of the carbonate system is ") +
                         (h == 0 ? "0" : "not a number") +
                         " (check the water, CO2 and carbonic acid constants)");
}

void BucleFuerzaIonica::ejecutar(SalidaEquilibrio& solucion) {
  if (empezar(solucion)) return;
  correr();
  terminar(solucion);
}

void BucleFuerzaIonica::correr(TrabajoFuerzaIonica& w) const {
  do {
    antesDePares(w);
    paresIonicos(w, epsilon_);
  } while (despuesDePares(w));
}

void BucleFuerzaIonica::coeficientesSinCorregir(double I, double* g, double* gp) const {
  std::array<double, 37> por_clase;
  for (int i = 0; i < num_clases_; ++i) {
    const Clase& c = clases_[i];
    por_clase[i] = COEFICIENTE_ACTIVIDAD(I, c.z, c.kind, c.index);
  }
  for (int s = 1; s <= kNumEspecies; ++s) g[s] = por_clase[clase_especie_[s]];
  for (int p = 1; p <= kNumPares; ++p) gp[p] = por_clase[clase_par_[p]];
}

bool BucleFuerzaIonica::empezar(SalidaEquilibrio& solucion) {
  const Entrada entrada = cargar(solucion);
  const uint64_t huella = huellaDe(entrada);
  if (const Recuerdo* recuerdo = recordar(entrada, huella)) {
    guardar(recuerdo->salida, solucion);
    return true;
  }
  actual_ = &recuerdos_[siguiente_recuerdo_];
  siguiente_recuerdo_ = (siguiente_recuerdo_ + 1) % kRecuerdos;
  actual_->usado = false;  // until the run has ended
  actual_->huella = huella;
  actual_->entrada = entrada;
  TrabajoFuerzaIonica& w = actual_->salida;
  w = TrabajoFuerzaIonica{};
  w.T = entrada.T;
  w.f = entrada.f;
  w.nueva = entrada.nueva;
  w.cambio = entrada.cambio;
  w.I = entrada.I;
  w.I_nueva = entrada.I_nueva;
  w.cambio_I = entrada.cambio_I;
  w.OH = entrada.OH;
  w.alcalinidad = entrada.alcalinidad;
  return false;
}

void BucleFuerzaIonica::antesDePares(TrabajoFuerzaIonica& w) const {
  coeficientes(w);
  carbonato(w);
  constantesPares(w);
}

bool BucleFuerzaIonica::despuesDePares(TrabajoFuerzaIonica& w) const {
  nuevaFuerzaIonica(w);
  ++w.pasadas_I;
  ++w.total_I;
  return w.pasadas_I <= kMaxPasadasFuerzaIonica && w.cambio_I > epsilon_;
}

void BucleFuerzaIonica::terminar(SalidaEquilibrio& solucion) {
  actual_->usado = true;
  guardar(actual_->salida, solucion);
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

void BucleFuerzaIonica::guardar(const TrabajoFuerzaIonica& w, SalidaEquilibrio& solucion) const {
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
void BucleFuerzaIonica::coeficientes(TrabajoFuerzaIonica& w) const {
  coeficientesSinCorregir(w.I, w.g.data(), w.gp.data());
  // OH-, HCO3- and CO3 2-: a coefficient that applies to the total, with the free and total
  // values as the previous pass left them.
  for (int s : {kOH, kHCO3, kCO3}) {
    if (w.T[s] != 0 && w.f[s] != 0) w.g[s] = w.g[s] * w.f[s] / w.T[s];
  }
}

// The carbonate system at the solution's alkalinity and CO2 pressure.
void BucleFuerzaIonica::carbonato(TrabajoFuerzaIonica& w) const {
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
  if (!(h != 0 && std::isfinite(h))) throw rechazoHidrogeno(h);
  w.T[kH] = h;
  w.T[kOH] = k2 / h;
  w.T[kHCO3] = k3 * k1 * P_ / h;
  w.T[kCO3] = k3 * k1 * k4 * P_ / (h * h);
}

// K' = K g(cation) g(ligand) / g(pair), for the pair of ligand a and cation c.
void BucleFuerzaIonica::constantesPares(TrabajoFuerzaIonica& w) const {
  const auto& g = w.g;
  for (int p = 1; p <= kNumPares; ++p) {
    const int k = constantePar(p);
    w.Kc[k] = g[cation_par_[p]] * K_[k] * g[ligando_par_[p]] / w.gp[p];
  }
}

// The pairs' concentrations and the ionic strength they and the free species give.
void BucleFuerzaIonica::nuevaFuerzaIonica(TrabajoFuerzaIonica& w) const {
  const auto& f = w.f;
  for (int c = 1; c <= kNumCationes; ++c) {
    for (int a = 0; a < kNumLigandos; ++a) {
      const int p = par(a, c);
      w.par[p] = f[especieCation(c)] * w.Kc[constantePar(p)] * f[especieLigando(a)];
    }
  }
  // A neutral species or pair, or a pair switched off (concentration 0), adds an exact zero to
  // the sum, which changes nothing as long as every concentration is finite. A sum of the other
  // terms that is finite shows that their concentrations are finite; the rest are checked.
  double suma = 0.0;
  for (int i = 0; i < num_especies_cargadas_; ++i) {
    const int s = especies_cargadas_[i];
    suma = suma + carga2_[s] * (f[s] * 0.5);
  }
  for (int i = 0; i < num_pares_cargados_; ++i) {
    const int p = pares_cargados_[i];
    suma = suma + carga2_par_[p] * (w.par[p] * 0.5);
  }
  bool finitas = std::isfinite(suma);
  for (int i = 0; i < num_especies_sin_carga_; ++i)
    finitas &= std::isfinite(f[especies_sin_carga_[i]]);
  for (int i = 0; i < num_pares_sin_sumar_; ++i)
    finitas &= std::isfinite(w.par[pares_sin_sumar_[i]]);
  if (!finitas) {
    suma = 0.0;
    for (int s = kNa; s <= kCO3; ++s) suma = suma + carga2_[s] * (f[s] * 0.5);
    for (int p = 1; p <= kNumPares; ++p) suma = suma + carga2_par_[p] * (w.par[p] * 0.5);
  }
  w.I_nueva = suma;
  if (w.I_nueva != 0) w.cambio_I = std::fabs((w.I_nueva - w.I) / w.I_nueva) * 100;
  w.I = w.I_nueva;
}

}  // namespace medravolix
