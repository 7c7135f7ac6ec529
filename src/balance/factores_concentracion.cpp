#include "balance/factores_concentracion.h"

#include <algorithm>
#include <string>

#include "balance/pedotransferencia.h"
#include "balance/promedios_perfil.h"
#include "common/enteros.h"
#include "common/number_text.h"
#include "simulation/simulacion.h"

namespace medravolix {

namespace {

// The depth of simulation holds no whole layer when the roots deepen the profile to more than
// 128 times it: say which month's root depth of which crop does.
std::string sinCapas(const Simulacion& sim) {
  int mes = 1;
  while (mes < kMeses && sim.RAIZ_MENSUAL[mes] < sim.RAIZ_MAXIMA) ++mes;
  return "the depth of simulation, " + shortDecimal(sim.PROF_SIMULACION) +
         " cm, holds no whole layer of the " + shortDecimal(sim.PROF_PERFIL) +
         " cm profile, as deep as the root depth of month " + std::to_string(mes) +
         " of the crop " + sim.SIMULACION.ID_CULTIVO.toDisplayText() + " (a layer is " +
         shortDecimal(sim.PROF_PERFIL / sim.NUM_CAPAS) + " cm thick)";
}

// Layers from the surface within the depth of simulation, cut at the first one that does not
// drain in the year (every layer below it is dry of drainage too). Returns the reason when no
// layer is left.
std::string contarCapasDrenantes(Simulacion& sim) {
  EstadoBalance& b = sim.balance;
  if (sim.PROF_PERFIL != 0.0) {
    b.CAPAS_SIMULACION = toInt16(sim.NUM_CAPAS * sim.PROF_SIMULACION / sim.PROF_PERFIL,
                                 "layers within the depth of simulation");
  }
  const int ultima = std::min<int>(b.CAPAS_SIMULACION, sim.NUM_CAPAS);
  for (int capa = 1; capa <= ultima; ++capa) {
    if (sim.DRENAJE_ANUAL_CAPA[capa] == 0.0) {
      b.CAPAS_SIMULACION = static_cast<int16_t>(capa - 1);
      sim.SALIDA_MAYOR_QUE = true;
      break;
    }
  }
  if (b.CAPAS_SIMULACION > 0) return "";
  if (ultima > 0) return "the surface layer does not drain in the year";
  return sinCapas(sim);
}

// The mean over the counted layers of annual irrigation over each layer's annual drainage.
void factorCapacidadCampo(Simulacion& sim, const std::string& sin_capas) {
  EstadoBalance& b = sim.balance;
  b.SUMA_INVERSA_DRENAJE = 0.0;
  for (int capa = 1; capa <= b.CAPAS_SIMULACION; ++capa) {
    if (sim.DRENAJE_ANUAL_CAPA[capa] != 0.0) {
      b.SUMA_INVERSA_DRENAJE = b.SUMA_INVERSA_DRENAJE + 1.0 / sim.DRENAJE_ANUAL_CAPA[capa];
    }
  }
  if (b.CAPAS_SIMULACION > 0) {
    sim.FACTOR_CONCENTRACION_CC =
        sim.DATOS_RIEGO.RIEGO_ANUAL * b.SUMA_INVERSA_DRENAJE / b.CAPAS_SIMULACION;
  } else {
    sim.AVISOS.push_back(sin_capas +
                         ": the concentration factors at field capacity and saturation have no "
                         "value");
  }
}

// Field capacity and saturation of the profile, by the chosen method, and the mean CaCO3 and
// gypsum (which the pedotransfer regressions use).
void humedadesPerfil(Simulacion& sim) {
  EstadoBalance& b = sim.balance;
  if (sim.OPCION_CAPACIDAD == OpcionCapacidad::Empirica) {
    PROMEDIAR_HUMEDAD_PERFIL(sim);
    if (b.DENSIDAD_MEDIA != 0.0) {
      sim.CC_PERFIL = b.CC_MEDIA / b.DENSIDAD_MEDIA;
    } else {
      sim.AVISOS.push_back(
          "the mean bulk density of the soil is 0: its water content at field capacity has no "
          "value");
    }
  }
  PROMEDIAR_CARBONATOS_YESO(sim);
  if (sim.OPCION_CAPACIDAD == OpcionCapacidad::Pedotransferencia) {
    PROMEDIAR_TEXTURA_PERFIL(sim);
    sim.SAT_PERFIL =
        FUNCION_PEDOTRANSFERENCIA_PERFIL(b.ARCILLA_PERFIL, b.ARENA_PERFIL, b.MO_PERFIL,
                                         sim.CALIZA_PERFIL, PropiedadHidrica::Saturacion);
    sim.CC_PERFIL =
        FUNCION_PEDOTRANSFERENCIA_PERFIL(b.ARCILLA_PERFIL, b.ARENA_PERFIL, b.MO_PERFIL,
                                         sim.CALIZA_PERFIL, PropiedadHidrica::CapacidadCampo);
  }
}

// The same salts in the larger water content of saturation.
void factorSaturacion(Simulacion& sim) {
  if (!sim.FACTOR_CONCENTRACION_CC) return;  // its reason is already given
  if (!sim.CC_PERFIL) {
    sim.AVISOS.push_back(
        "the concentration factor at saturation has no value: the soil's water content at field "
        "capacity has none");
  } else if (!sim.SAT_PERFIL || *sim.SAT_PERFIL == 0.0) {
    sim.AVISOS.push_back(
        "the soil's water content at saturation is 0: the concentration factor at saturation "
        "has no value");
  } else {
    sim.FACTOR_CONCENTRACION_SAT = *sim.CC_PERFIL * *sim.FACTOR_CONCENTRACION_CC / *sim.SAT_PERFIL;
  }
}

// The relative rounding error of the year's sums of water, far above their last bit and far below
// any drainage a soil could add.
constexpr double kRedondeoBalance = 1e-12;

void factoresFondo(Simulacion& sim) {
  const double drenaje_fondo_mm = sim.DRENAJE_ANUAL_CAPA[sim.NUM_CAPAS];
  if (drenaje_fondo_mm != 0.0) {
    sim.FACTOR_CONCENTRACION_FONDO = sim.DATOS_RIEGO.RIEGO_ANUAL / drenaje_fondo_mm;
  } else if (sim.OPCION_SOLUCION == OpcionSolucion::Drenaje) {
    sim.AVISOS.push_back(
        "the bottom layer does not drain in the year: the concentration factor of the drainage "
        "water has no value");
  }
  const double entrada_mm = sim.PRECIPITACION_ANUAL + sim.DATOS_RIEGO.RIEGO_ANUAL;
  if (entrada_mm != 0.0) {
    // The year's drainage never exceeds its rain and irrigation; the sums of a balance without
    // evapotranspiration (a root zone thinner than one layer) may pass them by rounding alone.
    const double fraccion = drenaje_fondo_mm / entrada_mm;
    sim.FRACCION_LAVADO = fraccion > 1.0 && fraccion <= 1.0 + kRedondeoBalance ? 1.0 : fraccion;
  } else {
    sim.AVISOS.push_back(
        "the year has no rainfall and no irrigation: the leaching fraction has no value");
  }
}

}  // namespace

void CALCULAR_FACTORES_CONCENTRACION(Simulacion& sim) {
  sim.FACTOR_CONCENTRACION_CC.reset();
  sim.FACTOR_CONCENTRACION_SAT.reset();
  sim.FACTOR_CONCENTRACION_FONDO.reset();
  sim.FRACCION_LAVADO.reset();
  sim.CC_PERFIL.reset();
  sim.SAT_PERFIL.reset();
  factorCapacidadCampo(sim, contarCapasDrenantes(sim));
  humedadesPerfil(sim);
  factorSaturacion(sim);
  factoresFondo(sim);
}

}  // namespace medravolix
