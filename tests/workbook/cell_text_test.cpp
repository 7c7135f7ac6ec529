// Cell values and the texts behind them: the id matching rule, plain decimals, numbers in texts,
// the "_xHHHH_" escapes (which openpyxl does not decode, so cannot check) and part names.
#include <gtest/gtest.h>

#include "common/number_text.h"
#include "workbook/cell_value.h"
#include "workbook/relationships.h"
#include "workbook/xml_text.h"

namespace medravolix::workbook {
namespace {

TEST(CellValue, IdMatchingRule) {
  // Each value against each: ids match when a spreadsheet shows the same text for them (a text
  // as it is, case-sensitive; a number in its plain decimal form); empty equals the empty text
  // and 0.
  const CellValue values[] = {CellValue(),           CellValue::text(""),  CellValue::text(" "),
                              CellValue::number(0),  CellValue::number(7), CellValue::text("7"),
                              CellValue::text("S1"), CellValue::text("s1")};
  std::string matches;
  for (const auto& a : values) {
    for (const auto& b : values) matches += a.matchesId(b) ? '1' : '0';
    matches += ' ';
  }
  EXPECT_EQ(matches, "11010000 11000000 00100000 10010000 00001100 00001100 00000010 00000001 ");
}

TEST(CellValue, ANumberMatchesOnlyTheTextOfItsPlainDecimalForm) {
  const auto N = CellValue::number;
  const auto T = CellValue::text;
  const struct {
    CellValue a, b;
    bool match, same_kind;
  } cases[] = {
      {N(7.5), T("7.5"), true, false},
      {N(0.1), T("0.1"), true, false},
      {N(-3), T("-3"), true, false},
      {N(1e20), T("100000000000000000000"), true, false},
      {N(0), T("0"), true, false},
      {N(-0.0), T("0"), true, false},
      {N(-0.0), N(0), true, true},
      {N(7), N(7), true, true},
      {T("7"), T("7"), true, true},
      // Texts that a spreadsheet would read as the number but does not show for it.
      {N(7), T("7.0"), false, false},
      {N(7), T("07"), false, false},
      {N(7), T(" 7"), false, false},
      {N(7), T("7 "), false, false},
      {N(7), T("+7"), false, false},
      {N(7.5), T("7.50"), false, false},
      {N(7.5), T("7,5"), false, false},
      {N(1e20), T("1E+20"), false, false},
      {N(0.30000000000000004), T("0.3"), false, false},
      // Empty shows nothing: it is not the text "0", though it equals the number 0.
      {CellValue(), T("0"), false, false},
  };
  for (const auto& c : cases) {
    const std::string pair = c.a.toDisplayText() + " | " + c.b.toDisplayText();
    EXPECT_EQ(c.a.matchesId(c.b), c.match) << pair;
    EXPECT_EQ(c.b.matchesId(c.a), c.match) << pair;
    EXPECT_EQ(c.a.matchesIdSameKind(c.b), c.same_kind) << pair;
  }
}

// A message quotes a number typed by mistake (a lost exponent sign, a value of another program)
// in a few characters, never in the hundreds of digits of its plain form.
TEST(CellValue, ShortDecimalsForMessages) {
  const std::pair<double, const char*> decimals[] = {{7, "7"},
                                                     {-0.5, "-0.5"},
                                                     {0.001, "0.001"},
                                                     {0, "0"},
                                                     {1e300, "1e+300"},
                                                     {-1e308, "-1e+308"},
                                                     {-1e-300, "-1e-300"},
                                                     {1.5e-7, "1.5e-07"},
                                                     {5e-324, "4.94066e-324"},
                                                     {123456789012345, "123456789012345"},
                                                     {0.000001, "0.000001"}};
  for (const auto& [value, text] : decimals) EXPECT_EQ(shortDecimal(value), text) << text;
}

TEST(CellValue, PlainDecimalsAndNumberTextsInTheCLocale) {
  const std::pair<double, const char*> decimals[] = {{7, "7"},
                                                     {2.5, "2.5"},
                                                     {0.1, "0.1"},
                                                     {-3, "-3"},
                                                     {-0.0, "0"},
                                                     {1e20, "100000000000000000000"},
                                                     {1.5e-7, "0.00000015"}};
  for (const auto& [value, text] : decimals) EXPECT_EQ(plainDecimal(value), text);
  const std::pair<const char*, double> numbers[] = {
      {"12.5", 12.5}, {"  -3 ", -3}, {"1e3", 1000}, {"+4", 4}};
  for (const auto& [text, value] : numbers) EXPECT_EQ(parseNumberText(text), value) << text;
  for (const char* text : {"12,5", "abc", "", "   ", "1.5 cm", "inf", "nan", "++4"}) {
    EXPECT_FALSE(parseNumberText(text)) << text;
  }
}

TEST(XmlText, EscapesUtf8AndLengths) {
  EXPECT_EQ(decodeEscapes("a_x000D_b"), "a\rb");
  EXPECT_EQ(decodeEscapes("_x005F_x000D_"), "_x000D_");  // an escaped literal stays literal
  EXPECT_EQ(decodeEscapes("_xD83D__xDE00_"), "😀");       // a UTF-16 pair
  EXPECT_EQ(decodeEscapes("_xD83D_"), "\xEF\xBF\xBD");   // a lone half: the replacement sign
  EXPECT_EQ(decodeEscapes("_x00e9_ _x12_ _xZZZZ_ _x0041"), "é _x12_ _xZZZZ_ _x0041");
  EXPECT_EQ(encodeEscapes("a\rb\x01\tc\n"), "a_x000D_b_x0001_\tc\n");
  EXPECT_EQ(encodeEscapes("_x0041_ and _x41_"), "_x005F_x0041_ and _x41_");
  EXPECT_EQ(encodeEscapes("\xEF\xBF\xBE"), "_xFFFE_");
  EXPECT_TRUE(isValidUtf8("ñandú 😀"));
  // Not UTF-8: a stray byte, cut short, a UTF-16 half, an overlong form.
  for (const char* bad : {"\xFF", "\xC3", "\xED\xA0\x80", "\xC0\xAF"})
    EXPECT_FALSE(isValidUtf8(bad));
  EXPECT_EQ(utf16Length("ñandú 😀"), 8u);  // the emoji counts twice
}

TEST(Relationships, TargetsResolveToPartNames) {
  // Beyond what the test workbooks' own targets show: "." and ".." inside a target, ".." past
  // the package root, a fragment.
  EXPECT_EQ(Relationships::resolve("xl/workbook.xml", "./worksheets/../worksheets/./s.xml"),
            "xl/worksheets/s.xml");
  EXPECT_EQ(Relationships::resolve("xl/worksheets/sheet1.xml", "../../../x.xml"), "x.xml");
  EXPECT_EQ(Relationships::resolve("xl/workbook.xml", "s.xml#frag"), "xl/s.xml");
}

}  // namespace
}  // namespace medravolix::workbook
