#include "batch/entradas_simulacion.h"

#include <utility>

namespace medravolix::batch {

namespace {

// Copies (or moves) every input field from one record to the other; both types name them alike.
template <typename De, typename A>
void pasarEntradas(De&& de, A& a) {
  a.SIMULACION = std::forward<De>(de).SIMULACION;
  a.NUM_FILAS_SUELO = de.NUM_FILAS_SUELO;
  a.PROF_FILA = std::forward<De>(de).PROF_FILA;
  a.ARENA_FILA = std::forward<De>(de).ARENA_FILA;
  a.ARCILLA_FILA = std::forward<De>(de).ARCILLA_FILA;
  a.SAT_FILA = std::forward<De>(de).SAT_FILA;
  a.CC_FILA = std::forward<De>(de).CC_FILA;
  a.PMP_FILA = std::forward<De>(de).PMP_FILA;
  a.DENSIDAD_FILA = std::forward<De>(de).DENSIDAD_FILA;
  a.PIEDRAS_FILA = std::forward<De>(de).PIEDRAS_FILA;
  a.CALIZA_FILA = std::forward<De>(de).CALIZA_FILA;
  a.MO_FILA = std::forward<De>(de).MO_FILA;
  a.YESO_FILA = std::forward<De>(de).YESO_FILA;
  a.PCO2 = de.PCO2;
  a.COMPOSICION_AGUA = de.COMPOSICION_AGUA;
  a.ALCALINIDAD_AGUA = de.ALCALINIDAD_AGUA;
  a.ESTACION = std::forward<De>(de).ESTACION;
  a.ETO_MENSUAL = de.ETO_MENSUAL;
  a.KCB_MENSUAL = de.KCB_MENSUAL;
  a.RAIZ_MENSUAL = de.RAIZ_MENSUAL;
  a.COBERTURA_MENSUAL = de.COBERTURA_MENSUAL;
  a.DATOS_RIEGO = std::forward<De>(de).DATOS_RIEGO;
  a.PATRON_EXTRACCION = de.PATRON_EXTRACCION;
}

}  // namespace

EntradasSimulacion tomarEntradas(Simulacion&& sim) {
  EntradasSimulacion entradas;
  pasarEntradas(std::move(sim), entradas);
  return entradas;
}

void ponerEntradas(const EntradasSimulacion& entradas, Simulacion& sim) {
  pasarEntradas(entradas, sim);
}

}  // namespace medravolix::batch
