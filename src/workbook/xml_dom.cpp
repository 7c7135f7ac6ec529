#include "workbook/xml_dom.h"

#include <algorithm>
#include <cstring>
#include <sstream>

#include "workbook/workbook_error.h"
#include "workbook/xml_text.h"

namespace medravolix::workbook {

pugi::xml_node childByLocalName(pugi::xml_node parent, std::string_view local) {
  for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
    if (hasLocalName(child, local)) return child;
  }
  return {};
}

std::string prefixOf(pugi::xml_node node) {
  const std::string_view name(node.name());
  const auto colon = name.find(':');
  return colon == std::string_view::npos ? std::string() : std::string(name.substr(0, colon + 1));
}

pugi::xml_attribute prefixedAttribute(pugi::xml_node node, std::string_view local) {
  for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
    const std::string_view name(a.name());
    const auto colon = name.find(':');
    if (colon != std::string_view::npos && name.substr(colon + 1) == local) return a;
  }
  return {};
}

std::string richText(pugi::xml_node holder) {
  std::string text;
  for (pugi::xml_node child = holder.first_child(); child; child = child.next_sibling()) {
    if (hasLocalName(child, "t")) {
      text += child.child_value();
    } else if (hasLocalName(child, "r")) {
      text += childByLocalName(child, "t").child_value();
    }
  }
  return decodeEscapes(text);
}

namespace {
pugi::xml_node insertBefore(pugi::xml_node parent, const std::string& name, pugi::xml_node next) {
  return next ? parent.insert_child_before(name.c_str(), next) : parent.append_child(name.c_str());
}
bool among(pugi::xml_node node, std::initializer_list<std::string_view> names) {
  const auto name = localName(node.name());
  return std::find(names.begin(), names.end(), name) != names.end();
}
}  // namespace

pugi::xml_node insertAfterAll(pugi::xml_node parent, const std::string& name,
                              std::initializer_list<std::string_view> earlier) {
  pugi::xml_node next;
  for (pugi::xml_node child = parent.first_child(); child && !next; child = child.next_sibling()) {
    if (child.type() == pugi::node_element && !among(child, earlier)) next = child;
  }
  return insertBefore(parent, name, next);
}

pugi::xml_node insertBeforeAny(pugi::xml_node parent, const std::string& name,
                               std::initializer_list<std::string_view> later) {
  pugi::xml_node next;
  for (pugi::xml_node child = parent.first_child(); child && !next; child = child.next_sibling()) {
    if (child.type() == pugi::node_element && among(child, later)) next = child;
  }
  return insertBefore(parent, name, next);
}

namespace {

// The first attribute whose name appears twice in the element, if any. Elements of a workbook
// carry a handful of attributes, so comparing each pair costs less than sorting them.
pugi::xml_attribute repeatedAttribute(pugi::xml_node element) {
  for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
    for (pugi::xml_attribute b = a.next_attribute(); b; b = b.next_attribute()) {
      if (std::strcmp(a.name(), b.name()) == 0) return a;
    }
  }
  return {};
}

// The parser accepts an element that gives one attribute twice (<c r="A2" r="Z2">), which XML
// forbids; programs then disagree on which value holds, so such a part is refused.
std::string firstRepeatedAttribute(const pugi::xml_document& document) {
  pugi::xml_node node = document.first_child();
  while (node) {
    if (node.type() == pugi::node_element && node.first_attribute()) {
      if (const pugi::xml_attribute a = repeatedAttribute(node)) {
        std::string values;
        for (pugi::xml_attribute b = a; b; b = b.next_attribute()) {
          if (std::strcmp(a.name(), b.name()) == 0)
            values += (values.empty() ? "'" : " and '") + std::string(b.value()) + "'";
        }
        return "the element <" + std::string(node.name()) + "> at byte " +
               std::to_string(node.offset_debug()) + " gives its attribute '" + a.name() +
               "' twice (" + values + ")";
      }
    }
    if (node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (node && !node.next_sibling()) node = node.parent();
    if (node) node = node.next_sibling();
  }
  return {};
}

[[noreturn]] void notValidXml(std::string_view workbook_label, std::string_view part_name,
                              std::string_view sheet, std::string_view why) {
  throw WorkbookDamaged("The workbook '" + std::string(workbook_label) + "' is damaged: " +
                        describePart(part_name, sheet) + " is not valid XML (" + std::string(why) +
                        "). Open it in a spreadsheet program to repair it, or use a backup copy.");
}

}  // namespace

void parseXmlPart(pugi::xml_document& document, std::string& buffer, std::string_view part_name,
                  std::string_view workbook_label, std::string_view sheet) {
  const auto result = document.load_buffer_inplace(buffer.data(), buffer.size(),
                                                   pugi::parse_full | pugi::parse_ws_pcdata);
  if (!result || !document.document_element()) {
    std::ostringstream why;
    why << result.description() << " at byte " << result.offset;
    notValidXml(workbook_label, part_name, sheet, why.str());
  }
  const std::string repeated = firstRepeatedAttribute(document);
  if (!repeated.empty()) notValidXml(workbook_label, part_name, sheet, repeated);
}

std::string serializeXml(const pugi::xml_document& document) {
  struct StringWriter : pugi::xml_writer {
    std::string text;
    void write(const void* data, size_t size) override {
      text.append(static_cast<const char*>(data), size);
    }
  } writer;
  document.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
  return std::move(writer.text);
}

}  // namespace medravolix::workbook
