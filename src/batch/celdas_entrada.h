// What a number of the batch's input sheets may be: one the program can compute with, within the
// range the quantity it stands for can have. The texts name the sheet and the cell, so that the
// user finds the value at fault; the readers throw them as their own refusals.
#pragma once

#include <limits>
#include <string>
#include <string_view>

namespace medravolix::batch {

// The values a quantity can take: from 0 (or without a lower bound) to the maximum. `tope` follows
// the maximum in a refusal and says what it is (", the whole surface").
struct RangoEntrada {
  double minimo = 0.0;
  double maximo = std::numeric_limits<double>::infinity();
  std::string tope;
};

// "Clim_batch!B19 holds 1e+300, which is not a number the program can use", or nothing when the
// number is one it can use.
std::string motivoNumeroInutil(std::string_view hoja, int fila, int columna, double valor);

// "the rainfall (mm) of month 6, Clim_batch!B19, is -5; it may not be negative", or nothing when
// the value lies within the range.
std::string motivoFueraDeRango(const std::string& que, std::string_view hoja, int fila, int columna,
                               double valor, const RangoEntrada& rango);

}  // namespace medravolix::batch
