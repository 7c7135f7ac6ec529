// Simulations for the water-balance tests, built directly in a Simulacion: a realistic olive
// orchard on a loam under a Mediterranean climate, and seeded random simulations.
#pragma once

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "batch/simulacion.h"

namespace medravolix::testing {

struct Horizonte {
  int16_t fondo_cm;
  double arena, arcilla, sat, cc, pmp, densidad, piedras, caliza, mo, yeso;
};

inline void PonerSuelo(Simulacion& sim, const std::vector<Horizonte>& horizontes) {
  const int n = static_cast<int>(horizontes.size());
  sim.NUM_FILAS_SUELO = static_cast<int16_t>(n);
  sim.PROF_FILA.assign(n + 1, 0);
  for (auto* v :
       {&sim.ARENA_FILA, &sim.ARCILLA_FILA, &sim.SAT_FILA, &sim.CC_FILA, &sim.PMP_FILA,
        &sim.DENSIDAD_FILA, &sim.PIEDRAS_FILA, &sim.CALIZA_FILA, &sim.MO_FILA, &sim.YESO_FILA}) {
    v->assign(n + 1, 0.0);
  }
  for (int k = 1; k <= n; ++k) {
    const Horizonte& h = horizontes[k - 1];
    sim.PROF_FILA[k] = h.fondo_cm;
    sim.ARENA_FILA[k] = h.arena;
    sim.ARCILLA_FILA[k] = h.arcilla;
    sim.SAT_FILA[k] = h.sat;
    sim.CC_FILA[k] = h.cc;
    sim.PMP_FILA[k] = h.pmp;
    sim.DENSIDAD_FILA[k] = h.densidad;
    sim.PIEDRAS_FILA[k] = h.piedras;
    sim.CALIZA_FILA[k] = h.caliza;
    sim.MO_FILA[k] = h.mo;
    sim.YESO_FILA[k] = h.yeso;
  }
}

inline Mensual Serie(std::initializer_list<double> doce) {
  Mensual serie{};
  int m = 1;
  for (double v : doce) serie[m++] = v;
  return serie;
}

// A drip-irrigated olive orchard on a calcareous loam, inland southern Spain.
inline Simulacion OlivarFrancoMediterraneo() {
  Simulacion sim;
  sim.PROF_EVAPORATIVA = 15.0;
  sim.PROF_SIMULACION = 90.0;
  sim.OPCION_CAPACIDAD = 1;
  PonerSuelo(sim, {{30, 42, 21, 0.42, 0.27, 0.12, 1.40, 5, 18, 1.6, 0.2},
                   {75, 38, 25, 0.44, 0.29, 0.14, 1.45, 8, 24, 0.9, 0.4},
                   {120, 35, 28, 0.45, 0.30, 0.16, 1.50, 12, 30, 0.5, 1.0}});
  sim.ESTACION.PRECIPITACION = Serie({68, 57, 44, 56, 34, 12, 3, 6, 26, 63, 79, 87});
  sim.ESTACION.DIAS_LLUVIA = Serie({7, 6, 5, 6, 4, 1, 0, 1, 2, 6, 7, 8});
  sim.ESTACION.ETO_EXTERNA = Serie({32, 46, 82, 106, 143, 179, 208, 188, 128, 79, 42, 29});
  sim.ETO_MENSUAL = sim.ESTACION.ETO_EXTERNA;
  sim.KCB_MENSUAL = Serie({0.50, 0.50, 0.55, 0.60, 0.60, 0.55, 0.50, 0.50, 0.55, 0.60, 0.55, 0.50});
  sim.RAIZ_MENSUAL = Serie({100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100});
  sim.COBERTURA_MENSUAL =
      Serie({0.35, 0.35, 0.35, 0.35, 0.36, 0.36, 0.36, 0.36, 0.36, 0.35, 0.35, 0.35});
  sim.DATOS_RIEGO.RIEGO_MENSUAL = Serie({0, 0, 0, 20, 45, 80, 110, 95, 50, 0, 0, 0});
  sim.DATOS_RIEGO.NRIEGOS_MENSUAL = Serie({0, 0, 0, 4, 8, 12, 15, 14, 8, 0, 0, 0});
  sim.DATOS_RIEGO.FRACCION_MOJADA = 0.3;
  sim.PATRON_EXTRACCION = {0.0, 0.4, 0.3, 0.2, 0.1};
  return sim;
}

// A random but computable simulation: 1 to 4 horizons, either capacity method, months without
// rain or irrigation, roots that may reach below the depth of simulation.
inline Simulacion SimulacionAleatoria(std::mt19937& gen) {
  auto u = [&gen](double a, double b) { return std::uniform_real_distribution<double>(a, b)(gen); };
  auto entero = [&gen](int a, int b) { return std::uniform_int_distribution<int>(a, b)(gen); };
  Simulacion sim;
  sim.PROF_SIMULACION = entero(20, 200);
  sim.PROF_EVAPORATIVA = entero(0, 20);
  sim.OPCION_CAPACIDAD = static_cast<int16_t>(entero(0, 1));
  std::vector<Horizonte> horizontes;
  int fondo = 0;
  for (int k = entero(1, 4); k > 0; --k) {
    fondo += entero(0, 80);
    const double pmp = u(0.03, 0.25);
    horizontes.push_back({static_cast<int16_t>(fondo), u(5, 90), u(2, 60), u(0.3, 0.6),
                          pmp + u(0.02, 0.2), pmp, u(1.1, 1.7), u(0, 40), u(0, 45), u(0, 4),
                          u(0, 5)});
  }
  PonerSuelo(sim, horizontes);
  const double lluvia_media = u(0, 120);
  const double riego_medio = entero(0, 3) == 0 ? 0.0 : u(0, 150);
  const double raiz_max = u(0, 250);
  for (int m = 1; m <= kMeses; ++m) {
    sim.ESTACION.PRECIPITACION[m] = entero(0, 4) == 0 ? 0.0 : u(0, 2 * lluvia_media);
    sim.ESTACION.DIAS_LLUVIA[m] = entero(0, 20);
    sim.ESTACION.ETO_EXTERNA[m] = u(10, 250);
    sim.KCB_MENSUAL[m] = u(0, 1.2);
    sim.RAIZ_MENSUAL[m] = u(0, raiz_max);
    sim.COBERTURA_MENSUAL[m] = u(0, 1);
    sim.DATOS_RIEGO.RIEGO_MENSUAL[m] = entero(0, 2) == 0 ? 0.0 : u(0, 2 * riego_medio);
    sim.DATOS_RIEGO.NRIEGOS_MENSUAL[m] = entero(0, 20);
  }
  sim.ETO_MENSUAL = sim.ESTACION.ETO_EXTERNA;
  sim.DATOS_RIEGO.FRACCION_MOJADA = u(0.1, 1);
  for (int q = 1; q <= 4; ++q) sim.PATRON_EXTRACCION[q] = u(0, 0.5);
  if (sim.PROF_EVAPORATIVA > sim.PROF_SIMULACION) sim.PROF_EVAPORATIVA = sim.PROF_SIMULACION;
  return sim;
}

// Bit-for-bit equality of two values of the same trivially copyable type.
template <typename T>
bool MismosBits(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

}  // namespace medravolix::testing
