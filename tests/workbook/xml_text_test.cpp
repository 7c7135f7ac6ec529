// The "_xHHHH_" escapes of spreadsheet text, which openpyxl does not decode and so cannot check.
#include "workbook/xml_text.h"

#include <gtest/gtest.h>

namespace medravolix::workbook {
namespace {

TEST(XmlText, EscapesAreDecoded) {
  EXPECT_EQ(decodeEscapes("a_x000D_b"), "a\rb");
  EXPECT_EQ(decodeEscapes("_x005F_x000D_"), "_x000D_");  // an escaped literal stays literal
  EXPECT_EQ(decodeEscapes("_xD83D__xDE00_"), "😀");       // a UTF-16 pair
  EXPECT_EQ(decodeEscapes("_xD83D_"), "\xEF\xBF\xBD");   // a lone half: the replacement sign
  EXPECT_EQ(decodeEscapes("_x00e9_ _x12_ _xZZZZ_ _x0041"), "é _x12_ _xZZZZ_ _x0041");
}

TEST(XmlText, TextsThatXmlCannotHoldAreEscapedAndComeBack) {
  EXPECT_EQ(encodeEscapes("a\rb\x01\tc\n"), "a_x000D_b_x0001_\tc\n");
  EXPECT_EQ(encodeEscapes("_x0041_ and _x41_"), "_x005F_x0041_ and _x41_");
  EXPECT_EQ(encodeEscapes("\xEF\xBF\xBE"), "_xFFFE_");
  for (const std::string text : {"plain", "a\rb\x1F_x005F_", "ñandú 😀", "_x", "\r\r_"}) {
    EXPECT_EQ(decodeEscapes(encodeEscapes(text)), text);
  }
}

TEST(XmlText, Utf8ChecksAndLengths) {
  EXPECT_TRUE(isValidUtf8("ñandú 😀"));
  EXPECT_FALSE(isValidUtf8("\xFF"));
  EXPECT_FALSE(isValidUtf8("\xC3"));          // cut short
  EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));  // a UTF-16 half
  EXPECT_FALSE(isValidUtf8("\xC0\xAF"));      // an overlong form
  EXPECT_EQ(utf16Length("ñandú 😀"), 8u);      // the emoji counts twice
}

}  // namespace
}  // namespace medravolix::workbook
