// The tool window's controller on small in-memory workbooks: the station list, the reading of a
// station, the availability of the methods, the summary grid, the methods' curves and the
// messages for data that cannot be used.
#include "eto_tool/form2.h"

#include <gtest/gtest.h>

#include <cstring>

#include "eto_tool/disponibilidad_metodos.h"
#include "eto_tool/hojas_clima.h"
#include "support/fake_dialogs.h"
#include "support/test_support.h"
#include "ui/recording_canvas.h"

#define EXPECT_CONTIENE(texto, parte) EXPECT_PRED_FORMAT2(::testing::IsSubstring, parte, texto)

namespace medravolix::eto_tool {
namespace {

using workbook::CellValue;

CellValue T(std::string s) {
  return CellValue::text(std::move(s));
}
CellValue N(double v) {
  return CellValue::number(v);
}

// Clim_WS with heading and stations; Clim_data with 12 rows a station whose columns 2 to 13 are
// filled from `columnas` (value of month m: base + m / 10; 0 leaves the column empty).
struct LibroClima {
  workbook::Workbook libro = workbook::Workbook::create({"Clim_WS", "Clim_data", "Clim_batch"});

  LibroClima() { libro.setCell("Clim_WS", 1, 1, T("Station")); }

  void estacion(int k, const std::string& nombre, double lat, double alt,
                const std::array<double, 12>& base) {
    const int r = filaEstacion(k);
    libro.setCell("Clim_WS", r, 1, T(nombre));
    libro.setCell("Clim_WS", r, 2, N(lat));
    libro.setCell("Clim_WS", r, 3, N(alt));
    libro.setCell("Clim_WS", r, 4, T("Prov"));
    libro.setCell("Clim_WS", r, 5, N(500000.5));
    libro.setCell("Clim_WS", r, 6, N(4100001.5));
    for (int m = 1; m <= 12; ++m) {
      for (int c = 0; c < 12; ++c) {
        if (base[c] != 0)
          libro.setCell("Clim_data", filaDatosClima(k, m), 2 + c, N(base[c] + m / 10.0));
      }
    }
  }
};

// Tmean, Tmax, Tmin, RHmean, RHmax, RHmin, Rs, sunshine, rain, rain days, wind, ETo given.
constexpr std::array<double, 12> kCompleta{15, 22, 8, 60, 85, 35, 18, 8, 30, 5, 2, 90};
constexpr std::array<double, 12> kSoloTemperaturas{15, 22, 8, 0, 0, 0, 0, 8, 30, 5, 2, 0};

struct Ventana {
  testing::FakeDialogs dialogs;
  ui::RecordingCanvas canvas;
  DatosForm2 datos;
  LibroClima lc;
  Form2 form{{dialogs, [this] { return &lc.libro; }, datos, canvas, {}}};
};

// The list joins columns 7 and 8 and stops at the first empty name; station k reads the rows
// 2 + 12 k to 13 + 12 k of the monthly data.
TEST(ClimateSheets, TheListAndTheRowsOfTheThirdStation) {
  LibroClima lc;
  for (int k = 0; k < 4; ++k) lc.estacion(k, "S" + std::to_string(k), 40, 100, kCompleta);
  lc.libro.setCell("Clim_WS", 2, 7, T("A"));
  lc.libro.setCell("Clim_WS", 2, 8, T("B"));
  lc.libro.setCell("Clim_WS", 3, 8, T("ignored"));
  lc.libro.setCell("Clim_WS", 4, 7, N(1981));
  lc.libro.setCell("Clim_WS", 5, 1, CellValue());
  EXPECT_EQ(leerListaEstaciones(lc.libro), (std::vector<std::string>{"S0-A B", "S1", "S2-1981 "}));
  lc.libro.setCell("Clim_data", 26, 2, N(-7));
  lc.libro.setCell("Clim_data", 37, 13, N(123));
  const REGISTRO_CLIMA e = leerEstacion(lc.libro, 2);
  EXPECT_EQ(
      std::make_tuple(e.NOMBRE_ESTACION, e.TMEDIA[1], e.ETO_EXTERNA[12], e.UTM_X, e.UTM_Y),
      std::make_tuple(std::string("S2"), -7.0, 123.0, 500000.0, 4100002.0));  // halves to even
}

// The availability rules, one row for each case: which series have data, the sources and the
// five options.
TEST(Availability, RulesOfTheMethodsAndThePenmanMonteithSources) {
  struct Caso {
    const char* quitar;  // without data: l latitude, a altitude, t mean temperature, M maximum,
                         // X mean, N minimum humidity, r radiation, s sunshine, w wind, e ETo
    int16_t humedad, radiacion;
    std::array<bool, 5> habilitado;
  };
  const Caso casos[] = {
      {"", 1, 2, {true, true, true, true, true}},
      {"MX", 0, 2, {true, false, true, true, true}},    // minimum humidity only
      {"XN", 2, 2, {true, true, true, false, true}},    // maximum only
      {"MN", 3, 2, {true, true, true, false, true}},    // mean only
      {"M", 3, 2, {true, true, true, true, true}},      // mean and minimum
      {"r", 1, 1, {true, true, true, true, true}},      // sunshine only
      {"rs", 1, 0, {true, false, true, true, true}},    // neither
      {"w", 0, 0, {true, false, true, false, true}},    // no wind: no sources at all
      {"a", 0, 0, {true, false, true, true, true}},     // sea level
      {"l", 0, 0, {false, false, false, false, true}},  // the equator
      {"t", 0, 0, {false, false, false, false, true}},  // mean temperatures summing to 0
      {"se", 1, 2, {true, true, true, true, false}},    // Blaney-Criddle without sunshine
  };
  for (const Caso& k : casos) {
    const auto sin = [&](char c) { return std::strchr(k.quitar, c) != nullptr; };
    REGISTRO_CLIMA e;
    e.LATITUD = sin('l') ? 0 : 40;
    e.ALTITUD = sin('a') ? 0 : 100;
    const std::pair<char, Mensual*> series[] = {
        {'M', &e.HRMAX},      {'X', &e.HRMEDIA}, {'N', &e.HRMIN},       {'r', &e.RADIACION},
        {'s', &e.INSOLACION}, {'w', &e.VIENTO},  {'e', &e.ETO_EXTERNA}, {'-', &e.TMAX},
        {'-', &e.TMIN},       {'-', &e.TMEDIA}};
    for (const auto& [c, serie] : series) serie->fill(sin(c) ? 0 : 1);
    e.TMEDIA[1] = 0;  // a zero month does not matter
    if (sin('t')) e.TMEDIA = {0, -1, 1};
    const Disponibilidad d = evaluarDisponibilidad(e);
    EXPECT_EQ(d.fuentes.OPCION_HUMEDAD, k.humedad) << k.quitar;
    EXPECT_EQ(d.fuentes.OPCION_RADIACION, k.radiacion) << k.quitar;
    EXPECT_EQ(d.habilitado, k.habilitado) << k.quitar;
  }
}

int verdes(const ui::RecordingCanvas& canvas) {
  int n = 0;
  for (const auto& c : canvas.calls()) n += c.color == ui::kGreen;
  return n;
}

TEST(Form2, ChoosingAStationThenAMethodThenAnotherStation) {
  Ventana v;
  v.lc.estacion(0, "Full", 37.5, 75, kCompleta);
  v.lc.estacion(1, "Thin", 36.8, 21, kSoloTemperaturas);
  v.form.Form_Load();
  ASSERT_EQ(v.form.Combo1_List().size(), 2u);
  EXPECT_FALSE(v.form.Frame1_Enabled());
  v.form.Combo1_Click(0);
  EXPECT_TRUE(v.form.Frame1_Enabled());
  // Rain: 12 x 30 + 7.8 = 367.8; mean temperature 15 + 0.65.
  EXPECT_EQ(v.form.MSHFlexGrid1().rowTexts(1),
            (std::vector<std::string>{"Full", "Prov", "500000", "4100002", "75", "368", "16"}));
  v.form.Option1_Click(2);
  EXPECT_TRUE(v.form.Option1(2));
  EXPECT_GT(v.datos.ETO_MENSUAL[7], 100);
  EXPECT_EQ(verdes(v.canvas), 11);
  v.form.Option1_Click(4);
  EXPECT_FALSE(v.form.Option1(2));
  EXPECT_EQ(v.datos.ETO_MENSUAL[3], 90.3);
  v.form.Combo1_Click(1);
  EXPECT_EQ(verdes(v.canvas), 0);
  EXPECT_EQ(v.datos.ETO_MENSUAL, Mensual{});
  for (int i = 0; i < 5; ++i) EXPECT_EQ(v.form.Option1_Enabled(i), i == 0 || i == 2) << i;
  v.form.Option1_Click(1);  // disabled: nothing happens
  EXPECT_FALSE(v.form.Option1(1));
  EXPECT_TRUE(v.dialogs.messages.empty());
}

TEST(Form2, DataThatCannotBeUsedAreNamedAndNoCurveIsDrawn) {
  Ventana v;
  v.lc.estacion(0, "Full", 37.5, 75, kCompleta);
  v.lc.estacion(1, "Bad", 37.5, 75, kCompleta);
  v.lc.libro.setCell("Clim_data", filaDatosClima(1, 4), 3, N(1));  // Tmax below Tmin in April
  v.form.Form_Load();
  v.form.Combo1_Click(1);
  v.form.Option1_Click(2);
  ASSERT_EQ(v.dialogs.messages.size(), 1u);
  EXPECT_CONTIENE(v.dialogs.messages[0].text,
                  "Hargreaves cannot be computed for the station 'Bad'");
  EXPECT_CONTIENE(v.dialogs.messages[0].text, "Clim_data!C17, Clim_data!D17 (Apr): the mean");
  EXPECT_FALSE(v.form.Option1(2));
  EXPECT_EQ(v.datos.ETO_MENSUAL, Mensual{});
  EXPECT_EQ(verdes(v.canvas), 0);
  v.form.Option1_Click(0);  // Thornthwaite needs no daily range
  EXPECT_EQ(v.dialogs.messages.size(), 1u);
  EXPECT_TRUE(v.form.Option1(0));
}

// The given series of "External data" is refused like a method's data; the option is unselected
// and no curve is drawn.
TEST(Form2, ANegativeGivenEvapotranspirationIsRefused) {
  Ventana v;
  v.lc.estacion(0, "Given", 37.5, 75, kCompleta);
  v.lc.libro.setCell("Clim_data", filaDatosClima(0, 8), 13, N(-4));
  v.form.Form_Load();
  v.form.Combo1_Click(0);
  v.form.Option1_Click(4);
  ASSERT_EQ(v.dialogs.messages.size(), 1u);
  EXPECT_EQ(v.dialogs.messages[0].text,
            "External data cannot be used for the station 'Given':\r\n\r\nClim_data!M9 (Aug): the "
            "given reference evapotranspiration (-4) is negative.\r\n\r\nCorrect the station's "
            "data in Clim_data, then choose the station again.");
  EXPECT_FALSE(v.form.Option1(4));
  EXPECT_EQ(v.datos.ETO_MENSUAL, Mensual{});
  EXPECT_EQ(verdes(v.canvas), 0);
}

// Numbers that the grid, the climogram and "Annotate" would use as soon as the station is chosen
// are checked then: the station is not loaded, and the message names the cell, the month and the
// number in a short form.
TEST(Form2, AStationWithDataThatCannotBeShownIsNotLoaded) {
  struct Caso {
    const char* hoja;
    int fila, columna;
    double valor;
    const char* motivo;
  };
  const Caso casos[] = {
      {"Clim_data", filaDatosClima(0, 2), 10, -3,
       "Clim_data!J3 (Feb): the rainfall (-3) is negative."},
      {"Clim_data", filaDatosClima(0, 12), 11, 40,
       "Clim_data!K13 (Dec): the rainy days (40) are more than the 31 days of the month."},
      {"Clim_data", filaDatosClima(0, 6), 2, 61,
       "Clim_data!B7 (Jun): the mean temperature (61) is above 60 °C."},
      {"Clim_data", filaDatosClima(0, 1), 2, 1e308,
       "Clim_data!B2 (Jan): the mean temperature (1e+308) is not a number the program can use."},
      {"Clim_WS", 2, 2, 1e308,
       "Clim_WS!B2 holds the latitude 1e+308: a latitude in degrees lies between -90 (south) "
       "and 90 (north)."},
      {"Clim_WS", 2, 3, -1e308,
       "Clim_WS!C2 holds the altitude -1e+308: an altitude in metres lies between -500 and "
       "9000."},
      {"Clim_WS", 2, 6, 1e300,
       "Clim_WS!F2 holds the UTM y coordinate 1e+300, which is not a number the program can "
       "use."},
  };
  for (const Caso& c : casos) {
    Ventana v;
    v.lc.estacion(0, "Odd", 37.5, 75, kCompleta);
    v.lc.libro.setCell(c.hoja, c.fila, c.columna, N(c.valor));
    v.form.Form_Load();
    v.form.Combo1_Click(0);
    EXPECT_EQ(v.form.Combo1_ListIndex(), -1) << c.motivo;
    ASSERT_EQ(v.dialogs.messages.size(), 1u) << c.motivo;
    EXPECT_EQ(v.dialogs.messages[0].text, "The station 'Odd' cannot be loaded:\r\n\r\n" +
                                              std::string(c.motivo) +
                                              "\r\n\r\nNo station is shown.");
  }
}

// A station that cannot be loaded, first or after another: the list names the station whose
// data are shown (none, or the one before), and the message says which.
TEST(Form2, AStationThatCannotBeLoadedLeavesTheWindowOnTheStationShown) {
  Ventana v;
  v.lc.estacion(0, "Full", 37.5, 75, kCompleta);
  v.lc.estacion(1, "Broken", 37.5, 75, kCompleta);
  v.lc.libro.setCell("Clim_data", filaDatosClima(1, 3), 5, T("n/a"));
  v.lc.estacion(2, "North", 90.5, 0, kCompleta);
  v.lc.estacion(3, "South", -91, 0, kCompleta);
  v.lc.estacion(4, "Pole", -90, 0, kCompleta);
  v.form.Form_Load();
  struct Caso {
    int k;
    const char* motivo;
    int mostrada;
    const char* queda;
  };
  const Caso casos[] = {
      {1, "Clim_data!E16 holds the text \"n/a\"", -1, "No station is shown."},
      {2, "Clim_WS!B4 holds the latitude 90.5: a latitude in degrees lies between -90", -1,
       "No station is shown."},
      {4, "", 4, ""},
      {0, "", 0, ""},
      {1, "Clim_data!E16", 0, "The window still shows the station 'Full'."},
      {3, "Clim_WS!B5 holds the latitude -91", 0, "The window still shows the station 'Full'."},
  };
  for (const Caso& c : casos) {
    v.dialogs.messages.clear();
    v.form.Combo1_Click(c.k);
    if (c.k == 0) v.form.Option1_Click(2);
    EXPECT_EQ(v.form.Combo1_ListIndex(), c.mostrada) << c.k;
    if (*c.motivo == 0) {
      EXPECT_TRUE(v.dialogs.messages.empty()) << c.k;
      continue;
    }
    ASSERT_EQ(v.dialogs.messages.size(), 1u) << c.k;
    EXPECT_CONTIENE(v.dialogs.messages[0].text, c.motivo);
    EXPECT_CONTIENE(v.dialogs.messages[0].text, c.queda);
  }
  EXPECT_EQ(v.form.MSHFlexGrid1().rowTexts(1)[0], "Full");
  EXPECT_EQ(v.datos.ESTACION.NOMBRE_ESTACION, "Full");
  EXPECT_TRUE(v.form.Option1(2));
  EXPECT_GT(v.datos.ETO_MENSUAL[7], 100);
}

}  // namespace
}  // namespace medravolix::eto_tool
