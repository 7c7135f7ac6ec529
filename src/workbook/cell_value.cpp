#include "workbook/cell_value.h"

#include <array>
#include <charconv>
#include <cmath>

namespace medravolix::workbook {

CellValue CellValue::number(double value) {
  CellValue v;
  v.kind_ = Kind::Number;
  v.number_ = value;
  return v;
}

CellValue CellValue::text(std::string value) {
  CellValue v;
  v.kind_ = Kind::Text;
  v.text_ = std::move(value);
  return v;
}

bool CellValue::matchesId(const CellValue& other) const {
  const auto as_empty_equivalent = [](const CellValue& v) { return v.isEmpty(); };
  if (as_empty_equivalent(*this) || as_empty_equivalent(other)) {
    const CellValue& o = isEmpty() ? other : *this;
    if (o.isEmpty()) return true;
    if (o.isText()) return o.text_.empty();
    return o.number_ == 0.0;
  }
  if (kind_ != other.kind_) return false;
  if (isNumber()) return number_ == other.number_;
  return text_ == other.text_;
}

std::string CellValue::toDisplayText() const {
  switch (kind_) {
    case Kind::Empty:
      return "";
    case Kind::Number:
      return plainDecimal(number_);
    case Kind::Text:
      return text_;
  }
  return "";
}

bool operator==(const CellValue& a, const CellValue& b) {
  if (a.kind_ != b.kind_) return false;
  if (a.isNumber()) return a.number_ == b.number_;
  return a.text_ == b.text_;
}

std::string plainDecimal(double value) {
  if (value == 0.0) return "0";  // also -0
  if (!std::isfinite(value))
    return std::isnan(value) ? "NaN" : (value > 0 ? "Infinity" : "-Infinity");
  std::array<char, 400> buffer{};
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
  return std::string(buffer.data(), result.ptr);
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

}  // namespace medravolix::workbook
