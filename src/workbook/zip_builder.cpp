#include "workbook/zip_builder.h"

#include <zip.h>

#include "workbook/workbook_error.h"
#include "workbook/zip_archive.h"

namespace medravolix::workbook {

namespace {
[[noreturn]] void fail(std::string_view what, std::string_view reason) {
  throw WorkbookError("The workbook could not be written: " + std::string(what) + " (" +
                      std::string(reason) + ").");
}
}  // namespace

ZipBuilder::ZipBuilder() {
  zip_error_t error;
  zip_error_init(&error);
  target_ = zip_source_buffer_create(nullptr, 0, 0, &error);
  if (target_) zip_ = zip_open_from_source(target_, ZIP_TRUNCATE, &error);
  if (!zip_) {
    const std::string reason = zip_error_strerror(&error);
    zip_error_fini(&error);
    if (target_) zip_source_free(target_);
    fail("no archive could be started in memory", reason);
  }
  zip_error_fini(&error);
  zip_source_keep(target_);  // the bytes are read out of it after zip_close
}

ZipBuilder::~ZipBuilder() {
  if (zip_) zip_discard(zip_);
  if (target_) zip_source_free(target_);
}

void ZipBuilder::copyRaw(const ZipArchive& source, std::size_t index) {
  zip_source_t* entry = zip_source_zip(zip_, source.handle(), index, 0, 0, -1);
  if (!entry) fail("a part could not be copied", zip_strerror(zip_));
  addSource(source.entryName(index), entry, false);
}

void ZipBuilder::add(const std::string& name, std::string data) {
  data_.push_back(std::move(data));
  zip_source_t* entry = zip_source_buffer(zip_, data_.back().data(), data_.back().size(), 0);
  if (!entry) fail("a part could not be added", zip_strerror(zip_));
  addSource(name, entry, true);
}

void ZipBuilder::addSource(const std::string& name, zip_source_t* source, bool deflate) {
  const zip_int64_t index = zip_file_add(zip_, name.c_str(), source, ZIP_FL_ENC_GUESS);
  if (index < 0) {
    zip_source_free(source);
    fail("the part '" + name + "' could not be added", zip_strerror(zip_));
  }
  if (deflate &&
      zip_set_file_compression(zip_, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 6) != 0) {
    fail("the part '" + name + "' could not be compressed", zip_strerror(zip_));
  }
}

std::string ZipBuilder::finish() {
  if (zip_close(zip_) != 0) fail("the archive could not be completed", zip_strerror(zip_));
  zip_ = nullptr;
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_source_stat(target_, &stat) != 0 || zip_source_open(target_) != 0) {
    fail("the archive could not be read back from memory",
         zip_error_strerror(zip_source_error(target_)));
  }
  std::string bytes(static_cast<std::size_t>(stat.size), '\0');
  const zip_int64_t got = zip_source_read(target_, bytes.data(), bytes.size());
  zip_source_close(target_);
  if (got != static_cast<zip_int64_t>(bytes.size())) {
    fail("the archive could not be read back from memory", "short read");
  }
  return bytes;
}

}  // namespace medravolix::workbook
