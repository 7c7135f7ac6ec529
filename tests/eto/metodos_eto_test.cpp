// The reference evapotranspiration methods: the solar geometry and its solver, FAO-56's worked
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
}

TEST(SolarGeometry, DaylightHoursOnTheEquatorAndBeyondThePolarCircles) {
  for (int16_t mes = 1; mes <= 12; ++mes) {
    EXPECT_TRUE(Near(12, HORAS_LUZ_DIA(0, mes), 1e-8)) << mes;
    EXPECT_EQ(DIA_MEDIO_MES(mes), mes == 2 ? 14 : 15);
  }
  EXPECT_EQ(HORAS_LUZ_DIA(80, 6), 24);    // the sun does not set
  EXPECT_EQ(HORAS_LUZ_DIA(80, 12), 0);    // nor rise
  EXPECT_EQ(HORAS_LUZ_DIA(-80, 12), 24);  // the southern summer
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
}

TEST(PenmanMonteith, TermsOfAConstantYear) {
  const REGISTRO_CLIMA e = constante(15);
  const PenmanMonteith pm = CALCULAR_ETO_PENMAN_MONTEITH(e, {1, 2});
  REGISTRO_CLIMA ring = e;
  ring.TMEDIA[12] = 17;  // January's flux looks at December and February
  const Mensual g = CALCULAR_FLUJO_CALOR_SUELO(ring.TMEDIA);
  for (int m = 1; m <= 12; ++m) {
    EXPECT_EQ(pm.FLUJO_CALOR_SUELO[m], 0) << m;
    EXPECT_TRUE(Near(1.000222, pm.VIENTO_2M[m] / e.VIENTO[m], 5e-7)) << m;
  }
  EXPECT_TRUE(Near(-0.14, g[1], 1e-12));
  EXPECT_TRUE(Near(0.14, g[11], 1e-12));
  EXPECT_TRUE(
      Near(0.0673645 * std::pow((293 - 0.65) / 293, 5.26), CONSTANTE_PSICROMETRICA(100), 1e-15));
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
}

TEST(BlaneyCriddle, WithoutSunshineDataUsesTheLowSunshineRow) {
  REGISTRO_CLIMA e = constante(20);
  for (int m = 1; m <= 12; ++m) e.INSOLACION[m] = 0;
  const BlaneyCriddle bc = CALCULAR_ETO_BLANEY_CRIDDLE(e);
  const double p = 100 * HORAS_LUZ_DIA(40, 12) / 4380;
  EXPECT_TRUE(Near((-1.85 + 1.15 * p * (0.46 * 20 + 8.13)) * 31, bc.ETO_MENSUAL[12], 1e-9));
  EXPECT_EQ(bc.COEF_A_BC, -1.85);
}

TEST(Thornthwaite, MonthsAtOrBelowFreezingHaveNoDemand) {
  REGISTRO_CLIMA e = constante(10);
  e.TMEDIA[1] = 0;
  e.TMEDIA[2] = -4;
  const Thornthwaite t = CALCULAR_ETO_THORNTHWAITE(e);
  EXPECT_TRUE(Near(10 * std::pow(2.0, 1.514), t.INDICE_CALOR, 1e-12));
  EXPECT_EQ(t.ETO_MENSUAL[1], 0);
  EXPECT_EQ(t.ETO_MENSUAL[2], 0);
  const double I = t.INDICE_CALOR;
  const double a = 6.75e-7 * I * I * I - 7.71e-5 * I * I + 0.01792 * I + 0.49239;
  EXPECT_TRUE(Near(a, t.EXPONENTE_A, 1e-12));
  EXPECT_TRUE(
      Near(16.0 / 360 * 31 * std::pow(100 / I, a) * HORAS_LUZ_DIA(40, 3), t.ETO_MENSUAL[3], 1e-9));
  REGISTRO_CLIMA helado = constante(-3);
  for (int m = 1; m <= 12; ++m) EXPECT_EQ(CALCULAR_ETO_THORNTHWAITE(helado).ETO_MENSUAL[m], 0);
}

// Beyond the polar circle: the months without sunrise have 0 mm by every method, never NaN, and
// those without sunset have the sun up for the whole day.
TEST(Methods, PolarNightGivesZeroAndMidnightSunAWholeDay) {
  REGISTRO_CLIMA e = constante(5);
  e.LATITUD = 78;
  e.RADIACION[12] = 0.5;
  for (int metodo = 0; metodo <= 3; ++metodo) {
    for (const FuentesPenman f : {FuentesPenman{1, 1}, FuentesPenman{3, 2}}) {
      const ResultadoEto r = calcularMetodo(static_cast<MetodoEto>(metodo), e, f);
      ASSERT_FALSE(r.error) << metodo << ": " << r.error->problema;
      EXPECT_EQ(r.ETO_MENSUAL[12], 0) << metodo;
      EXPECT_EQ(r.ETO_MENSUAL[1], 0) << metodo;
      EXPECT_GT(r.ETO_MENSUAL[6], 0) << metodo;
    }
  }
  const RadiacionExtraterrestre ext = CALCULAR_RADIACION_EXTRATERRESTRE(e);
  EXPECT_EQ(ext.ANGULO_PUESTA_SOL[6], kPi);
  EXPECT_GT(ext.RA[6], 40);  // more than at the equator in June
}

// The poles are the limit of the latitudes next to them: at 90 degrees the latitude's angle
// stays below pi / 2, so the summer is sunlit all day and the winter dark, as at 89.9999.
TEST(Methods, ThePolesBehaveAsTheLatitudesNextToThem) {
  for (const double polo : {90.0, -90.0}) {
    const int16_t verano = polo > 0 ? 6 : 12;
    const int16_t invierno = polo > 0 ? 12 : 6;
    EXPECT_EQ(HORAS_LUZ_DIA(polo, verano), 24) << polo;
    EXPECT_EQ(HORAS_LUZ_DIA(polo, invierno), 0) << polo;
    const int16_t J = DIA_JULIANO(15, verano);
    EXPECT_TRUE(Near(terminosSolares(polo * 0.999999, J).ra, terminosSolares(polo, J).ra, 1e-3))
        << polo;
    REGISTRO_CLIMA e = constante(5);
    e.LATITUD = polo;
    for (int metodo = 0; metodo <= 3; ++metodo) {
      const ResultadoEto r = calcularMetodo(static_cast<MetodoEto>(metodo), e, {1, 1});
      ASSERT_FALSE(r.error) << metodo;
      EXPECT_GT(r.ETO_MENSUAL[verano], 0) << polo << " " << metodo;
      EXPECT_EQ(r.ETO_MENSUAL[invierno], 0) << polo << " " << metodo;
    }
  }
}

// Where the sun only grazes the horizon the solver stops a few thousandths of a radian short of
// 0, which would leave a negative extraterrestrial radiation: such a month has no sunrise.
TEST(Methods, AMonthWhereTheSunOnlyGrazesTheHorizonHasNoSunrise) {
  REGISTRO_CLIMA e = constante(5);
  e.LATITUD = 66.670873758373;
  const RadiacionExtraterrestre ext = CALCULAR_RADIACION_EXTRATERRESTRE(e);
  EXPECT_EQ(ext.RA[12], 0);
  EXPECT_EQ(ext.ANGULO_PUESTA_SOL[12], 0);
  EXPECT_EQ(HORAS_LUZ_DIA(e.LATITUD, 12), 0);
  for (int metodo = 0; metodo <= 3; ++metodo) {
    for (const FuentesPenman f : {FuentesPenman{1, 1}, FuentesPenman{3, 2}}) {
      const ResultadoEto r = calcularMetodo(static_cast<MetodoEto>(metodo), e, f);
      ASSERT_FALSE(r.error) << metodo;
      EXPECT_EQ(r.ETO_MENSUAL[12], 0) << metodo;
      EXPECT_GT(r.ETO_MENSUAL[6], 0) << metodo;
    }
  }
}

TEST(Methods, DataThatNoMethodCanUseAreNamedWithTheirMonth) {
  struct Caso {
    MetodoEto metodo;
    FuentesPenman fuentes;
    void (*estropear)(REGISTRO_CLIMA&);
    int16_t mes;
    CampoClima campo;
    const char* problema;
  };
  const Caso casos[] = {
      {MetodoEto::Hargreaves,
       {},
       [](REGISTRO_CLIMA& e) { e.TMAX[3] = e.TMIN[3] - 0.5; },
       3,
       CampoClima::TMAX,
       "the mean maximum temperature (3.5) is below the mean minimum"},
      {MetodoEto::PenmanMonteith,
       {1, 1},
       [](REGISTRO_CLIMA& e) { e.TMAX[4] = 0; },
       4,
       CampoClima::TMAX,
       "is below the mean minimum temperature (4)"},
      {MetodoEto::PenmanMonteith,
       {3, 2},
       [](REGISTRO_CLIMA& e) { e.HRMEDIA[5] = -1; },
       5,
       CampoClima::HRMEDIA,
       "the mean relative humidity (-1) is negative"},
      {MetodoEto::PenmanMonteith,
       {2, 1},
       [](REGISTRO_CLIMA& e) { e.VIENTO[9] = -2; },
       9,
       CampoClima::VIENTO,
       "the wind speed (-2) is negative"},
      {MetodoEto::BlaneyCriddle,
       {},
       [](REGISTRO_CLIMA& e) { e.INSOLACION[12] = -0.1; },
       12,
       CampoClima::INSOLACION,
       "the sunshine hours (-0.1) are negative"},
      {MetodoEto::BlaneyCriddle,
       {},
       [](REGISTRO_CLIMA& e) { e.HRMIN[2] = -5; },
       2,
       CampoClima::HRMIN,
       "minimum relative humidity (-5)"},
  };
  for (const Caso& k : casos) {
    REGISTRO_CLIMA e = constante(10);
    k.estropear(e);
    const ResultadoEto r = calcularMetodo(k.metodo, e, k.fuentes);
    ASSERT_TRUE(r.error) << k.problema;
    EXPECT_EQ(r.error->mes, k.mes);
    EXPECT_EQ(r.error->campos.front(), k.campo);
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, k.problema, r.error->problema);
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(r.ETO_MENSUAL[m], 0);
  }
  // Thornthwaite and the given series need none of these.
  REGISTRO_CLIMA e = constante(10);
  e.TMAX[1] = -50;
  EXPECT_FALSE(calcularMetodo(MetodoEto::Thornthwaite, e, {}).error);
}

TEST(Methods, TheDispatchRunsTheSelectedOptionOnly) {
  REGISTRO_CLIMA e = constante(10);
  for (int m = 1; m <= 12; ++m) e.ETO_EXTERNA[m] = 10 * m;
  EXPECT_FALSE(CALCULAR_ETO({false, false, false, false, false}, e, {1, 1}));
  const auto externa = CALCULAR_ETO({false, false, false, false, true}, e, {1, 1});
  ASSERT_TRUE(externa);
  EXPECT_EQ(externa->ETO_MENSUAL, e.ETO_EXTERNA);
  const auto hargreaves = CALCULAR_ETO({false, false, true, false, false}, e, {});
  EXPECT_EQ(hargreaves->ETO_MENSUAL, CALCULAR_ETO_HARGREAVES(e).ETO_MENSUAL);
}

}  // namespace
}  // namespace medravolix::eto
