// The workbook: every sheet and cell of one .xlsx file, held in memory. Cells are read and
// written one at a time, rows and columns counted from 1; an empty cell reads as empty. Saving
// rewrites only the changed cells of the changed sheets and replaces the file atomically.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/cell_value.h"
#include "workbook/workbook_error.h"

namespace medravolix::workbook {

inline constexpr int kMaxRows = 1048576;
inline constexpr int kMaxColumns = 16384;
inline constexpr std::size_t kMaxTextLength = 32767;

// "D7" for row 7, column 4; "Soil_batch!D7" with a sheet name.
std::string cellReference(int row, int column);
std::string cellReference(std::string_view sheet, int row, int column);

class Workbook {
 public:
  // Loads an .xlsx file. Throws WorkbookError with a message a user can act on. Removes the
  // leftovers of this workbook's saves that were killed before they ended.
  static Workbook open(const std::filesystem::path& path);
  // A new workbook with these sheets, in this order, all empty; it has no file until saveAs.
  static Workbook create(const std::vector<std::string>& sheet_names);

  Workbook(Workbook&&) noexcept;
  Workbook& operator=(Workbook&&) noexcept;
  ~Workbook();

  const std::filesystem::path& path() const;
  std::vector<std::string> sheetNames() const;
  bool hasSheet(std::string_view sheet) const;
  // Throws "The workbook has no sheet named 'X'" when it is missing, and WorkbookDamaged with
  // the cause when its part cannot be read (missing from the file, broken, not a valid sheet).
  void requireSheet(std::string_view sheet) const;

  // The cell's value. Throws WorkbookError for a missing sheet, a reference out of range, an
  // error cell (#DIV/0!...) and a formula without a stored value.
  CellValue cell(std::string_view sheet, int row, int column) const;
  // The cell as a number: empty reads 0; a text that is wholly a number is that number; any
  // other text throws an error naming the sheet, the cell and the text.
  double number(std::string_view sheet, int row, int column) const;
  // The last row that holds anything in the sheet (0 when the sheet is empty).
  int lastRow(std::string_view sheet) const;

  // Throws WorkbookError when the cell may not be overwritten (part of a shared formula's master
  // or of an array formula) or the reference is out of range or the sheet is missing.
  void checkWritable(std::string_view sheet, int row, int column) const;
  // Writes a value (an empty value clears the cell, keeping its style). Texts over 32,767
  // characters and numbers that are not finite throw WorkbookError. Overwriting a formula drops it.
  void setCell(std::string_view sheet, int row, int column, const CellValue& value);

  // True when cells were written since the last load or save.
  bool isModified() const;
  // Writes the changes back to path(): a new file beside it, flushed and renamed over it, so a
  // failure leaves the original untouched. Follows a symbolic link; keeps the file's permissions.
  // Refuses (WorkbookError) when the file changed on disk since it was loaded or saved.
  void save();
  // Writes the whole workbook to another file (the new file then becomes path()).
  void saveAs(const std::filesystem::path& path);
  // Reloads from path() when the file changed on disk since it was loaded or saved; returns
  // whether it did. Unsaved changes are lost when it reloads.
  bool reloadIfChanged();
  // Loads the workbook again from path(), dropping unsaved changes. Throws WorkbookError when
  // the file cannot be loaded (or the workbook has no file); the workbook is then as it was.
  void reload();
  // A number that changes every time the workbook's content is read from its file (open,
  // reload) and that no other reading in this run of the program shares, so a window can tell
  // whether what it read earlier came from the content the workbook holds now. Writing cells and
  // saving keep it.
  std::uint64_t generation() const { return generation_; }

  // The workbook counts dates from 1904 (noted from the file; the model reads no dates).
  bool uses1904Dates() const;

  // For tests of the atomic save: called at a named point of this workbook's saves ("flush",
  // "rename"); a hook that throws makes the save fail there. An empty hook removes it.
  using SaveHook = std::function<void(std::string_view stage)>;
  void setSaveHookForTests(SaveHook hook);

  struct Impl;

 private:
  explicit Workbook(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
  SaveHook save_hook_;
  std::uint64_t generation_;
};

}  // namespace medravolix::workbook
