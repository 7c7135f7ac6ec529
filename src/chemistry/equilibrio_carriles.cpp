#include "chemistry/equilibrio_carriles.h"

#include <array>
#include <memory>
#include <optional>

#include "chemistry/carriles_fuerza_ionica.h"
#include "chemistry/equilibrio_solucion.h"
#include "chemistry/resolucion_equilibrio.h"

namespace medravolix {

namespace {

class Planificador {
 public:
  Planificador(FuenteSimulaciones& fuente, const TablasQuimicas& tablas)
      : fuente_(fuente), tablas_(tablas) {}

  void ejecutar() {
    for (int l = 0; l < kCarriles; ++l) seguir(l);
    while (carriles_.algunoOcupado()) {
      std::array<std::exception_ptr, kCarriles> fallos{};
      const unsigned fin = carriles_.pasada(fallos);
      for (int l = 0; l < kCarriles; ++l) {
        if (!(fin & (1u << l))) continue;
        if (fallos[l]) ranuras_[l].resolucion->fallar(fallos[l]);
        seguir(l);
      }
    }
  }

 private:
  struct Ranura {
    Simulacion* sim = nullptr;
    std::unique_ptr<ResolucionEquilibrio> resolucion;
  };

  static constexpr int kCarriles = CarrilesFuerzaIonica::kCarriles;

  // Runs the solve of lane l up to its next run of the ionic-strength loop, which the lane then
  // takes; a solve that ends hands its simulation back, and the lane takes the next simulation.
  void seguir(int l) {
    Ranura& r = ranuras_[l];
    for (;;) {
      if (r.sim == nullptr && !tomar(r)) return;
      std::exception_ptr fallo;
      try {
        if (BucleFuerzaIonica* bucle = r.resolucion->avanzar()) {
          carriles_.cargar(l, *bucle, bucle->trabajo());
          return;
        }
        ponerEquilibrio(*r.sim, r.resolucion->salida());
      } catch (...) {
        fallo = std::current_exception();
      }
      devolver(r, fallo);
    }
  }

  // The next simulation whose solution has a value; those without one go back at once.
  bool tomar(Ranura& r) {
    while (Simulacion* sim = fuente_.siguiente()) {
      r.sim = sim;
      std::exception_ptr fallo;
      try {
        const std::optional<EntradaEquilibrio> entrada = prepararEquilibrio(*sim, tablas_);
        if (entrada) {
          r.resolucion = std::make_unique<ResolucionEquilibrio>(*entrada);
          return true;
        }
      } catch (...) {
        fallo = std::current_exception();
      }
      devolver(r, fallo);
    }
    return false;
  }

  void devolver(Ranura& r, std::exception_ptr fallo) {
    Simulacion& sim = *r.sim;
    r.sim = nullptr;
    r.resolucion.reset();
    fuente_.terminada(sim, fallo);
  }

  FuenteSimulaciones& fuente_;
  const TablasQuimicas& tablas_;
  CarrilesFuerzaIonica carriles_;
  std::array<Ranura, kCarriles> ranuras_;
};

}  // namespace

void equilibrioEnCarriles(FuenteSimulaciones& fuente, const TablasQuimicas& tablas) {
  if (CarrilesFuerzaIonica::rinden()) {
    Planificador(fuente, tablas).ejecutar();
    return;
  }
  while (Simulacion* sim = fuente.siguiente()) {  // one after another, on the plain path
    std::exception_ptr fallo;
    try {
      EQUILIBRIO_SOLUCION_SUELO(*sim, tablas);
    } catch (...) {
      fallo = std::current_exception();
    }
    fuente.terminada(*sim, fallo);
  }
}

}  // namespace medravolix
