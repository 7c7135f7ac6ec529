// The rotation's calendar, its monthly series, and the day codes: the worked examples, the edge
// cases that catch faults, and invariants over generated rotations, in calendar order and in any
// order.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <set>
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

// The Maize and Winter wheat of the sample, as the crop tool adds them: Maize sown on 28 October
// (day 301) for 150 days (stages 30, 40, 50 and 30), and a 240-day Winter wheat (stages 30, 140,
// 40 and 30).
REGISTRO_CULTIVO maizOctubre(int siembra = 301) {
  return cultivo(siembra, 150, {30 / 150.0, 40 / 150.0, 50 / 150.0, 30 / 150.0},
                 {0.15, 0.65, 1.15, 0.15}, {120, 240, 360, 80}, {5, 10, 15, 3});
}
REGISTRO_CULTIVO trigo(int siembra, int duracion = 240) {
  return cultivo(siembra, duracion, {30 / 240.0, 140 / 240.0, 40 / 240.0, 30 / 240.0},
                 {0.15, 0.625, 1.1, 0.225}, {40, 200, 120, 30}, {2, 8, 5, 1});
}

TEST(Rotacion, TheOverlapTestCountsWholeDaysAcrossTheYearsEnd) {
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
      {"sown on the first one's last day",
       {cultivo(100, 60, kCuartos), cultivo(159, 60, kCuartos)},
       true},
      {"ten shared days", {cultivo(100, 60, kCuartos), cultivo(150, 60, kCuartos)}, true},
      {"added out of calendar order, sharing no day",
       {cultivo(30, 60, kCuartos), cultivo(250, 60, kCuartos), cultivo(120, 60, kCuartos)},
       false},
      {"three shared days in February",
       {cultivo(1, 40, kCuartos), cultivo(38, 10, {0.2, 0.3, 0.3, 0.2})},
       true},
      {"February split 9, 18 and 1", {febrero}, false},
      {"inside the first one's season",
       {cultivo(100, 100, {0.2, 0.3, 0.3, 0.2}), cultivo(150, 100, {0.2, 0.3, 0.3, 0.2})},
       true},
      // Maize holds days 301 to 85 (26 March); the wheat sown on 7 March (day 66) holds days 66
      // to 305 (1 November): they share 20 days in March and 5 from 28 October.
      {"sharing days at both ends of a season across the year's end",
       {maizOctubre(), trigo(66)},
       true},
      {"sown on the harvest day of a crop across the year's end",
       {maizOctubre(), trigo(86, 200)},
       false},
      {"and ending the day before that crop's sowing", {maizOctubre(), trigo(86, 215)}, false},
      {"and ending on that crop's sowing day", {maizOctubre(), trigo(86, 216)}, true},
      {"a whole year", {cultivo(200, 365, kCuartos)}, false},
      {"a whole year and one more crop",
       {cultivo(200, 365, kCuartos), cultivo(20, 10, kCuartos)},
       true}};
  for (const Caso& caso : casos) {
    const Rotacion r = prueba::rotacion(caso.cultivos);
    EXPECT_EQ(haySolape(r), caso.solape) << caso.que;
  }
  const Rotacion feb = prueba::rotacion({febrero});
  EXPECT_EQ(diasMes(feb, 2), ". 9 18 1 .");
  EXPECT_GT(CALCULAR_OCUPACION_MENSUAL(feb)[2], 1.0);  // what a strict test on doubles refuses
  // Out of calendar order the shares still follow the calendar: the third crop's days lie in
  // April to June, and the fallow before it is the gap after the first crop's harvest.
  const Rotacion desordenada = prueba::rotacion(casos[3].cultivos);
  EXPECT_EQ(diasOcupadosMes(desordenada)[11], 5);
  EXPECT_EQ(diasMes(desordenada, 5, 3), ". 14 15 2 .");
  EXPECT_EQ(diasMes(desordenada, 4, 3), "29 1 . . .");
  EXPECT_EQ(diasMes(desordenada, 8, 2), "31 . . . .");
  // The ten shared days (150 to 159) count twice in the months that hold them: 2 in May, 8 in
  // June.
  const std::array<int, 13> diez = diasOcupadosMes(prueba::rotacion(casos[2].cultivos));
  EXPECT_EQ(std::make_pair(diez[5], diez[6]), std::make_pair(33, 38));
  // Touching both ends of the Maize, the wheat fills the rest of the year: every month whole.
  const Rotacion llena = prueba::rotacion(casos[9].cultivos);
  for (int m = 1; m <= 12; ++m) {
    EXPECT_EQ(diasOcupadosMes(llena)[m], DIAS_MES(static_cast<int16_t>(m))) << m;
  }
}

TEST(Rotacion, ASeasonLongerThanTheYearIsRefusedNamingTheCrop) {
  // A 387-day alfalfa sown on 27 December, and a 400-day crop: a rotation is one year.
  for (const auto& [siembra, duracion] : {std::pair{361, 387}, std::pair{100, 400}}) {
    REGISTRO_CULTIVO largo = cultivo(siembra, duracion, kCuartos);
    largo.NOMBRE = "Alfalfa";
    try {
      prueba::rotacion({cultivo(100, 60, kCuartos), largo});
      ADD_FAILURE() << duracion << " days accepted";
    } catch (const std::invalid_argument& error) {
      EXPECT_EQ(std::string(error.what()), "The season of 'Alfalfa' lasts " +
                                               std::to_string(duracion) +
                                               " days, but a rotation is one year: a crop's "
                                               "season can last at most 365 days.");
    }
  }
  // Stage shares that add up to more than the whole season.
  REGISTRO_CULTIVO partes = cultivo(10, 300, {0.5, 0.5, 0.5, 0.5});
  partes.NOMBRE = "Beet";
  EXPECT_THROW(prueba::rotacion({partes}), std::invalid_argument);
  // A whole year whose initial stage rounds to no day: the other three round to 366 days, the
  // initial stage's correction to -1 day holds none, so the crop would hold one day twice and
  // overlap itself.
  REGISTRO_CULTIVO sin_inicial = cultivo(100, 365, {0.001, 0.333, 0.333, 0.333});
  sin_inicial.NOMBRE = "Sugar cane";
  try {
    prueba::rotacion({sin_inicial});
    ADD_FAILURE() << "stages of 366 days accepted";
  } catch (const std::invalid_argument& error) {
    EXPECT_EQ(std::string(error.what()),
              "The stages of 'Sugar cane', rounded to whole days, last 366 days, but a rotation "
              "is one year: a crop's stages can last at most 365 days together.");
  }
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

TEST(RaicesCobertura, TwoCropsSharingAMonthNeverPassTheLargestMaximum) {
  // A tall crop ending in September shares the month with a crop of low coefficients sown on
  // 24 September: scaled by the rotation's Kcb, the low crop alone would claim more than its
  // whole cover. The month keeps the largest maximum of its crops; months of one crop are as
  // they were.
  REGISTRO_CULTIVO alto = cultivo(121, 140, kCuartos, {0.6, 1.1, 1.15, 0.8});
  alto.RAIZ_MAXIMA_CULTIVO = 100;
  alto.COBERTURA_MAXIMA_CULTIVO = 0.8;
  REGISTRO_CULTIVO bajo = cultivo(267, 60, kCuartos, {0.1, 0.1, 0.1, 0.1});
  bajo.RAIZ_MAXIMA_CULTIVO = 30;
  bajo.COBERTURA_MAXIMA_CULTIVO = 0.8;
  const Rotacion r = prueba::rotacion({alto, bajo});
  const Mensual kcb = CALCULAR_KCB_MENSUAL(r);
  const Mensual raiz = CALCULAR_RAICES_MENSUAL(kTipoAnual, r, kcb, {});
  const Mensual cobertura = CALCULAR_COBERTURA_MENSUAL(kTipoAnual, r, kcb, {});
  EXPECT_EQ(cobertura[9], 0.8);
  EXPECT_LE(raiz[9], 100.0);
  const Rotacion solo = prueba::rotacion({alto});
  const Mensual kcb_solo = CALCULAR_KCB_MENSUAL(solo);
  EXPECT_EQ(CALCULAR_COBERTURA_MENSUAL(kTipoAnual, solo, kcb_solo, {})[7], cobertura[7]);
  EXPECT_TRUE(Near(0.8 * kcb[7] / 1.15, cobertura[7], 1e-12));
}

// Every share, and every monthly series of an accepted rotation, within its range: each month
// shared out whole, occupancy 0 to 1, Kcb 0 to the largest stage coefficient, root depth and
// cover 0 to the largest crop maximum, irrigation not negative and adding up to the stages'.
// The crops of a rotation share their coefficients, with the mid-season one the largest, so the
// root depth and cover cannot pass the largest maximum.
::testing::AssertionResult dentroDeRango(const Rotacion& r) {
  double kcb_max = 0, raiz_max = 0, cobertura_max = 0, etapas = 0;
  for (const auto& c : r.CULTIVOS) {
    for (int k = 1; k <= 4; ++k) kcb_max = std::max(kcb_max, c.KCB_PERIODO[k]);
    raiz_max = std::max(raiz_max, c.RAIZ_MAXIMA_CULTIVO);
    cobertura_max = std::max(cobertura_max, c.COBERTURA_MAXIMA_CULTIVO);
    etapas += c.RIEGO_PERIODO[1] + c.RIEGO_PERIODO[2] + c.RIEGO_PERIODO[3] + c.RIEGO_PERIODO[4];
  }
  const Mensual kcb = CALCULAR_KCB_MENSUAL(r);
  const Mensual ocupacion = CALCULAR_OCUPACION_MENSUAL(r);
  const Mensual raiz = CALCULAR_RAICES_MENSUAL(kTipoAnual, r, kcb, {});
  const Mensual cobertura = CALCULAR_COBERTURA_MENSUAL(kTipoAnual, r, kcb, {});
  REGISTRO_RIEGO riego;
  CALCULAR_RIEGO_MENSUAL(r, riego);
  const auto fuera = [](double x, double hasta) { return !(x >= 0 && x <= hasta + 1e-12); };
  double meses = 0;
  for (int m = 1; m <= 12; ++m) {
    const std::string mes = "month " + std::to_string(m);
    int dias = 0;
    double fraccion = 0;
    for (int I = 1; I <= r.N_CULTIVOS(); ++I) {
      for (int p = 1; p <= 5; ++p) {
        if (r.dias(m, p, I) < 0 || fuera(r.fraccion(m, p, I), 1)) {
          return ::testing::AssertionFailure() << mes << " period " << p << " crop " << I;
        }
        dias += r.dias(m, p, I);
        fraccion += r.fraccion(m, p, I);
      }
    }
    if (dias != DIAS_MES(static_cast<int16_t>(m)) || !Near(1, fraccion, 1e-12)) {
      return ::testing::AssertionFailure() << mes << " shared out as " << dias << " days";
    }
    if (fuera(ocupacion[m], 1)) return ::testing::AssertionFailure() << mes << " occupancy";
    if (fuera(kcb[m], kcb_max)) return ::testing::AssertionFailure() << mes << " Kcb " << kcb[m];
    if (fuera(raiz[m], raiz_max))
      return ::testing::AssertionFailure() << mes << " root " << raiz[m];
    if (fuera(cobertura[m], cobertura_max)) return ::testing::AssertionFailure() << mes << " cover";
    if (riego.RIEGO_MENSUAL[m] < 0 || riego.NRIEGOS_MENSUAL[m] < 0) {
      return ::testing::AssertionFailure() << mes << " irrigation " << riego.RIEGO_MENSUAL[m];
    }
    meses += riego.RIEGO_MENSUAL[m];
  }
  if (!Near(etapas, meses, 1e-9, 1e-12)) {
    return ::testing::AssertionFailure() << "irrigation " << meses << " of " << etapas;
  }
  return ::testing::AssertionSuccess();
}

REGISTRO_CULTIVO cultivoAleatorio(std::mt19937& azar, int siembra, int duracion) {
  std::uniform_real_distribution<double> parte(0.1, 1.0), riego(0, 200), maximo(20, 200);
  std::array<double, 4> f{parte(azar), parte(azar), parte(azar), parte(azar)};
  const double suma = f[0] + f[1] + f[2] + f[3];
  for (double& x : f) x /= suma;
  REGISTRO_CULTIVO c = cultivo(siembra, duracion, f, {0.3, 0.8, 1.1, 0.5},
                               {riego(azar), riego(azar), riego(azar), riego(azar)});
  c.RAIZ_MAXIMA_CULTIVO = maximo(azar);
  c.COBERTURA_MAXIMA_CULTIVO = maximo(azar) / 200;
  return c;
}

// Rotations of one to four crops sown in calendar order with a gap of none to forty days, the
// last one possibly crossing the year's end and ending as late as the day before the first
// one's sowing.
std::vector<REGISTRO_CULTIVO> rotacionAleatoria(std::mt19937& azar) {
  std::uniform_int_distribution<int> n_cultivos(1, 4), duracion(40, 150), hueco(0, 40);
  std::vector<REGISTRO_CULTIVO> cultivos;
  int dia = std::uniform_int_distribution<int>(1, 365)(azar);
  const int primero = dia;
  const int n = n_cultivos(azar);
  for (int i = 0; i < n; ++i) {
    REGISTRO_CULTIVO c = cultivoAleatorio(azar, (dia - 1) % 365 + 1, duracion(azar));
    CALCULAR_DURACION_ETAPAS(c);
    const int d = c.DIAS_ETAPA[1] + c.DIAS_ETAPA[2] + c.DIAS_ETAPA[3] + c.DIAS_ETAPA[4];
    if (dia + d > primero + 365) break;
    cultivos.push_back(c);
    dia += d + hueco(azar);
  }
  return cultivos;
}

TEST(Rotacion, InCalendarOrderEveryMonthIsSharedOutWholeAndTheSeriesStayInRange) {
  std::mt19937 azar(20261207);
  for (int caso = 0; caso < 500; ++caso) {
    const auto cultivos = rotacionAleatoria(azar);
    if (cultivos.empty()) continue;
    const Rotacion r = prueba::rotacion(cultivos);
    EXPECT_FALSE(haySolape(r)) << "case " << caso;
    ASSERT_TRUE(dentroDeRango(r)) << "case " << caso;
  }
}

// The days of a crop's stages, and the days of the year that they hold counted from its sowing
// day on their own.
int diasDeEtapas(REGISTRO_CULTIVO c) {
  CALCULAR_DURACION_ETAPAS(c);
  return c.DIAS_ETAPA[1] + c.DIAS_ETAPA[2] + c.DIAS_ETAPA[3] + c.DIAS_ETAPA[4];
}
std::set<int> diasDeTemporada(const REGISTRO_CULTIVO& c, int siembra) {
  std::set<int> dias;
  for (int i = 0; i < diasDeEtapas(c); ++i) dias.insert((siembra - 1 + i) % 365 + 1);
  return dias;
}

// Crops sown on any day, for 20 to 400 days, added in any order as the crop tool adds them: a
// crop longer than the year is refused, a crop sharing a day with another is refused exactly
// when some day is held twice, and every rotation accepted keeps its series in range. The
// Maize and wheat that share days at both ends of a season across the year's end, and a 387-day
// alfalfa sown on 27 December, come first.
TEST(Rotacion, InAnyOrderOnlyRealOverlapsAreRefusedAndTheSeriesStayInRange) {
  std::mt19937 azar(20260611);
  std::uniform_int_distribution<int> dia(1, 365), duracion(20, 400), n_cultivos(1, 6);
  std::vector<std::vector<std::pair<REGISTRO_CULTIVO, int>>> rotaciones = {
      {{maizOctubre(), 301}, {trigo(66), 66}}, {{cultivoAleatorio(azar, 361, 387), 361}}};
  for (int caso = 0; caso < 500; ++caso) {
    std::vector<std::pair<REGISTRO_CULTIVO, int>> cultivos;
    for (int n = n_cultivos(azar); n > 0; --n) {
      const int siembra = dia(azar);
      cultivos.push_back({cultivoAleatorio(azar, siembra, duracion(azar)), siembra});
    }
    rotaciones.push_back(cultivos);
  }
  int aceptados = 0, solapes = 0, largos = 0;
  for (std::size_t caso = 0; caso < rotaciones.size(); ++caso) {
    Rotacion r;
    std::array<int, 366> ocupado{};
    for (const auto& [c, siembra] : rotaciones[caso]) {
      const std::set<int> dias = diasDeTemporada(c, siembra);
      r.agregar(c);
      try {
        REPARTO_MES_ETAPA(r);
      } catch (const std::invalid_argument&) {
        EXPECT_TRUE(c.DURACION > 365 || diasDeEtapas(c) > 365) << "case " << caso;
        ++largos;
        r.quitarUltimo();
        continue;
      }
      EXPECT_LE(c.DURACION, 365) << "case " << caso;
      bool comparte = false;
      for (int d : dias) comparte = comparte || ocupado[d] > 0;
      ASSERT_EQ(haySolape(r), comparte) << "case " << caso << ", crop " << r.N_CULTIVOS();
      if (comparte) {
        ++solapes;
        r.quitarUltimo();
        continue;
      }
      for (int d : dias) ocupado[d] = 1;
      ++aceptados;
      ASSERT_TRUE(dentroDeRango(r)) << "case " << caso << ", crop " << r.N_CULTIVOS();
      for (int m = 1; m <= 12; ++m) {
        int esperados = 0;
        for (int d = DIA_JULIANO(1, static_cast<int16_t>(m));
             d <= DIA_JULIANO(0, static_cast<int16_t>(m + 1)); ++d) {
          esperados += ocupado[d];
        }
        ASSERT_EQ(diasOcupadosMes(r)[m], esperados) << "case " << caso << " month " << m;
      }
    }
    if (caso < 2) {
      EXPECT_EQ(r.N_CULTIVOS(), 1 - static_cast<int>(caso)) << "the wheat, the alfalfa";
    }
  }
  EXPECT_GT(aceptados, 500);  // the three outcomes all occur many times
  EXPECT_GT(solapes, 300);
  EXPECT_GT(largos, 50);
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
