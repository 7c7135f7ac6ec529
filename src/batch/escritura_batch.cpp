#include "batch/escritura_batch.h"

#include <cmath>
#include <optional>

#include "batch/hojas_batch.h"
#include "batch/resultados_posibles.h"

namespace medravolix::batch {

using workbook::CellValue;

namespace {

// Adds cells to a list, refusing a number that the result cannot take (resultados_posibles.h).
class Escritor {
 public:
  explicit Escritor(LoteEscrituras& lote) : lote_(lote) {}

  void valor(std::string_view hoja, int fila, int columna, CellValue v) {
    lote_.push_back({hoja, fila, columna, std::move(v)});
  }
  void numero(std::string_view hoja, int fila, int columna, double v) {
    valor(hoja, fila, columna, CellValue::number(resultadoPosible(hoja, fila, columna, v)));
  }
  // A result that may have no value: an empty cell then.
  void opcional(std::string_view hoja, int fila, int columna, const std::optional<double>& v) {
    if (v) {
      numero(hoja, fila, columna, *v);
    } else {
      valor(hoja, fila, columna, CellValue());
    }
  }
  // A result that is written as a lower bound when `mayor_que` is set.
  void cota(std::string_view hoja, int fila, int columna, const std::optional<double>& v,
            bool mayor_que) {
    if (v && mayor_que) {
      valor(hoja, fila, columna,
            CellValue::text(formaMayorQue(resultadoPosible(hoja, fila, columna, *v))));
    } else {
      opcional(hoja, fila, columna, v);
    }
  }

 private:
  LoteEscrituras& lote_;
};

// The options' texts in Sim_batch column 10 and SSol_batch column 11; a value outside the
// options writes nothing.
const char* textoCapacidad(OpcionCapacidad opcion) {
  switch (opcion) {
    case OpcionCapacidad::Pedotransferencia:
      return "Yes";
    case OpcionCapacidad::Empirica:
      return "No";
  }
  return nullptr;
}

const char* textoSolucion(OpcionSolucion opcion) {
  switch (opcion) {
    case OpcionSolucion::CapacidadCampo:
      return "field capacity";
    case OpcionSolucion::Saturacion:
      return "saturation";
    case OpcionSolucion::Drenaje:
      return "drainage";
  }
  return nullptr;
}

int capaFondo(const Simulacion& sim) {
  if (sim.NUM_CAPAS < 1 || sim.NUM_CAPAS > kCapas) {
    throw SimulacionRechazada("the profile has " + std::to_string(sim.NUM_CAPAS) +
                              " layers; the model computes 1 to 64");
  }
  return sim.NUM_CAPAS;
}

}  // namespace

std::string formaMayorQue(double valor) {
  // The nearest whole number, halves to even (the default rounding mode), in any magnitude.
  return "> " + workbook::plainDecimal(std::nearbyint(valor));
}

void ESCRIBIR_AJUSTES(const Simulacion& sim, int i, LoteEscrituras& lote) {
  Escritor e(lote);
  const int fila = filaSimulacion(i);
  e.numero(kHojaSimulaciones, fila, 7, sim.PROF_EVAPORATIVA);
  e.numero(kHojaSimulaciones, fila, 8, sim.PROF_SIMULACION);
  e.numero(kHojaSimulaciones, fila, 9, sim.NUM_CAPAS);
  if (const char* texto = textoCapacidad(sim.OPCION_CAPACIDAD)) {
    e.valor(kHojaSimulaciones, fila, 10, CellValue::text(texto));
  }
}

void ESCRIBIR_SOLUCION(const Simulacion& sim, int i, LoteEscrituras& lote) {
  Escritor e(lote);
  const int fila = filaSimulacion(i);
  const bool mq = sim.SALIDA_MAYOR_QUE;
  const auto h = kHojaSolucion;
  e.valor(h, fila, 1, sim.SIMULACION.ID_SIMULACION);
  e.cota(h, fila, 2, sim.FACTOR_CONCENTRACION_CC, mq);
  e.cota(h, fila, 3, sim.FACTOR_CONCENTRACION_SAT, mq);
  e.opcional(h, fila, 4, sim.FRACCION_LAVADO);
  e.numero(h, fila, 5, sim.PRECIPITACION_ANUAL);
  e.numero(h, fila, 6, sim.DATOS_RIEGO.RIEGO_ANUAL);
  e.numero(h, fila, 7, sim.DRENAJE_ANUAL_CAPA[capaFondo(sim)]);
  e.numero(h, fila, 8, sim.ETO_ANUAL);
  e.numero(h, fila, 9, sim.ETC_ANUAL);
  e.numero(h, fila, 10, sim.ET_REAL_ANUAL);
  if (const char* texto = textoSolucion(sim.OPCION_SOLUCION)) {
    e.valor(h, fila, 11, CellValue::text(texto));
  }
  // The soil solution: columns 12 to 21, all empty when it has no value.
  const auto con_valor = [&](double v) {
    return sim.SOLUCION_CON_VALOR ? std::optional<double>(v) : std::nullopt;
  };
  for (int k = 3; k <= 9; ++k)
    e.cota(h, fila, k + 9, con_valor(1000 * sim.ESPECIES[k].CONC_TOTAL), mq);
  e.cota(h, fila, 19, con_valor(1000 * sim.ALCALINIDAD), mq);
  e.opcional(h, fila, 20, con_valor(sim.PH));
  e.cota(h, fila, 21, con_valor(sim.CE), mq);
}

void ESCRIBIR_BALANCE(const Simulacion& sim, int i, LoteEscrituras& lote) {
  Escritor e(lote);
  const int fondo = capaFondo(sim);
  const auto h = kHojaBalance;
  for (int m = 1; m <= kMeses; ++m) {
    const int fila = filaBalance(i, m);
    e.valor(h, fila, 1, sim.SIMULACION.ID_SIMULACION);
    e.numero(h, fila, 2, sim.ESTACION.PRECIPITACION[m]);
    e.numero(h, fila, 3, sim.DATOS_RIEGO.RIEGO_MENSUAL[m]);
    e.numero(h, fila, 4, sim.ETO_MENSUAL[m]);
    e.numero(h, fila, 5, sim.ETC_POTENCIAL[m]);
    e.numero(h, fila, 6, sim.ET_REAL_MENSUAL[m]);
    e.numero(h, fila, 7, sim.DRENAJE_CAPA[m][fondo]);
  }
}

LoteEscrituras escribirResultados(const Simulacion& sim, int i) {
  LoteEscrituras lote;
  lote.reserve(4 + 21 + 12 * 7);
  ESCRIBIR_AJUSTES(sim, i, lote);
  ESCRIBIR_SOLUCION(sim, i, lote);
  ESCRIBIR_BALANCE(sim, i, lote);
  return lote;
}

void comprobarEscrituras(const workbook::Workbook& libro, const LoteEscrituras& lote) {
  for (const Escritura& c : lote) libro.checkWritable(c.hoja, c.fila, c.columna);
}

void aplicarEscrituras(workbook::Workbook& libro, const LoteEscrituras& lote) {
  for (const Escritura& c : lote) libro.setCell(c.hoja, c.fila, c.columna, c.valor);
}

}  // namespace medravolix::batch
