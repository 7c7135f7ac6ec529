#include "workbook/csv_table.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

#include "workbook/workbook_error.h"

namespace medravolix::workbook {

namespace {

// The length of the UTF-8 sequence that starts at text[pos], or 0 when it is not valid UTF-8
// (overlong forms, surrogates and code points above U+10FFFF are refused).
size_t utf8SequenceLength(std::string_view text, size_t pos) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) return 1;
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF)
    length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF)
    length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4)
    length = 4;
  else
    return 0;
  if (lead == 0xE0) low = 0xA0;
  if (lead == 0xED) high = 0x9F;
  if (lead == 0xF0) low = 0x90;
  if (lead == 0xF4) high = 0x8F;
  if (pos + length > text.size()) return 0;
  if (byte(pos + 1) < low || byte(pos + 1) > high) return 0;
  for (size_t i = 2; i < length; ++i)
    if (byte(pos + i) < 0x80 || byte(pos + i) > 0xBF) return 0;
  return length;
}

class Parser {
 public:
  Parser(std::string_view text, std::string_view source) : text_(text), source_(source) {}

  std::vector<std::vector<CellValue>> run() {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    while (pos_ < text_.size()) in_quotes_ ? quotedStep() : plainStep();
    if (in_quotes_) fail(quote_line_, "the quoted field that starts here is not closed");
    if (!field_.empty() || quoted_ || !record_.empty()) endRecord();
    return std::move(rows_);
  }

 private:
  // One character inside a quoted field: a doubled quote is a quote, a single one closes it.
  void quotedStep() {
    const char c = text_[pos_];
    if (c == '"' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
      field_ += '"';
      pos_ += 2;
      return;
    }
    if (c == '"') {
      in_quotes_ = false;
      ++pos_;
      return;
    }
    if (c == '\n' || (c == '\r' && !followedByLineFeed())) ++line_;
    appendCharacter();
  }

  // One character outside quotes: a separator, a record end, an opening quote or field text.
  void plainStep() {
    const char c = text_[pos_];
    if (c == ',') {
      endField();
      ++pos_;
    } else if (c == '\n' || c == '\r') {
      pos_ += (c == '\r' && followedByLineFeed()) ? 2 : 1;
      endRecord();
      ++line_;
    } else if (c == '"' && field_.empty() && !quoted_) {
      quoted_ = in_quotes_ = true;
      quote_line_ = line_;
      ++pos_;
    } else if (quoted_) {
      fail(line_, "there is text after the closing quote of a field");
    } else if (c == '"') {
      fail(line_, "a quote stands inside a field that does not start with one");
    } else {
      appendCharacter();
    }
  }

  void appendCharacter() {
    const size_t length = utf8SequenceLength(text_, pos_);
    if (length == 0) fail(line_, "the text is not valid UTF-8");
    field_.append(text_.substr(pos_, length));
    pos_ += length;
  }

  bool followedByLineFeed() const { return pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n'; }

  void endField() {
    if (quoted_) {
      record_.push_back(CellValue::text(field_));
    } else if (field_.empty()) {
      record_.emplace_back();
    } else if (const auto number = parseNumberText(field_)) {
      record_.push_back(CellValue::number(*number));
    } else {
      record_.push_back(CellValue::text(field_));
    }
    field_.clear();
    quoted_ = false;
  }

  void endRecord() {
    endField();
    rows_.push_back(std::move(record_));
    record_.clear();
  }

  [[noreturn]] void fail(int line, const std::string& what) const {
    throw WorkbookError(std::string(source_) + ", line " + std::to_string(line) + ": " + what);
  }

  std::string_view text_;
  std::string_view source_;
  size_t pos_ = 0;
  int line_ = 1;
  int quote_line_ = 1;
  std::string field_;
  bool quoted_ = false;     // the current field started with a quote
  bool in_quotes_ = false;  // inside that quote, before its closing quote
  std::vector<CellValue> record_;
  std::vector<std::vector<CellValue>> rows_;
};

}  // namespace

CsvTable CsvTable::parse(std::string_view text, std::string_view source) {
  CsvTable table;
  table.rows_ = Parser(text, source).run();
  return table;
}

CsvTable CsvTable::read(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw WorkbookError("Cannot read '" + path.string() + "'");
  std::ostringstream contents;
  contents << in.rdbuf();
  if (in.bad()) throw WorkbookError("Cannot read '" + path.string() + "'");
  return parse(contents.str(), path.string());
}

int CsvTable::columnCount() const {
  size_t widest = 0;
  for (const auto& row : rows_) widest = std::max(widest, row.size());
  return static_cast<int>(widest);
}

const CellValue& CsvTable::cell(int row, int column) const {
  static const CellValue kEmpty;
  if (row < 1 || row > rowCount()) return kEmpty;
  const auto& record = rows_[static_cast<size_t>(row - 1)];
  if (column < 1 || static_cast<size_t>(column) > record.size()) return kEmpty;
  return record[static_cast<size_t>(column - 1)];
}

}  // namespace medravolix::workbook
