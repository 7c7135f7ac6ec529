#include "common/calendario.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "common/enteros.h"

namespace medravolix {
namespace {

TEST(Redondear, HalvesGoToTheEvenNeighbourWithinThe32BitRange) {
  const double cases[][3] = {{2.5, 0, 2},
                             {3.5, 0, 4},
                             {-2.5, 0, -2},
                             {0.5, 0, 0},
                             {37.49, 0, 37},
                             {1234.5678, 2, 1234.57},
                             {100.0 * 2 / 3, 0, 67},
                             {2147483647.0, 0, 2147483647.0},
                             {-2147483648.0, 0, -2147483648.0}};
  for (const auto& [x, n, expected] : cases) {
    EXPECT_EQ(REDONDEAR(x, static_cast<int16_t>(n)), expected) << x;
  }
  EXPECT_THROW(REDONDEAR(2147483648.0, 0), std::out_of_range);
  EXPECT_THROW(REDONDEAR(30000000.0, 2), std::out_of_range);
  EXPECT_THROW(REDONDEAR(1e300, 0), std::out_of_range);
}

TEST(Calendario, MonthNamesMonthLengthsAndDaysOfTheYear) {
  std::string meses;
  for (int16_t m = 1; m <= 12; ++m) {
    meses += NOMBRE_MES(m, 0) + "/" + NOMBRE_MES(m, 1) + " " + std::to_string(DIAS_MES(m)) + " ";
  }
  EXPECT_EQ(meses,
            "Ene/Jan 31 Feb/Feb 28 Mar/Mar 31 Abr/Apr 30 May/May 31 Jun/Jun 30 Jul/Jul 31 "
            "Ago/Aug 31 Sep/Sep 30 Oct/Oct 31 Nov/Nov 30 Dic/Dec 31 ");
  EXPECT_EQ(NOMBRE_MES(8, 2), "");
  EXPECT_EQ(NOMBRE_MES(13, 2), "");  // the month is not looked at for other languages
  EXPECT_THROW(NOMBRE_MES(13, 1), std::out_of_range);
  EXPECT_THROW(NOMBRE_MES(0, 0), std::out_of_range);
  EXPECT_THROW(DIAS_MES(0), std::out_of_range);
  EXPECT_THROW(DIAS_MES(13), std::out_of_range);
  // Day 0 is the last day of the month before; month 13 counts the whole year; the day is not
  // checked against the month; a month of 1 or lower adds no month.
  const int16_t days[][3] = {{15, 1, 15}, {14, 2, 45},  {15, 12, 349}, {0, 1, 0},
                             {0, 3, 59},  {0, 13, 365}, {31, 2, 62},   {7, 0, 7}};
  for (const auto& [dia, mes, expected] : days) EXPECT_EQ(DIA_JULIANO(dia, mes), expected) << mes;
  EXPECT_THROW(DIA_JULIANO(1, 14), std::out_of_range);
}

TEST(Entero16, HalvesToEvenAndRangeChecked) {
  EXPECT_EQ(toInt16(42.5), 42);
  EXPECT_EQ(toInt16(43.5), 44);
  EXPECT_EQ(toInt16(-0.5), 0);
  EXPECT_EQ(toInt16(32767.4), 32767);
  EXPECT_EQ(toInt16(-32768.0), -32768);
  EXPECT_THROW(toInt16(32767.5), std::out_of_range);  // rounds to 32768
  EXPECT_THROW(toInt16(-40000.0, "depth"), std::out_of_range);
  // The message says the range in words and keeps a huge value short.
  for (const auto& [valor, texto] :
       {std::pair{-40000.0,
                  "depth -40000 is outside -32768 to 32767, the whole numbers the "
                  "program can hold"},
        std::pair{1e300,
                  "depth 1e+300 is outside -32768 to 32767, the whole numbers the "
                  "program can hold"}}) {
    try {
      toInt16(valor, "depth");
      ADD_FAILURE() << valor;
    } catch (const std::out_of_range& e) {
      EXPECT_EQ(std::string(e.what()), texto);
    }
  }
}

}  // namespace
}  // namespace medravolix
