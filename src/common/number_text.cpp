#include "common/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace medravolix {

std::string plainDecimal(double value) {
  if (value == 0.0) return "0";  // also -0
  if (!std::isfinite(value))
    return std::isnan(value) ? "NaN" : (value > 0 ? "Infinity" : "-Infinity");
  std::array<char, 400> buffer{};
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
  return std::string(buffer.data(), result.ptr);
}

std::string shortDecimal(double value) {
  const double size = std::fabs(value);
  if (!std::isfinite(value) || value == 0.0 || (size >= 1e-6 && size < 1e15)) {
    return plainDecimal(value);
  }
  std::array<char, 32> text{};
  std::snprintf(text.data(), text.size(), "%.6g", value);
  return text.data();
}

double sixDigits(double value) {
  if (!std::isfinite(value)) return value;
  std::array<char, 32> text{};
  std::snprintf(text.data(), text.size(), "%.6g", value);
  return std::strtod(text.data(), nullptr);
}

double sumAsTyped(double sum) {
  return std::fabs(sum) < 1e6 ? std::round(sum * 1e9) / 1e9 : sum;
}

bool isUsableNumber(double value) {
  return std::isfinite(value) && std::fabs(value) < 1e15;
}

std::optional<double> parseNumberText(std::string_view text) {
  const auto is_blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  if (text.front() == '+') text.remove_prefix(1);
  if (text.empty() || text.front() == '+') return std::nullopt;
  double value = 0.0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace medravolix
