// The reference evapotranspiration methods: the solar geometry's solver, FAO-56's worked
// examples, the Blaney-Criddle classes, the months without sunrise or sunset, and the data checks.
#include <gtest/gtest.h>

#include <cmath>

#include "common/calendario.h"
#include "eto/blaney_criddle.h"
#include "eto/calcular_eto.h"
#include "eto/geometria_solar.h"
#include "eto/hargreaves.h"
#include "eto/penman_monteith.h"
#include "eto/thornthwaite.h"
#include "support/test_support.h"

namespace medravolix::eto {
namespace {

using testing::Near;

TEST(SolarGeometry, ArccosSolverAtAndBeyondTheEndsOfItsDomain) {
  struct Caso {
    double c, esperado, tolerancia;
  };
  for (const Caso& k :
       {Caso{0, kMedioPi, 1e-9}, Caso{1, 0.0043, 0.0005}, Caso{-1, kPi - 0.0043, 0.0005},
        Caso{1.0000001, 0, 0}, Caso{-1.0000001, kPi, 0}, Caso{5, 0, 0}}) {
    EXPECT_TRUE(Near(k.esperado, ARCOCOSENO(k.c), k.tolerancia)) << "c = " << k.c;
  }
  for (double c = -0.99; c <= 0.99; c += 0.0137) {
    EXPECT_TRUE(Near(std::acos(c), ARCOCOSENO(c), 1e-4)) << "c = " << c;
  }
  for (int16_t mes = 1; mes <= 12; ++mes) EXPECT_TRUE(Near(12, HORAS_LUZ_DIA(0, mes), 1e-8));
}

// FAO-56 Examples 8 and 9: 20 degrees south on 3 September (day 246).
TEST(SolarGeometry, ExtraterrestrialRadiationAndDaylightOfFaoExamples8And9) {
  const TerminosSolares t = terminosSolares(-20, DIA_JULIANO(3, 9));
  EXPECT_TRUE(Near(32.2, t.ra, 0.05));
  EXPECT_TRUE(Near(11.7, 24 * t.ws / kPi, 0.05));
}

REGISTRO_CLIMA constante(double t) {
  REGISTRO_CLIMA e;
  e.LATITUD = 40;
  e.ALTITUD = 100;
  for (int m = 1; m <= 12; ++m) {
    e.TMEDIA[m] = t;
    e.TMAX[m] = t + 6;
    e.TMIN[m] = t - 6;
    e.HRMAX[m] = 80;
    e.HRMIN[m] = 40;
    e.HRMEDIA[m] = 60;
    e.INSOLACION[m] = 7;
    e.RADIACION[m] = 18;
    e.VIENTO[m] = 2;
  }
  return e;
}

// FAO-56 Example 17, Bangkok in April (13 44' N, 2 m): the example's ea of 2.85 kPa given as a
// mean humidity, and a soil heat flux of 0.14 MJ/m2/day from March and May.
TEST(PenmanMonteith, BangkokInAprilOfFaoExample17) {
  REGISTRO_CLIMA e = constante(30.2);
  e.LATITUD = 13 + 44.0 / 60;
  e.ALTITUD = 2;
  e.TMAX[4] = 34.8;
  e.TMIN[4] = 25.6;
  e.INSOLACION[4] = 8.5;
  e.TMEDIA[3] = 29.2;
  e.TMEDIA[5] = 31.2;
  const double es = (PRESION_VAPOR_SATURACION(34.8) + PRESION_VAPOR_SATURACION(25.6)) / 2;
  e.HRMEDIA[4] = 2.85 * 100 / es;
  const PenmanMonteith pm = CALCULAR_ETO_PENMAN_MONTEITH(e, {3, 1});
  EXPECT_TRUE(Near(38.06, pm.extraterrestre.RA[4], 0.05));
  EXPECT_TRUE(Near(12.31, pm.neta.HORAS_LUZ[4], 0.01));
  EXPECT_TRUE(Near(14.33, pm.neta.RN[4], 0.02));
  EXPECT_TRUE(Near(0.14, pm.FLUJO_CALOR_SUELO[4], 1e-9));
  EXPECT_TRUE(Near(5.72, pm.ETO_MENSUAL[4] / 30, 0.01));
  e.TMEDIA[12] = 32;  // January's flux looks at December and February, across the year's end
  EXPECT_TRUE(Near(0.07 * (30.2 - 32), CALCULAR_FLUJO_CALOR_SUELO(e.TMEDIA)[1], 1e-12));
}

// FAO-56 Example 5 (Tmin 18, Tmax 25 degrees): the actual vapour pressure from each humidity
// source, 1.70 kPa from RHmax 82 and RHmin 54, 1.69 from RHmax alone, 1.78 from RHmean 68.
TEST(PenmanMonteith, ActualVapourPressureOfEachHumiditySourceOfFaoExample5) {
  REGISTRO_CLIMA e = constante(21.5);
  e.TMIN[1] = 18;
  e.TMAX[1] = 25;
  e.HRMAX[1] = 82;
  e.HRMIN[1] = 54;
  e.HRMEDIA[1] = 68;
  for (const auto& [fuente, ea] : {std::pair{1, 1.70}, {2, 1.69}, {3, 1.78}}) {
    const auto pm = CALCULAR_ETO_PENMAN_MONTEITH(e, {static_cast<int16_t>(fuente), 1});
    EXPECT_TRUE(Near(ea, pm.neta.PRESION_VAPOR_REAL[1], 0.005)) << fuente;
  }
}

// FAO-56 Example 20: Hargreaves at 45 43' N in July with Tmax 26.6 and Tmin 14.8 gives 5.0 mm/day.
TEST(Hargreaves, FaoExample20AndAMonthWithoutDailyRange) {
  REGISTRO_CLIMA e = constante(20.7);
  e.LATITUD = 45 + 43.0 / 60;
  e.TMAX[7] = 26.6;
  e.TMIN[7] = 14.8;
  e.TMAX[1] = e.TMIN[1] = 5;
  const Hargreaves h = CALCULAR_ETO_HARGREAVES(e);
  EXPECT_TRUE(Near(5.0, h.ETO_MENSUAL[7] / 31, 0.05));
  EXPECT_EQ(h.ETO_MENSUAL[1], 0);
}

TEST(BlaneyCriddle, ABoundaryValueBelongsToTheMiddleClass) {
  struct Caso {
    double hr, r, viento, a, b;
  };
  for (const Caso& k :
       {Caso{19.99, 0.59, 1.99, -2.00, 1.15}, Caso{20, 0.6, 2, -2.15, 1.38},
        Caso{50, 0.8, 5, -2.15, 1.38}, Caso{50.01, 0.81, 5.01, -1.70, 1.31},
        Caso{10, 0.7, 6, -2.00, 2.06}, Caso{10, 0.9, 3, -2.05, 1.55}, Caso{35, 0.9, 6, -2.55, 1.82},
        Caso{70, 0.5, 3, -1.55, 0.88}, Caso{0, 0, 0, -2.00, 1.15}}) {
    const CoeficientesBC c = coeficientesBlaneyCriddle(k.hr, k.r, k.viento);
    EXPECT_EQ(c.a, k.a) << k.hr << " " << k.r << " " << k.viento;
    EXPECT_EQ(c.b, k.b) << k.hr << " " << k.r << " " << k.viento;
  }
  REGISTRO_CLIMA e = constante(20);  // without sunshine data: the low sunshine row
  for (int m = 1; m <= 12; ++m) e.INSOLACION[m] = 0;
  EXPECT_EQ(CALCULAR_ETO_BLANEY_CRIDDLE(e).COEF_A_BC, -1.85);
}

TEST(Thornthwaite, MonthsAtOrBelowFreezingHaveNoDemand) {
  REGISTRO_CLIMA e = constante(10);
  e.TMEDIA[1] = 0;
  e.TMEDIA[2] = -4;
  const Thornthwaite t = CALCULAR_ETO_THORNTHWAITE(e);
  EXPECT_EQ(t.ETO_MENSUAL[1] + t.ETO_MENSUAL[2], 0);
  EXPECT_GT(t.ETO_MENSUAL[3], 0);
  REGISTRO_CLIMA helado = constante(-3);
  for (int m = 1; m <= 12; ++m) EXPECT_EQ(CALCULAR_ETO_THORNTHWAITE(helado).ETO_MENSUAL[m], 0);
}

// Beyond the polar circles, at the poles and where the sun only grazes the horizon: a month
// without sunrise has 0 mm by every method and either source, never NaN; the summer has some.
// At 90 degrees the latitude's angle stays below pi / 2, the limit of the latitudes next to it;
// at the grazing latitude the solver stops a few thousandths of a radian short of 0, which would
// leave a negative extraterrestrial radiation.
TEST(Methods, MonthsWithoutSunriseGiveZeroAndWithoutSunsetAWholeDay) {
  struct Caso {
    double latitud;
    int16_t invierno, verano;
  };
  for (const Caso& k : {Caso{78, 12, 6}, Caso{66.670873758373, 12, 6}, Caso{90, 12, 6},
                        Caso{-90, 6, 12}, Caso{-80, 6, 12}}) {
    REGISTRO_CLIMA e = constante(5);
    e.LATITUD = k.latitud;
    e.RADIACION[k.invierno] = 0.5;
    const RadiacionExtraterrestre ext = CALCULAR_RADIACION_EXTRATERRESTRE(e);
    EXPECT_EQ(ext.RA[k.invierno] + ext.ANGULO_PUESTA_SOL[k.invierno], 0) << k.latitud;
    EXPECT_EQ(HORAS_LUZ_DIA(k.latitud, k.invierno), 0) << k.latitud;
    if (std::fabs(k.latitud) > 70) {
      EXPECT_EQ(HORAS_LUZ_DIA(k.latitud, k.verano), 24) << k.latitud;
      EXPECT_GT(ext.RA[k.verano], 40) << k.latitud;  // more than at the equator
    }
    const int16_t J = DIA_JULIANO(15, k.verano);
    EXPECT_TRUE(Near(terminosSolares(k.latitud * 0.999999, J).ra, ext.RA[k.verano], 1e-3));
    for (int metodo = 0; metodo <= 3; ++metodo) {
      for (const FuentesPenman f : {FuentesPenman{1, 1}, FuentesPenman{3, 2}}) {
        const ResultadoEto r = calcularMetodo(static_cast<MetodoEto>(metodo), e, f);
        ASSERT_FALSE(r.error) << metodo << ": " << r.error->problema;
        EXPECT_EQ(r.ETO_MENSUAL[k.invierno], 0) << k.latitud << " " << metodo;
        EXPECT_GT(r.ETO_MENSUAL[k.verano], 0) << k.latitud << " " << metodo;
      }
    }
  }
}

// A polar station in the cold season: Blaney-Criddle's line, Hargreaves' temperature term and
// Penman-Monteith's net radiation all fall below zero, and each such month has 0 mm, not a
// negative total; the summer months keep their demand.
TEST(Methods, AMonthWhoseRateFallsBelowZeroHasZero) {
  REGISTRO_CLIMA e = constante(-14);
  e.LATITUD = 78.2;
  for (int m = 1; m <= 12; ++m) {
    e.TMAX[m] = e.TMEDIA[m] + 3;
    e.TMIN[m] = e.TMEDIA[m] - 3;
    e.INSOLACION[m] = 0.5;
    e.HRMIN[m] = e.HRMAX[m] = 100;  // saturated air: Penman-Monteith is down to its radiation
    e.VIENTO[m] = 1;
  }
  e.TMEDIA[3] = -25;  // Hargreaves: below -17.8 degrees Celsius
  e.TMAX[3] = -22;
  e.TMIN[3] = -28;
  for (const int16_t mes : {6, 7}) {
    e.TMEDIA[mes] = 5;
    e.TMAX[mes] = 9;
    e.TMIN[mes] = 1;
  }
  // What the formulas give before the floor, so the test keeps meaning what it says.
  const double bc_marzo =
      (-1.65 + 0.98 * 100 * HORAS_LUZ_DIA(78.2, 3) / 4380 * (0.46 * e.TMEDIA[3] + 8.13)) * 31;
  ASSERT_LT(bc_marzo, 0);
  const Mensual bc = CALCULAR_ETO_BLANEY_CRIDDLE(e).ETO_MENSUAL;
  const Mensual h = CALCULAR_ETO_HARGREAVES(e).ETO_MENSUAL;
  const PenmanMonteith pm = CALCULAR_ETO_PENMAN_MONTEITH(e, {1, 1});
  EXPECT_EQ(bc[3], 0);
  EXPECT_EQ(bc[10], 0);
  EXPECT_EQ(h[3], 0);
  for (int16_t m = 1; m <= 12; ++m) {
    EXPECT_GE(bc[m], 0) << m;
    EXPECT_GE(h[m], 0) << m;
    EXPECT_GE(pm.ETO_MENSUAL[m], 0) << m;
  }
  // October: the sun is low, the net radiation negative and the air saturated.
  ASSERT_LT(pm.neta.RN[10] - pm.FLUJO_CALOR_SUELO[10], 0);
  EXPECT_EQ(pm.ETO_MENSUAL[10], 0);
  for (const int16_t mes : {6, 7}) {
    EXPECT_GT(bc[mes], 0) << mes;
    EXPECT_GT(h[mes], 0) << mes;
    EXPECT_GT(pm.ETO_MENSUAL[mes], 0) << mes;
  }
  for (int metodo = 0; metodo <= 3; ++metodo) {
    const ResultadoEto r = calcularMetodo(static_cast<MetodoEto>(metodo), e, {1, 1});
    ASSERT_FALSE(r.error) << metodo;
    for (int16_t m = 1; m <= 12; ++m) EXPECT_GE(r.ETO_MENSUAL[m], 0) << metodo << " " << m;
  }
}

TEST(Methods, DataThatNoMethodCanUseAreNamedWithTheirMonth) {
  struct Caso {
    MetodoEto metodo;
    FuentesPenman fuentes;
    Mensual REGISTRO_CLIMA::*serie;
    int16_t mes;
    double valor;
    const char* problema;
  };
  using M = MetodoEto;
  using R = REGISTRO_CLIMA;
  const Caso casos[] = {
      {M::Hargreaves, {}, &R::TMAX, 3, 3.5, "the mean maximum temperature (3.5) is below the mean"},
      {M::PenmanMonteith, {1, 1}, &R::TMAX, 4, 0, "is below the mean minimum temperature (4)"},
      {M::PenmanMonteith,
       {3, 2},
       &R::HRMEDIA,
       5,
       -1,
       "the mean relative humidity (-1) is negative"},
      {M::PenmanMonteith, {2, 1}, &R::VIENTO, 9, -2, "the wind speed (-2) is negative"},
      {M::BlaneyCriddle, {}, &R::INSOLACION, 12, -0.1, "the sunshine hours (-0.1) are negative"},
      {M::BlaneyCriddle, {}, &R::HRMIN, 2, -5, "minimum relative humidity (-5)"},
      // The given series is taken as it stands, so it is checked like the measured ones.
      {M::DatosExternos,
       {},
       &R::ETO_EXTERNA,
       7,
       -5,
       "the given reference evapotranspiration (-5) is negative"},
      // A mistyped exponent is named in a short form, not in three hundred digits; it is found
      // before the comparison of the two temperatures.
      {M::Hargreaves,
       {},
       &R::TMAX,
       6,
       1e308,
       "the mean maximum temperature (1e+308) is not a number the program can use"},
      {M::PenmanMonteith,
       {1, 2},
       &R::VIENTO,
       8,
       -1e308,
       "the wind speed (-1e+308) is not a number the program can use"},
      {M::PenmanMonteith,
       {1, 1},
       &R::TMIN,
       1,
       -300,
       "the mean minimum temperature (-300) is below -80 °C"},
      {M::Thornthwaite, {}, &R::TMEDIA, 11, 150, "the mean temperature (150) is above 60 °C"},
      // A number next to nothing is named in a short form too.
      {M::Hargreaves,
       {},
       &R::TMAX,
       2,
       1e-300,
       "the mean maximum temperature (1e-300) is below the mean minimum temperature (4)"},
      {M::PenmanMonteith, {1, 1}, &R::HRMAX, 1, -1e-300, "humidity (-1e-300) is negative"},
  };
  for (const Caso& k : casos) {
    REGISTRO_CLIMA e = constante(10);
    (e.*k.serie)[k.mes] = k.valor;
    const ResultadoEto r = calcularMetodo(k.metodo, e, k.fuentes);
    ASSERT_TRUE(r.error) << k.problema;
    EXPECT_EQ(r.error->mes, k.mes);
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, k.problema, r.error->problema);
    EXPECT_EQ(r.ETO_MENSUAL, Mensual{});
  }
  // Thornthwaite needs none of these.
  REGISTRO_CLIMA e = constante(10);
  e.TMAX[1] = -50;
  EXPECT_FALSE(calcularMetodo(MetodoEto::Thornthwaite, e, {}).error);
}

// Monthly means no station has are refused, each at its own bound: temperatures from -80 to
// 60 °C, humidities up to 100 %, sunshine up to 24 hours and radiation up to 50 MJ/m² a day,
// wind up to 50 m/s. Only the variables the method uses are checked.
TEST(Methods, MonthlyMeansBeyondAnyStationsAreRefused) {
  struct Caso {
    MetodoEto metodo;
    FuentesPenman fuentes;
    Mensual REGISTRO_CLIMA::*serie;
    double valor;
    const char* problema;  // "" when the value is sound
  };
  using M = MetodoEto;
  using R = REGISTRO_CLIMA;
  const Caso casos[] = {
      {M::Thornthwaite, {}, &R::TMEDIA, 60, ""},
      {M::Thornthwaite, {}, &R::TMEDIA, 60.5, "the mean temperature (60.5) is above 60 °C"},
      {M::Thornthwaite, {}, &R::TMEDIA, -80, ""},
      {M::Thornthwaite, {}, &R::TMEDIA, -80.5, "(-80.5) is below -80 °C"},
      {M::Hargreaves, {}, &R::TMAX, 61, "maximum temperature (61) is above 60 °C"},
      {M::Hargreaves, {}, &R::TMIN, -81, "minimum temperature (-81) is below -80 °C"},
      {M::PenmanMonteith, {1, 1}, &R::HRMAX, 100, ""},
      {M::PenmanMonteith, {1, 1}, &R::HRMAX, 150, "maximum relative humidity (150) is above"},
      {M::BlaneyCriddle, {}, &R::HRMIN, 100.5, "minimum relative humidity (100.5) is above"},
      {M::PenmanMonteith, {3, 2}, &R::HRMEDIA, 101, "mean relative humidity (101) is above 100 %"},
      {M::PenmanMonteith, {1, 2}, &R::RADIACION, 50, ""},
      {M::PenmanMonteith, {1, 2}, &R::RADIACION, 50.1, "(50.1) is above 50 MJ/m² a day"},
      {M::PenmanMonteith, {1, 1}, &R::INSOLACION, 24, ""},
      {M::BlaneyCriddle, {}, &R::INSOLACION, 24.5, "(24.5) are above 24 hours a day"},
      {M::PenmanMonteith, {1, 1}, &R::VIENTO, 50, ""},
      {M::BlaneyCriddle, {}, &R::VIENTO, 51, "the wind speed (51) is above 50 m/s"},
      {M::Thornthwaite, {}, &R::HRMAX, 150, ""},  // a variable the method does not use
  };
  for (const Caso& k : casos) {
    SCOPED_TRACE(k.valor);
    REGISTRO_CLIMA e = constante(10);
    (e.*k.serie)[8] = k.valor;
    const auto error = comprobarDatosMetodo(k.metodo, e, k.fuentes);
    if (*k.problema == 0) {
      EXPECT_FALSE(error) << error->problema;
      continue;
    }
    ASSERT_TRUE(error) << k.problema;
    EXPECT_EQ(error->mes, 8);
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, k.problema, error->problema);
  }
  // The mean temperature is checked as soon as the station is chosen.
  REGISTRO_CLIMA e = constante(10);
  e.TMEDIA[7] = 99;
  const auto error = comprobarDatosEstacion(e);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->problema, "the mean temperature (99) is above 60 °C");
}

// What the window shows and annotates as soon as a station is chosen: the mean temperature (the
// grid and the climogram), the rainfall and the rainy days (also written to Clim_batch).
TEST(Methods, TheDataShownAndAnnotatedForEveryStationAreChecked) {
  struct Caso {
    Mensual REGISTRO_CLIMA::*serie;
    int16_t mes;
    double valor;
    const char* problema;  // "" when the value is sound
  };
  using R = REGISTRO_CLIMA;
  const Caso casos[] = {
      {&R::PRECIPITACION, 3, -0.5, "the rainfall (-0.5) is negative"},
      {&R::PRECIPITACION, 4, 1e308, "the rainfall (1e+308) is not a number the program can use"},
      {&R::DIAS_LLUVIA, 5, -1, "the rainy days (-1) are negative"},
      {&R::PRECIPITACION, 6, -1e-300, "the rainfall (-1e-300) is negative"},
      {&R::DIAS_LLUVIA, 2, 28.5, "the rainy days (28.5) are more than the 28 days of the month"},
      {&R::DIAS_LLUVIA, 2, 28, ""},
      {&R::DIAS_LLUVIA, 12, 31, ""},
      {&R::TMEDIA, 9, -1e200, "the mean temperature (-1e+200) is not a number the program can use"},
      {&R::TMEDIA, 1, -60, ""},
      {&R::RADIACION, 1, 1e308, ""},  // no method is chosen yet
  };
  for (const Caso& k : casos) {
    REGISTRO_CLIMA e = constante(10);
    (e.*k.serie)[k.mes] = k.valor;
    const auto error = comprobarDatosEstacion(e);
    if (*k.problema == 0) {
      EXPECT_FALSE(error) << error->problema;
      continue;
    }
    ASSERT_TRUE(error) << k.problema;
    EXPECT_EQ(error->mes, k.mes);
    EXPECT_EQ(error->problema, k.problema);
  }
}

TEST(Methods, TheDispatchRunsTheSelectedOptionOnly) {
  REGISTRO_CLIMA e = constante(10);
  for (int m = 1; m <= 12; ++m) e.ETO_EXTERNA[m] = 10 * m;
  EXPECT_FALSE(CALCULAR_ETO({false, false, false, false, false}, e, {1, 1}));
  EXPECT_EQ(CALCULAR_ETO({false, false, false, false, true}, e, {1, 1})->ETO_MENSUAL,
            e.ETO_EXTERNA);
  EXPECT_EQ(CALCULAR_ETO({false, false, true, false, false}, e, {})->ETO_MENSUAL,
            CALCULAR_ETO_HARGREAVES(e).ETO_MENSUAL);
}

}  // namespace
}  // namespace medravolix::eto
