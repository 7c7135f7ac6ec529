#include "balance/balance_capas.h"

#include <cmath>
#include <string>

#include "simulation/simulacion.h"

namespace medravolix {

namespace {

// Layer `capa` in month m: rainfall and irrigation enter the surface layer, the drainage of
// the layer above enters the others.
void aplicarBalanceCapaMes(Simulacion& sim, int m, int capa) {
  EstadoBalance& b = sim.balance;
  const double entrada = capa == 1
                             ? sim.DATOS_RIEGO.RIEGO_MENSUAL[m] + sim.ESTACION.PRECIPITACION[m]
                             : sim.DRENAJE_CAPA[m][capa - 1];
  b.ENTRADA_CAPA[m][capa] = entrada;
  const ResultadoCapaMes r =
      balanceCapaMes(entrada, b.ALMACEN_CAPA[m - 1][capa], sim.DEMANDA_ET_CAPA[m][capa],
                     sim.CAPACIDAD_CAPA[m][capa]);
  b.AGUA_DISPONIBLE[m][capa] = r.disponible;
  b.ET_REAL_CAPA[m][capa] = r.et_real;
  b.ALMACEN_CAPA[m][capa] = r.almacen;
  sim.DRENAJE_CAPA[m][capa] = r.drenaje;
}

// One year, layer by layer from the top, each layer month by month from September; January
// starts from this pass's December.
void pasadaAnual(Simulacion& sim) {
  const int num_capas = sim.NUM_CAPAS;
  for (int capa = 1; capa <= num_capas; ++capa) {
    for (int16_t paso = 1; paso <= kMeses; ++paso) {
      const int m = MES_DE_SIMULACION(paso);
      if (m == 1) sim.balance.ALMACEN_CAPA[0][capa] = sim.balance.ALMACEN_CAPA[12][capa];
      aplicarBalanceCapaMes(sim, m, capa);
    }
  }
}

// The year's net storage change as a percentage of the input; a year without input has nothing
// to balance and closes at once.
double errorBalance(const EstadoBalance& b) {
  if (b.ENTRADA_AGUA_ANUAL == 0.0) return 0.0;
  return std::fabs(b.ENTRADA_AGUA_ANUAL - b.SALIDA_AGUA_ANUAL) * 100.0 / b.ENTRADA_AGUA_ANUAL;
}

}  // namespace

ResultadoCapaMes balanceCapaMes(double entrada_mm, double almacen_anterior_mm, double demanda_mm,
                                double capacidad_mm) {
  const double disponible = entrada_mm + almacen_anterior_mm;
  if (!(disponible > demanda_mm)) {
    return {disponible, disponible < 0.0 ? 0.0 : disponible, 0.0, 0.0};
  }
  const double sobrante = disponible - demanda_mm;
  if (!(sobrante > capacidad_mm)) return {sobrante, demanda_mm, sobrante, 0.0};
  return {sobrante, demanda_mm, capacidad_mm, sobrante - capacidad_mm};
}

int16_t MES_DE_SIMULACION(const int16_t& k) {
  return static_cast<int16_t>(k < 5 ? k - 4 + 12 : k - 4);
}

void SUMAS_ANUALES(Simulacion& sim) {
  sim.PRECIPITACION_ANUAL = 0.0;
  sim.DATOS_RIEGO.RIEGO_ANUAL = 0.0;
  sim.ETO_ANUAL = 0.0;
  for (int m = 1; m <= kMeses; ++m) {
    sim.PRECIPITACION_ANUAL = sim.PRECIPITACION_ANUAL + sim.ESTACION.PRECIPITACION[m];
    sim.DATOS_RIEGO.RIEGO_ANUAL = sim.DATOS_RIEGO.RIEGO_ANUAL + sim.DATOS_RIEGO.RIEGO_MENSUAL[m];
    sim.ETO_ANUAL = sim.ETO_ANUAL + sim.ESTACION.ETO_EXTERNA[m];
  }
  sim.balance.ENTRADA_AGUA_ANUAL = sim.DATOS_RIEGO.RIEGO_ANUAL + sim.PRECIPITACION_ANUAL;
}

void BALANCE_AGUA_CAPAS(Simulacion& sim) {
  EstadoBalance& b = sim.balance;
  const int num_capas = sim.NUM_CAPAS;
  for (int capa = 1; capa <= num_capas; ++capa) b.ALMACEN_CAPA[8][capa] = 0.0;
  ++b.corridasBalance;
  for (int64_t pasadas = 1;; ++pasadas) {
    if (pasadas > kMaxPasadasBalance) {
      throw CalculoRechazado(CalculoRechazado::Paso::Balance,
                             "the soil water balance did not close within " +
                                 std::to_string(kMaxPasadasBalance) + " yearly passes");
    }
    pasadaAnual(sim);
    ++b.pasadasBalance;
    CALCULAR_ET_REAL(sim);
    DRENAJE_ANUAL_CAPAS(sim);
    b.SALIDA_AGUA_ANUAL = sim.ET_REAL_ANUAL + sim.DRENAJE_ANUAL_CAPA[num_capas];
    b.ERROR_BALANCE = errorBalance(b);
    if (b.ERROR_BALANCE < kErrorCierrePct) return;
  }
}

void CALCULAR_ET_REAL(Simulacion& sim) {
  sim.ET_REAL_ANUAL = 0.0;
  for (int m = 1; m <= kMeses; ++m) {
    double suma_mm = 0.0;
    for (int capa = 1; capa <= sim.NUM_CAPAS; ++capa) suma_mm += sim.balance.ET_REAL_CAPA[m][capa];
    sim.ET_REAL_MENSUAL[m] = suma_mm;
    sim.ET_REAL_ANUAL = sim.ET_REAL_ANUAL + sim.ET_REAL_MENSUAL[m];
  }
}

void DRENAJE_ANUAL_CAPAS(Simulacion& sim) {
  for (int capa = 1; capa <= sim.NUM_CAPAS; ++capa) {
    sim.DRENAJE_ANUAL_CAPA[capa] = 0.0;
    for (int m = 1; m <= kMeses; ++m) {
      sim.DRENAJE_ANUAL_CAPA[capa] = sim.DRENAJE_CAPA[m][capa] + sim.DRENAJE_ANUAL_CAPA[capa];
    }
  }
}

}  // namespace medravolix
