#include "workbook/sheet_editor.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "workbook/cell_ref.h"
#include "workbook/sheet_positions.h"
#include "workbook/workbook.h"
#include "workbook/xml_dom.h"
#include "workbook/xml_text.h"

namespace medravolix::workbook {

namespace {

int columnOf(pugi::xml_node cell) {
  const auto position = parseCellReference(cell.attribute("r").value());
  return position ? position->column : 0;
}

pugi::xml_node lastCell(pugi::xml_node row) {
  for (pugi::xml_node node = row.last_child(); node; node = node.previous_sibling()) {
    if (hasLocalName(node, "c")) return node;
  }
  return {};
}

pugi::xml_node firstCell(pugi::xml_node row) {
  for (pugi::xml_node node = row.first_child(); node; node = node.next_sibling()) {
    if (hasLocalName(node, "c")) return node;
  }
  return {};
}

}  // namespace

SheetEditor::SheetEditor(pugi::xml_document& document) : root_(document.document_element()) {
  prefix_ = prefixOf(root_);
  ensureSheetData();
  readColumnStyles();
  prepareRows();
}

void SheetEditor::readColumnStyles() {
  for (pugi::xml_node cols : root_.children()) {
    if (!hasLocalName(cols, "cols")) continue;
    for (pugi::xml_node col : cols.children()) {
      if (!hasLocalName(col, "col") || !col.attribute("style")) continue;
      column_styles_.push_back({col.attribute("min").as_int(), col.attribute("max").as_int(),
                                col.attribute("style").value()});
    }
  }
}

void SheetEditor::ensureSheetData() {
  sheet_data_ = childByLocalName(root_, "sheetData");
  if (sheet_data_) return;
  sheet_data_ = insertAfterAll(root_, prefix_ + "sheetData",
                               {"sheetPr", "dimension", "sheetViews", "sheetFormatPr", "cols"});
}

void SheetEditor::prepareRows() {
  int previous = 0;
  bool ascending = true;
  for (pugi::xml_node row = sheet_data_.first_child(); row; row = row.next_sibling()) {
    if (!hasLocalName(row, "row")) continue;
    const int number = SheetPositions::rowNumber(row, previous);
    if (!row.attribute("r")) row.prepend_attribute("r").set_value(number);
    if (!rows_.empty() && number <= rows_.back().first) ascending = false;
    rows_.emplace_back(number, row);
    previous = number;
    orderCells(row, number);
  }
  if (ascending) return;
  std::stable_sort(rows_.begin(), rows_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::pair<int, pugi::xml_node>> merged;
  for (auto& [number, row] : rows_) {
    if (!merged.empty() && merged.back().first == number) {
      while (pugi::xml_node child = row.first_child()) merged.back().second.append_move(child);
      sheet_data_.remove_child(row);
      orderCells(merged.back().second, number);
    } else {
      merged.emplace_back(number, sheet_data_.append_move(row));
    }
  }
  rows_ = std::move(merged);
}

// Gives every cell of the row its reference and sorts the cells by column. The reader has
// refused a sheet with two cells at one place, so none are met here; should they be, the later
// is kept.
void SheetEditor::orderCells(pugi::xml_node row, int row_number) {
  std::vector<std::pair<int, pugi::xml_node>> cells;
  bool ascending = true;
  int column = 0;
  for (pugi::xml_node cell = row.first_child(); cell; cell = cell.next_sibling()) {
    if (!hasLocalName(cell, "c")) continue;
    column = SheetPositions::cellColumn(cell, row_number, column);
    if (!SheetPositions::hasOwnReference(cell)) {
      pugi::xml_attribute r = cell.attribute("r");
      if (!r) r = cell.prepend_attribute("r");
      r.set_value(cellReference(row_number, column).c_str());
    }
    if (!cells.empty() && column <= cells.back().first) ascending = false;
    cells.emplace_back(column, cell);
  }
  if (ascending) return;
  std::stable_sort(cells.begin(), cells.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i + 1 < cells.size() && cells[i + 1].first == cells[i].first) {
      row.remove_child(cells[i].second);
    } else {
      row.append_move(cells[i].second);
    }
  }
}

pugi::xml_node SheetEditor::findRow(int row, bool create) {
  const auto it =
      std::lower_bound(rows_.begin(), rows_.end(), row,
                       [](const auto& entry, int number) { return entry.first < number; });
  if (it != rows_.end() && it->first == row) return it->second;
  if (!create) return {};
  const std::string name = prefix_ + "row";
  pugi::xml_node node = it != rows_.end()
                            ? sheet_data_.insert_child_before(name.c_str(), it->second)
                            : sheet_data_.append_child(name.c_str());
  node.append_attribute("r").set_value(row);
  rows_.insert(it, {row, node});
  return node;
}

pugi::xml_node SheetEditor::findCell(pugi::xml_node row, int row_number, int column, bool create) {
  pugi::xml_node next;
  const pugi::xml_node last = lastCell(row);
  if (last && columnOf(last) >= column) {
    for (pugi::xml_node cell = firstCell(row); cell; cell = cell.next_sibling()) {
      if (!hasLocalName(cell, "c")) continue;
      const int at = columnOf(cell);
      if (at == column) return cell;
      if (at > column) {
        next = cell;
        break;
      }
    }
  }
  if (!create) return {};
  const std::string name = prefix_ + "c";
  pugi::xml_node cell =
      next ? row.insert_child_before(name.c_str(), next)
           : (last ? row.insert_child_after(name.c_str(), last) : row.append_child(name.c_str()));
  cell.append_attribute("r").set_value(cellReference(row_number, column).c_str());
  styleNewCell(row, cell, column);
  return cell;
}

// A new cell takes the style a spreadsheet program would give a typed value: the row's style
// when the row is formatted, otherwise the column's.
void SheetEditor::styleNewCell(pugi::xml_node row, pugi::xml_node cell, int column) const {
  std::string style;
  if (row.attribute("customFormat").as_bool() && row.attribute("s")) {
    style = row.attribute("s").value();
  } else {
    for (const auto& range : column_styles_) {
      if (column >= range.first && column <= range.last) style = range.style;
    }
  }
  if (!style.empty() && style != "0") cell.append_attribute("s").set_value(style.c_str());
}

bool SheetEditor::clearValue(pugi::xml_node cell) {
  for (const char* attribute : {"t", "cm", "vm"}) cell.remove_attribute(attribute);
  bool had_formula = false;
  for (pugi::xml_node child = cell.first_child(); child;) {
    const pugi::xml_node next = child.next_sibling();
    const bool formula = hasLocalName(child, "f");
    if (formula || hasLocalName(child, "v") || hasLocalName(child, "is")) {
      had_formula = had_formula || formula;
      cell.remove_child(child);
    }
    child = next;
  }
  return had_formula;
}

void SheetEditor::fillValue(pugi::xml_node cell, const CellValue& value) const {
  if (value.isNumber()) {
    std::array<char, 64> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size() - 1, value.asNumber());
    *result.ptr = '\0';
    cell.prepend_child((prefix_ + "v").c_str()).text().set(buffer.data());
    return;
  }
  const std::string& text = value.asText();
  cell.append_attribute("t").set_value("inlineStr");
  pugi::xml_node t =
      cell.prepend_child((prefix_ + "is").c_str()).append_child((prefix_ + "t").c_str());
  const auto blank = [](char ch) { return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r'; };
  if (!text.empty() && (blank(text.front()) || blank(text.back()))) {
    t.append_attribute("xml:space").set_value("preserve");
  }
  t.append_child(pugi::node_pcdata).set_value(encodeEscapes(text).c_str());
}

bool SheetEditor::write(int row, int column, const CellValue& value) {
  pugi::xml_node row_node = findRow(row, !value.isEmpty());
  if (!row_node) return false;
  const pugi::xml_node cell = findCell(row_node, row, column, !value.isEmpty());
  if (!cell) return false;
  const bool dropped_formula = clearValue(cell);
  if (value.isEmpty()) {
    if (!cell.attribute("s") && !cell.first_child()) row_node.remove_child(cell);
    return dropped_formula;
  }
  fillValue(cell, value);
  widenSpans(row_node, column);
  return dropped_formula;
}

void SheetEditor::widenSpans(pugi::xml_node row, int column) {
  pugi::xml_attribute spans = row.attribute("spans");
  if (!spans) return;
  int low = column, high = column;
  const std::string_view text = spans.value();
  for (std::size_t pos = 0; pos < text.size();) {
    int number = 0;
    const auto r = std::from_chars(text.data() + pos, text.data() + text.size(), number);
    if (r.ec == std::errc()) {
      low = std::min(low, number);
      high = std::max(high, number);
      pos = static_cast<std::size_t>(r.ptr - text.data());
    } else {
      ++pos;
    }
  }
  spans.set_value((std::to_string(low) + ":" + std::to_string(high)).c_str());
}

void SheetEditor::updateDimension() {
  CellRange used{{kMaxRows + 1, kMaxColumns + 1}, {0, 0}};
  for (const auto& [number, row] : rows_) {
    const pugi::xml_node first = firstCell(row);
    if (!first) continue;
    used.first.row = std::min(used.first.row, number);
    used.last.row = std::max(used.last.row, number);
    used.first.column = std::min(used.first.column, columnOf(first));
    used.last.column = std::max(used.last.column, columnOf(lastCell(row)));
  }
  if (used.last.row == 0) used = CellRange{{1, 1}, {1, 1}};
  pugi::xml_node dimension = childByLocalName(root_, "dimension");
  if (!dimension) dimension = insertAfterAll(root_, prefix_ + "dimension", {"sheetPr"});
  pugi::xml_attribute ref = dimension.attribute("ref");
  if (!ref) ref = dimension.append_attribute("ref");
  ref.set_value(used.toText().c_str());
}

}  // namespace medravolix::workbook
