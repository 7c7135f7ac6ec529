// The ionic-strength loop of the soil-solution equilibrium, with the ion-pair loop inside it:
// activity coefficients at the current ionic strength, the carbonate system, the conditional
// constants of the 24 pairs, the free concentrations by mass action and the new ionic strength,
// pass after pass until the ionic strength no longer changes or 101 passes are done.
//
// This is where a solve spends nearly all its time (tens of thousands of ionic-strength passes
// and hundreds of thousands of ion-pair passes per simulation), so it runs on local copies of the
// variables and evaluates each distinct activity formula once per pass. When the calcite loop
// falls into a cycle (its last digits going round the same few values), the loop is entered
// again with exactly the variables of an earlier run; it then gives exactly that run's result,
// which is taken from a small memory of recent runs instead of being computed again. These
// shortcuts change no bit of any value or variable the loop leaves behind: the pinned values of
// the chemistry tests, and the batch's result cells, are those of the loop computed pass by pass
// as the model describes it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "chemistry/bucle_pares.h"
#include "chemistry/datos_equilibrio.h"
#include "simulation/simulacion.h"

namespace medravolix {

// "the soil solution cannot be computed: " and the detail: a refusal of the equilibrium as it
// computes, from the simulation's inputs taken together.
CalculoRechazado rechazoSolucion(const std::string& detalle);

// The refusal when the carbonate system gives an H+ concentration h of 0 or not a number.
CalculoRechazado rechazoHidrogeno(double h);

class BucleFuerzaIonica {
 public:
  // Takes what stays fixed for one solve: the charges, the equilibrium constants (already
  // computed from log K) and EPSILON of the solution, and the CO2 pressure P.
  BucleFuerzaIonica(const SalidaEquilibrio& solucion, double P);

  // Runs the loop from FUERZA_IONICA as the caller set it, updating ESPECIES, PARES, CONSTANTES
  // and the loop variables of the solution's state. Throws SimulacionRechazada when [H+] comes
  // out 0. The same as the steps below with paresIonicos for the ion-pair loop.
  void ejecutar(SalidaEquilibrio& solucion);

  // The loop in steps, for a caller that runs it elsewhere, several solutions at a time:
  // empezar, then the passes on trabajo() (correr, or the same passes in the lanes of
  // CarrilesFuerzaIonica), then terminar. empezar returns true when a remembered run has already
  // given the result: then no pass follows.
  bool empezar(SalidaEquilibrio& solucion);
  TrabajoFuerzaIonica& trabajo() { return actual_->salida; }
  void correr() { correr(trabajo()); }  // throws as ejecutar
  void correr(TrabajoFuerzaIonica& w) const;
  void terminar(SalidaEquilibrio& solucion);

  // What the lanes need of the passes: the activity coefficients of every species (1..12) and
  // pair (1..24) at ionic strength I, before any correction; and the fixed values.
  void coeficientesSinCorregir(double I, double* g, double* gp) const;
  const std::array<double, 31>& K() const { return K_; }
  const std::array<double, 12>& carga2() const { return carga2_; }
  const std::array<double, 25>& carga2Par() const { return carga2_par_; }
  double P() const { return P_; }
  double epsilon() const { return epsilon_; }

 private:
  // Every variable the loop reads before writing it: with equal bits, the loop's run is equal.
  struct Entrada {
    std::array<double, 12> T{};       // CONC_TOTAL of species 1..11
    std::array<double, 12> f{};       // CONC_LIBRE of species 1..11
    std::array<double, 12> nueva{};   // CONC_LIBRE_NUEVA of ligands 7..11
    std::array<double, 12> cambio{};  // CAMBIO_RELATIVO of ligands 7..11
    double I = 0.0, I_nueva = 0.0, cambio_I = 0.0, OH = 0.0, alcalinidad = 0.0;
  };

  // A species or pair that shares its activity formula with others: the arguments of
  // COEFICIENTE_ACTIVIDAD that stand for all of them.
  struct Clase {
    double z;
    int16_t kind, index;
  };

  // One earlier run of the loop: what it started from and what it left.
  struct Recuerdo {
    uint64_t huella = 0;
    bool usado = false;
    Entrada entrada;
    TrabajoFuerzaIonica salida;
  };
  static constexpr int kRecuerdos = 32;

  int claseDe(double z, int16_t kind, int16_t index);
  static Entrada cargar(const SalidaEquilibrio& solucion);
  const Recuerdo* recordar(const Entrada& entrada, uint64_t huella) const;
  void guardar(const TrabajoFuerzaIonica& w, SalidaEquilibrio& solucion) const;
  void antesDePares(TrabajoFuerzaIonica& w) const;
  bool despuesDePares(TrabajoFuerzaIonica& w) const;
  void coeficientes(TrabajoFuerzaIonica& w) const;
  void carbonato(TrabajoFuerzaIonica& w) const;
  void constantesPares(TrabajoFuerzaIonica& w) const;
  void nuevaFuerzaIonica(TrabajoFuerzaIonica& w) const;

  std::array<Clase, 37> clases_{};
  int num_clases_ = 0;
  std::array<uint8_t, 13> clase_especie_{};
  std::array<uint8_t, 25> clase_par_{};
  std::array<double, 12> carga2_{};      // squared charge of species 1..11
  std::array<double, 25> carga2_par_{};  // squared charge of pairs 1..24
  std::array<double, 31> K_{};           // K_EQUILIBRIO of constants 1..30
  // the terms of the ionic strength that can differ from 0: charged species, charged pairs that
  // are switched on
  std::array<uint8_t, 9> especies_cargadas_{};
  int num_especies_cargadas_ = 0;
  std::array<uint8_t, 24> pares_cargados_{};
  int num_pares_cargados_ = 0;
  // and the others, whose concentrations must be finite for those terms to be the whole sum
  std::array<uint8_t, 9> especies_sin_carga_{};
  int num_especies_sin_carga_ = 0;
  std::array<uint8_t, 24> pares_sin_sumar_{};
  int num_pares_sin_sumar_ = 0;
  std::array<uint8_t, 25> cation_par_{}, ligando_par_{};  // the species of pair 1..24
  double P_ = 0.0;
  double epsilon_ = 0.0;
  std::vector<Recuerdo> recuerdos_;
  int siguiente_recuerdo_ = 0;
  Recuerdo* actual_ = nullptr;  // the run in progress
};

}  // namespace medravolix
