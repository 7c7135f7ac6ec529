// The number that tells a reading of a workbook's content from every other one: windows compare
// it to learn that what they read came from an earlier reading or from another workbook.
#include <gtest/gtest.h>

#include "support/test_support.h"
#include "workbook/workbook.h"

namespace medravolix::workbook {
namespace {

TEST(WorkbookGeneration, ChangesWithEveryReadingAndOnlyThen) {
  testing::ScratchDir dir;
  const auto ruta = dir / "libro.xlsx";
  Workbook::create({"Hoja"}).saveAs(ruta);
  Workbook libro = Workbook::open(ruta);
  const std::uint64_t primera = libro.generation();
  EXPECT_NE(Workbook::open(ruta).generation(), primera);  // another reading of the same file

  libro.setCell("Hoja", 1, 1, CellValue::number(1));
  libro.save();
  EXPECT_FALSE(libro.reloadIfChanged());
  EXPECT_EQ(libro.generation(), primera);  // its own writes and saves keep it

  Workbook otro = Workbook::open(ruta);
  otro.setCell("Hoja", 2, 1, CellValue::number(2));
  otro.save();
  EXPECT_TRUE(libro.reloadIfChanged());
  const std::uint64_t segunda = libro.generation();
  EXPECT_NE(segunda, primera);
  libro.reload();
  EXPECT_NE(libro.generation(), segunda);
}

}  // namespace
}  // namespace medravolix::workbook
