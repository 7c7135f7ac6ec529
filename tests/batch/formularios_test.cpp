// The controllers of the batch settings dialog (Form5) and the busy window (Form11).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "batch/form11.h"
#include "batch/form5.h"
#include "batch/libro_prueba.h"
#include "support/fake_dialogs.h"
#include "support/test_support.h"

namespace medravolix::batch {
namespace {

// OPCION_SOLUCION by the keyword of its option.
const char* const kPalabraSolucion[] = {"capacidad de campo", "saturación", "drenaje"};

// The dialog, with a busy window that records that it was shown and answers `resultado`.
struct Dialogo {
  testing::FakeDialogs dialogs;
  AjustesBatch ajustes;
  std::vector<std::string> eventos;
  ResultadoOperacion resultado{EstadoOperacion::Completado, "", {}};
  Form5::Entorno entorno() {
    const auto form11 = [this](const AjustesBatch&) {
      eventos.push_back("Form11");
      return resultado;
    };
    const auto mostrar = [this] {
      // What the user sees when the dialog is drawn: a message shown by then would hide it.
      eventos.push_back("shown " + std::to_string(dialogs.messages.size()) + " " +
                        (form.Label1_ForeColor(2) == ui::kRed ? "red" : "not red"));
    };
    return {dialogs,
            ajustes,
            form11,
            [this] { eventos.push_back("unload"); },
            [this] { return ruta_libro; },
            mostrar};
  }
  std::filesystem::path ruta_libro;
  Form5 form{entorno()};
  Dialogo() { form.Form_Load(); }
  std::string guardados() const {
    const AjustesBatch& a = ajustes;
    return workbook::plainDecimal(a.PROF_EVAPORATIVA) + " " +
           workbook::plainDecimal(a.PROF_SIMULACION) + " " + std::to_string(a.NUM_CAPAS) + " " +
           std::to_string(static_cast<int>(a.OPCION_CAPACIDAD)) + " " +
           kPalabraSolucion[static_cast<int>(a.OPCION_SOLUCION)];
  }
};

TEST(Form5, OnlyDigitsPassTheKeyFilterAndEveryOtherKeyBeeps) {
  Dialogo d;
  // Backspace, Enter, Ctrl+V, a character beyond ASCII, the digits' neighbours, and two digits.
  for (int tecla : {8, 13, 22, 0xE9, int{'/'}, int{':'}, int{'0'}, int{'9'}}) {
    int code = tecla;
    const bool digito = tecla >= '0' && tecla <= '9';
    EXPECT_EQ(d.form.Text1_KeyPress(2, code), digito) << tecla;
    EXPECT_EQ(code, digito ? tecla : 0) << tecla;
  }
  EXPECT_EQ(d.dialogs.beeps, 6);
}

TEST(Form5, AFieldEmptyOrNotAWholeNumberUpTo32767TurnsItsLabelRedUntilFilled) {
  for (const std::string texto : {"", "abc", "32768", "-5", "1.5", "1e3", "   ", "12 3"}) {
    Dialogo d;
    d.form.Text1_Change(2, texto);
    d.form.Command1_Click();
    EXPECT_EQ(d.form.Label1_ForeColor(1), ui::kBlack);
    EXPECT_EQ(d.form.Label1_ForeColor(2), ui::kRed) << texto;
    ASSERT_EQ(d.dialogs.messages.size(), 1u);
    EXPECT_EQ(d.dialogs.messages[0].text, "Please, enter a numerical value for variables in red");
    EXPECT_EQ(d.dialogs.messages[0].icon, ui::Icon::Critical);
    // The dialog was drawn with the label red before the message opened over it.
    EXPECT_EQ(d.eventos, std::vector<std::string>{"shown 0 red"});
    d.form.Text1_Change(2, " 32767 ");
    d.form.Command1_Click();
    EXPECT_EQ(d.form.Label1_ForeColor(2), ui::kBlack);
    EXPECT_EQ(d.eventos, (std::vector<std::string>{"shown 0 red", "unload", "Form11"}));
    EXPECT_EQ(d.ajustes.PROF_SIMULACION, 32767);
  }
}

// LibreOffice or Excel holding the workbook would save over the batch's results: the user is
// asked first, and "No" leaves the dialog as it was with nothing stored or run.
TEST(Form5, AnotherProgramsLockFileBesideTheWorkbookAsksBeforeTheBatch) {
  testing::ScratchDir dir;
  std::ofstream(dir / ".~lock.libro.xlsx#") << "someone";
  Dialogo d;
  d.ruta_libro = dir / "libro.xlsx";
  d.ajustes = {1, 2, 3, OpcionCapacidad::Empirica, OpcionSolucion::Drenaje};
  d.dialogs.question_answers = {ui::Answer::No};
  d.form.Command1_Click();
  ASSERT_EQ(d.dialogs.questions.size(), 1u);
  EXPECT_CONTIENE(d.dialogs.questions[0].text,
                  "its lock file " + (dir / ".~lock.libro.xlsx#").string());
  EXPECT_CONTIENE(d.dialogs.questions[0].text,
                  "the results of this batch in Sim_batch, SSol_batch and WBal_batch");
  EXPECT_TRUE(d.eventos.empty());
  EXPECT_EQ(d.guardados(), "1 2 3 0 drenaje");
}

// A write-protected workbook could not take the results: "Accept" refuses it before the batch
// runs and before any question, naming the file; the dialog stays as it was, nothing stored.
TEST(Form5, AWriteProtectedWorkbookIsRefusedBeforeTheBatchRuns) {
  testing::ScratchDir dir;
  const std::filesystem::path ruta = dir / "libro.xlsx";
  std::ofstream(ruta) << "the workbook's bytes";
  std::ofstream(dir / ".~lock.libro.xlsx#") << "someone";
  std::filesystem::permissions(ruta, std::filesystem::perms::owner_read |
                                         std::filesystem::perms::group_read |
                                         std::filesystem::perms::others_read);
  Dialogo d;
  d.ruta_libro = ruta;
  d.ajustes = {1, 2, 3, OpcionCapacidad::Empirica, OpcionSolucion::Drenaje};
  d.form.Command1_Click();
  ASSERT_EQ(d.dialogs.messages.size(), 1u);
  EXPECT_EQ(d.dialogs.messages[0].text,
            "The batch was not run.\r\n\r\nThe workbook '" + ruta.string() +
                "' is write-protected (its permissions give no one the right to write it), so "
                "nothing was written to it. Make the file writable (for example with chmod u+w) "
                "and try again.");
  EXPECT_TRUE(d.dialogs.questions.empty());
  EXPECT_TRUE(d.eventos.empty());
  EXPECT_FALSE(d.form.descargado());
  EXPECT_EQ(d.guardados(), "1 2 3 0 drenaje");
  EXPECT_EQ(testing::ReadFile(ruta), "the workbook's bytes");
}

TEST(Form5, AcceptStoresTheFieldsAndTheChosenOptionOfEachFrameWithItsKeyword) {
  const std::pair<std::vector<int>, std::string> casos[] = {{{}, "1 saturación"},
                                                            {{0, 2}, "0 capacidad de campo"},
                                                            {{4}, "1 drenaje"},
                                                            {{0, 1, 4, 3}, "1 saturación"}};
  for (const auto& [clics, opciones] : casos) {
    Dialogo d;
    for (int clic : clics) d.form.Option1_Click(clic);
    d.form.Command1_Click();
    EXPECT_EQ(d.guardados(), "15 90 64 " + opciones);
  }
}

TEST(Form5, CancelStoresNothingAndAReopenedDialogShowsTheDefaults) {
  Dialogo d;
  d.ajustes = {1, 2, 3, OpcionCapacidad::Pedotransferencia, OpcionSolucion::CapacidadCampo};
  d.form.Text1_Change(1, "30");
  d.form.Option1_Click(0);
  d.form.Option1_Click(4);
  d.form.Command2_Click();
  EXPECT_EQ(d.eventos, (std::vector<std::string>{"unload"}));
  EXPECT_EQ(d.guardados(), "1 2 3 1 capacidad de campo");
  Form5 reabierto(d.entorno());
  reabierto.Form_Load();
  EXPECT_EQ(reabierto.Text1(1) + " " + reabierto.Text1(2) + " " + reabierto.Text1(3), "15 90 64");
  EXPECT_TRUE(reabierto.Option1(1) && reabierto.Option1(3) && !reabierto.Option1(4));
}

TEST(Form5, AfterTheBatchTheListsComeFirstThenTheEndOrTheFailureNeverBoth) {
  InformeBatch listas;
  listas.LISTA_SIN_DATOS = "\r\nS2, \r\n7, ";
  listas.observadas = {{"S4", "too thin"}};
  const std::tuple<EstadoOperacion, InformeBatch, const char*, ui::Icon> casos[] = {
      {EstadoOperacion::Completado, listas, "The batch is completed", ui::Icon::Information},
      {EstadoOperacion::NoGuardado, listas, "disk full", ui::Icon::Critical},
      {EstadoOperacion::Rechazado, {}, "disk full", ui::Icon::Critical}};
  for (const auto& [estado, informe, ultimo, icono] : casos) {
    Dialogo d;
    d.resultado = {estado, "disk full", informe};
    d.form.Command1_Click();
    const auto& m = d.dialogs.messages;
    ASSERT_EQ(m.size(), informe.observadas.empty() ? 1u : 3u);
    EXPECT_CONTIENE(m.back().text, ultimo);
    EXPECT_EQ(m.back().icon, icono);
    if (m.size() == 1) continue;
    EXPECT_EQ(m[0].text, "Can't find input data for these simulations: \r\n\r\nS2, \r\n7, ");
    EXPECT_EQ(m[0].icon, ui::Icon::Exclamation);
    EXPECT_EQ(m[1].text,
              "These simulations were refused or computed only in part:\r\nS4: too thin");
  }
}

TEST(Form11, CaptionsAndBarWidthsForThreeSimulations) {
  Form11 form([](const Progreso&) { return ResultadoOperacion{}; });
  EXPECT_EQ(form.Frame1_Caption(), "");
  EXPECT_EQ(form.Label1_Width(), 15.0f);
  const std::tuple<double, const char*, double> casos[] = {
      {33, "33%", 1549.35}, {67, "67%", 3145.65}, {100, "100% finishing", 4695}};
  for (const auto& [p, caption, twips] : casos) {
    form.MOSTRAR_PROGRESO(p);
    EXPECT_EQ(form.Frame1_Caption(), caption);
    EXPECT_TRUE(testing::Near(twips, form.Label1_Width(), 1e-3));
  }
}

TEST(Form11, RefusesToCloseUntilTheBatchHasEndedAndAnErrorIsNeverASuccess) {
  Form11 form([](const Progreso& progreso) -> ResultadoOperacion {
    progreso(50);
    throw std::runtime_error("boom");
  });
  form.Form_Activate();
  std::vector<double> vistos;
  const ResultadoOperacion r = form.ejecutar([&](double p) { vistos.push_back(p); });
  EXPECT_FALSE(form.QueryUnload());
  form.Form_Terminado();
  EXPECT_TRUE(form.QueryUnload());
  EXPECT_EQ(vistos, (std::vector<double>{50}));
  EXPECT_EQ(r.estado, EstadoOperacion::NoGuardado);
  EXPECT_CONTIENE(r.motivo, "boom");
}

}  // namespace
}  // namespace medravolix::batch
