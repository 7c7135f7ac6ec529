// The crop tool window's controller with fake dialogs and recording canvases: its states, the
// season-length list, the date tip, the calendar clicks with the question and the overlap test,
// the tree crop and "Clear". The crops it refuses are in form4_biblioteca_test.cpp.
#include "crop_tool/form4.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "crop_tool/form4_controles.h"
#include "crop_tool/libro_cultivos.h"
#include "support/test_support.h"

namespace medravolix::crop_tool {
namespace {

using prueba::filaGrid;
using prueba::N;
using prueba::seriesFinitas;
using prueba::T;
using prueba::Ventana;
using prueba::xDelDia;

TEST(Form4, StatesAtLoadAndForEachCropType) {
  Ventana v(prueba::libroCultivos());
  Form4& f = v.form;
  EXPECT_FALSE(f.Option1(0) || f.Option1(1) || f.Combo1_Enabled() || f.Grid_Visible() ||
               f.Picture1_Enabled() || f.Text1_Visible());
  for (int i = 0; i <= 5; ++i) EXPECT_EQ(f.Label1_Enabled(i), i >= 4) << i;
  f.Option1_Click(0);
  EXPECT_EQ(f.Combo1_List(), (std::vector<std::string>{"Maize", "Wheat", "Long"}));
  EXPECT_TRUE(f.Option1(0) && f.Combo1_Enabled() && f.Combo2_Enabled() && f.Picture1_Enabled());
  EXPECT_EQ(filaGrid(f, 0) + " " + filaGrid(f, 1) + " " + filaGrid(f, 2),
            "Stage|Initial|Development|Mid-season|Late season Kcb|||| length/day||||");
  f.Option1_Click(1);
  EXPECT_EQ(f.Combo1_List(), (std::vector<std::string>{"Olive", "Almond"}));
  EXPECT_TRUE(f.Option1(1) && !f.Option1(0) && !f.Combo2_Enabled() && !f.Picture1_Enabled());
  EXPECT_TRUE(f.Label1_Enabled(0) && !f.Label1_Enabled(1) && f.Label1_Enabled(2) &&
              !f.Label1_Enabled(3));
  EXPECT_EQ(filaGrid(f, 0), "Month|Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec");
  EXPECT_TRUE(v.mensajes().empty());
}

TEST(Form4, TheSeasonLengthListAndTheGridOfTheChosenCrop) {
  Ventana v(prueba::libroCultivos());
  Form4& f = v.form;
  f.Option1_Click(0);
  f.Combo1_Click(0);  // Maize, 125 days: 62 to 188, 125 chosen at position 63
  ASSERT_EQ(f.Combo2_List().size(), 127u);
  EXPECT_EQ(f.Combo2_List().front() + "-" + f.Combo2_List().back(), "62-188");
  EXPECT_EQ(f.Combo2_ListIndex(), 63);
  EXPECT_EQ(filaGrid(f, 1), "Kcb|0.3|0.8|1.2|0.5");
  EXPECT_EQ(filaGrid(f, 2), "length/day|25|38|38|25");  // 37.5 goes to the even 38
  f.Combo2_Click(150 - 62);
  EXPECT_EQ(f.DURACION_CICLO(), 150);
  EXPECT_EQ(filaGrid(f, 2), "length/day|30|45|45|30");
  f.Combo1_Click(1);  // Wheat, 60 days: 30 to 90
  EXPECT_EQ(f.Combo2_List().front() + "-" + f.Combo2_List().back() + " " +
                f.Combo2_List()[f.Combo2_ListIndex()],
            "30-90 60");
}

TEST(Form4, TheDateTipFollowsThePointerAndHidesOverTheWindow) {
  Ventana v(prueba::libroCultivos());
  v.form.Picture1_MouseMove(3140);  // no crop type yet: the calendar takes no pointer
  EXPECT_FALSE(v.form.Text1_Visible());
  v.form.Option1_Click(0);
  const std::pair<float, const char*> casos[] = {
      {0, "January 1st"},       {30, "January 1st"},    {30.5f, "January 2nd"},
      {10950, "December 31st"}, {10990, "January 2nd"},  // past the year: folded into it
      {3140, "April 15th"}};
  for (const auto& [X, texto] : casos) {
    v.form.Picture1_MouseMove(X);
    EXPECT_TRUE(v.form.Text1_Visible());
    EXPECT_EQ(v.form.Text1_Text(), texto) << X;
  }
  EXPECT_EQ(v.form.Text1_Width(), 103 * 10 + 407);
  EXPECT_EQ(v.form.Text1_Left(), 3390);
  // Late December the tip would run past the window's right edge: it goes left of the pointer.
  for (const float X : {10950.0f, 10800.0f, 10500.0f}) {
    v.form.Picture1_MouseMove(X);
    const double derecha = v.form.Text1_Left() + v.form.Text1_Width();
    EXPECT_LE(derecha, controles::kAnchoCliente) << X;
    EXPECT_GE(v.form.Text1_Left(), 0) << X;
  }
  v.form.Picture1_MouseMove(10950);
  EXPECT_EQ(v.form.Text1_Left(), 960 + 10950 - 250 - (103 * 13 + 407));
  v.form.Form_MouseMove();
  EXPECT_FALSE(v.form.Text1_Visible());
}

TEST(Form4, CalendarClicksAskFirstAndAddTheCropWithItsLineAndBar) {
  Ventana v(prueba::libroCultivos());
  Form4& f = v.form;
  f.Option1_Click(0);
  v.clic(3140);
  EXPECT_EQ(v.mensajes(), std::vector<std::string>{Form4::kSeleccione});
  EXPECT_TRUE(v.dialogs.questions.empty());
  v.dialogs.question_answers.clear();
  f.Combo1_Click(0);
  f.Combo2_Click(120 - 62);
  v.clic(3140, ui::Answer::No);
  v.clic(3140, ui::Answer::Cancel);
  EXPECT_EQ(v.dialogs.questions.size(), 2u);
  EXPECT_EQ(v.dialogs.questions[0].text, Form4::kPreguntaAgregar);
  EXPECT_EQ(f.rotacion().N_CULTIVOS(), 0);
  const std::size_t antes = v.calendario.calls().size();
  v.clic(3140);
  EXPECT_EQ(f.List1(), std::vector<std::string>{"Maize: April 15th-August 13th"});
  EXPECT_FALSE(f.Combo2_Enabled());
  const auto& bar = v.calendario.calls()[antes];
  EXPECT_EQ(std::make_tuple(bar.kind, bar.x1, bar.x2, bar.color),
            std::make_tuple(ui::CanvasCall::Kind::Box, 3120.0, 6720.0, ui::kGreen));
  EXPECT_GT(f.KCB_MENSUAL()[6], 0.0);
  EXPECT_TRUE(seriesFinitas(f));
  // Choosing a crop again enables the lengths again; a crop sown on day 300 for 120 days ends
  // on day 55, folded into the year.
  f.Combo1_Click(0);
  EXPECT_TRUE(f.Combo2_Enabled());
  f.Combo2_Click(120 - 62);
  v.clic(xDelDia(300));
  EXPECT_EQ(f.List1().back(), "Maize: October 27th-February 24th");
  EXPECT_EQ(f.COLOR_CULTIVO(), ui::kBlue);
  EXPECT_TRUE(v.mensajes().empty());
}

TEST(Form4, AnOverlappingCropIsListedAndDroppedAndNothingElseChanges) {
  Ventana v(prueba::libroCultivos());
  Form4& f = v.form;
  f.Option1_Click(0);
  f.Combo1_Click(0);
  f.Combo2_Click(100 - 62);
  v.clic(xDelDia(100));
  const Mensual kcb = f.KCB_MENSUAL();
  const std::size_t dibujos = v.calendario.calls().size() + v.grafico.calls().size();
  v.clic(xDelDia(150));  // inside the first one's season: July holds 81 stage days
  EXPECT_EQ(v.mensajes(), std::vector<std::string>{"Crops overlap\r\n\r\n"
                                                   "Maize: April 10th-July 19th\r\n"
                                                   "Maize: May 30th-September 7th\r\n"});
  EXPECT_EQ(f.List1(), std::vector<std::string>{"Maize: April 10th-July 19th"});
  EXPECT_EQ(f.rotacion().N_CULTIVOS(), 1);
  EXPECT_EQ(f.KCB_MENSUAL(), kcb);
  EXPECT_EQ(v.calendario.calls().size() + v.grafico.calls().size(), dibujos);
  // "Clear" empties the rotation but keeps the crop type; then a crop whose library season is
  // longer than the year cannot be chosen, so a click asks for a crop and adds nothing.
  f.Command2_Click();
  EXPECT_EQ(std::make_tuple(f.List1().size(), f.Combo1_ListIndex(), f.rotacion().N_CULTIVOS(),
                            filaGrid(f, 1) + filaGrid(f, 2), f.KCB_MENSUAL(), f.Option1(0)),
            std::make_tuple(0u, -1, 0, std::string("Kcb||||length/day||||"), Mensual{}, true));
  v.clic(xDelDia(100));
  EXPECT_EQ(v.mensajes(), std::vector<std::string>{Form4::kSeleccione});
  // A library season longer than the year is refused when the crop is chosen.
  f.Combo1_Click(2);
  EXPECT_EQ(v.mensajes(),
            std::vector<std::string>{
                "The annual crop 'Long' (Annual_crops_growth row 4): Annual_crops_growth!L4, the "
                "season length, is longer than 365 days, the longest season the program takes "
                "(400); enter a season length from 1 to 365 days."});
  EXPECT_EQ(f.Combo1_ListIndex(), -1);
  v.clic(xDelDia(100));
  EXPECT_EQ(v.mensajes(), std::vector<std::string>{Form4::kSeleccione});
  EXPECT_EQ(f.rotacion().N_CULTIVOS(), 0);
  EXPECT_TRUE(f.List1().empty());
}

// Every day of the year lies in the season of one crop at most, also across the year's end;
// a crop sown on the end date listed for another touches it and is accepted.
TEST(Form4, OverlapIsTestedOnDaysAcrossTheYearsEnd) {
  auto libro = prueba::libroCultivos();
  libro.setCell(kHojaAnuales, 4, 12, N(240));  // "Long" lasts 240 days: 120 to 360 offered
  Ventana v(std::move(libro));
  Form4& f = v.form;
  f.Option1_Click(0);
  f.Combo1_Click(0);
  f.Combo2_Click(150 - 62);
  v.clic(xDelDia(301));
  const Mensual kcb = f.KCB_MENSUAL();
  const Mensual ocupacion = f.OCUPACION_MENSUAL();
  const REGISTRO_RIEGO riego = f.DATOS_RIEGO();
  // Sown on 7 March for 240 days, it shares 7 to 26 March and 28 October to 1 November.
  f.Combo1_Click(2);
  v.clic(xDelDia(66));
  EXPECT_EQ(v.mensajes(), std::vector<std::string>{"Crops overlap\r\n\r\n"
                                                   "Maize: October 28th-March 27th\r\n"
                                                   "Long: March 7th-November 2nd\r\n"});
  EXPECT_EQ(f.List1(), std::vector<std::string>{"Maize: October 28th-March 27th"});
  // The refused crop leaves no trace, in the occupancy either.
  EXPECT_EQ(std::make_tuple(f.KCB_MENSUAL(), f.DATOS_RIEGO().RIEGO_MENSUAL, f.OCUPACION_MENSUAL()),
            std::make_tuple(kcb, riego.RIEGO_MENSUAL, ocupacion));
  // Sown on 27 March, the Maize's end date, and ending on 27 October, the day before the Maize's
  // sowing: both ends touch and the two crops fill the year.
  f.Combo1_Click(2);
  f.Combo2_Click(215 - 120);
  v.clic(xDelDia(86));
  EXPECT_TRUE(v.mensajes().empty());
  EXPECT_EQ(f.List1().back(), "Long: March 27th-October 28th");
  for (int m = 1; m <= 12; ++m) {
    EXPECT_EQ(f.OCUPACION_MENSUAL()[m], 1.0) << m;
    EXPECT_GT(f.KCB_MENSUAL()[m], 0.0) << m;
    EXPECT_TRUE(f.RAIZ_MENSUAL()[m] > 0 && f.RAIZ_MENSUAL()[m] <= 100) << m;
    EXPECT_TRUE(f.COBERTURA_MENSUAL()[m] > 0 && f.COBERTURA_MENSUAL()[m] <= 0.9) << m;
    EXPECT_GE(f.DATOS_RIEGO().RIEGO_MENSUAL[m], 0.0) << m;
    EXPECT_GE(f.DATOS_RIEGO().NRIEGOS_MENSUAL[m], 0.0) << m;
  }
  // Nothing more fits: a short crop anywhere is refused.
  f.Combo1_Click(1);
  v.clic(xDelDia(200));
  EXPECT_EQ(v.mensajes().size(), 1u);
  EXPECT_EQ(f.rotacion().N_CULTIVOS(), 2);
}

// A rotation is one year: the season-length list stops at 365 days.
TEST(Form4, TheSeasonLengthListEndsAtTheYear) {
  for (const auto& [temporada, lista] :
       {std::pair{260, "130-365 260"}, std::pair{365, "182-365 365"}}) {
    auto libro = prueba::libroCultivos();
    libro.setCell(kHojaAnuales, 4, 12, N(temporada));
    Ventana v(std::move(libro));
    Form4& f = v.form;
    f.Option1_Click(0);
    f.Combo1_Click(2);
    EXPECT_EQ(f.Combo2_List().front() + "-" + f.Combo2_List().back() + " " +
                  f.Combo2_List()[f.Combo2_ListIndex()],
              lista);
    v.clic(xDelDia(361));
    EXPECT_TRUE(v.mensajes().empty());
    EXPECT_EQ(f.rotacion().N_CULTIVOS(), 1);
    for (int m = 1; m <= 12; ++m) EXPECT_LE(f.OCUPACION_MENSUAL()[m], 1.0) << m;
  }
}

TEST(Form4, ATreeCropFillsTheCalendarListGridAndSeries) {
  Ventana v(prueba::libroCultivos());
  Form4& f = v.form;
  f.Option1_Click(0);
  f.Picture1_MouseMove(3140);
  f.Option1_Click(1);
  EXPECT_FALSE(f.Text1_Visible());  // the tip goes with the calendar's pointer
  v.calendario = {};
  f.Combo1_Click(1);  // Almond: 0.9 from June to September, 0.45 otherwise
  EXPECT_EQ(v.calendario.calls().front().color, ui::kGreen);
  EXPECT_EQ(f.List1(), std::vector<std::string>{"Almond"});
  EXPECT_EQ(filaGrid(f, 1), "Kcb|0.45|0.45|0.45|0.45|0.45|0.9|0.9|0.9|0.9|0.45|0.45|0.45");
  EXPECT_EQ(std::make_tuple(f.RAIZ_MENSUAL()[7], f.RAIZ_MENSUAL()[1], f.COBERTURA_MENSUAL()[8]),
            std::make_tuple(150.0, 75.0, 0.6));
  f.Picture1_MouseMove(3140);
  f.Picture1_MouseDown();
  EXPECT_FALSE(f.Text1_Visible());
  EXPECT_TRUE(v.dialogs.questions.empty());
  f.Option1_Click(0);  // then "Annual": the tree and its series are gone
  EXPECT_TRUE(f.List1().empty());
  EXPECT_EQ(f.RAIZ_MENSUAL()[7], 0);
}

// Closed and opened again, the window starts with no crop type shown, but the type last chosen
// and the series stay for "Annotate" (a batch does not change them).
TEST(Form4, TheCropTypeAndTheSeriesOutliveTheWindow) {
  Ventana v(prueba::libroCultivos());
  v.form.Option1_Click(1);
  v.form.Combo1_Click(1);
  v.form.Command3_Click();
  EXPECT_TRUE(v.descargado);
  Form4 otra({v.dialogs, [&] { return v.libro.get(); }, v.datos, v.calendario, v.grafico, {}});
  otra.Form_Load();
  EXPECT_FALSE(otra.Option1(0) || otra.Option1(1));
  EXPECT_TRUE(otra.List1().empty());
  EXPECT_EQ(otra.TIPO_CULTIVO(), 1);
  EXPECT_EQ(otra.RAIZ_MENSUAL()[7], 150);
}

}  // namespace
}  // namespace medravolix::crop_tool
