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

namespace {

// A number and a text match when the text is the number's plain decimal form. Most texts cannot
// be one (a plain decimal starts with a digit or a minus sign), so they are set aside before the
// number is turned into text.
bool numberShowsAs(double number, const std::string& text) {
  if (text.empty()) return false;
  const char first = text.front();
  if (first != '-' && (first < '0' || first > '9')) return false;
  return plainDecimal(number) == text;
}

}  // namespace

bool CellValue::matchesId(const CellValue& other) const {
  if (isEmpty() || other.isEmpty()) {
    const CellValue& o = isEmpty() ? other : *this;
    if (o.isEmpty()) return true;
    if (o.isText()) return o.text_.empty();
    return o.number_ == 0.0;
  }
  if (isNumber() && other.isNumber()) return number_ == other.number_;
  if (isText() && other.isText()) return text_ == other.text_;
  return isNumber() ? numberShowsAs(number_, other.text_) : numberShowsAs(other.number_, text_);
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
