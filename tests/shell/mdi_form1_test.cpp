#include "shell/mdi_form1.h"

#include <gtest/gtest.h>

#include <fstream>

#include "shell/ubicaciones.h"
#include "support/fake_dialogs.h"
#include "support/test_support.h"
#include "workbook/workbook_error.h"

namespace medravolix::shell {
namespace {

// A workbook made in memory whose one sheet is named after the file; a name holding "bad"
// cannot be loaded.
workbook::Workbook abrirEnMemoria(const std::filesystem::path& path) {
  if (path.string().find("bad") != std::string::npos) {
    throw workbook::WorkbookError("'" + path.string() + "' is not an .xlsx file");
  }
  return workbook::Workbook::create({path.filename().string()});
}

// The three entries that need a workbook and the bound workbook's sheet: "111 first.xlsx".
std::string estado(MDIForm1& form) {
  std::string text;
  for (bool on : {form.mnuSimBatch_Enabled(), form.mnuSimKcb_Enabled(), form.mnuSimETo_Enabled()}) {
    text += on ? '1' : '0';
  }
  return text + " " + (form.LIBRO() ? form.LIBRO()->sheetNames().at(0) : "-");
}

TEST(MDIForm1, MenuStatesThroughCancelsFailedBindsAndASecondWorkbook) {
  testing::FakeDialogs dialogs;
  std::string ran_on;  // the batch records the workbook and the depth it ran with
  MDIForm1 form(
      dialogs,
      {"/opt/medravolix", "/opt/medravolix/sample", &abrirEnMemoria,
       [&](workbook::Workbook& libro, const batch::AjustesBatch& ajustes, const batch::Progreso&) {
         ran_on = libro.sheetNames().at(0) + " " + workbook::plainDecimal(ajustes.PROF_SIMULACION);
         return batch::ResultadoOperacion{batch::EstadoOperacion::Completado, "", {}};
       }});
  form.MDIForm_Load();
  EXPECT_EQ(estado(form), "000 -");
  EXPECT_EQ(form.ejecutarBatch({}, {}).estado, batch::EstadoOperacion::Rechazado);  // no workbook
  const std::pair<const char*, const char*> pasos[] = {{"", "000 -"},               // cancelled
                                                       {"/data/bad.xlsx", "000 -"},
                                                       {"/data/first.xlsx", "111 first.xlsx"},
                                                       {"", "111 first.xlsx"},
                                                       {"/data/bad2.xlsx", "111 first.xlsx"},
                                                       {"/other/second.xlsx", "111 second.xlsx"}};
  for (const auto& [respuesta, esperado] : pasos) {
    dialogs.file_answers = {respuesta};
    form.mnuFileOpen_Click();
    EXPECT_EQ(estado(form), esperado) << respuesta;
  }
  // The dialog starts in the sample's folder, then where the last workbook was bound.
  EXPECT_EQ(dialogs.start_folders,
            (std::vector<std::string>{"/opt/medravolix/sample", "/opt/medravolix/sample",
                                      "/opt/medravolix/sample", "/data", "/data", "/data"}));
  EXPECT_EQ(dialogs.filters.at(0), "Archivos de Excel (*.xlsx;*.xlsm)|*.xlsx;*.xlsm");
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[0].icon, ui::Icon::Critical);
  EXPECT_EQ(dialogs.messages[0].text,
            "MEDRAVOLIX cannot use this file as its workbook:\r\n/data/bad.xlsx\r\n\r\n"
            "'/data/bad.xlsx' is not an .xlsx file");
  EXPECT_NE(dialogs.messages[1].text.find("/data/bad2.xlsx"), std::string::npos);
  EXPECT_TRUE(ran_on.empty());
  batch::AjustesBatch ajustes;
  ajustes.PROF_SIMULACION = 120;
  EXPECT_EQ(form.ejecutarBatch(ajustes, {}).estado, batch::EstadoOperacion::Completado);
  EXPECT_EQ(ran_on, "second.xlsx 120");
}

TEST(MDIForm1, TheManualAndTheSampleAreFoundBesideTheProgram) {
  testing::ScratchDir dir;
  testing::FakeDialogs dialogs;
  MDIForm1 form(dialogs, {dir.path(), dir.path(), {}, {}});
  EXPECT_FALSE(form.mnuHelp_Click().has_value());
  std::ofstream(dir / "MEDRAVOLIX_users_manual_ENG_SPA.pdf") << "%PDF-1.4\n";
  EXPECT_EQ(form.mnuHelp_Click(), dir / "MEDRAVOLIX_users_manual_ENG_SPA.pdf");
  // The sample: nowhere, installed in bin/../share, or in the build's share folder.
  const auto bin = dir / "bin";
  std::filesystem::create_directories(bin / "share/medravolix");
  std::filesystem::create_directories(dir / "share/medravolix");
  EXPECT_EQ(carpetaEjemplo(bin), bin);
  std::ofstream(dir / "share/medravolix/sample.xlsx") << "x";
  EXPECT_EQ(carpetaEjemplo(bin), dir / "share/medravolix");
  std::ofstream(bin / "share/medravolix/sample.xlsx") << "x";
  EXPECT_EQ(carpetaEjemplo(bin), bin / "share/medravolix");
}

}  // namespace
}  // namespace medravolix::shell
