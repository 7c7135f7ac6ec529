// Day codes and date texts of the crop calendar: the day under a position, the four-digit code
// "ddmm" of a day of the 365-day year, and that code in words.
#pragma once

#include <cstdint>
#include <string>

namespace medravolix::crops {

// The smallest whole number not below x, and 1 for any x not above 1. Throws std::out_of_range
// for x above 32767.
int16_t ENTERO_SUPERIOR(double x);

// The code of a day of the year (at least 1): two digits of day, two of month (300 gives
// "2710"). A day past 365 is first brought into the year and written back into the argument.
// Throws std::out_of_range for a day below 1.
std::string FECHA_DDMM(int16_t& dia);

// The code in words: language 0 Spanish ("5 de enero"), 1 English ("January 5th"). Throws
// std::invalid_argument for a code that is not four digits of a day and a month.
std::string FECHA_LARGA(const std::string& codigo, int16_t idioma);

}  // namespace medravolix::crops
