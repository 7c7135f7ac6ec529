// The relationships of a package part (its "_rels/<name>.rels" part): which parts it refers to,
// by id and by type. Targets are resolved to part names: relative to the source part's folder,
// or absolute from the package root ("/xl/worksheets/sheet1.xml"), with "." and ".." resolved.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace medravolix::workbook {

struct Relationship {
  std::string id;
  std::string type;
  std::string part_name;  // resolved, without a leading "/"; empty for external targets
  bool external = false;
};

class Relationships {
 public:
  Relationships() = default;
  // Parses a relationships part; `source_part` is the part they belong to ("" for the package).
  Relationships(std::string xml, std::string_view source_part, std::string_view rels_part,
                std::string_view workbook_label);

  // "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels"; "" -> "_rels/.rels".
  static std::string partFor(std::string_view source_part);
  // A target resolved against the folder of the source part.
  static std::string resolve(std::string_view source_part, std::string_view target);

  const Relationship* byId(std::string_view id) const;
  // The first internal relationship whose type ends in "/<type_name>" ("officeDocument").
  const Relationship* byType(std::string_view type_name) const;
  static bool hasType(const Relationship& relationship, std::string_view type_name);

 private:
  std::vector<Relationship> relationships_;
};

}  // namespace medravolix::workbook
