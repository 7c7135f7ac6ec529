// The crops the crop tool refuses: a library row that cannot be read or holds a number outside
// its column's range, a stage of no days that is given irrigation, and the users' workbooks with
// huge library numbers. Each is named with its cell, and the crop chosen before stays.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "crop_tool/form4.h"
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

double riegoTotal(const Form4& f) {
  double total = 0;
  for (int m = 1; m <= 12; ++m) total += f.DATOS_RIEGO().RIEGO_MENSUAL[m];
  return total;
}

// A crop that cannot be read is named with its cell and not chosen. Chosen after another crop,
// it leaves the window as it was: the crop chosen before stays selected, with its grid, season
// lengths, list line and series, and the next click adds it.
TEST(Form4, ACropThatCannotBeReadIsNamedAndKeepsTheCropChosenBefore) {
  struct Caso {
    const char* hoja;
    int columna;
    workbook::CellValue valor;
    int tipo;
    const char* en_el_mensaje;
  };
  const Caso casos[] = {
      {"Annual_crops_growth", 12, N(0.4), 0, "at least 1 day"},
      {"Annual_crops_growth", 5, N(0), 0, "must be at least 0.1"},
      {"Annual_crops_growth", 4, T("high"), 0, "Annual_crops_growth!D3"},
      {"Annual_crops_irrigat", 3, T("300 mm"), 0, "Annual_crops_irrigat!C3"},
      {"Annual_crops_growth", 12, N(30000), 0,
       "Annual_crops_growth!L3, the season length, is longer than 365 days"},
      {"Tree_crops", 8, T("n/a"), 1, "Tree_crops!H3"},
  };
  for (const Caso& caso : casos) {
    auto libro = prueba::libroCultivos();
    libro.setCell(caso.hoja, 3, caso.columna, caso.valor);
    Ventana v(std::move(libro));
    Form4& f = v.form;
    f.Option1_Click(caso.tipo);
    f.Combo1_Click(1);
    const auto mensajes = v.mensajes();
    ASSERT_EQ(mensajes.size(), 1u) << caso.en_el_mensaje;
    EXPECT_NE(mensajes[0].find(caso.en_el_mensaje), std::string::npos) << mensajes[0];
    EXPECT_EQ(f.Combo1_ListIndex(), -1);
    EXPECT_TRUE(seriesFinitas(f));
    f.Combo1_Click(0);
    if (caso.tipo == 0) f.Combo2_Click(100 - 62);
    const auto estado = [&f] {
      return std::make_tuple(f.Combo1_ListIndex(), filaGrid(f, 1), filaGrid(f, f.Grid_Rows() - 1),
                             f.Combo2_List(), f.Combo2_ListIndex(), f.List1(), f.KCB_MENSUAL(),
                             f.RAIZ_MENSUAL());
    };
    const auto antes = estado();
    f.Combo1_Click(1);
    EXPECT_EQ(v.mensajes().size(), 1u) << caso.en_el_mensaje;
    EXPECT_EQ(estado(), antes) << caso.en_el_mensaje;
    if (caso.tipo == 1) continue;
    v.clic(xDelDia(100));
    EXPECT_TRUE(v.mensajes().empty());
    EXPECT_EQ(f.List1(), std::vector<std::string>{"Maize: April 10th-July 19th"});
  }
  // A tree crop whose coefficients are all 0, and a missing library sheet.
  auto libro = prueba::libroCultivos();
  for (int c = 3; c <= 14; ++c) libro.setCell("Tree_crops", 2, c, N(0));
  Ventana v(std::move(libro));
  v.form.Option1_Click(1);
  v.form.Combo1_Click(0);
  EXPECT_NE(v.mensajes().at(0).find("Tree_crops!C2 to Tree_crops!N2"), std::string::npos);
  EXPECT_TRUE(seriesFinitas(v.form));
  Ventana sin_hoja(workbook::Workbook::create({"Crop_batch"}));
  sin_hoja.form.Option1_Click(0);
  EXPECT_NE(sin_hoja.mensajes().at(0).find("Annual_crops_growth"), std::string::npos);
  EXPECT_TRUE(sin_hoja.form.Combo1_List().empty());
}

// A stage of no days cannot spread the irrigation that Annual_crops_irrigat gives it: the crop
// is not chosen (or, when a shorter season makes the stage vanish, not added), and the message
// names the stage's share of the season and its irrigation shares.
TEST(Form4, AStageOfNoDaysWithIrrigationIsRefusedNamingTheCells) {
  auto libro = prueba::libroCultivos();
  // Wheat: no development stage, but a quarter of the irrigation depth and number in it.
  prueba::fila(
      libro, kHojaAnuales, 3,
      {T("Wheat"), N(120), N(0.3), N(0.7), N(1.1), N(0.3), N(0.5), N(0), N(0.25), N(0.25)});
  // Maize: an initial stage of 0.006 of the season, 1 day at 125 days and none at 62, with 0.1
  // of the depth (Annual_crops_irrigat!D2) and none of the number of irrigations (its share goes
  // to the development stage).
  for (int c = 7; c <= 10; ++c) {
    libro.setCell(kHojaAnuales, 2, c, N(std::array{0.006, 0.498, 0.3, 0.196}[c - 7]));
  }
  libro.setCell(kHojaRiegosAnuales, 2, 8, N(0));
  libro.setCell(kHojaRiegosAnuales, 2, 9, N(0.3));
  Ventana v(std::move(libro));
  Form4& f = v.form;
  f.Option1_Click(0);
  f.Combo1_Click(1);
  auto mensajes = v.mensajes();
  ASSERT_EQ(mensajes.size(), 1u);
  for (const char* celda :
       {"Annual_crops_growth!H3", "Annual_crops_irrigat!E3", "Annual_crops_irrigat!I3"}) {
    EXPECT_NE(mensajes[0].find(celda), std::string::npos) << mensajes[0];
  }
  EXPECT_EQ(f.Combo1_ListIndex(), -1);
  EXPECT_EQ(filaGrid(f, 2), "length/day||||");
  // Maize at its own 125 days has an initial stage of 1 day; at 62 days it has none.
  f.Combo1_Click(0);
  EXPECT_TRUE(v.mensajes().empty());
  f.Combo2_Click(0);
  EXPECT_EQ(filaGrid(f, 2), "length/day|0|31|19|12");
  v.clic(xDelDia(100));
  mensajes = v.mensajes();
  ASSERT_EQ(mensajes.size(), 1u);
  EXPECT_EQ(mensajes[0].rfind("The crop was not added: ", 0), 0u) << mensajes[0];
  for (const char* celda : {"Annual_crops_growth!G2", "Annual_crops_irrigat!D2"}) {
    EXPECT_NE(mensajes[0].find(celda), std::string::npos) << mensajes[0];
  }
  EXPECT_EQ(mensajes[0].find("Annual_crops_irrigat!H2"), std::string::npos) << mensajes[0];
  EXPECT_EQ(f.rotacion().N_CULTIVOS(), 0);
  EXPECT_TRUE(f.List1().empty());
  // At 125 days it is added, and the twelve depths add up to the 600 mm of the season.
  f.Combo2_Click(125 - 62);
  v.clic(xDelDia(100));
  EXPECT_TRUE(v.mensajes().empty());
  EXPECT_TRUE(testing::Near(600.0, riegoTotal(f), 1e-9));
}

// A stage of no days that takes no irrigation loses nothing: the crop is chosen and added.
TEST(Form4, AStageOfNoDaysWithoutIrrigationIsAccepted) {
  auto libro = prueba::libroCultivos();
  libro.setCell(kHojaAnuales, 3, 8, N(0));
  libro.setCell(kHojaAnuales, 3, 7, N(0.5));
  libro.setCell(kHojaRiegosAnuales, 3, 5, N(0));  // depth share of development
  libro.setCell(kHojaRiegosAnuales, 3, 4, N(0.5));
  libro.setCell(kHojaRiegosAnuales, 3, 12, N(0));  // no number of irrigations at all
  Ventana v(std::move(libro));
  v.form.Option1_Click(0);
  v.form.Combo1_Click(1);
  v.clic(xDelDia(100));
  EXPECT_TRUE(v.mensajes().empty());
  EXPECT_EQ(v.form.rotacion().N_CULTIVOS(), 1);
  EXPECT_TRUE(testing::Near(300.0, riegoTotal(v.form), 1e-9));
}

// Every library number is checked against its column's range before the crop is chosen: the
// message names the crop, the cell and what is wrong, and the crop chosen before stays.
TEST(Form4, LibraryNumbersOutOfRangeAreNamedWithTheirCell) {
  struct Caso {
    const char* hoja;
    int columna;
    double valor;
    const char* mensaje;
  };
  const std::string trigo = "The annual crop 'Wheat' (Annual_crops_growth row 3): ";
  const std::string riego =
      "The irrigation of the annual crop 'Wheat' (Annual_crops_irrigat row 3): ";
  const std::string almendro = "The tree crop 'Almond' (Tree_crops row 3): ";
  const Caso casos[] = {
      {"Annual_crops_growth", 7, 148000,
       "Annual_crops_growth!G3, the initial stage's share of the season, is larger than 1 "
       "(148000); it must lie between 0 and 1."},
      {"Annual_crops_growth", 8, -0.25,
       "Annual_crops_growth!H3, the development stage's share of the season, is negative (-0.25); "
       "it must lie between 0 and 1."},
      {"Annual_crops_growth", 10, 1e300,
       "Annual_crops_growth!J3, the late season stage's share of the season, is not a number the "
       "program can use (1e+300); it must lie between 0 and 1."},
      {"Annual_crops_growth", 2, 45000,  // a date read as its day number
       "Annual_crops_growth!B3, the maximum root depth, is larger than 1000 cm (45000); it must "
       "lie between 0 and 1000 cm."},
      {"Annual_crops_growth", 3, -0.1,
       "Annual_crops_growth!C3, the initial stage's basal crop coefficient, is negative (-0.1); "
       "it must lie between 0 and 4."},
      {"Annual_crops_growth", 11, 1.5,
       "Annual_crops_growth!K3, the maximum ground cover, is larger than 1 (1.5); it must lie "
       "between 0 and 1."},
      {"Annual_crops_growth", 12, -1e308,
       "Annual_crops_growth!L3, the season length, is not a number the program can use "
       "(-1e+308); enter a season length from 1 to 365 days."},
      {"Annual_crops_growth", 9, 0.5,
       "the shares of the season of its four stages, in Annual_crops_growth!G3 to "
       "Annual_crops_growth!J3, add up to 1.25; the stages divide the whole season between them, "
       "so the shares must add up to 1."},
      {"Annual_crops_irrigat", 2, 2,
       "Annual_crops_irrigat!B3, the wetted fraction of the soil surface, is larger than 1 (2); it "
       "must lie between 0 and 1."},
      {"Annual_crops_irrigat", 3, -300,
       "Annual_crops_irrigat!C3, the irrigation depth of the season, is negative (-300); it must "
       "lie between 0 and 10000 mm."},
      {"Annual_crops_irrigat", 4, -0.1,
       "Annual_crops_irrigat!D3, the initial stage's share of the irrigation depth, is negative "
       "(-0.1); it must lie between 0 and 1."},
      {"Annual_crops_irrigat", 12, -3,
       "Annual_crops_irrigat!L3, the number of irrigations of the season, is negative (-3); it "
       "must lie between 0 and 10000."},
      {"Tree_crops", 3, -0.5,
       "Tree_crops!C3, the basal crop coefficient of January, is negative (-0.5); it must lie "
       "between 0 and 4."},
      {"Tree_crops", 14, 1e308,
       "Tree_crops!N3, the basal crop coefficient of December, is not a number the program can "
       "use (1e+308); it must lie between 0 and 4."},
      {"Tree_crops", 2, -150,
       "Tree_crops!B3, the maximum root depth, is negative (-150); it must lie between 0 and "
       "1000 cm."},
      {"Tree_crops", 4, -1e-300,
       "Tree_crops!D3, the basal crop coefficient of February, is negative (-1e-300); it must "
       "lie between 0 and 4."},
      {"Tree_crops", 15, 1.01,
       "Tree_crops!O3, the maximum ground cover, is larger than 1 (1.01); it must lie between 0 "
       "and 1."},
  };
  for (const Caso& caso : casos) {
    auto libro = prueba::libroCultivos();
    libro.setCell(caso.hoja, 3, caso.columna, N(caso.valor));
    const bool arbol = std::string(caso.hoja) == "Tree_crops";
    const std::string quien = arbol                                              ? almendro
                              : std::string(caso.hoja) == "Annual_crops_irrigat" ? riego
                                                                                 : trigo;
    Ventana v(std::move(libro));
    Form4& f = v.form;
    f.Option1_Click(arbol ? 1 : 0);
    f.Combo1_Click(0);
    f.Combo1_Click(1);
    EXPECT_EQ(v.mensajes(), std::vector<std::string>{quien + caso.mensaje});
    EXPECT_EQ(f.Combo1_ListIndex(), 0) << caso.mensaje;
    EXPECT_TRUE(seriesFinitas(f)) << caso.mensaje;
  }
}

// The workbooks in which users met huge library numbers: each is refused naming its cell, and
// nothing non-finite reaches the series or "Annotate".
TEST(Form4, TheUsersWorkbooksWithHugeLibraryNumbers) {
  struct Caso {
    const char* archivo;
    int tipo;
    int k;
    const char* mensaje;
  };
  const Caso casos[] = {
      {"tree-kcb-minus-1e308.xlsx", 1, 2,
       "The tree crop 'Almond' (Tree_crops row 4): Tree_crops!C4, the basal crop coefficient of "
       "January, is not a number the program can use (-1e+308); it must lie between 0 and 4."},
      {"tree-kcb-plus-1e308.xlsx", 1, 2,
       "The tree crop 'Almond' (Tree_crops row 4): Tree_crops!C4, the basal crop coefficient of "
       "January, is not a number the program can use (1e+308); it must lie between 0 and 4."},
      {"stage-share-148000.xlsx", 0, 3,
       "The annual crop 'Barley (spring)' (Annual_crops_growth row 5): Annual_crops_growth!G5, "
       "the initial stage's share of the season, is larger than 1 (148000); it must lie between "
       "0 and 1."},
      {"stage-share-1e300.xlsx", 0, 4,
       "The annual crop 'Tomato' (Annual_crops_growth row 6): Annual_crops_growth!G6, the "
       "initial stage's share of the season, is not a number the program can use (1e+300); it "
       "must lie between 0 and 1."},
      {"stage-share-minus-1e308.xlsx", 0, 9,
       "The annual crop 'Alfalfa (hay)' (Annual_crops_growth row 11): Annual_crops_growth!J11, "
       "the late season stage's share of the season, is not a number the program can use "
       "(-1e+308); it must lie between 0 and 1."},
  };
  for (const Caso& caso : casos) {
    testing::ScratchDir dir;
    const auto copia = dir.path() / caso.archivo;
    std::filesystem::copy_file(testing::SourceDir() / "tests/crop_tool/data" / caso.archivo, copia);
    std::filesystem::permissions(copia, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    Ventana v(workbook::Workbook::open(copia));
    v.form.Option1_Click(caso.tipo);
    v.form.Combo1_Click(caso.k);
    EXPECT_EQ(v.mensajes(), std::vector<std::string>{caso.mensaje});
    EXPECT_EQ(v.form.Combo1_ListIndex(), -1);
    v.clic(xDelDia(100));
    EXPECT_TRUE(seriesFinitas(v.form)) << caso.archivo;
    v.dialogs.input_answers = {"X"};
    v.mensajes();
    v.form.Command1_Click();
    EXPECT_TRUE(v.mensajes().empty()) << caso.archivo;
  }
}

// A stage of no days in a one-day season: the message speaks of "an initial stage" and of
// "1 day".
TEST(Form4, TheStageOfNoDaysMessageReadsAsEnglish) {
  auto libro = prueba::libroCultivos();
  libro.setCell(kHojaAnuales, 2, 12, N(1));
  Ventana v(std::move(libro));
  v.form.Option1_Click(0);
  v.form.Combo1_Click(0);
  const auto mensajes = v.mensajes();
  ASSERT_EQ(mensajes.size(), 1u);
  EXPECT_EQ(mensajes[0].rfind("The annual crop 'Maize' (Annual_crops_growth row 2) has an initial "
                              "stage of 0 days in a season of 1 day (its share of the season is "
                              "0.2 in Annual_crops_growth!G2), but Annual_crops_irrigat gives",
                              0),
            0u)
      << mensajes[0];
}

// A coefficient next to nothing (a lost exponent sign) is within range; the grid shows it in a
// few characters, as a spreadsheet would, not in three hundred digits.
TEST(Form4, TheGridShowsANumberNextToNothingInShortForm) {
  auto libro = prueba::libroCultivos();
  libro.setCell("Tree_crops", 2, 3, N(1e-300));
  libro.setCell(kHojaAnuales, 2, 3, N(-0.0));
  libro.setCell(kHojaAnuales, 2, 4, N(2e-300));
  Ventana v(std::move(libro));
  v.form.Option1_Click(0);
  v.form.Combo1_Click(0);
  EXPECT_EQ(filaGrid(v.form, 1).substr(0, 13), "Kcb|0|2e-300|") << filaGrid(v.form, 1);
  v.form.Option1_Click(1);
  v.form.Combo1_Click(0);
  EXPECT_EQ(filaGrid(v.form, 1).substr(0, 11), "Kcb|1e-300|") << filaGrid(v.form, 1);
  EXPECT_TRUE(v.mensajes().empty());
}

}  // namespace
}  // namespace medravolix::crop_tool
