// Library rows the crop tool refuses because the crop they describe cannot be: a stage whose
// coefficient passes the mid-season one (the roots and cover would pass their maximum), a
// mid-season coefficient next to nothing, irrigation shares that give the crop more (or less)
// water than its season has, and a cell that holds a text in place of a number.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "crop_tool/form4.h"
#include "crop_tool/libro_cultivos.h"

namespace medravolix::crop_tool {
namespace {

using prueba::N;
using prueba::T;
using prueba::Ventana;
using workbook::CellValue;

struct Celda {
  const char* hoja;
  int columna;
  CellValue valor;
};

// Maize (row 2) changed in these cells, chosen after Wheat: the messages shown, and whether Maize
// became the chosen crop.
std::vector<std::string> elegirMaizCon(const std::vector<Celda>& celdas, bool& elegido) {
  auto libro = prueba::libroCultivos();
  for (const Celda& c : celdas) libro.setCell(c.hoja, 2, c.columna, c.valor);
  Ventana v(std::move(libro));
  v.form.Option1_Click(std::string(celdas.at(0).hoja) == "Tree_crops" ? 1 : 0);
  v.form.Combo1_Click(1);
  v.mensajes();
  v.form.Combo1_Click(0);
  elegido = v.form.Combo1_ListIndex() == 0;
  return v.mensajes();
}

const std::string kMaiz = "The annual crop 'Maize' (Annual_crops_growth row 2)";

// Maize changed in the cells of each case is refused with one message that holds the case's
// text, or chosen when the case's text is empty.
struct Caso {
  std::vector<Celda> celdas;
  std::string mensaje;
};

void comprobar(const std::vector<Caso>& casos) {
  for (const Caso& caso : casos) {
    bool elegido = false;
    const auto mensajes = elegirMaizCon(caso.celdas, elegido);
    EXPECT_EQ(elegido, caso.mensaje.empty()) << caso.mensaje;
    ASSERT_EQ(mensajes.size(), caso.mensaje.empty() ? 0u : 1u) << caso.mensaje;
    if (caso.mensaje.empty()) continue;
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, caso.mensaje, mensajes[0]);
  }
}

TEST(Form4Limites, CropsWhoseRootsCoverOrIrrigationWouldPassTheirSeasonAreRefused) {
  comprobar({
      {{{"Annual_crops_growth", 3, N(4)}},
       kMaiz +
           ": the initial stage's basal crop coefficient, 4 in Annual_crops_growth!C2, is larger "
           "than the mid-season one, 1.2 in Annual_crops_growth!E2; the root depth and ground "
           "cover grow with the coefficient up to their maximum at mid-season, so the mid-season "
           "coefficient must be the largest of the four."},
      {{{"Annual_crops_growth", 3, N(1.5)}, {"Annual_crops_growth", 6, N(1.3)}},
       "stages' basal crop coefficients, 1.5 in Annual_crops_growth!C2 and 1.3 in "
       "Annual_crops_growth!F2, are larger than the mid-season one"},
      {{{"Annual_crops_growth", 5, N(1e-300)}},
       "a mid-season basal crop coefficient of 1e-300 in Annual_crops_growth!E2: its root depth "
       "and ground cover are scaled by it, so it must be at least 0.1."},
      {{{"Annual_crops_growth", 6, N(1.2)}}, ""},  // a late stage as high as the mid-season one
      {{{"Annual_crops_irrigat", 4, N(1)},
        {"Annual_crops_irrigat", 5, N(1)},
        {"Annual_crops_irrigat", 6, N(1)},
        {"Annual_crops_irrigat", 7, N(1)}},
       "The irrigation of the annual crop 'Maize' (Annual_crops_irrigat row 2): the shares of the "
       "irrigation depth of its four stages, in Annual_crops_irrigat!D2 to "
       "Annual_crops_irrigat!G2, "
       "add up to 4; the stages divide the season's 600 mm between them, so the shares must add "
       "up to 1."},
      {{{"Annual_crops_irrigat", 11, N(0.1)}, {"Annual_crops_irrigat", 12, N(1)}},
       "Annual_crops_irrigat!H2 to Annual_crops_irrigat!K2, add up to 0.9"},
      // Shares of a season without irrigation spread nothing; rounded shares (0.999) are taken.
      {{{"Annual_crops_irrigat", 3, N(0)}, {"Annual_crops_irrigat", 4, N(0.9)}}, ""},
      {{{"Annual_crops_irrigat", 4, N(0.099)}, {"Annual_crops_irrigat", 8, N(0.109)}}, ""},
  });
}

// A text where a library number is expected names the crop and the value it stands for, as a
// number out of range does, and says what the cell must hold.
TEST(Form4Limites, ATextInALibraryCellNamesTheCropAndTheValue) {
  comprobar({
      {{{"Annual_crops_growth", 4, T("0,65")}},
       kMaiz +
           ": Annual_crops_growth!D2, the development stage's basal crop coefficient, holds the "
           "text \"0,65\" where a number is expected; it must be a number between 0 and 4."},
      {{{"Annual_crops_irrigat", 3, T(" ")}},
       "(Annual_crops_irrigat row 2): Annual_crops_irrigat!C2, the irrigation depth of the season, "
       "looks empty"},
      {{{"Tree_crops", 9, T("n/a")}},
       "The tree crop 'Olive' (Tree_crops row 2): Tree_crops!I2, the basal crop coefficient of "
       "July, holds the text"},
  });
}

}  // namespace
}  // namespace medravolix::crop_tool
