#include "workbook/zip_archive.h"

#include <zip.h>

#include <cctype>

#include "workbook/workbook_error.h"

namespace medravolix::workbook {

std::string lowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& ch : lower) {
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  }
  return lower;
}

ZipArchive::ZipArchive(std::shared_ptr<const std::string> bytes, std::string label)
    : bytes_(std::move(bytes)), label_(std::move(label)) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes_->data(), bytes_->size(), 0, &error);
  if (source) zip_ = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
  if (!zip_) {
    const std::string reason = zip_error_strerror(&error);
    zip_error_fini(&error);
    if (source) zip_source_free(source);
    damaged("its zip container cannot be read (" + reason + ")");
  }
  zip_error_fini(&error);
  count_ = static_cast<std::size_t>(zip_get_num_entries(zip_, 0));
  for (std::size_t i = 0; i < count_; ++i) by_lower_name_.emplace(lowerAscii(entryName(i)), i);
}

ZipArchive::~ZipArchive() {
  if (zip_) zip_discard(zip_);
}

std::string ZipArchive::entryName(std::size_t index) const {
  const char* name = zip_get_name(zip_, index, ZIP_FL_ENC_RAW);
  return name ? std::string(name) : std::string();
}

namespace {
// "my%20sheet.xml" -> "my sheet.xml": some writers percent-encode a target but not the entry.
std::string percentDecoded(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() &&
        std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}
}  // namespace

std::optional<std::size_t> ZipArchive::find(std::string_view part_name) const {
  if (!part_name.empty() && part_name.front() == '/') part_name.remove_prefix(1);
  auto it = by_lower_name_.find(lowerAscii(part_name));
  if (it == by_lower_name_.end() && part_name.find('%') != std::string_view::npos) {
    it = by_lower_name_.find(lowerAscii(percentDecoded(part_name)));
  }
  if (it == by_lower_name_.end()) return std::nullopt;
  return it->second;
}

std::string ZipArchive::read(std::size_t index, std::string_view sheet) const {
  const std::string part = describePart(entryName(index), sheet);
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(zip_, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE)) {
    damaged(part + " cannot be read");
  }
  if (stat.size > kMaxEntryBytes) {
    damaged(part + " unpacks to more than 256 MB, more than this program reads");
  }
  zip_file_t* file = zip_fopen_index(zip_, index, 0);
  if (!file) damaged(part + " cannot be opened (" + zip_strerror(zip_) + ")");
  std::string data(static_cast<std::size_t>(stat.size), '\0');
  std::size_t filled = 0;
  while (filled < data.size()) {
    const zip_int64_t got = zip_fread(file, data.data() + filled, data.size() - filled);
    if (got <= 0) break;
    filled += static_cast<std::size_t>(got);
  }
  char probe = 0;
  const bool longer = filled == data.size() && zip_fread(file, &probe, 1) > 0;
  const int code = zip_error_code_zip(zip_file_get_error(file));
  // Damaged compressed data or a wrong checksum say the same to the user; the archive library's
  // own words for them name its compressor.
  const bool datos = code == ZIP_ER_ZLIB || code == ZIP_ER_CRC || code == ZIP_ER_COMPRESSED_DATA;
  const std::string reason =
      datos ? "its compressed data are damaged" : zip_error_strerror(zip_file_get_error(file));
  const bool failed = code != ZIP_ER_OK;
  zip_fclose(file);
  if (failed || filled != data.size() || longer) {
    damaged(part + " is broken (" + (failed ? reason : "wrong size") + ")");
  }
  return data;
}

void ZipArchive::damaged(std::string_view what) const {
  throw WorkbookDamaged("The workbook '" + label_ + "' is damaged: " + std::string(what) +
                        ". Open it in a spreadsheet program to repair it, or use a backup copy.");
}

}  // namespace medravolix::workbook
