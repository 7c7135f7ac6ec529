#include "shell/mdi_form1.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/fake_dialogs.h"
#include "support/test_support.h"
#include "workbook/workbook_error.h"

namespace medravolix::shell {
namespace {

using testing::FakeDialogs;

// A main window whose workbooks are made in memory: a file name holding "bad" cannot be loaded;
// any other gives a workbook whose one sheet is named after the file.
struct MainWindow {
  FakeDialogs dialogs;
  std::vector<std::string> opened;
  MDIForm1 form{dialogs,
                {"/opt/medravolix",
                 "/opt/medravolix/sample",
                 [this](const std::filesystem::path& path) {
                   opened.push_back(path.string());
                   if (path.string().find("bad") != std::string::npos) {
                     throw workbook::WorkbookError("'" + path.string() + "' is not an .xlsx file");
                   }
                   return workbook::Workbook::create({path.filename().string()});
                 },
                 {}}};

  bool entriesEnabled() const {
    return form.mnuSimBatch_Enabled() && form.mnuSimKcb_Enabled() && form.mnuSimETo_Enabled();
  }
  bool entriesDisabled() const {
    return !form.mnuSimBatch_Enabled() && !form.mnuSimKcb_Enabled() && !form.mnuSimETo_Enabled();
  }
  std::string boundSheet() { return form.LIBRO()->sheetNames().at(0); }
};

TEST(MDIForm1, StartsWithTheWorkbookEntriesDisabledAndNoWorkbook) {
  MainWindow w;
  w.form.MDIForm_Load();
  EXPECT_TRUE(w.entriesDisabled());
  EXPECT_EQ(w.form.LIBRO(), nullptr);
  EXPECT_TRUE(w.dialogs.messages.empty());
}

TEST(MDIForm1, CancelledDialogChangesNothingAndTheDialogStartsAtTheSample) {
  MainWindow w;
  w.form.MDIForm_Load();
  w.form.mnuFileOpen_Click();
  EXPECT_TRUE(w.entriesDisabled());
  EXPECT_EQ(w.form.LIBRO(), nullptr);
  EXPECT_TRUE(w.opened.empty());
  ASSERT_EQ(w.dialogs.filters.size(), 1u);
  EXPECT_EQ(w.dialogs.filters[0], "Archivos de Excel (*.xlsx)|*.xlsx");
  EXPECT_EQ(w.dialogs.start_folders[0], "/opt/medravolix/sample");
}

TEST(MDIForm1, BindingEnablesTheEntriesAndASecondWorkbookReplacesTheFirst) {
  MainWindow w;
  w.form.MDIForm_Load();
  w.dialogs.file_answers = {"/data/first.xlsx", "", "/other/second.xlsx"};
  w.form.mnuFileOpen_Click();
  EXPECT_TRUE(w.entriesEnabled());
  EXPECT_EQ(w.boundSheet(), "first.xlsx");

  w.form.mnuFileOpen_Click();  // cancelled: still bound to the first, entries still enabled
  EXPECT_TRUE(w.entriesEnabled());
  EXPECT_EQ(w.boundSheet(), "first.xlsx");

  w.form.mnuFileOpen_Click();
  EXPECT_TRUE(w.entriesEnabled());
  EXPECT_EQ(w.boundSheet(), "second.xlsx");
  EXPECT_EQ(w.opened, (std::vector<std::string>{"/data/first.xlsx", "/other/second.xlsx"}));
  // After the first choice the dialog opens where the last workbook was chosen.
  EXPECT_EQ(w.dialogs.start_folders,
            (std::vector<std::string>{"/opt/medravolix/sample", "/data", "/data"}));
  EXPECT_TRUE(w.dialogs.messages.empty());
}

TEST(MDIForm1, AFileThatCannotBeBoundIsReportedAndChangesNothing) {
  MainWindow w;
  w.form.MDIForm_Load();
  w.dialogs.file_answers = {"/data/bad.xlsx"};
  w.form.mnuFileOpen_Click();
  EXPECT_TRUE(w.entriesDisabled());
  EXPECT_EQ(w.form.LIBRO(), nullptr);
  ASSERT_EQ(w.dialogs.messages.size(), 1u);
  EXPECT_EQ(w.dialogs.messages[0].icon, ui::Icon::Critical);
  EXPECT_EQ(w.dialogs.messages[0].text,
            "MEDRAVOLIX cannot use this file as its workbook:\r\n/data/bad.xlsx\r\n\r\n"
            "'/data/bad.xlsx' is not an .xlsx file");
  EXPECT_EQ(w.form.carpetaDialogo(), "/opt/medravolix/sample");

  w.dialogs.file_answers = {"/data/good.xlsx", "/data/bad2.xlsx"};
  w.form.mnuFileOpen_Click();
  w.form.mnuFileOpen_Click();
  EXPECT_TRUE(w.entriesEnabled());
  EXPECT_EQ(w.boundSheet(), "good.xlsx");
  ASSERT_EQ(w.dialogs.messages.size(), 2u);
  EXPECT_NE(w.dialogs.messages[1].text.find("/data/bad2.xlsx"), std::string::npos);
}

TEST(MDIForm1, HelpOpensTheManualBesideTheProgramOnlyWhenItIsThere) {
  testing::ScratchDir dir;
  FakeDialogs dialogs;
  MDIForm1 form(dialogs, {dir.path(), dir.path(), {}, {}});
  EXPECT_FALSE(form.mnuHelp_Click().has_value());
  std::ofstream(dir / "MEDRAVOLIX_users_manual_ENG_SPA.pdf") << "%PDF-1.4\n";
  const auto manual = form.mnuHelp_Click();
  ASSERT_TRUE(manual.has_value());
  EXPECT_EQ(*manual, dir / "MEDRAVOLIX_users_manual_ENG_SPA.pdf");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST(MDIForm1, TheBatchRunsOnTheBoundWorkbookWithTheGivenSettings) {
  FakeDialogs dialogs;
  std::string ran_on;
  batch::AjustesBatch seen;
  MDIForm1 form(dialogs, {"/p", "/p",
                          [](const std::filesystem::path& path) {
                            return workbook::Workbook::create({path.stem().string()});
                          },
                          [&](workbook::Workbook& libro, const batch::AjustesBatch& ajustes,
                              const batch::Progreso& progreso) {
                            ran_on = libro.sheetNames().at(0);
                            seen = ajustes;
                            progreso(100);
                            batch::ResultadoOperacion r;
                            r.estado = batch::EstadoOperacion::Completado;
                            return r;
                          }});
  double reported = 0;
  const auto sin_libro = form.ejecutarBatch({}, [&](double p) { reported = p; });
  EXPECT_EQ(sin_libro.estado, batch::EstadoOperacion::Rechazado);
  EXPECT_FALSE(sin_libro.motivo.empty());
  EXPECT_TRUE(ran_on.empty());

  dialogs.file_answers = {"/d/mine.xlsx"};
  form.mnuFileOpen_Click();
  batch::AjustesBatch ajustes;
  ajustes.PROF_SIMULACION = 120;
  const auto resultado = form.ejecutarBatch(ajustes, [&](double p) { reported = p; });
  EXPECT_EQ(resultado.estado, batch::EstadoOperacion::Completado);
  EXPECT_EQ(ran_on, "mine");
  EXPECT_EQ(seen.PROF_SIMULACION, 120);
  EXPECT_EQ(reported, 100);
}

}  // namespace
}  // namespace medravolix::shell
