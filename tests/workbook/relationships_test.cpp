// Relationship targets to part names: relative to the source part's folder or absolute, with
// "." and ".." resolved (LibreOffice 7.4 itself does not follow "./", so the fixtures avoid it).
#include "workbook/relationships.h"

#include <gtest/gtest.h>

namespace medravolix::workbook {
namespace {

TEST(Relationships, TargetsResolveToPartNames) {
  EXPECT_EQ(Relationships::resolve("", "xl/workbook.xml"), "xl/workbook.xml");
  EXPECT_EQ(Relationships::resolve("", "/xl/workbook.xml"), "xl/workbook.xml");
  EXPECT_EQ(Relationships::resolve("xl/workbook.xml", "worksheets/sheet1.xml"),
            "xl/worksheets/sheet1.xml");
  EXPECT_EQ(Relationships::resolve("xl/workbook.xml", "/xl/worksheets/sheet1.xml"),
            "xl/worksheets/sheet1.xml");
  EXPECT_EQ(Relationships::resolve("xl/workbook.xml", "./worksheets/../worksheets/./s.xml"),
            "xl/worksheets/s.xml");
  EXPECT_EQ(Relationships::resolve("xl/worksheets/sheet1.xml", "../../../x.xml"), "x.xml");
  EXPECT_EQ(Relationships::resolve("xl/workbook.xml", "s.xml#frag"), "xl/s.xml");
  EXPECT_EQ(Relationships::partFor("xl/workbook.xml"), "xl/_rels/workbook.xml.rels");
  EXPECT_EQ(Relationships::partFor(""), "_rels/.rels");
}

}  // namespace
}  // namespace medravolix::workbook
