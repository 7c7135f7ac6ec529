// Loading a workbook: the package's relationships lead to the workbook part, which lists the
// sheets; each worksheet is parsed the first time one of its cells is used.
#include <algorithm>

#include "workbook/relationships.h"
#include "workbook/sheet_reader.h"
#include "workbook/workbook_impl.h"
#include "workbook/xml_dom.h"

namespace medravolix::workbook {

namespace {

// LibreOffice's own format: a zip whose first entry "mimetype" names an OpenDocument type, or the
// same document as one XML file (.fods).
[[noreturn]] void openDocumentFile(const std::string& label) {
  throw WorkbookError("'" + label +
                      "' is an OpenDocument spreadsheet (.ods), not an Excel workbook. Open it in "
                      "LibreOffice, save it as an Excel workbook (.xlsx) and choose that file.");
}

void checkSignature(const std::string& bytes, const std::string& label) {
  const std::string_view head(bytes.data(), std::min<std::size_t>(bytes.size(), 8));
  if (head.substr(0, 4) == std::string_view("PK\x03\x04", 4) ||
      head.substr(0, 4) == std::string_view("PK\x05\x06", 4)) {
    return;
  }
  if (head == std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) {
    throw WorkbookError("'" + label +
                        "' is not an .xlsx workbook: it is an older .xls file or a password-"
                        "protected workbook. Save it as an Excel Workbook (.xlsx) without a "
                        "password and choose that file.");
  }
  const std::string_view head_text(bytes.data(), std::min<std::size_t>(bytes.size(), 4096));
  if (head_text.find("urn:oasis:names:tc:opendocument") != std::string_view::npos) {
    openDocumentFile(label);
  }
  throw WorkbookError("'" + label + "' is not an .xlsx workbook" +
                      (bytes.empty() ? " (the file is empty)" : "") +
                      ". Choose a workbook saved in the Excel Workbook (.xlsx) format.");
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && lowerAscii(a) == lowerAscii(b);
}

}  // namespace

std::unique_ptr<Workbook::Impl> Workbook::Impl::openFile(const std::filesystem::path& path) {
  WorkbookFile::removeLeftovers(WorkbookFile::saveTarget(path));
  const auto before = WorkbookFile::signature(path);
  auto bytes = std::make_shared<const std::string>(WorkbookFile::read(path));
  checkSignature(*bytes, path.string());
  auto impl = fromBytes(std::move(bytes), path, path.string());
  impl->signature = before;
  return impl;
}

std::unique_ptr<Workbook::Impl> Workbook::Impl::fromBytes(std::shared_ptr<const std::string> bytes,
                                                          std::filesystem::path path,
                                                          std::string label) {
  auto impl = std::make_unique<Impl>();
  impl->path = std::move(path);
  impl->label = std::move(label);
  impl->archive = std::make_unique<ZipArchive>(std::move(bytes), impl->label);
  impl->readWorkbookPart();
  return impl;
}

void Workbook::Impl::notAWorkbook(std::string_view why) const {
  throw WorkbookError("'" + label + "' is not an .xlsx workbook (" + std::string(why) +
                      "). Choose a workbook saved in the Excel Workbook (.xlsx) format.");
}

Relationships Workbook::Impl::readRelationships(std::string_view source_part) const {
  const std::string part = Relationships::partFor(source_part);
  const auto entry = archive->find(part);
  if (!entry) return {};
  return Relationships(archive->read(*entry), source_part, part, label);
}

void Workbook::Impl::readWorkbookPart() {
  const Relationships package = readRelationships("");
  const Relationship* office = package.byType("officeDocument");
  if (!office) {
    const auto mimetype = archive->find("mimetype");
    if (mimetype && archive->read(*mimetype).starts_with("application/vnd.oasis.opendocument")) {
      openDocumentFile(label);
    }
    notAWorkbook("it holds no office document");
  }
  workbook_part = office->part_name;
  const auto entry = archive->find(workbook_part);
  if (!entry) notAWorkbook("its workbook part '" + workbook_part + "' is missing");
  workbook_xml = archive->read(*entry);
  parseXmlPart(workbook_document, workbook_xml, workbook_part, label);
  const pugi::xml_node root = workbook_document.document_element();
  if (!hasLocalName(root, "workbook")) notAWorkbook("it is another kind of office document");
  const pugi::xml_attribute date1904 = childByLocalName(root, "workbookPr").attribute("date1904");
  uses_1904_dates = date1904.as_bool();
  const Relationships relationships = readRelationships(workbook_part);
  if (const Relationship* strings = relationships.byType("sharedStrings")) {
    shared_strings_part = strings->part_name;
  }
  readSheetList(relationships);
}

// The worksheets in the workbook's order; chart sheets and other kinds of sheet are left out.
void Workbook::Impl::readSheetList(const Relationships& relationships) {
  for (pugi::xml_node node :
       childByLocalName(workbook_document.document_element(), "sheets").children()) {
    if (!hasLocalName(node, "sheet")) continue;
    const Relationship* target = relationships.byId(prefixedAttribute(node, "id").value());
    if (!target || target->external || !Relationships::hasType(*target, "worksheet")) continue;
    auto part = std::make_unique<SheetPart>();
    part->name = node.attribute("name").value();
    part->part_name = target->part_name;
    sheets.push_back(std::move(part));
  }
}

SheetPart* Workbook::Impl::findSheet(std::string_view name) const {
  if (last_sheet < sheets.size() && sheets[last_sheet]->name == name)
    return sheets[last_sheet].get();
  for (std::size_t i = 0; i < sheets.size(); ++i) {
    if (sheets[i]->name == name) {
      last_sheet = i;
      return sheets[i].get();
    }
  }
  // Sheet names are unique without regard to case, as spreadsheet programs compare them.
  for (const auto& sheet : sheets) {
    if (equalsIgnoringCase(sheet->name, name)) return sheet.get();
  }
  return nullptr;
}

SheetPart& Workbook::Impl::sheet(std::string_view name) const {
  if (SheetPart* found = findSheet(name)) return *found;
  throw WorkbookError("The workbook has no sheet named '" + std::string(name) + "'");
}

const SharedStrings& Workbook::Impl::sharedStrings() {
  if (shared_strings) return *shared_strings;
  const auto entry =
      shared_strings_part.empty() ? std::nullopt : archive->find(shared_strings_part);
  if (entry) {
    shared_strings.emplace(archive->read(*entry), shared_strings_part, label);
  } else {
    shared_strings.emplace();
  }
  return *shared_strings;
}

// A damaged part stays damaged: its first error is kept and given again at once, so a caller
// that asks for many cells of it is not made to unpack and parse it again for each.
const SheetIndex& Workbook::Impl::index(SheetPart& sheet) {
  if (sheet.index) return *sheet.index;
  if (sheet.failure) throw *sheet.failure;
  try {
    loadSheet(sheet);
  } catch (const WorkbookDamaged& e) {
    sheet.document.reset();
    sheet.xml.clear();
    sheet.index.reset();
    sheet.failure = e;
    throw;
  }
  return *sheet.index;
}

void Workbook::Impl::loadSheet(SheetPart& sheet) {
  const auto entry = archive->find(sheet.part_name);
  if (!entry) {
    throw WorkbookDamaged("The workbook '" + label +
                          "' is damaged: " + describePart(sheet.part_name, sheet.name) +
                          " is missing. Open it in a spreadsheet program to repair it, or use a "
                          "backup copy.");
  }
  const SharedStrings& strings = sharedStrings();
  sheet.document = std::make_unique<pugi::xml_document>();
  sheet.xml = archive->read(*entry, sheet.name);
  parseXmlPart(*sheet.document, sheet.xml, sheet.part_name, label, sheet.name);
  sheet.index = SheetReader(sheet.name, label, strings, uses_1904_dates).read(*sheet.document);
}

SheetEditor& Workbook::Impl::editor(SheetPart& sheet) {
  index(sheet);
  if (!sheet.editor) sheet.editor = std::make_unique<SheetEditor>(*sheet.document);
  return *sheet.editor;
}

}  // namespace medravolix::workbook
