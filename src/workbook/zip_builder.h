// Builds a new zip archive in memory: entries copied raw from another archive (the same
// compressed bytes, nothing inflated or deflated again) and new entries deflated at level 6.
#pragma once

#include <deque>
#include <string>

struct zip;
struct zip_source;

namespace medravolix::workbook {

class ZipArchive;

class ZipBuilder {
 public:
  ZipBuilder();
  ~ZipBuilder();
  ZipBuilder(const ZipBuilder&) = delete;
  ZipBuilder& operator=(const ZipBuilder&) = delete;

  void copyRaw(const ZipArchive& source, std::size_t index);
  void add(const std::string& name, std::string data);
  // Writes the central directory and returns the archive's bytes. Call once.
  std::string finish();

 private:
  void addSource(const std::string& name, struct zip_source* source, bool deflate);

  struct zip_source* target_ = nullptr;
  struct zip* zip_ = nullptr;
  std::deque<std::string> data_;  // new entries' bytes, which libzip reads at finish()
};

}  // namespace medravolix::workbook
