#include "workbook/cell_ref.h"

#include <charconv>

#include "workbook/workbook.h"

namespace medravolix::workbook {

std::optional<int> parseColumnLetters(std::string_view letters) {
  if (letters.empty() || letters.size() > 3) return std::nullopt;
  int column = 0;
  for (const char ch : letters) {
    const char upper = (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
    if (upper < 'A' || upper > 'Z') return std::nullopt;
    column = column * 26 + (upper - 'A' + 1);
  }
  if (column > kMaxColumns) return std::nullopt;
  return column;
}

std::string columnLetters(int column) {
  std::string letters;
  while (column > 0) {
    const int rest = (column - 1) % 26;
    letters.insert(letters.begin(), static_cast<char>('A' + rest));
    column = (column - 1) / 26;
  }
  return letters;
}

std::optional<CellPosition> parseCellReference(std::string_view reference) {
  if (!reference.empty() && reference.front() == '$') reference.remove_prefix(1);
  std::size_t letters_end = 0;
  while (letters_end < reference.size() && letters_end < 4 &&
         ((reference[letters_end] >= 'A' && reference[letters_end] <= 'Z') ||
          (reference[letters_end] >= 'a' && reference[letters_end] <= 'z'))) {
    ++letters_end;
  }
  const auto column = parseColumnLetters(reference.substr(0, letters_end));
  if (!column) return std::nullopt;
  std::string_view digits = reference.substr(letters_end);
  if (!digits.empty() && digits.front() == '$') digits.remove_prefix(1);
  if (digits.empty() || digits.size() > 7 || digits.front() == '0') return std::nullopt;
  int row = 0;
  const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), row);
  if (result.ec != std::errc() || result.ptr != digits.data() + digits.size()) return std::nullopt;
  if (row < 1 || row > kMaxRows) return std::nullopt;
  return CellPosition{row, *column};
}

std::optional<CellRange> parseCellRange(std::string_view reference) {
  const auto colon = reference.find(':');
  const auto first = parseCellReference(reference.substr(0, colon));
  if (!first) return std::nullopt;
  if (colon == std::string_view::npos) return CellRange{*first, *first};
  const auto last = parseCellReference(reference.substr(colon + 1));
  if (!last || last->row < first->row || last->column < first->column) return std::nullopt;
  return CellRange{*first, *last};
}

std::string CellRange::toText() const {
  const std::string a = cellReference(first.row, first.column);
  if (first.row == last.row && first.column == last.column) return a;
  return a + ":" + cellReference(last.row, last.column);
}

std::string cellReference(int row, int column) {
  return columnLetters(column) + std::to_string(row);
}

std::string cellReference(std::string_view sheet, int row, int column) {
  return std::string(sheet) + "!" + cellReference(row, column);
}

}  // namespace medravolix::workbook
