#include "shell/calendario.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "shell/enteros.h"

namespace medravolix {
namespace {

TEST(Redondear, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(REDONDEAR(2.5, 0), 2.0);
  EXPECT_EQ(REDONDEAR(3.5, 0), 4.0);
  EXPECT_EQ(REDONDEAR(-2.5, 0), -2.0);
  EXPECT_EQ(REDONDEAR(0.5, 0), 0.0);
  EXPECT_EQ(REDONDEAR(37.49, 0), 37.0);
  EXPECT_EQ(REDONDEAR(1234.5678, 2), 1234.57);
  EXPECT_EQ(REDONDEAR(100.0 * 2 / 3, 0), 67.0);
}

TEST(Redondear, OutsideThe32BitRangeIsAClearError) {
  EXPECT_EQ(REDONDEAR(2147483647.0, 0), 2147483647.0);
  EXPECT_EQ(REDONDEAR(-2147483648.0, 0), -2147483648.0);
  EXPECT_THROW(REDONDEAR(2147483648.0, 0), std::out_of_range);
  EXPECT_THROW(REDONDEAR(30000000.0, 2), std::out_of_range);
  EXPECT_THROW(REDONDEAR(1e300, 0), std::out_of_range);
}

TEST(NombreMes, LanguagesAndTheEmptyText) {
  EXPECT_EQ(NOMBRE_MES(8, 0), "Ago");
  EXPECT_EQ(NOMBRE_MES(8, 1), "Aug");
  EXPECT_EQ(NOMBRE_MES(1, 0), "Ene");
  EXPECT_EQ(NOMBRE_MES(12, 1), "Dec");
  EXPECT_EQ(NOMBRE_MES(8, 2), "");
  EXPECT_EQ(NOMBRE_MES(13, 2), "");  // the month is not looked at for other languages
  EXPECT_THROW(NOMBRE_MES(13, 1), std::out_of_range);
  EXPECT_THROW(NOMBRE_MES(0, 0), std::out_of_range);
}

TEST(DiasMes, MonthLengthsOfThe365DayYear) {
  EXPECT_EQ(DIAS_MES(2), 28);
  EXPECT_EQ(DIAS_MES(12), 31);
  int total = 0;
  for (int16_t m = 1; m <= 12; ++m) total += DIAS_MES(m);
  EXPECT_EQ(total, 365);
  EXPECT_THROW(DIAS_MES(0), std::out_of_range);
  EXPECT_THROW(DIAS_MES(13), std::out_of_range);
}

TEST(DiaJuliano, DayOfTheYearIncludingDayZeroAndMonth13) {
  EXPECT_EQ(DIA_JULIANO(15, 1), 15);
  EXPECT_EQ(DIA_JULIANO(14, 2), 45);
  EXPECT_EQ(DIA_JULIANO(15, 12), 349);
  EXPECT_EQ(DIA_JULIANO(0, 1), 0);
  EXPECT_EQ(DIA_JULIANO(0, 3), 59);
  EXPECT_EQ(DIA_JULIANO(0, 13), 365);
  EXPECT_EQ(DIA_JULIANO(31, 2), 62);  // the day is not checked against the month
  EXPECT_EQ(DIA_JULIANO(7, 0), 7);    // a month of 1 or lower adds no month
  EXPECT_THROW(DIA_JULIANO(1, 14), std::out_of_range);
}

TEST(Entero16, HalvesToEvenAndRangeChecked) {
  EXPECT_EQ(A_ENTERO16(42.5), 42);
  EXPECT_EQ(A_ENTERO16(43.5), 44);
  EXPECT_EQ(A_ENTERO16(-0.5), 0);
  EXPECT_EQ(A_ENTERO16(32767.4), 32767);
  EXPECT_EQ(A_ENTERO16(-32768.0), -32768);
  EXPECT_THROW(A_ENTERO16(32767.5), std::out_of_range);  // rounds to 32768
  EXPECT_THROW(A_ENTERO16(-40000.0, "depth"), std::out_of_range);
}

}  // namespace
}  // namespace medravolix
