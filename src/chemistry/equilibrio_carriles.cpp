#include "chemistry/equilibrio_carriles.h"

#include <array>
#include <memory>
#include <optional>

#include "chemistry/actividad.h"
#include "chemistry/carriles_pares.h"
#include "chemistry/equilibrio_solucion.h"
#include "chemistry/resolucion_equilibrio.h"

namespace medravolix {

namespace {

class Planificador {
 public:
  Planificador(FuenteSimulaciones& fuente, const TablasQuimicas& tablas)
      : fuente_(fuente), tablas_(tablas), carriles_(CALCULAR_EPSILON()) {}

  void ejecutar() {
    for (int l = 0; l < CarrilesPares::kCarriles; ++l) seguir(l);
    while (carriles_.algunoOcupado()) {
      const unsigned fin = carriles_.avanzar();
      for (int l = 0; l < CarrilesPares::kCarriles; ++l) {
        if (fin & (1u << l)) seguir(l);
      }
    }
  }

 private:
  struct Ranura {
    Simulacion* sim = nullptr;
    std::unique_ptr<ResolucionEquilibrio> resolucion;
  };

  // Runs the solve of lane l up to its next ion-pair loop, which the lane then takes; a solve
  // that ends hands its simulation back, and the lane takes the next simulation.
  void seguir(int l) {
    Ranura& r = ranuras_[l];
    for (;;) {
      if (r.sim == nullptr && !tomar(r)) return;
      std::exception_ptr fallo;
      try {
        if (TrabajoFuerzaIonica* w = r.resolucion->avanzar()) {
          carriles_.cargar(l, *w);
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
  CarrilesPares carriles_;
  std::array<Ranura, CarrilesPares::kCarriles> ranuras_;
};

}  // namespace

void equilibrioEnCarriles(FuenteSimulaciones& fuente, const TablasQuimicas& tablas) {
  Planificador(fuente, tablas).ejecutar();
}

}  // namespace medravolix
