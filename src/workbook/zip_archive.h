// A zip archive read from bytes held in memory (the whole workbook file). Entries are found by
// name without regard to case, as package part names are compared. Reading an entry stops at a
// size cap, so a damaged or malicious file cannot make the program inflate gigabytes.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

struct zip;

namespace medravolix::workbook {

class ZipArchive {
 public:
  // The most a single entry may unpack to.
  static constexpr std::size_t kMaxEntryBytes = std::size_t{256} << 20;

  // `label` names the workbook in messages (its path). Throws WorkbookError when the bytes are
  // not a readable zip archive.
  ZipArchive(std::shared_ptr<const std::string> bytes, std::string label);
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  std::size_t entryCount() const { return count_; }
  std::string entryName(std::size_t index) const;
  // The entry of a part name ("xl/workbook.xml"; a leading "/" is ignored), case-insensitively.
  std::optional<std::size_t> find(std::string_view part_name) const;
  // The unpacked bytes of an entry. Throws WorkbookDamaged when it is damaged or too large;
  // the message names the sheet that the entry holds, when one is given.
  std::string read(std::size_t index, std::string_view sheet = {}) const;

  const std::string& bytes() const { return *bytes_; }
  const std::string& label() const { return label_; }
  struct zip* handle() const {
    return zip_;
  }

 private:
  [[noreturn]] void damaged(std::string_view what) const;

  std::shared_ptr<const std::string> bytes_;
  std::string label_;
  struct zip* zip_ = nullptr;
  std::size_t count_ = 0;
  std::unordered_map<std::string, std::size_t> by_lower_name_;
};

// ASCII lower case, for comparing part names.
std::string lowerAscii(std::string_view text);

}  // namespace medravolix::workbook
