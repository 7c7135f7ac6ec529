#include "workbook/cell_value.h"

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

}  // namespace medravolix::workbook
