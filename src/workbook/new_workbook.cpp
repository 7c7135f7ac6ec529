#include "workbook/new_workbook.h"

#include <algorithm>

#include "workbook/workbook_error.h"
#include "workbook/xml_text.h"
#include "workbook/zip_archive.h"
#include "workbook/zip_builder.h"

namespace medravolix::workbook {

namespace {

constexpr const char* kDeclaration = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
                                     "\n";
constexpr const char* kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kRelationship =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char* kMimePrefix = "application/vnd.openxmlformats-officedocument.spreadsheetml.";

std::string contentTypes(std::size_t sheet_count) {
  std::string xml =
      std::string(kDeclaration) +
      R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
      R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
      R"(<Default Extension="xml" ContentType="application/xml"/>)";
  xml += R"(<Override PartName="/xl/workbook.xml" ContentType=")" + std::string(kMimePrefix) +
         R"(sheet.main+xml"/>)";
  for (std::size_t i = 1; i <= sheet_count; ++i) {
    xml += R"(<Override PartName="/xl/worksheets/sheet)" + std::to_string(i) +
           R"(.xml" ContentType=")" + kMimePrefix + R"(worksheet+xml"/>)";
  }
  xml += R"(<Override PartName="/xl/styles.xml" ContentType=")" + std::string(kMimePrefix) +
         R"(styles+xml"/>)";
  return xml + "</Types>";
}

std::string packageRelationships() {
  return std::string(kDeclaration) +
         R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
         R"(<Relationship Id="rId1" Type=")" +
         kRelationship + R"(/officeDocument" Target="xl/workbook.xml"/></Relationships>)";
}

std::string workbookRelationships(std::size_t sheet_count) {
  std::string xml =
      std::string(kDeclaration) +
      R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)";
  for (std::size_t i = 1; i <= sheet_count; ++i) {
    xml += R"(<Relationship Id="rId)" + std::to_string(i) + R"(" Type=")" + kRelationship +
           R"(/worksheet" Target="worksheets/sheet)" + std::to_string(i) + R"(.xml"/>)";
  }
  xml += R"(<Relationship Id="rId)" + std::to_string(sheet_count + 1) + R"(" Type=")" +
         kRelationship + R"(/styles" Target="styles.xml"/>)";
  return xml + "</Relationships>";
}

std::string workbookPart(const std::vector<std::string>& names) {
  std::string xml =
      std::string(kDeclaration) + R"(<workbook xmlns=")" + kMain + R"(" xmlns:r=")" +
      kRelationship +
      R"("><workbookPr/><bookViews><workbookView activeTab="0"/></bookViews><sheets>)";
  for (std::size_t i = 1; i <= names.size(); ++i) {
    xml += R"(<sheet name=")" + escapeXmlAttribute(names[i - 1]) + R"(" sheetId=")" +
           std::to_string(i) + R"(" r:id="rId)" + std::to_string(i) + R"("/>)";
  }
  return xml + R"(</sheets><calcPr calcId="191029"/></workbook>)";
}

std::string worksheet(bool selected) {
  return std::string(kDeclaration) + R"(<worksheet xmlns=")" + kMain + R"(" xmlns:r=")" +
         kRelationship + R"("><dimension ref="A1"/><sheetViews><sheetView )" +
         (selected ? R"(tabSelected="1" )" : "") +
         R"(workbookViewId="0"/></sheetViews><sheetFormatPr defaultRowHeight="15"/><sheetData/>)"
         R"(<pageMargins left="0.7" right="0.7" top="0.75" bottom="0.75" header="0.3" footer="0.3"/>)"
         R"(</worksheet>)";
}

std::string styles() {
  return std::string(kDeclaration) + R"(<styleSheet xmlns=")" + kMain + R"(">)" +
         R"(<fonts count="1"><font><sz val="11"/><name val="Calibri"/><family val="2"/></font></fonts>)"
         R"(<fills count="2"><fill><patternFill patternType="none"/></fill>)"
         R"(<fill><patternFill patternType="gray125"/></fill></fills>)"
         R"(<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>)"
         R"(<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>)"
         R"(<cellXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/></cellXfs>)"
         R"(<cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles>)"
         R"(</styleSheet>)";
}

void checkSheetName(const std::string& name) {
  const auto refuse = [&](std::string_view why) {
    throw WorkbookError("'" + name + "' cannot be the name of a sheet: " + std::string(why) + ".");
  };
  if (name.empty()) refuse("a sheet name cannot be empty");
  if (!isValidUtf8(name)) refuse("it is not valid text");
  if (utf16Length(name) > 31) refuse("a sheet name has at most 31 characters");
  if (name.find_first_of("[]:*?/\\") != std::string::npos) {
    refuse("a sheet name cannot hold [ ] : * ? / or \\");
  }
  if (std::any_of(name.begin(), name.end(),
                  [](char ch) { return static_cast<unsigned char>(ch) < 0x20; })) {
    refuse("a sheet name cannot hold control characters");
  }
  if (name.front() == '\'' || name.back() == '\'')
    refuse("a sheet name cannot begin or end with '");
}

}  // namespace

void NewWorkbook::checkSheetNames(const std::vector<std::string>& sheet_names) {
  if (sheet_names.empty()) throw WorkbookError("A workbook needs at least one sheet.");
  for (std::size_t i = 0; i < sheet_names.size(); ++i) {
    checkSheetName(sheet_names[i]);
    for (std::size_t j = 0; j < i; ++j) {
      if (lowerAscii(sheet_names[i]) == lowerAscii(sheet_names[j])) {
        throw WorkbookError("The sheet name '" + sheet_names[i] + "' is used twice.");
      }
    }
  }
}

std::string NewWorkbook::package(const std::vector<std::string>& sheet_names) {
  checkSheetNames(sheet_names);
  ZipBuilder builder;
  builder.add("[Content_Types].xml", contentTypes(sheet_names.size()));
  builder.add("_rels/.rels", packageRelationships());
  builder.add("xl/workbook.xml", workbookPart(sheet_names));
  builder.add("xl/_rels/workbook.xml.rels", workbookRelationships(sheet_names.size()));
  builder.add("xl/styles.xml", styles());
  for (std::size_t i = 1; i <= sheet_names.size(); ++i) {
    builder.add("xl/worksheets/sheet" + std::to_string(i) + ".xml", worksheet(i == 1));
  }
  return builder.finish();
}

}  // namespace medravolix::workbook
