// The values a batch result can take. Every number a simulation writes passes this check as its
// cells are formatted, after its chain and before the batch writes anything: a value that no
// soil, crop or climate can have (not finite; a negative amount of water, concentration, EC,
// concentration factor or depth; a leaching fraction outside 0 to 1; a pH outside 0 to 14)
// refuses the simulation whole, naming the result and the input rows it came from. The readers
// check the inputs cell by cell; this is the net behind them, for inputs that are each
// acceptable but together, or through the model, give an impossible result.
#pragma once

#include <string>
#include <string_view>

#include "simulation/simulacion.h"

namespace medravolix::batch {

// The inputs of a simulation, as flags: those a result is computed from.
enum EntradaResultado : unsigned {
  kDelSuelo = 1u << 0,
  kDelClima = 1u << 1,
  kDelCultivo = 1u << 2,
  kDelRiego = 1u << 3,
  kDelAgua = 1u << 4,
  kDeLaQuimica = 1u << 5,  // the Constants and Parameters sheets
};

// The soil water balance uses the soil, the climate, the crop and the irrigation; the soil
// solution adds the irrigation water and the chemistry's constants.
constexpr unsigned kEntradasBalance = kDelSuelo | kDelClima | kDelCultivo | kDelRiego;
constexpr unsigned kEntradasSolucion = kEntradasBalance | kDelAgua | kDeLaQuimica;

// Where a simulation found its inputs (see the look-ups of lectura_batch.h).
struct FilasEntradas {
  int suelo = 0, horizontes = 0;  // the first horizon's row and the number of horizons
  int clima = 0, cultivo = 0;     // the first rows of the twelve-month blocks
  int riego = 0, agua = 0;
};

// A result that no soil can hold: the message names the result, its cell and why; `entradas`
// holds the inputs it came from.
class ResultadoImposible : public SimulacionRechazada {
 public:
  ResultadoImposible(const std::string& motivo, unsigned entradas)
      : SimulacionRechazada(motivo), entradas_(entradas) {}
  unsigned entradas() const { return entradas_; }

 private:
  unsigned entradas_;
};

// Returns v, the number to be written to the result cell hoja!(fila, columna), when the result
// can take it; throws ResultadoImposible otherwise.
double resultadoPosible(std::string_view hoja, int fila, int columna, double v);

// The inputs of the step of the model that refused: the water balance's or the soil solution's.
unsigned entradasDelPaso(const CalculoRechazado& rechazo);

// "it came from the inputs of Sim_batch row 2: Soil_batch rows 1 to 3, ..., Constants and
// Parameters": the rows of the inputs flagged in `entradas` that simulation i used.
std::string textoEntradas(int i, const FilasEntradas& filas, unsigned entradas);

}  // namespace medravolix::batch
