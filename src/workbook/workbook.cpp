// Provisional in-memory workbook: sheets and cells only. File load and save come next.
#include "workbook/workbook.h"

#include <map>

namespace medravolix::workbook {

namespace {
std::string columnLetters(int column) {
  std::string letters;
  while (column > 0) {
    const int r = (column - 1) % 26;
    letters.insert(letters.begin(), static_cast<char>('A' + r));
    column = (column - 1) / 26;
  }
  return letters;
}
}  // namespace

std::string cellReference(int row, int column) {
  return columnLetters(column) + std::to_string(row);
}

std::string cellReference(std::string_view sheet, int row, int column) {
  return std::string(sheet) + "!" + cellReference(row, column);
}

struct Workbook::Impl {
  struct Sheet {
    std::string name;
    std::map<std::pair<int, int>, CellValue> cells;
  };
  std::filesystem::path path;
  std::vector<Sheet> sheets;
  bool modified = false;

  const Sheet& sheet(std::string_view name) const {
    for (const auto& s : sheets)
      if (s.name == name) return s;
    throw WorkbookError("The workbook has no sheet named '" + std::string(name) + "'");
  }
  Sheet& sheet(std::string_view name) {
    return const_cast<Sheet&>(static_cast<const Impl*>(this)->sheet(name));
  }
  static void checkReference(std::string_view sheet, int row, int column) {
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns) {
      throw WorkbookError("The cell at row " + std::to_string(row) + ", column " +
                          std::to_string(column) + " of sheet '" + std::string(sheet) +
                          "' lies outside the 1,048,576 rows and 16,384 columns of a worksheet");
    }
  }
};

Workbook::Workbook(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Workbook::Workbook(Workbook&&) noexcept = default;
Workbook& Workbook::operator=(Workbook&&) noexcept = default;
Workbook::~Workbook() = default;

Workbook Workbook::open(const std::filesystem::path& path) {
  throw WorkbookError("Cannot open '" + path.string() + "': reading .xlsx files is not built yet");
}

Workbook Workbook::create(const std::vector<std::string>& sheet_names) {
  auto impl = std::make_unique<Impl>();
  for (const auto& name : sheet_names) impl->sheets.push_back({name, {}});
  return Workbook(std::move(impl));
}

const std::filesystem::path& Workbook::path() const {
  return impl_->path;
}

std::vector<std::string> Workbook::sheetNames() const {
  std::vector<std::string> names;
  for (const auto& s : impl_->sheets) names.push_back(s.name);
  return names;
}

bool Workbook::hasSheet(std::string_view sheet) const {
  for (const auto& s : impl_->sheets)
    if (s.name == sheet) return true;
  return false;
}

void Workbook::requireSheet(std::string_view sheet) const {
  impl_->sheet(sheet);
}

CellValue Workbook::cell(std::string_view sheet, int row, int column) const {
  Impl::checkReference(sheet, row, column);
  const auto& s = impl_->sheet(sheet);
  const auto it = s.cells.find({row, column});
  return it == s.cells.end() ? CellValue() : it->second;
}

double Workbook::number(std::string_view sheet, int row, int column) const {
  const CellValue v = cell(sheet, row, column);
  if (v.isEmpty()) return 0.0;
  if (v.isNumber()) return v.asNumber();
  if (const auto n = parseNumberText(v.asText())) return *n;
  throw WorkbookError(cellReference(sheet, row, column) + " holds the text \"" + v.asText() +
                      "\" where a number is expected");
}

int Workbook::lastRow(std::string_view sheet) const {
  const auto& s = impl_->sheet(sheet);
  return s.cells.empty() ? 0 : s.cells.rbegin()->first.first;
}

void Workbook::checkWritable(std::string_view sheet, int row, int column) const {
  Impl::checkReference(sheet, row, column);
  impl_->sheet(sheet);
}

void Workbook::setCell(std::string_view sheet, int row, int column, const CellValue& value) {
  checkWritable(sheet, row, column);
  auto& s = impl_->sheet(sheet);
  if (value.isEmpty()) {
    s.cells.erase({row, column});
  } else {
    s.cells[{row, column}] = value;
  }
  impl_->modified = true;
}

bool Workbook::isModified() const {
  return impl_->modified;
}

void Workbook::save() {
  throw WorkbookError("Saving .xlsx files is not built yet");
}
void Workbook::saveAs(const std::filesystem::path&) {
  throw WorkbookError("Saving .xlsx files is not built yet");
}
bool Workbook::reloadIfChanged() {
  return false;
}
bool Workbook::uses1904Dates() const {
  return false;
}
void Workbook::setSaveHookForTests(SaveHook) {}

}  // namespace medravolix::workbook
