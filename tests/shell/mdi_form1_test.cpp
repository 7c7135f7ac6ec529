#include "shell/mdi_form1.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

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

// The files the program ships lie beside it, in share/medravolix beside it (the build folder) or
// in bin/../share/medravolix (an installation); the first of these that holds the file wins.
TEST(MDIForm1, TheManualAndTheSampleAreFoundBesideTheProgramInTheBuildAndInstalled) {
  const char* const kManual = "MEDRAVOLIX_users_manual_ENG_SPA.pdf";
  struct Caso {
    std::vector<std::string> archivos;  // made under the scratch folder; the program is in bin/
    std::string encontrado;             // where Help finds the manual; "" for nowhere
  };
  const std::vector<Caso> casos = {
      {{}, ""},
      {{"share/medravolix/other.pdf"}, ""},
      {{"share/medravolix/M"}, "share/medravolix/M"},          // installed
      {{"bin/share/medravolix/M"}, "bin/share/medravolix/M"},  // the build folder
      {{"bin/M"}, "bin/M"},                                    // beside the program
      {{"share/medravolix/M", "bin/share/medravolix/M"}, "bin/share/medravolix/M"},
      {{"bin/M", "share/medravolix/M"}, "bin/M"},
  };
  for (const Caso& caso : casos) {
    testing::ScratchDir dir;
    const auto bin = dir / "bin";
    std::filesystem::create_directories(bin);
    for (std::string archivo : caso.archivos) {
      if (archivo.ends_with("/M")) archivo.replace(archivo.size() - 1, 1, kManual);
      std::filesystem::create_directories((dir / archivo).parent_path());
      std::ofstream(dir / archivo) << "%PDF-1.4\n";
      std::ofstream((dir / archivo).parent_path() / "sample.xlsx") << "x";
    }
    testing::FakeDialogs dialogs;
    MDIForm1 form(dialogs, {bin, carpetaEjemplo(bin), {}, {}});
    std::string esperado = caso.encontrado;
    if (!esperado.empty()) esperado.replace(esperado.size() - 1, 1, kManual);
    const auto manual = form.mnuHelp_Click();
    EXPECT_EQ(manual ? manual->lexically_relative(dir.path()).string() : "", esperado);
    // The sample workbook is searched in the same folders; the program's own when none has it.
    if (caso.archivos.empty()) {
      EXPECT_EQ(carpetaEjemplo(bin), bin);
    } else if (!esperado.empty()) {
      EXPECT_EQ(carpetaEjemplo(bin), (dir / esperado).parent_path());
    }
  }
}

}  // namespace
}  // namespace medravolix::shell
