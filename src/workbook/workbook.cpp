#include "workbook/workbook.h"

#include <atomic>
#include <cmath>
#include <new>

#include "workbook/new_workbook.h"
#include "workbook/workbook_impl.h"
#include "workbook/xml_text.h"

namespace medravolix::workbook {

namespace {

void checkReference(std::string_view sheet, int row, int column) {
  if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns) {
    throw WorkbookError("The cell at row " + std::to_string(row) + ", column " +
                        std::to_string(column) + " of sheet '" + std::string(sheet) +
                        "' lies outside the 1,048,576 rows and 16,384 columns of a worksheet");
  }
}

void checkStorable(std::string_view sheet, int row, int column, const CellValue& value) {
  const std::string where = cellReference(sheet, row, column);
  if (value.isNumber() && !std::isfinite(value.asNumber())) {
    throw WorkbookError("The number " + plainDecimal(value.asNumber()) + " for " + where +
                        " cannot be stored in a workbook");
  }
  if (!value.isText()) return;
  if (!isValidUtf8(value.asText())) {
    throw WorkbookError("The text for " + where + " is not valid UTF-8 text");
  }
  const std::size_t length = utf16Length(value.asText());
  if (length > kMaxTextLength) {
    throw WorkbookError("The text for " + where + " has " + std::to_string(length) +
                        " characters; a cell holds at most 32,767");
  }
}

// Each reading of a workbook's content gets the next number. Workbooks may be opened on several
// threads, so the counter is atomic.
std::uint64_t nextGeneration() {
  static std::atomic<std::uint64_t> last{0};
  return ++last;
}

}  // namespace

Workbook::Workbook(std::unique_ptr<Impl> impl)
    : impl_(std::move(impl)), generation_(nextGeneration()) {}
Workbook::Workbook(Workbook&&) noexcept = default;
Workbook& Workbook::operator=(Workbook&&) noexcept = default;
Workbook::~Workbook() = default;

Workbook Workbook::open(const std::filesystem::path& path) {
  try {
    return Workbook(Impl::openFile(path));
  } catch (const std::bad_alloc&) {
    throw WorkbookError("The workbook '" + path.string() + "' is too large to load.");
  }
}

Workbook Workbook::create(const std::vector<std::string>& sheet_names) {
  auto bytes = std::make_shared<const std::string>(NewWorkbook::package(sheet_names));
  return Workbook(Impl::fromBytes(std::move(bytes), {}, "new workbook"));
}

const std::filesystem::path& Workbook::path() const {
  return impl_->path;
}

std::vector<std::string> Workbook::sheetNames() const {
  std::vector<std::string> names;
  for (const auto& sheet : impl_->sheets) names.push_back(sheet->name);
  return names;
}

bool Workbook::hasSheet(std::string_view sheet) const {
  return impl_->findSheet(sheet) != nullptr;
}

void Workbook::requireSheet(std::string_view sheet) const {
  impl_->index(impl_->sheet(sheet));
}

CellValue Workbook::cell(std::string_view sheet, int row, int column) const {
  checkReference(sheet, row, column);
  const IndexedCell* cell = impl_->index(impl_->sheet(sheet)).find(row, column);
  if (!cell) return {};
  switch (cell->state) {
    case IndexedCell::State::Value:
      return cell->value;
    case IndexedCell::State::Error:
      throw WorkbookError(cellReference(sheet, row, column) + " holds the error " +
                          cell->value.asText() + " instead of a value");
    case IndexedCell::State::FormulaWithoutValue:
      throw WorkbookError(cellReference(sheet, row, column) +
                          " holds a formula whose value was never stored: open and save the "
                          "workbook in a spreadsheet program so that its formulas are computed");
  }
  return {};
}

double Workbook::number(std::string_view sheet, int row, int column) const {
  const CellValue v = cell(sheet, row, column);
  if (v.isEmpty()) return 0.0;
  if (v.isNumber()) return v.asNumber();
  if (const auto n = parseNumberText(v.asText())) return *n;
  const std::string where = cellReference(sheet, row, column);
  const std::string text = "the text \"" + v.asText() + "\" where a number is expected";
  // An empty text or blanks (left by a formula or a paste) look like an empty cell.
  if (v.asText().find_first_not_of(" \t") == std::string::npos) {
    throw WorkbookError(where + " looks empty but holds " + text +
                        ": clear the cell or type a number in it");
  }
  throw WorkbookError(where + " holds " + text);
}

int Workbook::lastRow(std::string_view sheet) const {
  return impl_->index(impl_->sheet(sheet)).lastRow();
}

void Workbook::checkWritable(std::string_view sheet, int row, int column) const {
  checkReference(sheet, row, column);
  const FormulaLock* lock = impl_->index(impl_->sheet(sheet)).lockAt(row, column);
  if (!lock) return;
  const std::string where = cellReference(sheet, row, column);
  const std::string range = lock->range.toText();
  if (lock->kind == FormulaLock::Kind::SharedMaster) {
    throw WorkbookError(where + " holds a formula that the cells " + range +
                        " share, so it cannot be overwritten; in a spreadsheet program, copy "
                        "those cells and paste them back as values, or clear them");
  }
  throw WorkbookError(where + " is part of the array formula or data table in " + range +
                      ", which cannot be overwritten in part; clear that range in a "
                      "spreadsheet program first");
}

void Workbook::setCell(std::string_view sheet, int row, int column, const CellValue& value) {
  checkWritable(sheet, row, column);
  checkStorable(sheet, row, column, value);
  SheetPart& part = impl_->sheet(sheet);
  SheetEditor& editor = impl_->editor(part);
  if (editor.write(row, column, value)) impl_->formula_dropped = true;
  if (value.isEmpty()) {
    part.index->erase(row, column);
  } else {
    part.index->set(row, IndexedCell{column, IndexedCell::State::Value, value});
  }
  part.dirty = true;
  impl_->modified = true;
}

bool Workbook::isModified() const {
  return impl_->modified;
}

void Workbook::save() {
  if (impl_->path.empty()) {
    throw WorkbookError("This workbook has no file yet: save it under a file name first.");
  }
  impl_->saveTo(impl_->path, save_hook_, Impl::SaveOver::TheFileRead);
}

void Workbook::saveAs(const std::filesystem::path& path) {
  impl_->saveTo(path, save_hook_, Impl::SaveOver::AnyFile);
}

bool Workbook::reloadIfChanged() {
  if (impl_->path.empty()) return false;
  if (WorkbookFile::signature(impl_->path) == impl_->signature) return false;
  impl_ = Impl::openFile(impl_->path);
  generation_ = nextGeneration();
  return true;
}

void Workbook::reload() {
  if (impl_->path.empty()) {
    throw WorkbookError("This workbook has no file to be read again.");
  }
  impl_ = Impl::openFile(impl_->path);
  generation_ = nextGeneration();
}

bool Workbook::uses1904Dates() const {
  return impl_->uses_1904_dates;
}

void Workbook::setSaveHookForTests(SaveHook hook) {
  save_hook_ = std::move(hook);
}

}  // namespace medravolix::workbook
