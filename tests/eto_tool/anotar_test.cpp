// "Annotate" on a copy of the sample workbook: the block lands where the batch looks, reads back
// with an independent reader, and is found by the batch; the refusals and the question about an
// id already there.
#include <gtest/gtest.h>

#include <filesystem>

#include "batch/lectura_batch.h"
#include "eto_tool/form2.h"
#include "support/fake_dialogs.h"
#include "support/test_support.h"
#include "ui/recording_canvas.h"

#define EXPECT_CONTIENE(texto, parte) EXPECT_PRED_FORMAT2(::testing::IsSubstring, parte, texto)

namespace medravolix::eto_tool {
namespace {

namespace fs = std::filesystem;
using workbook::CellValue;
using workbook::Workbook;

constexpr const char* kLeer = R"PY(
import sys, openpyxl
ws = openpyxl.load_workbook(sys.argv[1])['Clim_batch']
for r in (1, 74, 85, 86, 97, 98):
    print(r, [ws.cell(r, c).value for c in range(1, 6)])
)PY";

struct Muestra {
  testing::ScratchDir dir;
  fs::path archivo = dir / "sample copy.xlsx";
  Workbook libro = (fs::copy_file(testing::BinaryDir() / "share/medravolix/sample.xlsx", archivo),
                    Workbook::open(archivo));
  testing::FakeDialogs dialogs;
  ui::RecordingCanvas canvas;
  DatosForm2 datos;
  Form2 form{{dialogs, [this] { return &libro; }, datos, canvas, {}}};

  std::string leer() {
    std::string salida;
    EXPECT_EQ(testing::RunPython(kLeer, "'" + archivo.string() + "'", salida), 0) << salida;
    return salida;
  }
};

TEST(Annotate, TheBlockLandsWhereTheBatchLooksAndTheBatchFindsIt) {
  Muestra m;
  m.form.Form_Load();
  m.form.Combo1_Click(4);  // Maricopa
  m.form.Option1_Click(2);
  m.dialogs.input_answers = {"Maricopa H"};
  m.form.Command1_Click();
  EXPECT_EQ(m.dialogs.prompts.at(0),
            "Annotate the data in the sheets 'Clim_batch' with simulation id");
  ASSERT_TRUE(m.dialogs.messages.empty()) << m.dialogs.messages[0].text;
  EXPECT_TRUE(m.dialogs.questions.empty());
  const std::string salida = m.leer();
  EXPECT_CONTIENE(salida, "74 ['Maricopa H', 18.2, 2.3, ");
  EXPECT_CONTIENE(salida, "85 ['Maricopa H', 16.8, 2.8, ");
  EXPECT_CONTIENE(salida, "'Dec']");
  EXPECT_CONTIENE(salida, "86 [None, None, None, None, None]");

  EntradasSimulacion sim;
  sim.SIMULACION.ID_CLIMA = CellValue::text("Maricopa H");
  const Workbook guardado = Workbook::open(m.archivo);
  EXPECT_EQ(batch::BUSCAR_CLIMA(guardado, sim), 74);
  for (int mes = 1; mes <= 12; ++mes) {
    EXPECT_EQ(sim.ESTACION.ETO_EXTERNA[mes], m.datos.ETO_MENSUAL[mes]) << mes;
  }

  // The same id again: asked, and appended only on Yes; right after a station, ETo is 0.
  m.form.Combo1_Click(0);
  m.dialogs.input_answers = {"Maricopa H", "Maricopa H"};
  m.dialogs.question_answers = {ui::Answer::No, ui::Answer::Yes};
  m.form.Command1_Click();
  EXPECT_CONTIENE(m.leer(), "86 [None, None, None, None, None]");
  m.form.Command1_Click();
  ASSERT_EQ(m.dialogs.questions.size(), 2u);
  EXPECT_CONTIENE(m.dialogs.questions[0].text, "already has a block with the id \"Maricopa H\"");
  EXPECT_EQ(m.dialogs.questions[0].icon, ui::Icon::Question);
  EXPECT_CONTIENE(m.leer(), "97 ['Maricopa H', 30.1, 5.3, 0, 'Dec']");
}

// A station that cannot be loaded leaves the list on the station shown, and Annotate writes that
// station's data: never another station's under the failed one's name.
TEST(Annotate, AfterAStationThatCannotBeLoadedWritesTheStationStillShown) {
  Muestra m;
  m.libro.setCell("Clim_data", 12 * 2 + 5 + 1, 10, CellValue::text("n/a"));  // Zaragoza, May
  m.form.Form_Load();
  m.form.Combo1_Click(4);  // Maricopa
  m.form.Option1_Click(2);
  const Mensual eto = m.datos.ETO_MENSUAL;
  m.form.Combo1_Click(2);
  ASSERT_EQ(m.dialogs.messages.size(), 1u);
  EXPECT_CONTIENE(m.dialogs.messages[0].text, "Clim_data!J30");
  EXPECT_CONTIENE(m.dialogs.messages[0].text, "still shows the station 'Maricopa-AZMET");
  EXPECT_EQ(m.form.Combo1_ListIndex(), 4);
  EXPECT_EQ(m.form.MSHFlexGrid1().rowTexts(1)[0], "Maricopa");
  EXPECT_TRUE(m.form.Option1(2));
  m.dialogs.input_answers = {"After"};
  m.form.Command1_Click();
  EXPECT_CONTIENE(m.leer(), "74 ['After', 18.2, 2.3, ");
  EXPECT_EQ(m.datos.ETO_MENSUAL, eto);
}

TEST(Annotate, CancelWritesNothingAndASheetWithoutHeadingIsRefused) {
  Muestra m;
  m.form.Form_Load();
  m.form.Combo1_Click(0);
  const auto antes = fs::last_write_time(m.archivo);
  m.dialogs.input_answers = {""};
  m.form.Command1_Click();
  EXPECT_TRUE(m.dialogs.messages.empty());
  m.libro.setCell("Clim_batch", 1, 1, CellValue());
  m.dialogs.input_answers = {"13"};
  m.form.Command1_Click();
  ASSERT_EQ(m.dialogs.messages.size(), 1u);
  EXPECT_CONTIENE(m.dialogs.messages[0].text, "Clim_batch has no heading in row 1");
  EXPECT_EQ(fs::last_write_time(m.archivo), antes);
  // A numeric-looking id is written as the text typed.
  m.libro.setCell("Clim_batch", 1, 1, CellValue::text("Id"));
  m.dialogs.input_answers = {"13"};
  m.form.Command1_Click();
  EXPECT_CONTIENE(m.leer(), "74 ['13', 23.6, 4.7, 0, 'Jan']");
  EXPECT_EQ(m.datos.ID_SIMULACION, "13");
}

}  // namespace
}  // namespace medravolix::eto_tool
