#include "workbook/sheet_reader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "workbook/shared_strings.h"
#include "workbook/sheet_positions.h"
#include "workbook/workbook.h"
#include "workbook/xml_dom.h"
#include "workbook/xml_text.h"

namespace medravolix::workbook {

namespace {

bool isName(const char* name, char letter) {
  return name[0] == letter && name[1] == '\0';
}

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char ch) { return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// Days from 1970-01-01 of a civil date (proleptic Gregorian calendar).
long long daysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

bool readInt(std::string_view text, std::size_t pos, std::size_t length, int& out) {
  if (pos + length > text.size()) return false;
  const auto r = std::from_chars(text.data() + pos, text.data() + pos + length, out);
  return r.ec == std::errc() && r.ptr == text.data() + pos + length;
}

}  // namespace

std::optional<double> isoDateToSerial(std::string_view text, bool uses_1904_dates) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
  double second = 0.0;
  if (!readInt(text, 0, 4, year) || text.size() < 10 || text[4] != '-' || text[7] != '-' ||
      !readInt(text, 5, 2, month) || !readInt(text, 8, 2, day) || month < 1 || month > 12 ||
      day < 1 || day > 31) {
    return std::nullopt;
  }
  if (text.size() >= 16 && text[10] == 'T') {
    if (!readInt(text, 11, 2, hour) || text[13] != ':' || !readInt(text, 14, 2, minute)) {
      return std::nullopt;
    }
    if (text.size() >= 19 && text[16] == ':') {
      std::size_t end = 17;
      while (end < text.size() &&
             (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '.')) {
        ++end;
      }
      std::from_chars(text.data() + 17, text.data() + end, second);
    }
  }
  const long long epoch = uses_1904_dates ? daysFromCivil(1904, 1, 1) : daysFromCivil(1899, 12, 30);
  double serial = static_cast<double>(
      daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - epoch);
  // The 1900 system counts a 29 February 1900 that never was: dates before March 1900 are one less.
  if (!uses_1904_dates && serial < 61) serial -= 1;
  return serial + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

SheetReader::SheetReader(std::string_view sheet_name, std::string_view workbook_label,
                         const SharedStrings& shared_strings, bool uses_1904_dates)
    : sheet_name_(sheet_name),
      workbook_label_(workbook_label),
      shared_strings_(shared_strings),
      uses_1904_dates_(uses_1904_dates) {}

void SheetReader::damaged(std::string_view what) const {
  throw WorkbookDamaged("The workbook '" + workbook_label_ + "' is damaged: in sheet '" +
                        sheet_name_ + "', " + std::string(what) +
                        ". Open it in a spreadsheet program to repair it, or use a backup copy.");
}

SheetIndex SheetReader::read(const pugi::xml_document& document) const {
  const pugi::xml_node root = document.document_element();
  if (!hasLocalName(root, "worksheet")) damaged("the part is not a worksheet");
  SheetIndex index;
  std::vector<CellPosition> places;
  bool ordered = true;
  int row = 0;
  for (pugi::xml_node node : childByLocalName(root, "sheetData").children()) {
    if (!hasLocalName(node, "row")) continue;
    const int number = rowNumber(node, row);
    ordered = ordered && number > row;
    row = number;
    int column = 0;
    for (pugi::xml_node cell = node.first_child(); cell; cell = cell.next_sibling()) {
      if (!hasLocalName(cell, "c")) continue;
      const int at = readCell(cell, row, column, index);
      ordered = ordered && at > column;
      column = at;
      places.push_back({row, column});
    }
  }
  // Rows and cells in ascending order cannot repeat a place; otherwise look for one that does.
  if (!ordered) checkPlacesUnique(places);
  index.finishReading();
  return index;
}

// Two cells at one place: programs keep different ones, so which value stands there is unknown.
void SheetReader::checkPlacesUnique(std::vector<CellPosition>& places) const {
  const auto before = [](const CellPosition& a, const CellPosition& b) {
    return a.row != b.row ? a.row < b.row : a.column < b.column;
  };
  std::sort(places.begin(), places.end(), before);
  for (std::size_t i = 1; i < places.size(); ++i) {
    if (!before(places[i - 1], places[i])) {
      damaged("cell " + cellReference(places[i].row, places[i].column) + " is given twice");
    }
  }
}

int SheetReader::rowNumber(pugi::xml_node row, int previous) const {
  try {
    return SheetPositions::rowNumber(row, previous);
  } catch (const PositionProblem& problem) {
    damaged(problem.what());
  }
}

// Reads the cell into the index; returns its column.
int SheetReader::readCell(pugi::xml_node node, int row, int previous_column,
                          SheetIndex& index) const {
  std::string_view type = "n";
  for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
    if (isName(a.name(), 't')) type = a.value();
  }
  const CellPosition at{row, cellColumn(node, row, previous_column)};
  pugi::xml_node formula, value, inline_text;
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    if (child.type() != pugi::node_element) continue;
    const std::string_view name = localName(child.name());
    if (name == "v") value = child;
    if (name == "f") formula = child;
    if (name == "is") inline_text = child;
  }
  if (formula) readFormula(formula, at, index);
  IndexedCell cell;
  cell.column = at.column;
  if (readValue(type, value, inline_text, at, cell)) {
    index.add(at.row, std::move(cell));
  } else if (formula) {
    cell.state = IndexedCell::State::FormulaWithoutValue;
    index.add(at.row, std::move(cell));
  }
  return at.column;
}

int SheetReader::cellColumn(pugi::xml_node cell, int row, int previous_column) const {
  try {
    return SheetPositions::cellColumn(cell, row, previous_column);
  } catch (const PositionProblem& problem) {
    damaged(problem.what());
  }
}

void SheetReader::readFormula(pugi::xml_node formula, CellPosition at, SheetIndex& index) const {
  const std::string_view type = formula.attribute("t").value();
  const bool shared = type == "shared" && formula.attribute("ref");
  if (!shared && type != "array" && type != "dataTable") return;
  const auto range = parseCellRange(formula.attribute("ref").value());
  FormulaLock lock;
  lock.kind = shared ? FormulaLock::Kind::SharedMaster : FormulaLock::Kind::Array;
  lock.master = at;
  lock.range = range.value_or(CellRange{at, at});
  const bool single = lock.range.first.row == lock.range.last.row &&
                      lock.range.first.column == lock.range.last.column;
  if (!single) index.addLock(lock);
}

// Fills the cell's value; false when the cell holds none.
bool SheetReader::readValue(std::string_view type, pugi::xml_node value, pugi::xml_node inline_text,
                            CellPosition at, IndexedCell& cell) const {
  if (type == "inlineStr") {
    if (!inline_text) return false;
    cell.value = CellValue::text(richText(inline_text));
    return true;
  }
  if (!value) return false;
  const std::string_view text = value.child_value();
  if (type == "s") {
    cell.value = CellValue::text(sharedText(text, at));
  } else if (type == "str") {
    cell.value = CellValue::text(decodeEscapes(text));
  } else if (type == "e") {
    cell.state = IndexedCell::State::Error;
    cell.value = CellValue::text(std::string(trimmed(text)));
  } else if (type == "b") {
    const auto t = trimmed(text);
    cell.value = CellValue::number(t == "1" || t == "true" ? 1.0 : 0.0);
  } else if (type == "d") {
    const auto serial = isoDateToSerial(trimmed(text), uses_1904_dates_);
    cell.value = serial ? CellValue::number(*serial) : CellValue::text(std::string(text));
  } else {
    if (trimmed(text).empty()) return false;
    cell.value = CellValue::number(readNumber(text, at));
  }
  return true;
}

// The index of a shared text is a whole number within the table, written in digits only.
const std::string& SheetReader::sharedText(std::string_view index_text, CellPosition at) const {
  std::size_t index = 0;
  const auto t = trimmed(index_text);
  const auto r = std::from_chars(t.data(), t.data() + t.size(), index);
  const bool whole = !t.empty() && r.ec == std::errc() && r.ptr == t.data() + t.size();
  const std::string* shared = whole ? shared_strings_.find(index) : nullptr;
  if (!shared) {
    damaged("cell " + cellReference(at.row, at.column) + " refers to the shared text '" +
            std::string(t) + "', which is not a text of the workbook's table of " +
            std::to_string(shared_strings_.size()) + " texts");
  }
  return *shared;
}

double SheetReader::readNumber(std::string_view text, CellPosition at) const {
  std::string_view t = trimmed(text);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  double number = 0.0;
  const auto r = std::from_chars(t.data(), t.data() + t.size(), number);
  if (r.ec != std::errc() || r.ptr != t.data() + t.size() || !std::isfinite(number)) {
    damaged("cell " + cellReference(at.row, at.column) + " holds '" + std::string(text) +
            "' where a number is stored");
  }
  return number;
}

}  // namespace medravolix::workbook
