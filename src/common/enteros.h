// Conversion of a double to a 16-bit signed integer as the model does it everywhere: the nearest
// integer, halves to even, and a clear error (never a wrap-around) when it does not fit.
#pragma once

#include <cstdint>
#include <string>

namespace medravolix {

// Throws std::out_of_range, naming `what` the value is, outside -32768..32767; the message
// says so in words and shows a huge value in short scientific form.
int16_t toInt16(double value, const std::string& what = "value");

// True when `value` converts to a 16-bit integer without leaving the range.
bool fitsInInt16(double value);

}  // namespace medravolix
