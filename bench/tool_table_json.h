// A small JSON writer for tool_table: one object per line, numbers in their shortest form that
// reads back as the same double, and null for a value that has none (never NaN or infinity).
#pragma once

#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace medravolix::tooltable {

inline std::string jsonNumber(double value) {
  if (!std::isfinite(value)) return "null";
  std::array<char, 64> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), result.ptr);
}

inline std::string jsonNumber(const std::optional<double>& value) {
  return value ? jsonNumber(*value) : "null";
}

inline std::string jsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (u < 0x20) {
          static constexpr char kHex[] = "0123456789abcdef";
          out += "\\u00";
          out += kHex[u >> 4];
          out += kHex[u & 0xF];
        } else {
          out += c;  // UTF-8 passes through unchanged
        }
    }
  }
  return out + "\"";
}

inline std::string jsonBool(bool value) {
  return value ? "true" : "false";
}

// [a, b, c] from already-formatted JSON values.
inline std::string jsonArray(const std::vector<std::string>& items) {
  std::string out = "[";
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i) out += ", ";
    out += items[i];
  }
  return out + "]";
}

inline std::string jsonStrings(const std::vector<std::string>& texts) {
  std::vector<std::string> items;
  for (const auto& t : texts) items.push_back(jsonString(t));
  return jsonArray(items);
}

// The twelve monthly values of a series indexed 1..12 (index 0 unused).
template <typename Serie>
std::string jsonMonths(const Serie& serie) {
  std::vector<std::string> items;
  for (int m = 1; m <= 12; ++m) items.push_back(jsonNumber(static_cast<double>(serie[m])));
  return jsonArray(items);
}

// {"k1": v1, "k2": v2} from keys and already-formatted JSON values, in the order given.
inline std::string jsonObject(const std::vector<std::pair<std::string, std::string>>& fields) {
  std::string out = "{";
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i) out += ", ";
    out += jsonString(fields[i].first) + ": " + fields[i].second;
  }
  return out + "}";
}

}  // namespace medravolix::tooltable
