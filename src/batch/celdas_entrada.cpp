#include "batch/celdas_entrada.h"

#include "common/number_text.h"
#include "workbook/workbook.h"

namespace medravolix::batch {

std::string motivoNumeroInutil(std::string_view hoja, int fila, int columna, double valor) {
  if (isUsableNumber(valor)) return "";
  return workbook::cellReference(hoja, fila, columna) + " holds " + shortDecimal(valor) +
         ", which is not a number the program can use";
}

std::string motivoFueraDeRango(const std::string& que, std::string_view hoja, int fila, int columna,
                               double valor, const RangoEntrada& rango) {
  if (valor >= rango.minimo && valor <= rango.maximo) return "";
  const std::string inicio =
      que + ", " + workbook::cellReference(hoja, fila, columna) + ", is " + shortDecimal(valor);
  if (valor > rango.maximo) {
    return inicio + "; it may not be larger than " + shortDecimal(rango.maximo) + rango.tope;
  }
  if (rango.minimo < 0.0) {
    return inicio + "; it may not be smaller than " + shortDecimal(rango.minimo) + rango.tope;
  }
  return inicio + "; it may not be negative";
}

}  // namespace medravolix::batch
