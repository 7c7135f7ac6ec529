// One solve of the soil-solution equilibrium that stops before each run of its ionic-strength
// loop, so that a caller can run those loops elsewhere: in the lanes of CarrilesFuerzaIonica,
// several solves at a time on one thread. The solve itself (the gypsum and calcite loops, the
// remembered runs, the pH and the conductivity) is the one of resolverEquilibrio.
#pragma once

#include <coroutine>
#include <exception>

#include "chemistry/bucle_fuerza_ionica.h"
#include "chemistry/datos_equilibrio.h"

namespace medravolix {

class ResolucionEquilibrio {
 public:
  explicit ResolucionEquilibrio(const EntradaEquilibrio& entrada);
  ~ResolucionEquilibrio();
  ResolucionEquilibrio(const ResolucionEquilibrio&) = delete;
  ResolucionEquilibrio& operator=(const ResolucionEquilibrio&) = delete;

  // Runs the solve to its next run of the ionic-strength loop and returns the loop, or nullptr
  // when the solve has ended; the loop must have run (correr) before the next call, or failed
  // (fallar). Throws SimulacionRechazada when the solution cannot be computed.
  BucleFuerzaIonica* avanzar();
  // The loop handed out could not run: the next avanzar throws this.
  void fallar(std::exception_ptr fallo) { fallo_ = fallo; }

  double epsilon() const { return salida_.estado.EPSILON; }
  const SalidaEquilibrio& salida() const { return salida_; }

 private:
  struct Tarea {
    struct promise_type {
      std::exception_ptr fallo;
      Tarea get_return_object() {
        return Tarea{std::coroutine_handle<promise_type>::from_promise(*this)};
      }
      std::suspend_always initial_suspend() noexcept { return {}; }
      std::suspend_always final_suspend() noexcept { return {}; }
      void return_void() {}
      void unhandled_exception() { fallo = std::current_exception(); }
    };
    std::coroutine_handle<promise_type> h;
  };

  Tarea pasos(double P);

  SalidaEquilibrio salida_;
  BucleFuerzaIonica* peticion_ = nullptr;
  std::exception_ptr fallo_;
  Tarea tarea_;
};

}  // namespace medravolix
