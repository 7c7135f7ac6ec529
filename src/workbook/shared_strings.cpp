#include "workbook/shared_strings.h"

#include "workbook/xml_dom.h"

namespace medravolix::workbook {

SharedStrings::SharedStrings(std::string xml, std::string_view part_name,
                             std::string_view workbook_label) {
  pugi::xml_document document;
  parseXmlPart(document, xml, part_name, workbook_label);
  for (pugi::xml_node item : document.document_element().children()) {
    if (hasLocalName(item, "si")) texts_.push_back(richText(item));
  }
}

}  // namespace medravolix::workbook
