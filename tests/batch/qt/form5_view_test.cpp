#include "batch/qt/form5_view.h"

#include <gtest/gtest.h>

#include "support/fake_dialogs.h"
#include "support/qt_keys.h"

namespace medravolix::batch::qt {
namespace {

using testing::pressKey;

struct Dialog {
  medravolix::testing::FakeDialogs dialogs;
  AjustesBatch ajustes;
  int batches = 0;
  Form5View view{{dialogs,
                  ajustes,
                  [this](const AjustesBatch&) {
                    ++batches;
                    ResultadoOperacion r;
                    r.estado = EstadoOperacion::Completado;
                    return r;
                  },
                  {}}};
  Dialog() { view.show(); }
};

TEST(Form5View, ShowsTheControlsAtTheirPlaces) {
  Dialog d;
  EXPECT_EQ(d.view.size(), QSize(633, 585));
  EXPECT_EQ(d.view.Label1(2)->text(), "Depth of simulation/cm:");
  EXPECT_EQ(d.view.Text1(1)->geometry(), QRect(496, 72, 57, 31));
  EXPECT_EQ(d.view.Text1(3)->text(), "64");
  EXPECT_EQ(d.view.Command2()->geometry(), QRect(360, 512, 193, 41));
  EXPECT_TRUE(d.view.Option1(1)->isChecked());
  EXPECT_TRUE(d.view.Option1(3)->isChecked());
  // Each label shows its whole caption and stays clear of its field.
  for (int i = 1; i <= 3; ++i) {
    EXPECT_GE(d.view.Label1(i)->width(), d.view.Label1(i)->sizeHint().width());
    EXPECT_LT(d.view.Label1(i)->geometry().right(), d.view.Text1(i)->geometry().left());
  }
}

TEST(Form5View, TheKeyFilterLetsOnlyDigitsThroughAndBeepsForTheRest) {
  Dialog d;
  QLineEdit* field = d.view.Text1(1);
  field->clear();
  medravolix::testing::typeText(field, "1a.5-");
  EXPECT_EQ(field->text(), "15");
  EXPECT_EQ(d.dialogs.beeps, 3);

  pressKey(field, Qt::Key_Backspace, QString(QChar(8)));
  pressKey(field, Qt::Key_Return, QString(QChar(13)));
  pressKey(field, Qt::Key_V, QString(), Qt::ControlModifier);
  EXPECT_EQ(field->text(), "15");
  EXPECT_EQ(d.dialogs.beeps, 6);

  field->setCursorPosition(0);
  pressKey(field, Qt::Key_Delete, QString());  // no character: not filtered
  EXPECT_EQ(field->text(), "5");
  EXPECT_EQ(d.dialogs.beeps, 6);
}

TEST(Form5View, AnEmptiedFieldTurnsItsLabelRedAndTheBatchWaitsForIt) {
  Dialog d;
  d.view.Text1(2)->clear();
  d.view.Command1()->click();
  EXPECT_EQ(d.view.Label1(2)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_EQ(d.view.Label1(1)->palette().color(QPalette::WindowText), QColor(0, 0, 0));
  ASSERT_EQ(d.dialogs.messages.size(), 1u);
  EXPECT_EQ(d.batches, 0);
  EXPECT_TRUE(d.view.isVisible());

  d.view.Option1(4)->click();
  medravolix::testing::typeText(d.view.Text1(2), "60");
  d.view.Command1()->click();
  EXPECT_EQ(d.batches, 1);
  EXPECT_EQ(d.ajustes.PROF_SIMULACION, 60);
  EXPECT_EQ(d.ajustes.OPCION_SOLUCION, "drenaje");
  EXPECT_FALSE(d.view.isVisible());
  EXPECT_EQ(d.dialogs.messages.back().text, "The batch is completed");
}

}  // namespace
}  // namespace medravolix::batch::qt
