// The tool window when the bound workbook changes under it: its file edited on disk between two
// choices, or another workbook bound while the window is open. What the list names is always
// the station the window loads, shows and writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "eto_tool/form2.h"
#include "eto_tool/hojas_clima.h"
#include "support/fake_dialogs.h"
#include "support/test_support.h"
#include "ui/recording_canvas.h"

namespace medravolix::eto_tool {
namespace {

namespace fs = std::filesystem;
using workbook::CellValue;
using workbook::Workbook;

struct Estacion {
  std::string nombre;
  double lluvia_mm;  // every month
};

// A station library of these stations, saved over `ruta` (as a spreadsheet program saves it).
void guardarClima(const fs::path& ruta, const std::vector<Estacion>& estaciones) {
  Workbook libro = Workbook::create({"Clim_WS", "Clim_data", "Clim_batch"});
  libro.setCell("Clim_WS", 1, 1, CellValue::text("Station"));
  libro.setCell("Clim_batch", 1, 1, CellValue::text("Climate id"));
  for (int k = 0; k < static_cast<int>(estaciones.size()); ++k) {
    const int r = filaEstacion(k);
    libro.setCell("Clim_WS", r, 1, CellValue::text(estaciones[k].nombre));
    libro.setCell("Clim_WS", r, 2, CellValue::number(37));
    libro.setCell("Clim_WS", r, 3, CellValue::number(100));
    for (int m = 1; m <= 12; ++m) {
      const int f = filaDatosClima(k, m);
      libro.setCell("Clim_data", f, 2, CellValue::number(15 + m / 10.0));
      libro.setCell("Clim_data", f, 10, CellValue::number(estaciones[k].lluvia_mm));
      libro.setCell("Clim_data", f, 11, CellValue::number(5));
    }
  }
  libro.saveAs(ruta);
}

struct Ventana {
  explicit Ventana(const fs::path& ruta) : libro(std::make_unique<Workbook>(Workbook::open(ruta))) {
    form.Form_Load();
  }
  // "File" > "Workbook" with another file: the main window then tells the open tool.
  void enlazar(const fs::path& ruta) {
    libro = std::make_unique<Workbook>(Workbook::open(ruta));
    form.revisarLibro();
  }
  std::vector<std::string> mensajes() {
    std::vector<std::string> textos;
    for (const auto& m : dialogs.messages) textos.push_back(m.text);
    dialogs.messages.clear();
    return textos;
  }
  double lluviaMostrada() const { return datos.ESTACION.PRECIPITACION[1]; }

  std::unique_ptr<Workbook> libro;
  testing::FakeDialogs dialogs;
  ui::RecordingCanvas canvas;
  DatosForm2 datos;
  Form2 form{{dialogs, [this] { return libro.get(); }, datos, canvas, {}}};
};

const std::string kReleida =
    "The workbook changed on disk and was read again, so the list of weather stations was read "
    "again.";

// A library edited on disk: a row inserted above the stations between two choices. The choice
// made in the old list is not loaded under another station's name; the station shown before is
// dropped because it moved; the new list then loads what it names.
TEST(Form2Revision, AStationChosenFromTheListBeforeTheFileChangedIsNotLoadedUnderItsName) {
  testing::ScratchDir dir;
  const fs::path ruta = dir / "clima.xlsx";
  guardarClima(ruta, {{"Córdoba", 40}, {"Almería", 10}, {"Granada", 30}});
  Ventana v(ruta);
  v.form.Combo1_Click(1);
  ASSERT_EQ(v.form.MSHFlexGrid1().text(1, 0), "Almería");
  guardarClima(ruta, {{"Cádiz", 50}, {"Córdoba", 40}, {"Almería", 10}, {"Granada", 30}});

  v.form.Combo1_Click(2);  // "Granada" in the list shown; "Almería" in the file now
  EXPECT_EQ(v.mensajes(),
            std::vector<std::string>{
                kReleida +
                "\r\n\r\nThe station 'Almería' is no longer at its place in the list, so it is no "
                "longer chosen.\r\n\r\n'Granada' is no longer at its place in the list: choose the "
                "station again from the list."});
  EXPECT_EQ(v.form.Combo1_List(),
            (std::vector<std::string>{"Cádiz", "Córdoba", "Almería", "Granada"}));
  EXPECT_EQ(v.form.Combo1_ListIndex(), -1);
  EXPECT_FALSE(v.form.Frame1_Enabled());
  EXPECT_EQ(v.form.MSHFlexGrid1().text(1, 0), "");
  EXPECT_EQ(v.datos.ESTACION.NOMBRE_ESTACION, "");

  v.form.Combo1_Click(3);
  EXPECT_EQ(v.form.MSHFlexGrid1().text(1, 0), "Granada");
  EXPECT_EQ(v.lluviaMostrada(), 30);
  EXPECT_TRUE(v.mensajes().empty());
}

// A change elsewhere in the file keeps the station shown and its method; a change of its own
// rows drops it, and "Annotate" then writes nothing from the old reading.
TEST(Form2Revision, AnnotateWritesOnlyWhatTheFileStillHolds) {
  testing::ScratchDir dir;
  const fs::path ruta = dir / "clima.xlsx";
  guardarClima(ruta, {{"Córdoba", 40}, {"Almería", 10}});
  Ventana v(ruta);
  v.form.Combo1_Click(0);
  v.form.Option1_Click(0);
  guardarClima(ruta, {{"Córdoba", 40}, {"Almería", 12}});  // another station's rainfall
  v.dialogs.input_answers = {"S1"};
  v.form.Command1_Click();
  EXPECT_TRUE(v.mensajes().empty());
  EXPECT_TRUE(v.form.Option1(0));
  EXPECT_EQ(Workbook::open(ruta).cell("Clim_batch", 2, 1), CellValue::text("S1"));

  guardarClima(ruta, {{"Córdoba", 45}, {"Almería", 12}});  // its own rainfall
  v.dialogs.input_answers = {"S2"};
  v.form.Command1_Click();
  EXPECT_EQ(v.mensajes(),
            std::vector<std::string>{
                kReleida + "\r\n\r\nThe data of the station 'Córdoba' changed in the workbook, "
                           "so it is no longer chosen.\r\n\r\nNothing was written to "
                           "Clim_batch: choose the station again, then annotate."});
  EXPECT_TRUE(Workbook::open(ruta).cell("Clim_batch", 2, 1).isEmpty());
  EXPECT_EQ(v.form.Combo1_ListIndex(), -1);
  EXPECT_FALSE(v.form.Option1(0) || v.form.Option1_Enabled(0));

  v.form.Combo1_Click(0);  // chosen again, with its method: its new rainfall is written
  v.form.Option1_Click(0);
  v.dialogs.input_answers = {"S3"};
  v.form.Command1_Click();
  const Workbook guardado = Workbook::open(ruta);
  EXPECT_EQ(guardado.cell("Clim_batch", 2, 1), CellValue::text("S3"));
  EXPECT_EQ(guardado.number("Clim_batch", 2, 2), 45);
}

// The window's station is kept after it closed too, but a window opened again shows none: its
// "Annotate" writes nothing, neither the station kept nor one whose rows changed since.
TEST(Form2Revision, AStationKeptWhileTheWindowWasClosedIsNotWrittenByTheNextWindow) {
  testing::ScratchDir dir;
  const fs::path ruta = dir / "clima.xlsx";
  guardarClima(ruta, {{"Córdoba", 40}});
  Ventana v(ruta);
  v.form.Combo1_Click(0);
  v.form.Option1_Click(0);
  guardarClima(ruta, {{"Jaén", 40}});
  Form2 otra({v.dialogs, [&v] { return v.libro.get(); }, v.datos, v.canvas, {}});
  otra.Form_Load();
  v.dialogs.input_answers = {"S1"};
  otra.Command1_Click();
  EXPECT_EQ(v.mensajes(), std::vector<std::string>{Form2::kSeleccione});
  EXPECT_TRUE(v.dialogs.prompts.empty());
  EXPECT_TRUE(Workbook::open(ruta).cell("Clim_batch", 2, 1).isEmpty());
}

// "Annotate" writes only a station shown with its ETo computed: right after the window opens,
// after a station is chosen and after another station is chosen, it asks for what is missing and
// neither asks for the id nor writes.
TEST(Form2Revision, AnnotateWithoutAStationOrAMethodWritesNothing) {
  testing::ScratchDir dir;
  const fs::path ruta = dir / "clima.xlsx";
  guardarClima(ruta, {{"Córdoba", 40}, {"Almería", 10}});
  const std::string antes = testing::ReadFile(ruta);
  Ventana v(ruta);
  const auto anotar = [&v](const char* id) {
    v.dialogs.input_answers = {id};
    v.form.Command1_Click();
    return v.mensajes();
  };
  using Textos = std::vector<std::string>;
  EXPECT_EQ(anotar("A"), Textos{Form2::kSeleccione});
  v.form.Combo1_Click(0);
  EXPECT_EQ(anotar("B"), Textos{Form2::kElijaMetodo});
  v.form.Option1_Click(0);
  v.form.Combo1_Click(1);  // another station: its method is not chosen yet
  EXPECT_EQ(anotar("C"), Textos{Form2::kElijaMetodo});
  EXPECT_TRUE(v.dialogs.prompts.empty());
  EXPECT_TRUE(testing::ReadFile(ruta) == antes);

  v.form.Option1_Click(0);
  EXPECT_TRUE(anotar("D").empty());
  EXPECT_EQ(Workbook::open(ruta).cell("Clim_batch", 2, 1), CellValue::text("D"));
  EXPECT_GT(Workbook::open(ruta).number("Clim_batch", 2, 4), 0);  // Thornthwaite's ETo
}

// Another workbook bound while the window is open: the list is read from it at once; a station
// that stands at the same place with the same data stays chosen, another one is dropped, and a
// choice made in the list of the first workbook is not loaded from the second.
TEST(Form2Revision, ASecondWorkbookBoundWhileTheWindowIsOpen) {
  testing::ScratchDir dir;
  guardarClima(dir / "a.xlsx", {{"Córdoba", 40}, {"Almería", 10}});
  guardarClima(dir / "b.xlsx", {{"Córdoba", 40}, {"Huelva", 20}, {"Almería", 11}});
  guardarClima(dir / "c.xlsx", {{"Sevilla", 40}, {"Almería", 10}});
  Ventana v(dir / "a.xlsx");
  v.form.Combo1_Click(0);
  v.enlazar(dir / "b.xlsx");
  EXPECT_TRUE(v.mensajes().empty());
  EXPECT_EQ(v.form.Combo1_List().size(), 3u);
  EXPECT_EQ(v.form.Combo1_ListIndex(), 0);

  v.form.Combo1_Click(2);  // Almería of b.xlsx
  v.enlazar(dir / "c.xlsx");
  EXPECT_EQ(v.mensajes(), std::vector<std::string>{
                              "Another workbook was opened with File > Workbook (c.xlsx), so "
                              "the list of weather stations was read from it.\r\n\r\nThe "
                              "station 'Almería' is no longer at its place in the list, so it is "
                              "no longer chosen."});
  EXPECT_EQ(v.form.Combo1_List(), (std::vector<std::string>{"Sevilla", "Almería"}));
  EXPECT_EQ(v.form.Combo1_ListIndex(), -1);

  // Without being told, the window finds the new workbook at the next choice.
  v.libro = std::make_unique<Workbook>(Workbook::open(dir / "a.xlsx"));
  v.form.Combo1_Click(1);  // "Almería" in the list of c.xlsx, Almería of a.xlsx too
  EXPECT_TRUE(v.mensajes().empty());
  EXPECT_EQ(v.form.MSHFlexGrid1().text(1, 0), "Almería");
  EXPECT_EQ(v.lluviaMostrada(), 10);
}

}  // namespace
}  // namespace medravolix::eto_tool
