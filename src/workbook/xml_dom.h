// Helpers for the XML parts of the workbook file on pugixml. Writers differ in namespace prefixes
// (<worksheet> or <x:worksheet>), so elements are matched by their local name, and new elements
// take their parent's prefix.
#pragma once

#include <initializer_list>
#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace medravolix::workbook {

// "x:row" -> "row".
inline std::string_view localName(const char* qualified_name) {
  const std::string_view name(qualified_name);
  const auto colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}
inline bool hasLocalName(pugi::xml_node node, std::string_view local) {
  return node.type() == pugi::node_element && localName(node.name()) == local;
}

// The first child element with this local name (or an empty node).
pugi::xml_node childByLocalName(pugi::xml_node parent, std::string_view local);
// The prefix of the node's name with its colon ("x:"), or "" when it has none.
std::string prefixOf(pugi::xml_node node);
// The first attribute whose local name matches, whatever its prefix ("r:id" for "id").
pugi::xml_attribute prefixedAttribute(pugi::xml_node node, std::string_view local);
// The text of a <t> or <is>/<si> element: a plain <t>, or the runs' <t> joined; phonetic
// runs (<rPh>) are left out. Escapes are decoded.
std::string richText(pugi::xml_node holder);

// Adds an element where the schema's order puts it: before the first child element whose name is
// not among `earlier` (the elements that come before it), or last.
pugi::xml_node insertAfterAll(pugi::xml_node parent, const std::string& name,
                              std::initializer_list<std::string_view> earlier);
// Adds an element before the first child element named among `later`, or last.
pugi::xml_node insertBeforeAny(pugi::xml_node parent, const std::string& name,
                               std::initializer_list<std::string_view> later);

// Parses a part that is kept in `buffer` (the document points into it, so the buffer must live
// as long as the document). Keeps every character of the text (also whitespace-only texts) and
// the declaration and comments. Throws WorkbookDamaged naming the part (and the sheet it holds,
// if any) when it is not well-formed XML, an attribute given twice in one element included.
void parseXmlPart(pugi::xml_document& document, std::string& buffer, std::string_view part_name,
                  std::string_view workbook_label, std::string_view sheet = {});
// The document as written, without re-indenting it.
std::string serializeXml(const pugi::xml_document& document);

}  // namespace medravolix::workbook
