// The inside of a Workbook: the file's bytes as a zip archive, the parsed workbook part, and
// the worksheets, each parsed when first used and kept as XML (for the surgical save) and as an
// index of its cells (for fast reads).
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/shared_strings.h"
#include "workbook/sheet_editor.h"
#include "workbook/sheet_index.h"
#include "workbook/workbook.h"
#include "workbook/workbook_file.h"
#include "workbook/zip_archive.h"

namespace medravolix::workbook {

class Relationships;

struct SheetPart {
  std::string name;
  std::string part_name;
  std::string xml;  // the parsed document points into this buffer
  std::unique_ptr<pugi::xml_document> document;
  std::optional<SheetIndex> index;
  std::unique_ptr<SheetEditor> editor;
  bool dirty = false;
  // Why the part could not be read, once it failed: it is not read again.
  std::optional<WorkbookDamaged> failure;
};

struct Workbook::Impl {
  std::filesystem::path path;
  std::string label;  // the workbook as messages name it
  std::optional<FileSignature> signature;
  std::unique_ptr<ZipArchive> archive;
  std::string workbook_part;
  std::string workbook_xml;
  pugi::xml_document workbook_document;
  std::string shared_strings_part;
  std::optional<SharedStrings> shared_strings;
  std::vector<std::unique_ptr<SheetPart>> sheets;
  mutable std::size_t last_sheet = 0;
  bool uses_1904_dates = false;
  bool modified = false;
  bool formula_dropped = false;

  // Loading (workbook_loader.cpp).
  static std::unique_ptr<Impl> openFile(const std::filesystem::path& path);
  static std::unique_ptr<Impl> fromBytes(std::shared_ptr<const std::string> bytes,
                                         std::filesystem::path path, std::string label);
  SheetPart* findSheet(std::string_view name) const;
  SheetPart& sheet(std::string_view name) const;
  const SheetIndex& index(SheetPart& sheet);
  SheetEditor& editor(SheetPart& sheet);

  // Saving (workbook_saver.cpp).
  std::string buildPackage();
  // TheFileRead: refused when the file on disk is no longer the one read (or last saved).
  enum class SaveOver { TheFileRead, AnyFile };
  void saveTo(const std::filesystem::path& path, const Workbook::SaveHook& hook, SaveOver over);

 private:
  void readWorkbookPart();
  void readSheetList(const Relationships& relationships);
  Relationships readRelationships(std::string_view source_part) const;
  const SharedStrings& sharedStrings();
  void loadSheet(SheetPart& sheet);
  [[noreturn]] void notAWorkbook(std::string_view why) const;
  void removeCalcChain(std::vector<std::pair<std::string, std::string>>& replaced,
                       std::vector<std::string>& removed) const;
  void requestFullRecalculation();
  void requireUnchangedOnDisk() const;
};

}  // namespace medravolix::workbook
