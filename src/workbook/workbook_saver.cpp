// Saving a workbook: a new archive in the old one's entry order, with the rewritten parts
// deflated anew and every other entry copied as its compressed bytes; then the file is
// replaced atomically.
#include <algorithm>

#include "workbook/relationships.h"
#include "workbook/workbook_impl.h"
#include "workbook/xml_dom.h"
#include "workbook/zip_builder.h"

namespace medravolix::workbook {

namespace {

constexpr std::string_view kCalcChainType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml";

bool samePart(std::string_view a, std::string_view b) {
  if (!a.empty() && a.front() == '/') a.remove_prefix(1);
  if (!b.empty() && b.front() == '/') b.remove_prefix(1);
  return lowerAscii(a) == lowerAscii(b);
}

// Removes the relationships of the calculation chain; returns the parts they pointed to.
std::vector<std::string> dropCalcChainRelationships(pugi::xml_document& rels,
                                                    std::string_view source_part) {
  std::vector<std::string> parts;
  pugi::xml_node root = rels.document_element();
  for (pugi::xml_node node = root.first_child(); node;) {
    const pugi::xml_node next = node.next_sibling();
    Relationship relationship;
    relationship.type = node.attribute("Type").value();
    if (hasLocalName(node, "Relationship") && Relationships::hasType(relationship, "calcChain")) {
      parts.push_back(Relationships::resolve(source_part, node.attribute("Target").value()));
      root.remove_child(node);
    }
    node = next;
  }
  return parts;
}

// Removes the content-type overrides of the calculation chain; returns the parts they named.
std::vector<std::string> dropCalcChainOverrides(pugi::xml_document& types,
                                                const std::vector<std::string>& related) {
  std::vector<std::string> parts;
  pugi::xml_node root = types.document_element();
  for (pugi::xml_node node = root.first_child(); node;) {
    const pugi::xml_node next = node.next_sibling();
    const std::string_view name = node.attribute("PartName").value();
    const bool listed = std::any_of(related.begin(), related.end(),
                                    [&](const std::string& part) { return samePart(part, name); });
    if (hasLocalName(node, "Override") &&
        (listed || std::string_view(node.attribute("ContentType").value()) == kCalcChainType)) {
      parts.emplace_back(name.substr(name.starts_with('/') ? 1 : 0));
      root.remove_child(node);
    }
    node = next;
  }
  return parts;
}

}  // namespace

// When a formula is overwritten, the calculation chain would list a cell that no longer holds
// one, which Excel reports as damage; it rebuilds the chain when the chain is missing.
void Workbook::Impl::removeCalcChain(std::vector<std::pair<std::string, std::string>>& replaced,
                                     std::vector<std::string>& removed) const {
  std::vector<std::string> parts;
  const std::string rels_part = Relationships::partFor(workbook_part);
  if (const auto entry = archive->find(rels_part)) {
    std::string xml = archive->read(*entry);
    pugi::xml_document rels;
    parseXmlPart(rels, xml, rels_part, label);
    parts = dropCalcChainRelationships(rels, workbook_part);
    if (!parts.empty()) replaced.emplace_back(rels_part, serializeXml(rels));
  }
  if (const auto entry = archive->find("[Content_Types].xml")) {
    std::string xml = archive->read(*entry);
    pugi::xml_document types;
    parseXmlPart(types, xml, "[Content_Types].xml", label);
    const auto overridden = dropCalcChainOverrides(types, parts);
    if (!overridden.empty()) replaced.emplace_back("[Content_Types].xml", serializeXml(types));
    parts.insert(parts.end(), overridden.begin(), overridden.end());
  }
  removed.insert(removed.end(), parts.begin(), parts.end());
}

// Asks the spreadsheet program to compute every formula when it opens the file, since cells
// that formulas depend on may have changed.
void Workbook::Impl::requestFullRecalculation() {
  pugi::xml_node root = workbook_document.document_element();
  pugi::xml_node calc = childByLocalName(root, "calcPr");
  if (!calc) {
    calc = insertBeforeAny(
        root, prefixOf(root) + "calcPr",
        {"oleSize", "customWorkbookViews", "pivotCaches", "smartTagPr", "smartTagTypes",
         "webPublishing", "fileRecoveryPr", "webPublishObjects", "extLst"});
  }
  pugi::xml_attribute full = calc.attribute("fullCalcOnLoad");
  if (!full) full = calc.append_attribute("fullCalcOnLoad");
  full.set_value("1");
}

std::string Workbook::Impl::buildPackage() {
  std::vector<std::pair<std::string, std::string>> replaced;  // part name, new content
  std::vector<std::string> removed;
  for (const auto& sheet : sheets) {
    if (!sheet->dirty) continue;
    sheet->editor->updateDimension();
    replaced.emplace_back(sheet->part_name, serializeXml(*sheet->document));
  }
  if (modified) {
    requestFullRecalculation();
    replaced.emplace_back(workbook_part, serializeXml(workbook_document));
  }
  if (formula_dropped) removeCalcChain(replaced, removed);
  ZipBuilder builder;
  for (std::size_t i = 0; i < archive->entryCount(); ++i) {
    const std::string name = archive->entryName(i);
    const auto is_named = [&](std::string_view part) { return samePart(part, name); };
    if (std::any_of(removed.begin(), removed.end(), is_named)) continue;
    const auto it = std::find_if(replaced.begin(), replaced.end(),
                                 [&](const auto& entry) { return is_named(entry.first); });
    if (it != replaced.end()) {
      builder.add(name, std::move(it->second));
    } else {
      builder.copyRaw(*archive, i);
    }
  }
  return builder.finish();
}

// Another program's save since the file was read would be lost under this one.
void Workbook::Impl::requireUnchangedOnDisk() const {
  if (WorkbookFile::signature(path) == signature) return;
  throw WorkbookError("The workbook '" + path.string() +
                      "' was changed on disk (or moved or deleted) since MEDRAVOLIX read it, "
                      "so it was not saved: that would overwrite the other change. The file "
                      "on disk was left as it was.");
}

void Workbook::Impl::saveTo(const std::filesystem::path& target_path,
                            const Workbook::SaveHook& hook, SaveOver over) {
  const std::filesystem::path target = WorkbookFile::saveTarget(target_path);
  auto bytes = std::make_shared<const std::string>(buildPackage());
  // From the check that the file is still the one read until the new file's signature is noted,
  // no other save of this file may land: it would be overwritten, or taken for this one.
  const SaveLock lock(target);
  if (over == SaveOver::TheFileRead) requireUnchangedOnDisk();
  WorkbookFile::removeLeftovers(target);
  WorkbookFile::replace(target, *bytes, hook);
  // The saved file is now the one the workbook stands for.
  archive = std::make_unique<ZipArchive>(std::move(bytes), target_path.string());
  path = target_path;
  label = target_path.string();
  signature = WorkbookFile::signature(target_path);
  for (const auto& sheet : sheets) sheet->dirty = false;
  modified = false;
  formula_dropped = false;
}

}  // namespace medravolix::workbook
