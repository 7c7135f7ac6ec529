#include "workbook/cell_value.h"

#include <gtest/gtest.h>

namespace medravolix::workbook {
namespace {

TEST(CellValue, IdMatchingRule) {
  const auto text = [](const char* s) { return CellValue::text(s); };
  const auto num = [](double d) { return CellValue::number(d); };
  EXPECT_TRUE(text("S1").matchesId(text("S1")));
  EXPECT_FALSE(text("S1").matchesId(text("s1")));  // case-sensitive
  EXPECT_TRUE(num(7).matchesId(num(7.0)));
  EXPECT_FALSE(num(7).matchesId(text("7")));  // a text never equals a number
  EXPECT_FALSE(text("7").matchesId(num(7)));
  EXPECT_TRUE(CellValue().matchesId(text("")));  // empty equals the empty text and 0
  EXPECT_TRUE(CellValue().matchesId(num(0)));
  EXPECT_TRUE(num(0).matchesId(CellValue()));
  EXPECT_TRUE(text("").matchesId(CellValue()));
  EXPECT_FALSE(CellValue().matchesId(text(" ")));
  EXPECT_FALSE(CellValue().matchesId(num(1)));
  EXPECT_FALSE(text("").matchesId(num(0)));
}

TEST(CellValue, PlainDecimalText) {
  EXPECT_EQ(plainDecimal(7), "7");
  EXPECT_EQ(plainDecimal(2.5), "2.5");
  EXPECT_EQ(plainDecimal(0.1), "0.1");
  EXPECT_EQ(plainDecimal(-3), "-3");
  EXPECT_EQ(plainDecimal(-0.0), "0");
  EXPECT_EQ(plainDecimal(1e20), "100000000000000000000");
  EXPECT_EQ(plainDecimal(1.5e-7), "0.00000015");
  EXPECT_EQ(CellValue::number(12).toDisplayText(), "12");
  EXPECT_EQ(CellValue::text("A-1").toDisplayText(), "A-1");
}

TEST(CellValue, NumberTextsInTheCLocale) {
  EXPECT_EQ(parseNumberText("12.5"), 12.5);
  EXPECT_EQ(parseNumberText("  -3 "), -3.0);
  EXPECT_EQ(parseNumberText("1e3"), 1000.0);
  EXPECT_EQ(parseNumberText("+4"), 4.0);
  EXPECT_FALSE(parseNumberText("12,5"));
  EXPECT_FALSE(parseNumberText("abc"));
  EXPECT_FALSE(parseNumberText(""));
  EXPECT_FALSE(parseNumberText("   "));
  EXPECT_FALSE(parseNumberText("1.5 cm"));
  EXPECT_FALSE(parseNumberText("inf"));
  EXPECT_FALSE(parseNumberText("nan"));
  EXPECT_FALSE(parseNumberText("++4"));
}

}  // namespace
}  // namespace medravolix::workbook
