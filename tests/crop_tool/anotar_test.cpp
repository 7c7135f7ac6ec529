// "Annotate" on a copy of the sample workbook: a rotation built by clicks and a tree crop
// appended, read back by openpyxl, then found by the batch's look-ups.
#include <gtest/gtest.h>

#include <filesystem>

#include "batch/ejecutar_batch.h"
#include "batch/lectura_batch.h"
#include "crop_tool/libro_cultivos.h"
#include "support/test_support.h"

namespace medravolix::crop_tool {
namespace {

namespace fs = std::filesystem;
using prueba::Ventana;
using prueba::xDelDia;

constexpr const char* kLeer = R"PY(
import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
id = sys.argv[2]
for hoja in ('Crop_batch', 'Irrigat_batch'):
    filas = [r for r in range(1, wb[hoja].max_row + 1) if wb[hoja].cell(r, 1).value == id]
    print(hoja, filas)
    for r in filas[:1] + filas[-1:]:
        print([wb[hoja].cell(r, c).value for c in range(1, 31)])
)PY";

std::string leerConOpenpyxl(const fs::path& archivo, const std::string& id) {
  std::string salida;
  EXPECT_EQ(testing::RunPython(kLeer, "'" + archivo.string() + "' '" + id + "'", salida), 0)
      << salida;
  return salida;
}

struct Muestra {
  testing::ScratchDir dir;
  fs::path archivo = dir / "sample copy.xlsx";
  Muestra() {
    fs::copy_file(testing::BinaryDir() / "share" / "medravolix" / "sample.xlsx", archivo);
  }
};

TEST(AnotarCultivos, ARotationGoesToCropBatchAndIrrigatBatchWhereTheBatchFindsIt) {
  Muestra muestra;
  Ventana v(workbook::Workbook::open(muestra.archivo));
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

  const std::string salida = leerConOpenpyxl(muestra.archivo, "rotation A");
  // The sample's Crop_batch holds blocks on rows 2 to 121: the new one starts on row 122.
  EXPECT_NE(salida.find("Crop_batch [122, 123, 124, 125, 126, 127, 128, 129, 130, 131, 132, 133]"),
            std::string::npos)
      << salida;
  EXPECT_NE(salida.find("'Jan', None"), std::string::npos) << salida;
  EXPECT_NE(salida.find("'Dec', None"), std::string::npos) << salida;
  EXPECT_NE(salida.find(", 1, 40, 30, 20, 10]"), std::string::npos) << salida;  // lettuce's 1

  // The batch's look-ups find the series the window shows.
  const auto libro = workbook::Workbook::open(muestra.archivo);
  Simulacion sim;
  sim.SIMULACION.ID_CULTIVO = workbook::CellValue::text("rotation A");
  sim.SIMULACION.ID_RIEGO = workbook::CellValue::text("rotation A");
  EXPECT_EQ(batch::BUSCAR_CULTIVO(libro, sim), 122);
  ASSERT_TRUE(batch::BUSCAR_RIEGO(libro, sim).has_value());
  EXPECT_EQ(sim.KCB_MENSUAL, v.form.KCB_MENSUAL());
  EXPECT_EQ(sim.RAIZ_MENSUAL, v.form.RAIZ_MENSUAL());
  EXPECT_EQ(sim.DATOS_RIEGO.RIEGO_MENSUAL, v.form.DATOS_RIEGO().RIEGO_MENSUAL);
  EXPECT_EQ(sim.DATOS_RIEGO.NRIEGOS_MENSUAL, v.form.DATOS_RIEGO().NRIEGOS_MENSUAL);
  EXPECT_EQ(sim.DATOS_RIEGO.FRACCION_MOJADA, 1);

  // A simulation that names the rotation as its crop and its irrigation runs in a batch.
  auto batch = workbook::Workbook::open(muestra.archivo);
  const int fila = batch.lastRow("Sim_batch") + 1;
  const char* const ids[] = {"S rotation", "Zaragoza",   "Calcareous loam",
                             "Canal",      "rotation A", "rotation A"};
  for (int c = 1; c <= 6; ++c) batch.setCell("Sim_batch", fila, c, prueba::T(ids[c - 1]));
  const auto r = batch::ejecutarYGuardar(batch, {}, 2, nullptr);
  ASSERT_EQ(r.estado, batch::EstadoOperacion::Completado) << r.motivo;
  EXPECT_EQ(r.informe.mensajeSinDatos().find("S rotation"), std::string::npos);
  EXPECT_EQ(r.informe.mensajeObservadas().find("S rotation"), std::string::npos);
  const auto resultado = workbook::Workbook::open(muestra.archivo);
  EXPECT_EQ(resultado.cell("SSol_batch", fila, 1).toDisplayText(), "S rotation");
  EXPECT_TRUE(resultado.cell("SSol_batch", fila, 12).isNumber());

  // The same id again: the question comes first, and No writes nothing.
  v.dialogs.input_answers = {"rotation A"};
  v.dialogs.question_answers = {ui::Answer::No};
  const auto antes = fs::last_write_time(muestra.archivo);
  v.dialogs.questions.clear();
  v.form.Command1_Click();
  ASSERT_EQ(v.dialogs.questions.size(), 1u);
  EXPECT_NE(v.dialogs.questions[0].text.find("rotation A"), std::string::npos);
  EXPECT_EQ(fs::last_write_time(muestra.archivo), antes);
  // Cancel in the input box writes nothing and asks nothing.
  v.form.Command1_Click();
  EXPECT_EQ(v.dialogs.questions.size(), 1u);
  EXPECT_EQ(fs::last_write_time(muestra.archivo), antes);
}

TEST(AnotarCultivos, ATreeCropWritesOnlyItsCropBlock) {
  Muestra muestra;
  Ventana v(workbook::Workbook::open(muestra.archivo));
  v.form.Option1_Click(1);
  v.form.Combo1_Click(1);  // Olive
  v.dialogs.input_answers = {"olive here"};
  v.form.Command1_Click();
  EXPECT_TRUE(v.mensajes().empty());
  const std::string salida = leerConOpenpyxl(muestra.archivo, "olive here");
  EXPECT_NE(salida.find("Crop_batch [122,"), std::string::npos) << salida;
  EXPECT_NE(salida.find("Irrigat_batch []"), std::string::npos) << salida;
  // January 0.55 of a peak of 0.65: 145 cm and a cover of 0.5 scaled by 0.55 / 0.65.
  EXPECT_NE(salida.find("['olive here', 0.55, 122.6923076923077, 0.4230769230769231, 'Jan'"),
            std::string::npos)
      << salida;
}

}  // namespace
}  // namespace medravolix::crop_tool
