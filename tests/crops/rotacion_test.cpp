// The rotation's calendar, its monthly series, and the day codes: the worked examples, the edge
// cases that catch faults, and invariants over generated rotations in calendar order.
#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <stdexcept>

#include "common/calendario.h"
#include "crops/raices_cobertura.h"
#include "crops/rotacion_prueba.h"
#include "crops/series_rotacion.h"
#include "support/test_support.h"

namespace medravolix::crops {
namespace {

using prueba::cultivo;
using prueba::diasMes;
using prueba::kCuartos;
using testing::Near;

// The one crop of the worked example: sown on 27 October (day 300) for 150 days.
REGISTRO_CULTIVO ejemplo() {
  return cultivo(300, 150, {0.14, 0.4, 0.27, 0.19}, {0.3, 0.8, 1.15, 0.5}, {20, 90, 160, 30},
                 {2, 6, 10, 2});
}

TEST(Rotacion, TheWorkedExampleStagesBoundariesStartAndShares) {
  const Rotacion r = prueba::rotacion({ejemplo()});
  const REGISTRO_CULTIVO& c = r.cultivo(1);
  EXPECT_EQ(
      (std::array<int, 4>{c.DIAS_ETAPA[1], c.DIAS_ETAPA[2], c.DIAS_ETAPA[3], c.DIAS_ETAPA[4]}),
      (std::array<int, 4>{21, 60, 40, 29}));
  EXPECT_EQ((std::array<int, 5>{c.LIMITE[1], c.LIMITE[2], c.LIMITE[3], c.LIMITE[4], c.LIMITE[5]}),
            (std::array<int, 5>{299, 320, 15, 55, 84}));
  EXPECT_EQ(r.CULTIVO_INICIO, 1);
  EXPECT_EQ(r.ETAPA_INICIO, 3);
  // Days of each month in the fallow, initial, development, mid-season and late periods.
  const char* const tabla[] = {"",           ". . 15 16 .", ". . . 24 4", "6 . . . 25",
                               "30 . . . .", "31 . . . .",  "30 . . . .", "31 . . . .",
                               "31 . . . .", "30 . . . .",  "26 5 . . .", ". 16 14 . .",
                               ". . 31 . ."};
  for (int m = 1; m <= 12; ++m) EXPECT_EQ(diasMes(r, m), tabla[m]) << "month " << m;
}

TEST(Rotacion, TheMonthlyKcbOccupancyAndIrrigationOfTheWorkedExample) {
  const Rotacion r = prueba::rotacion({ejemplo()});
  const Mensual kcb = CALCULAR_KCB_MENSUAL(r);
  const Mensual ocupacion = CALCULAR_OCUPACION_MENSUAL(r);
  REGISTRO_RIEGO riego;
  CALCULAR_RIEGO_MENSUAL(r, riego);
  CALCULAR_RIEGO_MENSUAL(r, riego);  // again on the same record: the months start from 0
  struct Mes {
    int m;
    double kcb, ocupacion, riego, nriegos;
  };
  const Mes tabla[] = {{1, (15 * 0.8 + 16 * 1.15) / 31, 1, 86.5, 6},
                       {2, (24 * 1.15 + 4 * 0.5) / 28, 1, 160 * 24 / 40.0 + 30 * 4 / 29.0, 6},
                       {3, 25 * 0.5 / 31, 25.0 / 31, 30 * 25 / 29.0, 2},
                       {6, 0, 0, 0, 0},
                       {10, 5 * 0.3 / 31, 5.0 / 31, 20 * 5 / 21.0, 0},  // 0.48 irrigations: 0
                       {11, (16 * 0.3 + 14 * 0.8) / 30, 1, 20 * 16 / 21.0 + 90 * 14 / 60.0, 3},
                       {12, 0.8, 1, 46.5, 3}};
  for (const Mes& t : tabla) {
    EXPECT_TRUE(Near(t.kcb, kcb[t.m], 1e-12)) << "month " << t.m;
    EXPECT_TRUE(Near(t.ocupacion, ocupacion[t.m], 1e-12)) << "month " << t.m;
    EXPECT_TRUE(Near(t.riego, riego.RIEGO_MENSUAL[t.m], 1e-9)) << "month " << t.m;
    EXPECT_EQ(riego.NRIEGOS_MENSUAL[t.m], t.nriegos) << "month " << t.m;  // 5.5 goes to 6
  }
  const double total =
      std::accumulate(riego.RIEGO_MENSUAL.begin() + 1, riego.RIEGO_MENSUAL.end(), 0.0);
  EXPECT_TRUE(Near(300, total, 1e-9));
}

TEST(Rotacion, StageLengthsRoundHalvesToEvenAndCorrectOneDayOnly) {
  struct Caso {
    int duracion;
    std::array<double, 4> fracciones;
    std::array<int, 4> dias;
  };
  const Caso casos[] = {{150, kCuartos, {37, 38, 38, 38}},  // 37.5 four times: 152, one day off
                        {90, kCuartos, {22, 22, 22, 23}},   // 22.5 four times: 88, one day on
                        {81, {0.5, 0.5, 0, 0}, {40, 40, 0, 1}}};  // 40.5 gives 40
  for (const Caso& caso : casos) {
    REGISTRO_CULTIVO c = cultivo(100, caso.duracion, caso.fracciones);
    CALCULAR_DURACION_ETAPAS(c);
    EXPECT_EQ(
        (std::array<int, 4>{c.DIAS_ETAPA[1], c.DIAS_ETAPA[2], c.DIAS_ETAPA[3], c.DIAS_ETAPA[4]}),
        caso.dias)
        << caso.duracion;
  }
  REGISTRO_CULTIVO enorme = cultivo(100, 30000, {2, 0, 0, 0});  // 60000 days: no wrap-around
  EXPECT_THROW(CALCULAR_DURACION_ETAPAS(enorme), std::out_of_range);
}

TEST(Rotacion, BoundariesAndTheStartOfTheYear) {
  // Sown on 1 January: the fallow ends on day 0 and gets no day of January.
  Rotacion r = prueba::rotacion({cultivo(1, 100, kCuartos)});
  EXPECT_EQ(r.cultivo(1).LIMITE[1], 0);
  EXPECT_EQ(diasMes(r, 1), ". 25 6 . .");
  EXPECT_EQ(r.ETAPA_INICIO, 1);
  // A season ending on 31 December: the boundary is 365, not 0, and December closes the year.
  r = prueba::rotacion({cultivo(266, 100, kCuartos)});
  EXPECT_EQ(r.cultivo(1).LIMITE[5], 365);
  EXPECT_EQ(diasMes(r, 12), ". . . 6 25");
  EXPECT_EQ(r.ETAPA_INICIO, 1);
  // Sown on day 100, harvested on day 250: the fallow is both the end and the start of the year.
  r = prueba::rotacion({cultivo(100, 150, kCuartos)});
  EXPECT_EQ(diasMes(r, 1), "31 . . . .");
  EXPECT_EQ(diasMes(r, 9), "23 . . . 7");
  EXPECT_EQ(r.CULTIVO_INICIO * 10 + r.ETAPA_INICIO, 11);
  // The third of three crops crosses the year's end: its mid-season (days 360 to 24) holds
  // 1 January.
  r = prueba::rotacion(
      {cultivo(60, 90, kCuartos), cultivo(180, 90, kCuartos), cultivo(300, 120, kCuartos)});
  EXPECT_EQ(r.CULTIVO_INICIO * 10 + r.ETAPA_INICIO, 34);
  EXPECT_EQ(diasMes(r, 1, 3), ". . . 24 7");
  EXPECT_EQ(diasMes(r, 12, 3), ". . 25 6 .");
}

TEST(Rotacion, TheOverlapTestCountsWholeDays) {
  struct Caso {
    const char* que;
    std::vector<REGISTRO_CULTIVO> cultivos;
    bool solape;
  };
  // A crop whose February holds 9 days of its initial stage, 18 of its development and 1 of its
  // mid-season: the shares add up to a rounding error above 1, yet nothing overlaps.
  const REGISTRO_CULTIVO febrero = cultivo(11, 60, {0.5, 0.3, 1.0 / 60, 11.0 / 60});
  const Caso casos[] = {
      {"sown on the harvest day of the first",
       {cultivo(100, 60, kCuartos), cultivo(160, 60, kCuartos)},
       false},
      {"ten shared days", {cultivo(100, 60, kCuartos), cultivo(150, 60, kCuartos)}, true},
      {"added out of calendar order",
       {cultivo(30, 60, kCuartos), cultivo(250, 60, kCuartos), cultivo(120, 60, kCuartos)},
       true},
      {"a 400-day crop", {cultivo(100, 400, kCuartos)}, true},
      {"three shared days in February",
       {cultivo(1, 40, kCuartos), cultivo(38, 10, {0.2, 0.3, 0.3, 0.2})},
       false},
      {"February split 9, 18 and 1", {febrero}, false},
      {"inside the first one's season",
       {cultivo(100, 100, {0.2, 0.3, 0.3, 0.2}), cultivo(150, 100, {0.2, 0.3, 0.3, 0.2})},
       true}};
  for (const Caso& caso : casos) {
    const Rotacion r = prueba::rotacion(caso.cultivos);
    EXPECT_EQ(haySolape(r), caso.solape) << caso.que;
  }
  const Rotacion feb = prueba::rotacion({febrero});
  EXPECT_EQ(diasMes(feb, 2), ". 9 18 1 .");
  EXPECT_GT(CALCULAR_OCUPACION_MENSUAL(feb)[2], 1.0);  // what a strict test on doubles refuses
  // November of the out-of-order rotation holds 65 stage days; June of the ten shared days 40.
  EXPECT_EQ(diasOcupadosMes(prueba::rotacion(casos[2].cultivos))[11], 65);
  EXPECT_EQ(diasOcupadosMes(prueba::rotacion(casos[1].cultivos))[6], 40);
}

TEST(RaicesCobertura, AnnualCropsScaledByTheMidSeasonCoefficient) {
  // Initial coefficient 0.3, mid-season 1.2, 100 cm: a whole month in the initial stage gives
  // 25 cm; a month half fallow and half initial has a coefficient of 0.15 and 6.25 cm.
  REGISTRO_CULTIVO entero = cultivo(1, 120, {0.5, 0.2, 0.2, 0.1}, {0.3, 0.8, 1.2, 0.5});
  entero.RAIZ_MAXIMA_CULTIVO = 100;
  entero.COBERTURA_MAXIMA_CULTIVO = 0.8;
  Rotacion r = prueba::rotacion({entero});
  Mensual kcb = CALCULAR_KCB_MENSUAL(r);
  EXPECT_TRUE(Near(25, CALCULAR_RAICES_MENSUAL(kTipoAnual, r, kcb, {})[1], 1e-12));
  EXPECT_TRUE(Near(0.2, CALCULAR_COBERTURA_MENSUAL(kTipoAnual, r, kcb, {})[1], 1e-12));
  // Sown on 16 April: half of April is fallow.
  REGISTRO_CULTIVO medio = cultivo(106, 60, {0.5, 0.2, 0.2, 0.1}, {0.3, 0.8, 1.2, 0.5});
  medio.RAIZ_MAXIMA_CULTIVO = 100;
  r = prueba::rotacion({medio});
  kcb = CALCULAR_KCB_MENSUAL(r);
  EXPECT_TRUE(Near(0.15, kcb[4], 1e-12));
  EXPECT_TRUE(Near(6.25, CALCULAR_RAICES_MENSUAL(kTipoAnual, r, kcb, {})[4], 1e-12));
  EXPECT_EQ(CALCULAR_RAICES_MENSUAL(kTipoAnual, r, kcb, {})[9], 0.0);  // a month all fallow
  // No mid-season coefficient to scale by: nothing, never a value without meaning.
  medio.KCB_PERIODO[3] = 0;
  r = prueba::rotacion({medio});
  EXPECT_EQ(CALCULAR_RAICES_MENSUAL(kTipoAnual, r, CALCULAR_KCB_MENSUAL(r), {})[5], 0.0);
}

// Rotations of one to four crops sown in calendar order with a gap of at least two days, the
// last one possibly crossing the year's end.
std::vector<REGISTRO_CULTIVO> rotacionAleatoria(std::mt19937& azar) {
  std::uniform_int_distribution<int> n_cultivos(1, 4), duracion(40, 150), hueco(2, 40);
  std::uniform_real_distribution<double> parte(0.1, 1.0), riego(0, 200);
  std::vector<REGISTRO_CULTIVO> cultivos;
  int dia = std::uniform_int_distribution<int>(1, 365)(azar);
  const int primero = dia;
  const int n = n_cultivos(azar);
  for (int i = 0; i < n; ++i) {
    const int d = duracion(azar);
    if (dia + d + 2 > primero + 365) break;
    std::array<double, 4> f{parte(azar), parte(azar), parte(azar), parte(azar)};
    const double suma = f[0] + f[1] + f[2] + f[3];
    for (double& x : f) x /= suma;
    cultivos.push_back(cultivo((dia - 1) % 365 + 1, d, f, {0.3, 0.8, 1.1, 0.5},
                               {riego(azar), riego(azar), riego(azar), riego(azar)}));
    dia += d + hueco(azar);
  }
  return cultivos;
}

TEST(Rotacion, InCalendarOrderEveryMonthIsSharedOutWholeAndTheDepthsAddUp) {
  std::mt19937 azar(20261207);
  for (int caso = 0; caso < 500; ++caso) {
    const auto cultivos = rotacionAleatoria(azar);
    if (cultivos.empty()) continue;
    const Rotacion r = prueba::rotacion(cultivos);
    for (int m = 1; m <= 12; ++m) {
      int dias = 0;
      double fraccion = 0;
      for (int I = 1; I <= r.N_CULTIVOS(); ++I) {
        for (int p = 1; p <= 5; ++p) {
          dias += r.dias(m, p, I);
          fraccion += r.fraccion(m, p, I);
        }
      }
      ASSERT_EQ(dias, DIAS_MES(static_cast<int16_t>(m))) << "case " << caso << " month " << m;
      ASSERT_TRUE(Near(1, fraccion, 1e-12)) << "case " << caso << " month " << m;
    }
    EXPECT_FALSE(haySolape(r)) << "case " << caso;
    REGISTRO_RIEGO riego;
    CALCULAR_RIEGO_MENSUAL(r, riego);
    double etapas = 0, meses = 0;
    for (const auto& c : r.CULTIVOS)
      etapas += c.RIEGO_PERIODO[1] + c.RIEGO_PERIODO[2] + c.RIEGO_PERIODO[3] + c.RIEGO_PERIODO[4];
    for (int m = 1; m <= 12; ++m) meses += riego.RIEGO_MENSUAL[m];
    ASSERT_TRUE(Near(etapas, meses, 1e-9, 1e-12)) << "case " << caso;
  }
}

TEST(Fechas, DayUnderThePointerCodesAndTexts) {
  const std::pair<double, int> superiores[] = {{0, 1},       {1, 1},   {1.0001, 2}, {2, 2},
                                               {364.9, 365}, {1.5, 2}, {30.2, 31},  {-4, 1}};
  for (const auto& [x, k] : superiores) EXPECT_EQ(ENTERO_SUPERIOR(x), k) << x;
  EXPECT_THROW(ENTERO_SUPERIOR(40000), std::out_of_range);
  const std::pair<int, const char*> codigos[] = {
      {1, "0101"},   {31, "3101"},  {32, "0102"},  {59, "2802"},  {60, "0103"}, {300, "2710"},
      {365, "3112"}, {366, "0101"}, {450, "2603"}, {730, "3112"}, {731, "0101"}};
  for (const auto& [dia, codigo] : codigos) {
    int16_t d = static_cast<int16_t>(dia);
    EXPECT_EQ(FECHA_DDMM(d), codigo) << dia;
    EXPECT_EQ(d, (dia - 1) % 365 + 1) << "the argument is folded into the year";
  }
  int16_t cero = 0;
  EXPECT_THROW(FECHA_DDMM(cero), std::out_of_range);
  const char* const textos[][3] = {
      {"2710", "October 27th", "27 de octubre"},  {"0101", "January 1st", "1 de enero"},
      {"2202", "February 22nd", "22 de febrero"}, {"1103", "March 11th", "11 de marzo"},
      {"1203", "March 12th", "12 de marzo"},      {"2304", "April 23rd", "23 de abril"},
      {"2101", "January 21st", "21 de enero"},    {"3112", "December 31st", "31 de diciembre"}};
  for (const auto& t : textos) {
    EXPECT_EQ(FECHA_LARGA(t[0], 1), t[1]);
    EXPECT_EQ(FECHA_LARGA(t[0], 0), t[2]);
  }
  EXPECT_THROW(FECHA_LARGA("1x03", 1), std::invalid_argument);
  EXPECT_THROW(FECHA_LARGA("0113", 1), std::invalid_argument);
}

}  // namespace
}  // namespace medravolix::crops
