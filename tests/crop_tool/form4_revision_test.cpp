// The crop tool when the bound workbook changes under it: the libraries edited on disk between two
// choices, or another workbook bound while the window is open. What the list names is the crop
// the window loads, shows and writes; crops on the calendar stay only while their rows are as
// they were read.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "crop_tool/form4.h"
#include "crop_tool/libro_cultivos.h"
#include "support/test_support.h"

namespace medravolix::crop_tool {
namespace {

namespace fs = std::filesystem;
using prueba::filaGrid;
using prueba::N;
using prueba::T;
using prueba::Ventana;
using prueba::xDelDia;
using workbook::Workbook;

// The test library with its first annual crop named as in the sample, saved at `ruta`.
void guardarCultivos(const fs::path& ruta) {
  Workbook libro = prueba::libroCultivos();
  libro.setCell(kHojaAnuales, 2, 1, T("Maize (grain)"));
  libro.setCell(kHojaRiegosAnuales, 2, 1, T("Maize (grain)"));
  libro.saveAs(ruta);
}

// Opens the file, changes it and saves it, as a spreadsheet program does.
template <typename F>
void editar(const fs::path& ruta, F cambio) {
  Workbook libro = Workbook::open(ruta);
  cambio(libro);
  libro.save();
}

// Inserts a row above row `r` of a sheet (columns 1 to 15), as a spreadsheet program does.
void insertarFila(Workbook& libro, std::string_view hoja, int r,
                  const std::vector<workbook::CellValue>& valores) {
  for (int f = libro.lastRow(hoja); f >= r; --f) {
    for (int c = 1; c <= 15; ++c) libro.setCell(hoja, f + 1, c, libro.cell(hoja, f, c));
  }
  for (int c = 1; c <= 15; ++c) {
    libro.setCell(hoja, r, c, c <= static_cast<int>(valores.size()) ? valores[c - 1] : N(0));
  }
}

const std::string kReleidaAnuales =
    "The workbook changed on disk and was read again, so the list of annual crops was read again.";
const std::string kQuitados =
    "These crops were dropped from the calendar, because the workbook no longer holds them as "
    "they were (their rows in Annual_crops_growth or Annual_crops_irrigat changed, or they are no "
    "longer at their place in the list):\r\n\r\n";

// A crop inserted at the top of Annual_crops_growth between two choices.
// "Maize (grain)" chosen in the list shown is not loaded from the inserted row; the crop chosen
// and placed before moved, so it is dropped; the new list then loads what it names.
TEST(Form4Revision, ACropInsertedOnDiskIsNotLoadedUnderTheNameChosen) {
  testing::ScratchDir dir;
  const fs::path ruta = dir / "cultivos.xlsx";
  guardarCultivos(ruta);
  Ventana v(Workbook::open(ruta));
  Form4& f = v.form;
  f.Option1_Click(0);
  f.Combo1_Click(1);  // Wheat
  v.clic(xDelDia(30));
  ASSERT_EQ(f.List1().size(), 1u);
  const std::string trigo = f.List1()[0];
  editar(ruta, [](Workbook& libro) {
    insertarFila(libro, kHojaAnuales, 2,
                 {T("Sorghum"), N(150), N(0.15), N(0.4), N(1.0), N(0.2), N(0.2), N(0.35), N(0.3),
                  N(0.15), N(0.8), N(130)});
  });
  v.mensajes();

  f.Combo1_Click(0);
  EXPECT_EQ(v.mensajes(),
            std::vector<std::string>{
                kReleidaAnuales +
                "\r\n\r\nThe crop 'Wheat' is no longer at its place in the list, so it is no "
                "longer chosen.\r\n\r\n" +
                kQuitados + trigo +
                "\r\n\r\n'Maize (grain)' is no longer at its place in the list: choose the crop "
                "again from the list."});
  EXPECT_EQ(f.Combo1_List(),
            (std::vector<std::string>{"Sorghum", "Maize (grain)", "Wheat", "Long"}));
  EXPECT_EQ(f.Combo1_ListIndex(), -1);
  EXPECT_EQ(filaGrid(f, 1), "Kcb||||");
  EXPECT_TRUE(f.List1().empty());
  EXPECT_EQ(f.rotacion().N_CULTIVOS(), 0);
  EXPECT_EQ(f.KCB_MENSUAL(), Mensual{});
  EXPECT_EQ(f.datos().FRACCION_MOJADA_CULTIVO, 0.0);

  f.Combo1_Click(1);
  EXPECT_EQ(filaGrid(f, 1), "Kcb|0.3|0.8|1.2|0.5");  // Maize's own coefficients
  EXPECT_EQ(f.DURACION_CICLO(), 125);
  EXPECT_EQ(f.datos().FRACCION_MOJADA_CULTIVO, 1.0);
  EXPECT_TRUE(v.mensajes().empty());
}

// Of the crops on the calendar, the one whose row changed is dropped at the next click; the
// other keeps its day, and the series are those of the crops left.
TEST(Form4Revision, CropsWhoseRowsAreUnchangedStayOnTheCalendar) {
  testing::ScratchDir dir;
  const fs::path ruta = dir / "cultivos.xlsx";
  guardarCultivos(ruta);
  Ventana v(Workbook::open(ruta));
  Form4& f = v.form;
  f.Option1_Click(0);
  f.Combo1_Click(0);
  v.clic(xDelDia(100));
  f.Combo1_Click(1);
  v.clic(xDelDia(250));
  ASSERT_EQ(f.rotacion().N_CULTIVOS(), 2);
  const std::vector<std::string> lineas = f.List1();
  editar(ruta, [](Workbook& libro) { libro.setCell(kHojaAnuales, 3, 5, N(1.15)); });
  v.mensajes();
  v.dialogs.questions.clear();

  v.clic(xDelDia(320));
  EXPECT_EQ(v.mensajes(), std::vector<std::string>{
                              kReleidaAnuales +
                              "\r\n\r\nThe data of the crop 'Wheat' changed in the workbook, so it "
                              "is no longer chosen.\r\n\r\n" +
                              kQuitados + lineas[1]});
  EXPECT_TRUE(v.dialogs.questions.empty());  // nothing is added after the message
  EXPECT_EQ(f.List1(), std::vector<std::string>{lineas[0]});

  Ventana sola(Workbook::open(ruta));  // Maize alone, sown on the same day
  sola.form.Option1_Click(0);
  sola.form.Combo1_Click(0);
  sola.clic(xDelDia(100));
  EXPECT_EQ(f.KCB_MENSUAL(), sola.form.KCB_MENSUAL());
  EXPECT_EQ(f.RAIZ_MENSUAL(), sola.form.RAIZ_MENSUAL());
  EXPECT_EQ(f.DATOS_RIEGO().RIEGO_MENSUAL, sola.form.DATOS_RIEGO().RIEGO_MENSUAL);
  EXPECT_EQ(f.OCUPACION_MENSUAL(), sola.form.OCUPACION_MENSUAL());
}

// "Annotate" writes the rotation when only other rows changed, and nothing when the irrigation of
// a crop on the calendar changed since it was read.
TEST(Form4Revision, AnnotateWritesNothingReadBeforeTheFileChanged) {
  testing::ScratchDir dir;
  const fs::path ruta = dir / "cultivos.xlsx";
  guardarCultivos(ruta);
  Ventana v(Workbook::open(ruta));
  Form4& f = v.form;
  f.Option1_Click(0);
  f.Combo1_Click(0);
  v.clic(xDelDia(100));
  const std::string maiz = f.List1().at(0);
  editar(ruta, [](Workbook& libro) { libro.setCell(kHojaArboles, 2, 3, N(0.7)); });
  v.dialogs.input_answers = {"S1"};
  f.Command1_Click();
  EXPECT_TRUE(v.mensajes().empty());
  EXPECT_EQ(Workbook::open(ruta).cell("Irrigat_batch", 2, 1), T("S1"));

  editar(ruta, [](Workbook& libro) { libro.setCell(kHojaRiegosAnuales, 2, 3, N(700)); });
  v.dialogs.input_answers = {"S2"};
  f.Command1_Click();
  EXPECT_EQ(v.mensajes(), std::vector<std::string>{
                              kReleidaAnuales +
                              "\r\n\r\nThe data of the crop 'Maize (grain)' changed in the "
                              "workbook, so it is no longer chosen.\r\n\r\n" +
                              kQuitados + maiz +
                              "\r\n\r\nNothing was written to Crop_batch or Irrigat_batch: check "
                              "the crops, then annotate again."});
  const Workbook guardado = Workbook::open(ruta);
  EXPECT_TRUE(guardado.cell("Irrigat_batch", 3, 1).isEmpty());
  EXPECT_TRUE(guardado.cell("Crop_batch", 14, 1).isEmpty());
}

// Another workbook bound while a tree crop is shown: the same tree with the same row stays, one
// whose coefficients differ is dropped with its series.
TEST(Form4Revision, ASecondWorkbookBoundWhileATreeCropIsShown) {
  testing::ScratchDir dir;
  guardarCultivos(dir / "a.xlsx");
  guardarCultivos(dir / "b.xlsx");
  guardarCultivos(dir / "c.xlsx");
  editar(dir / "c.xlsx", [](Workbook& libro) { libro.setCell(kHojaArboles, 2, 8, N(0.66)); });
  Ventana v(Workbook::open(dir / "a.xlsx"));
  Form4& f = v.form;
  f.Option1_Click(1);
  f.Combo1_Click(0);  // Olive
  v.libro = std::make_unique<Workbook>(Workbook::open(dir / "b.xlsx"));
  f.revisarLibro();
  EXPECT_TRUE(v.mensajes().empty());
  EXPECT_EQ(f.Combo1_ListIndex(), 0);
  EXPECT_EQ(f.List1(), std::vector<std::string>{"Olive"});

  v.libro = std::make_unique<Workbook>(Workbook::open(dir / "c.xlsx"));
  f.revisarLibro();
  EXPECT_EQ(v.mensajes(), std::vector<std::string>{
                              "Another workbook was opened with File > Workbook (c.xlsx), so the "
                              "list of tree crops was read from it.\r\n\r\nThe data of the tree "
                              "crop 'Olive' changed in the workbook, so it is no longer chosen."});
  EXPECT_EQ(f.Combo1_ListIndex(), -1);
  EXPECT_TRUE(f.List1().empty());
  EXPECT_EQ(f.KCB_MENSUAL(), Mensual{});
  EXPECT_EQ(filaGrid(f, 1), "Kcb||||||||||||");
}

// A tree crop's "Annotate" writes no wetted fraction: a change on disk to the annual crop chosen
// before the crop type was switched does not stop it, and is not reported as a choice dropped.
TEST(Form4Revision, ATreeCropIsAnnotatedWhateverBecameOfTheAnnualCropChosenBefore) {
  testing::ScratchDir dir;
  const fs::path ruta = dir / "cultivos.xlsx";
  guardarCultivos(ruta);
  Ventana v(Workbook::open(ruta));
  Form4& f = v.form;
  f.Option1_Click(0);
  f.Combo1_Click(0);  // Maize, whose wetted fraction the window keeps
  f.Option1_Click(1);
  f.Combo1_Click(0);  // Olive
  const Mensual kcb = f.KCB_MENSUAL();
  editar(ruta, [](Workbook& libro) { libro.setCell(kHojaAnuales, 2, 5, N(1.15)); });
  v.mensajes();
  v.dialogs.input_answers = {"OL1"};
  f.Command1_Click();
  EXPECT_TRUE(v.mensajes().empty());
  const Workbook guardado = Workbook::open(ruta);
  EXPECT_EQ(guardado.cell("Crop_batch", 2, 1), T("OL1"));
  EXPECT_EQ(guardado.number("Crop_batch", 2, 2), kcb[1]);
  EXPECT_EQ(f.Combo1_ListIndex(), 0);
}

// The wetted fraction "Annotate" writes is that of a crop on the calendar, whose irrigation the
// row holds: the crop chosen last when it is placed, else the crop placed last. When every crop
// was dropped, "Annotate" writes no year without crops until the calendar is cleared. A change
// saved while "Would you like to add this crop?" is open is checked after the answer.
TEST(Form4Revision, TheWettedFractionWrittenIsThatOfACropOnTheCalendar) {
  testing::ScratchDir dir;
  const fs::path ruta = dir / "cultivos.xlsx";
  guardarCultivos(ruta);
  Ventana v(Workbook::open(ruta));
  Form4& f = v.form;
  const auto anotar = [&](const std::string& id) {
    v.dialogs.input_answers = {id};
    f.Command1_Click();
    const Workbook guardado = Workbook::open(ruta);
    for (int r = 2; r <= guardado.lastRow("Irrigat_batch"); ++r) {
      if (guardado.cell("Irrigat_batch", r, 1) == T(id))
        return guardado.number("Irrigat_batch", r, 26);
    }
    return -1.0;  // nothing written
  };
  f.Option1_Click(0);
  f.Combo1_Click(1);  // Wheat, wetted fraction 0.5
  v.clic(xDelDia(30));
  f.Combo1_Click(0);  // Maize, wetted fraction 1, not placed
  EXPECT_EQ(anotar("W1"), 0.5);
  editar(ruta, [](Workbook& libro) { libro.setCell(kHojaAnuales, 2, 4, N(0.85)); });
  EXPECT_EQ(anotar("W2"), -1.0);  // Maize is no longer chosen: nothing written
  v.mensajes();
  EXPECT_EQ(anotar("W3"), 0.5);
  EXPECT_TRUE(v.mensajes().empty());
  f.Combo1_Click(0);
  v.clic(xDelDia(200));
  EXPECT_EQ(anotar("W4"), 1.0);  // the crop chosen last is on the calendar
  f.Combo1_Click(1);
  EXPECT_EQ(anotar("W4b"), 0.5);  // so is Wheat, chosen again, though placed first

  // Every crop dropped: no year without crops is written in place of the rotation until Clear.
  editar(ruta, [](Workbook& libro) {
    libro.setCell(kHojaRiegosAnuales, 2, 2, N(0.9));
    libro.setCell(kHojaRiegosAnuales, 3, 2, N(0.4));
  });
  EXPECT_EQ(anotar("W5"), -1.0);
  v.mensajes();
  EXPECT_TRUE(f.List1().empty());
  EXPECT_EQ(anotar("W6"), -1.0);
  EXPECT_EQ(v.mensajes(), std::vector<std::string>{Form4::kSinCultivos});
  f.Command2_Click();
  EXPECT_EQ(anotar("W7"), 0.0);  // a year without crops, chosen
  EXPECT_TRUE(v.mensajes().empty());

  // A change saved while the question is open: the crop is not added with the values read before
  // it, and the window says why; a change elsewhere adds the crop.
  f.Combo1_Click(1);
  v.dialogs.while_question_open = [&] {
    editar(ruta, [](Workbook& libro) { libro.setCell(kHojaAnuales, 3, 5, N(1.05)); });
  };
  v.mensajes();
  v.clic(xDelDia(30));
  EXPECT_EQ(v.mensajes(),
            std::vector<std::string>{kReleidaAnuales +
                                     "\r\n\r\nThe data of the crop 'Wheat' changed in the "
                                     "workbook, so it is no longer chosen."});
  EXPECT_EQ(f.rotacion().N_CULTIVOS(), 0);
  EXPECT_EQ(f.Combo1_ListIndex(), -1);
  f.Combo1_Click(1);
  v.dialogs.while_question_open = [&] {
    editar(ruta, [](Workbook& libro) { libro.setCell(kHojaArboles, 2, 3, N(0.7)); });
  };
  v.clic(xDelDia(30));
  EXPECT_TRUE(v.mensajes().empty());
  EXPECT_EQ(f.rotacion().N_CULTIVOS(), 1);
  EXPECT_EQ(f.rotacion().cultivo(1).KCB_PERIODO[3], 1.05);
}

}  // namespace
}  // namespace medravolix::crop_tool
