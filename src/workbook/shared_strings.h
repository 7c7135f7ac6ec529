// The shared string table of a workbook: cells of type "s" hold an index into it. Each entry is
// a plain text or rich-text runs; the runs' texts are joined and phonetic guides left out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace medravolix::workbook {

class SharedStrings {
 public:
  SharedStrings() = default;
  SharedStrings(std::string xml, std::string_view part_name, std::string_view workbook_label);

  std::size_t size() const { return texts_.size(); }
  const std::string* find(std::size_t index) const {
    return index < texts_.size() ? &texts_[index] : nullptr;
  }

 private:
  std::vector<std::string> texts_;
};

}  // namespace medravolix::workbook
