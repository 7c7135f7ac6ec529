#include "batch/form5.h"

#include <gtest/gtest.h>

#include "support/fake_dialogs.h"

namespace medravolix::batch {
namespace {

using testing::FakeDialogs;

// The dialog with a busy window that records what it was asked to run and answers with a
// prepared outcome.
struct Dialog {
  FakeDialogs dialogs;
  AjustesBatch ajustes;
  std::vector<std::string> events;
  std::vector<AjustesBatch> batches;
  ResultadoOperacion outcome = completed();
  Form5 form{{dialogs, ajustes,
              [this](const AjustesBatch& a) {
                events.push_back("Form11");
                batches.push_back(a);
                return outcome;
              },
              [this] { events.push_back("unload"); }}};

  Dialog() { form.Form_Load(); }

  static ResultadoOperacion completed() {
    ResultadoOperacion r;
    r.estado = EstadoOperacion::Completado;
    return r;
  }
  // Types the characters into a field as the window does: a character passes or is cancelled.
  void type(int index, const std::string& keys) {
    for (char key : keys) {
      int code = static_cast<unsigned char>(key);
      if (form.Text1_KeyPress(index, code)) {
        form.Text1_Change(index, form.Text1(index) + static_cast<char>(code));
      }
    }
  }
};

TEST(Form5, OpensWithTheDefaults) {
  Dialog d;
  EXPECT_EQ(d.form.Text1(1), "15");
  EXPECT_EQ(d.form.Text1(2), "90");
  EXPECT_EQ(d.form.Text1(3), "64");
  EXPECT_FALSE(d.form.Option1(0));
  EXPECT_TRUE(d.form.Option1(1));
  EXPECT_FALSE(d.form.Option1(2));
  EXPECT_TRUE(d.form.Option1(3));
  EXPECT_FALSE(d.form.Option1(4));
  for (int i = 1; i <= 3; ++i) EXPECT_FALSE(d.form.Label1_ForeColor(i).has_value());
}

TEST(Form5, OnlyDigitsPassTheKeyFilterAndEveryOtherCharacterBeeps) {
  Dialog d;
  d.form.Text1_Change(1, "");
  d.type(1, "1a.5-");
  EXPECT_EQ(d.form.Text1(1), "15");
  EXPECT_EQ(d.dialogs.beeps, 3);

  // Backspace, Enter, Escape, Ctrl+V, DEL and a character beyond ASCII are all cancelled.
  for (int key : {8, 13, 27, 22, 127, 0xE9, int{' '}, int{'+'}, int{'e'}}) {
    int code = key;
    EXPECT_FALSE(d.form.Text1_KeyPress(2, code)) << key;
    EXPECT_EQ(code, 0) << key;
  }
  EXPECT_EQ(d.dialogs.beeps, 12);
  for (int key = '0'; key <= '9'; ++key) {
    int code = key;
    EXPECT_TRUE(d.form.Text1_KeyPress(3, code));
    EXPECT_EQ(code, key);
  }
  EXPECT_EQ(d.dialogs.beeps, 12);
}

TEST(Form5, AnEmptyFieldTurnsItsLabelRedAndStopsUntilItIsFilled) {
  Dialog d;
  d.form.Text1_Change(2, "");
  d.form.Command1_Click();
  EXPECT_EQ(d.form.Label1_ForeColor(1), ui::kBlack);
  EXPECT_EQ(d.form.Label1_ForeColor(2), ui::kRed);
  EXPECT_EQ(d.form.Label1_ForeColor(3), ui::kBlack);
  ASSERT_EQ(d.dialogs.messages.size(), 1u);
  EXPECT_EQ(d.dialogs.messages[0].text, "Please, enter a numerical value for variables in red");
  EXPECT_EQ(d.dialogs.messages[0].icon, ui::Icon::Critical);
  EXPECT_FALSE(d.form.descargado());
  EXPECT_TRUE(d.events.empty());
  EXPECT_EQ(d.ajustes.PROF_SIMULACION, 90);  // nothing stored

  d.type(2, "120");
  d.form.Command1_Click();
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(d.form.Label1_ForeColor(i), ui::kBlack);
  EXPECT_TRUE(d.form.descargado());
  EXPECT_EQ(d.events, (std::vector<std::string>{"unload", "Form11"}));
  EXPECT_EQ(d.ajustes.PROF_SIMULACION, 120);
}

TEST(Form5, AFieldThatIsNotAWholeNumberUpTo32767IsRefusedLikeAnEmptyOne) {
  for (const std::string pasted :
       {"abc", "32768", "-5", "1.5", "1e3", "99999999999999999999", "   ", "12 3"}) {
    Dialog d;
    d.form.Text1_Change(1, pasted);
    d.form.Command1_Click();
    EXPECT_EQ(d.form.Label1_ForeColor(1), ui::kRed) << pasted;
    EXPECT_TRUE(d.events.empty()) << pasted;
    EXPECT_EQ(d.ajustes.PROF_EVAPORATIVA, 15) << pasted;
  }
  Dialog d;
  d.form.Text1_Change(1, "32767");
  d.form.Text1_Change(2, "0");
  d.form.Text1_Change(3, " 007 ");
  d.form.Command1_Click();
  ASSERT_EQ(d.batches.size(), 1u);
  EXPECT_EQ(d.batches[0].PROF_EVAPORATIVA, 32767);
  EXPECT_EQ(d.batches[0].PROF_SIMULACION, 0);
  EXPECT_EQ(d.batches[0].NUM_CAPAS, 7);
}

TEST(Form5, CancelStoresNothingAndAReopenedDialogShowsTheDefaults) {
  Dialog d;
  d.form.Text1_Change(1, "30");
  d.form.Option1_Click(0);
  d.form.Command2_Click();
  EXPECT_TRUE(d.form.descargado());
  EXPECT_EQ(d.events, (std::vector<std::string>{"unload"}));
  EXPECT_EQ(d.ajustes.PROF_EVAPORATIVA, 15);
  EXPECT_EQ(d.ajustes.OPCION_CAPACIDAD, 1);

  Form5 reopened(
      {d.dialogs, d.ajustes, [](const AjustesBatch&) { return Dialog::completed(); }, {}});
  reopened.Form_Load();
  EXPECT_EQ(reopened.Text1(1), "15");
  EXPECT_TRUE(reopened.Option1(1));
  EXPECT_FALSE(reopened.Option1(0));
}

TEST(Form5, AcceptStoresTheFiveSettingsWithTheirKeywords) {
  Dialog d;
  d.form.Command1_Click();
  EXPECT_EQ(d.ajustes.PROF_EVAPORATIVA, 15);
  EXPECT_EQ(d.ajustes.PROF_SIMULACION, 90);
  EXPECT_EQ(d.ajustes.NUM_CAPAS, 64);
  EXPECT_EQ(d.ajustes.OPCION_CAPACIDAD, 1);
  EXPECT_EQ(d.ajustes.OPCION_SOLUCION, "saturación");

  Dialog e;
  e.form.Option1_Click(0);
  e.form.Option1_Click(2);
  e.form.Text1_Change(3, "10");
  EXPECT_FALSE(e.form.Option1(1));
  EXPECT_FALSE(e.form.Option1(3));
  EXPECT_TRUE(e.form.Option1(0));  // each frame keeps one option
  e.form.Command1_Click();
  EXPECT_EQ(e.ajustes.OPCION_CAPACIDAD, 0);
  EXPECT_EQ(e.ajustes.OPCION_SOLUCION, "capacidad de campo");
  EXPECT_EQ(e.ajustes.NUM_CAPAS, 10);

  Dialog f;
  f.form.Option1_Click(4);
  f.form.Command1_Click();
  EXPECT_EQ(f.ajustes.OPCION_SOLUCION, "drenaje");
  EXPECT_EQ(f.ajustes.OPCION_CAPACIDAD, 1);
}

TEST(Form5, AfterTheBatchTheListsComeFirstThenTheEndOrTheFailureNeverBoth) {
  InformeBatch informe;
  informe.LISTA_SIN_DATOS = "\r\nS2, \r\n7, ";
  informe.observadas = {{"S4", "Soil_batch!D7 holds the text \"x\" where a number is expected"}};

  Dialog d;
  d.outcome.informe = informe;
  d.form.Command1_Click();
  ASSERT_EQ(d.dialogs.messages.size(), 3u);
  EXPECT_EQ(d.dialogs.messages[0].text,
            "Can't find input data for these simulations: \r\n\r\nS2, \r\n7, ");
  EXPECT_EQ(d.dialogs.messages[0].icon, ui::Icon::Exclamation);
  EXPECT_NE(d.dialogs.messages[1].text.find("S4"), std::string::npos);
  EXPECT_EQ(d.dialogs.messages[2].text, "The batch is completed");
  EXPECT_EQ(d.dialogs.messages[2].icon, ui::Icon::Information);

  Dialog refused;
  refused.outcome.estado = EstadoOperacion::Rechazado;
  refused.outcome.motivo = "The workbook has no sheet named 'Constants'";
  refused.form.Command1_Click();
  ASSERT_EQ(refused.dialogs.messages.size(), 1u);
  EXPECT_EQ(refused.dialogs.messages[0].icon, ui::Icon::Critical);
  EXPECT_NE(refused.dialogs.messages[0].text.find("no sheet named 'Constants'"), std::string::npos);

  Dialog unsaved;
  unsaved.outcome.estado = EstadoOperacion::NoGuardado;
  unsaved.outcome.motivo = "disk full";
  unsaved.outcome.informe = informe;
  unsaved.form.Command1_Click();
  ASSERT_EQ(unsaved.dialogs.messages.size(), 3u);
  EXPECT_EQ(unsaved.dialogs.messages[0].icon, ui::Icon::Exclamation);
  EXPECT_EQ(unsaved.dialogs.messages[2].icon, ui::Icon::Critical);
  EXPECT_NE(unsaved.dialogs.messages[2].text.find("disk full"), std::string::npos);
  for (const auto& m : unsaved.dialogs.messages) EXPECT_NE(m.text, "The batch is completed");
}

}  // namespace
}  // namespace medravolix::batch
