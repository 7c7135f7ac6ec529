// A cell's value as the model sees it: empty, a number or a text.
#pragma once

#include <string>

#include "common/number_text.h"

namespace medravolix::workbook {

class CellValue {
 public:
  enum class Kind { Empty, Number, Text };

  CellValue() = default;
  static CellValue number(double value);
  static CellValue text(std::string value);

  Kind kind() const { return kind_; }
  bool isEmpty() const { return kind_ == Kind::Empty; }
  bool isNumber() const { return kind_ == Kind::Number; }
  bool isText() const { return kind_ == Kind::Text; }
  double asNumber() const { return number_; }
  const std::string& asText() const { return text_; }

  // The id matching rule of the batch sheets: a text equals a text only when identical
  // (case-sensitive); a number equals a number of the same value; a text never equals a number;
  // an empty value equals the empty text and the number 0.
  bool matchesId(const CellValue& other) const;

  // True for the empty value and the empty text: an id that is never looked up.
  bool isEmptyText() const { return isEmpty() || (isText() && text_.empty()); }

  // The value as a user reads it: a number in its plain decimal form, a text as it is, empty as "".
  std::string toDisplayText() const;

  // Exact equality of kind and value (for tests and change detection, not for ids).
  friend bool operator==(const CellValue& a, const CellValue& b);

 private:
  Kind kind_ = Kind::Empty;
  double number_ = 0.0;
  std::string text_;
};

using medravolix::parseNumberText;
using medravolix::plainDecimal;

}  // namespace medravolix::workbook
