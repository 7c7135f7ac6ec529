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

  // The id matching rule of the batch sheets: two ids match when their texts are the same, a
  // number read as its plain decimal form written with a point. So a text equals a text only when
  // identical (case-sensitive, blanks included); a number equals a number of the same value
  // (0 and -0 alike); a number equals a text that is exactly its plain decimal form: 7 and "7",
  // 7.5 and "7.5", 0 and "0", but not "7.0", "07", " 7" or "7,5". An empty value equals the
  // empty text and the number 0, and nothing else (not the text "0"). A search ends at the first
  // empty cell before comparing and an empty id is never looked up, so the empty rule never
  // decides which row a search finds.
  bool matchesId(const CellValue& other) const;
  // A match of the same kind: number with number, text with text (or empty with empty). A search
  // takes a row holding the id in the same kind before an earlier one that only shows the same
  // text, so that a row found by kind is found whatever rows that merely look alike precede it.
  bool matchesIdSameKind(const CellValue& other) const {
    return kind_ == other.kind_ && matchesId(other);
  }

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
