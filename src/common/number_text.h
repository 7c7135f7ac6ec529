// Numbers as texts: the plain decimal form used in messages and the "> " cells, and the reading
// of a text that is wholly a number.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace medravolix {

// A number's plain decimal form, never with an exponent: 7, 2.5, 0.1, -3.
std::string plainDecimal(double value);

// A number as a message shows it: the plain decimal form, or the short scientific one (1e+300,
// -1e-300) when the plain one would run to more than fifteen digits before the point or to more
// than five zeros after it.
std::string shortDecimal(double value);

// A computed number rounded to six significant digits, as a message quotes it: the shortest exact
// form of a computed number runs to seventeen. Not finite numbers are returned as they are.
double sixDigits(double value);

// A sum of typed decimal numbers as a message quotes it, without the noise of adding decimal
// fractions in binary (1, not 0.9999999999999999); a sum of a million or more as it is.
double sumAsTyped(double sum);

// Whether a number is one the program computes with: finite and below 1e15 in size. A larger one
// is a mistyped exponent or a value of another program, far beyond any quantity of the model.
bool isUsableNumber(double value);

// A text that is wholly a number in the C locale (blanks around it allowed), or nothing.
std::optional<double> parseNumberText(std::string_view text);

}  // namespace medravolix
