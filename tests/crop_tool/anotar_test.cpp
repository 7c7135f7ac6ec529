// "Annotate" on a copy of the sample workbook: a rotation built by clicks, then a tree crop,
// appended, read back by openpyxl and found by the batch's look-ups (also under an id that
// Sim_batch holds as a number); an answer of blanks appends nothing.
#include <gtest/gtest.h>

#include "batch/lectura_batch.h"
#include "crop_tool/libro_cultivos.h"
#include "support/test_support.h"

namespace medravolix::crop_tool {
namespace {

using prueba::Ventana;
using prueba::xDelDia;

constexpr const char* kLeer = R"PY(
import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
for id in ('rotation A', 'olive here'):
    for hoja in ('Crop_batch', 'Irrigat_batch'):
        filas = [r for r in range(1, wb[hoja].max_row + 1) if wb[hoja].cell(r, 1).value == id]
        print(hoja, filas)
        for r in filas[:1] + filas[-1:]:
            print([wb[hoja].cell(r, c).value for c in range(1, 31)])
)PY";

TEST(AnotarCultivos, ARotationAndATreeCropGoWhereTheBatchFindsThem) {
  testing::ScratchDir dir;
  const auto archivo = testing::CopyOfSample(dir, "sample copy.xlsx");
  Ventana v(workbook::Workbook::open(archivo));
  v.form.Option1_Click(0);
  v.form.Combo1_Click(0);  // Maize (grain), 150 days, from 15 April
  v.clic(xDelDia(105));
  v.form.Combo1_Click(7);  // Lettuce, 105 days, from 15 November: it crosses the year's end
  v.clic(xDelDia(319));
  ASSERT_EQ(v.form.List1().size(), 2u) << v.mensajes().at(0);
  v.dialogs.input_answers = {"rotation A"};
  v.form.Command1_Click();
  EXPECT_EQ(v.dialogs.prompts.at(0), Form4::kPreguntaId);
  EXPECT_TRUE(v.mensajes().empty());

  // The batch's look-ups find the series the window shows.
  const auto libro = workbook::Workbook::open(archivo);
  EntradasSimulacion sim;
  sim.SIMULACION.ID_CULTIVO = workbook::CellValue::text("rotation A");
  sim.SIMULACION.ID_RIEGO = workbook::CellValue::text("rotation A");
  EXPECT_EQ(batch::BUSCAR_CULTIVO(libro, sim), 122);
  ASSERT_TRUE(batch::BUSCAR_RIEGO(libro, sim).has_value());
  EXPECT_EQ(sim.KCB_MENSUAL, v.form.KCB_MENSUAL());
  EXPECT_EQ(sim.RAIZ_MENSUAL, v.form.RAIZ_MENSUAL());
  EXPECT_EQ(sim.DATOS_RIEGO.RIEGO_MENSUAL, v.form.DATOS_RIEGO().RIEGO_MENSUAL);
  EXPECT_EQ(sim.DATOS_RIEGO.NRIEGOS_MENSUAL, v.form.DATOS_RIEGO().NRIEGOS_MENSUAL);
  EXPECT_EQ(sim.DATOS_RIEGO.FRACCION_MOJADA, 1);

  v.form.Option1_Click(1);
  v.form.Combo1_Click(1);  // Olive
  v.dialogs.input_answers = {"olive here"};
  v.form.Command1_Click();
  EXPECT_TRUE(v.mensajes().empty());
  v.dialogs.input_answers = {"  "};  // blanks only: no answer, nothing written
  v.form.Command1_Click();
  EXPECT_TRUE(v.mensajes().empty());
  v.dialogs.input_answers = {"2.5"};  // typed as the number 2.5 in Sim_batch
  v.form.Command1_Click();
  sim.SIMULACION.ID_CULTIVO = workbook::CellValue::number(2.5);
  EXPECT_EQ(batch::BUSCAR_CULTIVO(workbook::Workbook::open(archivo), sim), 146);
  std::string salida;
  ASSERT_EQ(testing::RunPython(kLeer, "'" + archivo.string() + "'", salida), 0) << salida;
  // The sample's Crop_batch holds blocks on rows 2 to 121: the new ones start on rows 122 and
  // 134; the tree crop has no irrigation row.
  for (const char* parte :
       {"Crop_batch [122, 123, 124, 125, 126, 127, 128, 129, 130, 131, 132, 133]", "'Jan', None",
        "'Dec', None", ", 1, 40, 30, 20, 10]", "Crop_batch [134,", "Irrigat_batch []",
        // January 1.1 of a peak of 1.3 (the orchard's 0.55 and 0.65 over its cover of 0.5):
        // 145 cm and a cover of 0.5 scaled by 1.1 / 1.3.
        "['olive here', 1.1, 122.6923076923077, 0.4230769230769231, 'Jan'",
        "Crop_batch [134, 135, 136, 137, 138, 139, 140, 141, 142, 143, 144, 145]\n"}) {
    EXPECT_NE(salida.find(parte), std::string::npos) << parte << "\n" << salida;
  }
}

// A write-protected workbook is refused before the id is asked, and its file kept byte for byte.
TEST(AnotarCultivos, AWriteProtectedWorkbookIsRefusedBeforeTheIdIsAsked) {
  testing::ScratchDir dir;
  const auto archivo = testing::CopyOfSample(dir);
  Ventana v(workbook::Workbook::open(archivo));
  std::filesystem::permissions(
      archivo, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  const std::string antes = testing::ReadFile(archivo);
  v.form.Option1_Click(1);
  v.form.Combo1_Click(1);  // Olive
  v.dialogs.input_answers = {"olive here"};
  v.form.Command1_Click();
  EXPECT_TRUE(v.dialogs.prompts.empty());
  EXPECT_EQ(v.mensajes(),
            std::vector<std::string>{
                "The workbook '" + archivo.string() +
                "' is write-protected (its permissions give no one the right to write it), so "
                "nothing was written to it. Make the file writable (for example with chmod u+w) "
                "and try again."});
  EXPECT_TRUE(testing::ReadFile(archivo) == antes);
}

}  // namespace
}  // namespace medravolix::crop_tool
