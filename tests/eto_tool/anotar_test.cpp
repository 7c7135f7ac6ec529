// "Annotate" on a copy of the sample workbook, after a station that cannot be loaded: the block
// of the station still shown lands where the batch looks, reads back with an independent reader,
// and is found by the batch, also under an id typed as a number in Sim_batch; right after
// choosing a station, ETo is 0; an answer of blanks appends nothing.
#include <gtest/gtest.h>

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

  form.Combo1_Click(0);  // Almería, no method chosen yet: ETo 0
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
  EXPECT_CONTIENE(salida, "'Dec']\n86 ['13', 23.6, 4.7, 0, 'Jan']");  // the id as typed
  EXPECT_CONTIENE(salida, "97 ['13', 30.1, 5.3, 0, 'Dec']\n98 [None, None, None, None, None]");
}

}  // namespace
}  // namespace medravolix::eto_tool
