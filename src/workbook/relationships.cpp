#include "workbook/relationships.h"

#include <algorithm>

#include "workbook/xml_dom.h"

namespace medravolix::workbook {

Relationships::Relationships(std::string xml, std::string_view source_part,
                             std::string_view rels_part, std::string_view workbook_label) {
  pugi::xml_document document;
  parseXmlPart(document, xml, rels_part, workbook_label);
  for (pugi::xml_node node : document.document_element().children()) {
    if (!hasLocalName(node, "Relationship")) continue;
    Relationship relationship;
    relationship.id = node.attribute("Id").value();
    relationship.type = node.attribute("Type").value();
    relationship.external = std::string_view(node.attribute("TargetMode").value()) == "External";
    if (!relationship.external) {
      relationship.part_name = resolve(source_part, node.attribute("Target").value());
    }
    relationships_.push_back(std::move(relationship));
  }
}

std::string Relationships::partFor(std::string_view source_part) {
  const auto slash = source_part.rfind('/');
  const std::string_view folder =
      slash == std::string_view::npos ? std::string_view() : source_part.substr(0, slash + 1);
  const std::string_view file =
      slash == std::string_view::npos ? source_part : source_part.substr(slash + 1);
  return std::string(folder) + "_rels/" + std::string(file) + ".rels";
}

std::string Relationships::resolve(std::string_view source_part, std::string_view target) {
  const auto cut = target.find_first_of("#?");  // a fragment or query is not part of the name
  if (cut != std::string_view::npos) target = target.substr(0, cut);
  std::string joined;
  if (!target.empty() && target.front() == '/') {
    joined = std::string(target.substr(1));
  } else {
    const auto slash = source_part.rfind('/');
    if (slash != std::string_view::npos) joined = std::string(source_part.substr(0, slash + 1));
    joined += target;
  }
  std::vector<std::string> segments;
  std::size_t start = 0;
  while (start <= joined.size()) {
    const auto end = std::min(joined.find('/', start), joined.size());
    const std::string segment = joined.substr(start, end - start);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  std::string part;
  for (const auto& segment : segments) part += (part.empty() ? "" : "/") + segment;
  return part;
}

const Relationship* Relationships::byId(std::string_view id) const {
  for (const auto& relationship : relationships_) {
    if (relationship.id == id) return &relationship;
  }
  return nullptr;
}

bool Relationships::hasType(const Relationship& relationship, std::string_view type_name) {
  const std::string suffix = "/" + std::string(type_name);
  const std::string& type = relationship.type;
  return type.size() >= suffix.size() &&
         type.compare(type.size() - suffix.size(), suffix.size(), suffix) == 0;
}

const Relationship* Relationships::byType(std::string_view type_name) const {
  for (const auto& relationship : relationships_) {
    if (!relationship.external && hasType(relationship, type_name)) return &relationship;
  }
  return nullptr;
}

}  // namespace medravolix::workbook
