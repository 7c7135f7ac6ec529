// The user's road through the real windows: start, bind a copy of the sample workbook through
// the file dialog, run a batch from the menu, and find the results saved in the file.
#include <gtest/gtest.h>

#include <QApplication>

#include "batch/hojas_batch.h"
#include "batch/qt/form5_view.h"
#include "shell/mdi_form1.h"
#include "shell/qt/mdi_form1_view.h"
#include "shell/ubicaciones.h"
#include "support/fake_dialogs.h"
#include "support/test_support.h"

namespace medravolix::shell::qt {
namespace {

using workbook::Workbook;

TEST(Programa, BindsTheSampleRunsABatchFromTheMenuAndSavesTheResults) {
  medravolix::testing::ScratchDir dir;
  const auto copia = dir / "mis datos.xlsx";
  std::filesystem::copy_file(medravolix::testing::BinaryDir() / "share/medravolix/sample.xlsx",
                             copia);

  medravolix::testing::FakeDialogs dialogs;
  const auto programa = medravolix::testing::BinaryDir();
  MDIForm1 controller(dialogs, {programa, carpetaEjemplo(programa), {}, {}});
  MDIForm1View window(controller, dialogs);
  window.MDIForm_Load(1);
  dialogs.file_answers = {copia.string()};
  window.findChild<QAction*>("mnuFileOpen")->trigger();
  EXPECT_EQ(dialogs.start_folders.at(0), (programa / "share/medravolix").string());
  ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messages[0].text;
  window.findChild<QAction*>("mnuSimBatch")->trigger();
  ASSERT_NE(window.form5(), nullptr);
  window.form5()->Command1()->click();

  ASSERT_GE(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages.front().text,
            "Can't find input data for these simulations: \r\n\r\nS14, ");
  EXPECT_EQ(dialogs.messages.back().text, "The batch is completed");

  const Workbook guardado = Workbook::open(copia);
  EXPECT_EQ(guardado.number(batch::kHojaSimulaciones, 2, 9), 64);  // NUM_CAPAS of simulation 1
  for (int columna = 12; columna <= 21; ++columna) {
    EXPECT_TRUE(guardado.cell(batch::kHojaSolucion, 2, columna).isNumber()) << columna;
  }
  for (int mes = 1; mes <= 12; ++mes) {
    EXPECT_TRUE(guardado.cell(batch::kHojaBalance, batch::filaBalance(1, mes), 2).isNumber());
  }
}

TEST(Programa, ABatchThatCannotStartSaysWhyAndNeverThatItCompleted) {
  medravolix::testing::ScratchDir dir;
  const auto libro = dir / "incompleto.xlsx";
  Workbook::create({"Sim_batch"}).saveAs(libro);
  const auto antes = std::filesystem::last_write_time(libro);

  medravolix::testing::FakeDialogs dialogs;
  MDIForm1 controller(dialogs, {dir.path(), dir.path(), {}, {}});
  MDIForm1View window(controller, dialogs);
  window.MDIForm_Load(1);
  dialogs.file_answers = {libro.string()};
  window.findChild<QAction*>("mnuFileOpen")->trigger();
  window.findChild<QAction*>("mnuSimBatch")->trigger();
  window.form5()->Command1()->click();

  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].icon, ui::Icon::Critical);
  EXPECT_EQ(dialogs.messages[0].text.rfind("The batch was not run.", 0), 0u);
  EXPECT_EQ(std::filesystem::last_write_time(libro), antes);
}

}  // namespace
}  // namespace medravolix::shell::qt
