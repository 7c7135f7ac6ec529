// "Annotate" on a copy of the sample workbook, after a station that cannot be loaded: the block
// of the station still shown lands where the batch looks, reads back with an independent reader,
// and is found by the batch, also under an id typed as a number in Sim_batch; an answer of blanks
// appends nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "batch/ejecutar_batch.h"
#include "batch/lectura_batch.h"
#include "eto_tool/form2.h"
#include "support/fake_dialogs.h"
#include "support/test_support.h"
#include "ui/recording_canvas.h"

#define EXPECT_CONTIENE(texto, parte) EXPECT_PRED_FORMAT2(::testing::IsSubstring, parte, texto)

namespace medravolix::eto_tool {
namespace {

using workbook::CellValue;
using workbook::Workbook;

constexpr const char* kLeer = R"PY(
import sys, openpyxl
ws = openpyxl.load_workbook(sys.argv[1])['Clim_batch']
for r in (74, 85, 86, 97, 98):
    print(r, [ws.cell(r, c).value for c in range(1, 6)])
)PY";

TEST(Annotate, TheStationShownLandsWhereTheBatchLooksAndTheBatchFindsIt) {
  testing::ScratchDir dir;
  const auto archivo = testing::CopyOfSample(dir, "sample copy.xlsx");
  Workbook libro = Workbook::open(archivo);
  libro.setCell("Clim_data", 12 * 2 + 5 + 1, 10, CellValue::text("n/a"));  // Zaragoza, May
  testing::FakeDialogs dialogs;
  ui::RecordingCanvas canvas;
  DatosForm2 datos;
  Form2 form{{dialogs, [&] { return &libro; }, datos, canvas, {}}};
  form.Form_Load();
  form.Combo1_Click(4);  // Maricopa
  form.Option1_Click(2);
  form.Combo1_Click(2);  // refused: Maricopa is still shown
  ASSERT_EQ(dialogs.messages.size(), 1u);
  dialogs.messages.clear();
  dialogs.input_answers = {"Maricopa H"};
  form.Command1_Click();
  EXPECT_EQ(dialogs.prompts.at(0),
            "Annotate the data in the sheets 'Clim_batch' with simulation id");
  ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messages[0].text;

  EntradasSimulacion sim;
  sim.SIMULACION.ID_CLIMA = CellValue::text("Maricopa H");
  EXPECT_EQ(batch::BUSCAR_CLIMA(Workbook::open(archivo), sim), 74);
  EXPECT_EQ(sim.ESTACION.ETO_EXTERNA, datos.ETO_MENSUAL);

  form.Combo1_Click(0);  // Almería, with Thornthwaite
  form.Option1_Click(0);
  dialogs.input_answers = {"13"};
  form.Command1_Click();
  dialogs.input_answers = {" \t "};  // blanks only: no answer, nothing written, nothing said
  form.Command1_Click();
  EXPECT_EQ(dialogs.prompts.size(), 3u);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(dialogs.questions.empty());
  // The id typed at the prompt is stored as the text "13"; Sim_batch holds 13 typed as a number.
  sim.SIMULACION.ID_CLIMA = CellValue::number(13);
  EXPECT_EQ(batch::BUSCAR_CLIMA(Workbook::open(archivo), sim), 86);
  std::string salida;
  ASSERT_EQ(testing::RunPython(kLeer, "'" + archivo.string() + "'", salida), 0) << salida;
  EXPECT_CONTIENE(salida, "74 ['Maricopa H', 18.2, 2.3, ");
  EXPECT_CONTIENE(salida, "85 ['Maricopa H', 16.8, 2.8, ");
  EXPECT_CONTIENE(salida, "'Dec']\n86 ['13', 23.6, 4.7, ");  // the id as typed
  EXPECT_CONTIENE(salida, "97 ['13', 30.1, 5.3, ");
  EXPECT_CONTIENE(salida, "'Dec']\n98 [None, None, None, None, None]");
}

// A station moved to 78.2 degrees north with a March mean of -14 degrees Celsius: Blaney-Criddle's
// line falls below zero in the cold months, which then have 0 mm in the window, on the
// climogram and in the block annotated; the batch run on that block keeps every month's
// reference, crop and actual evapotranspiration at 0 or above.
TEST(Annotate, APolarStationsColdMonthsHaveNoDemandDownToTheBatch) {
  testing::ScratchDir dir;
  const auto archivo = dir / "polar.xlsx";
  std::filesystem::copy_file(
      testing::SourceDir() / "tests/eto_tool/data/users/polar-blaney-criddle.xlsx", archivo);
  std::filesystem::permissions(archivo, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
  Workbook libro = Workbook::open(archivo);
  testing::FakeDialogs dialogs;
  ui::RecordingCanvas canvas;
  DatosForm2 datos;
  Form2 form{{dialogs, [&] { return &libro; }, datos, canvas, {}}};
  form.Form_Load();
  form.Combo1_Click(0);
  ASSERT_TRUE(form.Option1_Enabled(3));
  form.Option1_Click(3);  // Blaney-Criddle
  ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messages[0].text;
  EXPECT_EQ(datos.ETO_MENSUAL[3], 0);
  EXPECT_EQ(datos.ETO_MENSUAL[10], 0);
  EXPECT_GT(datos.ETO_MENSUAL[7], 0);
  for (int m = 1; m <= 12; ++m) EXPECT_GE(datos.ETO_MENSUAL[m], 0) << m;
  for (const ui::CanvasCall& c : canvas.calls()) {  // the green curve stays inside the frame
    if (c.kind != ui::CanvasCall::Kind::Line || !(c.color == ui::kGreen)) continue;
    EXPECT_LE(std::max(c.y1, c.y2), 5600) << c.x1;
  }
  dialogs.input_answers = {"Polar BC"};
  form.Command1_Click();
  ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messages[0].text;
  EntradasSimulacion sim;
  sim.SIMULACION.ID_CLIMA = CellValue::text("Polar BC");
  ASSERT_TRUE(batch::BUSCAR_CLIMA(libro, sim));
  EXPECT_EQ(sim.ESTACION.ETO_EXTERNA, datos.ETO_MENSUAL);

  libro.setCell("Sim_batch", 2, 2, CellValue::text("Polar BC"));  // S01
  const auto r = batch::ejecutarYGuardar(libro, {}, 2, nullptr);
  ASSERT_EQ(r.estado, batch::EstadoOperacion::Completado) << r.motivo;
  for (int m = 1; m <= 12; ++m) {
    for (const int c : {4, 5, 6}) {  // reference, crop and actual evapotranspiration
      EXPECT_GE(libro.number("WBal_batch", 1 + m, c), 0) << "month " << m << ", column " << c;
    }
  }
  EXPECT_GE(libro.number("SSol_batch", 2, 10), 0);
}

}  // namespace
// A write-protected workbook is refused before the id is asked, and its file kept byte for byte.
TEST(Annotate, AWriteProtectedWorkbookIsRefusedBeforeTheIdIsAsked) {
  testing::ScratchDir dir;
  const auto archivo = testing::CopyOfSample(dir);
  Workbook libro = Workbook::open(archivo);
  std::filesystem::permissions(archivo, std::filesystem::perms::owner_read);
  const std::string antes = testing::ReadFile(archivo);
  testing::FakeDialogs dialogs;
  ui::RecordingCanvas canvas;
  DatosForm2 datos;
  Form2 form{{dialogs, [&] { return &libro; }, datos, canvas, {}}};
  form.Form_Load();
  form.Combo1_Click(4);
  dialogs.input_answers = {"Maricopa H"};
  form.Command1_Click();
  EXPECT_TRUE(dialogs.prompts.empty());
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text,
            "The workbook '" + archivo.string() +
                "' is write-protected (its permissions give no one the right to write it), so "
                "nothing was written to it. Make the file writable (for example with chmod u+w) "
                "and try again.");
  EXPECT_TRUE(testing::ReadFile(archivo) == antes);
}

}  // namespace medravolix::eto_tool
