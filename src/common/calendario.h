// Small procedures shared by the model and the tools: rounding, month names and the calendar of
// a 365-day year (no leap years; day 1 is 1 January).
#pragma once

#include <cstdint>
#include <string>

namespace medravolix {

// Rounds x to n decimals: x * 10^n goes to the nearest 32-bit integer, halves to the even
// neighbour, and is divided back. Throws std::out_of_range when x * 10^n does not fit 32 bits.
double REDONDEAR(double x, int16_t n);

// Three-letter month name: language 0 Spanish ("Ene".."Dic"), 1 English ("Jan".."Dec"), any
// other language the empty text. For languages 0 and 1 a month outside 1..12 throws
// std::out_of_range.
std::string NOMBRE_MES(int16_t mes, int16_t idioma);

// Days of month 1..12 of the 365-day year (February 28). Throws std::out_of_range otherwise.
int16_t DIAS_MES(int16_t mes);

// Day of the year: the lengths of months 1 .. mes - 1 plus dia. Day 0 of a month is the last day
// of the month before; month 13 counts the whole year (day 0 of month 13 is 365). The day is
// not compared with the month's length. Throws std::out_of_range for a month above 13.
int16_t DIA_JULIANO(int16_t dia, int16_t mes);

}  // namespace medravolix
