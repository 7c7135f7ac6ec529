// The batch settings dialog as the user meets it: keys typed into its fields, and the message
// about empty fields shown over labels that are already red.
#include <gtest/gtest.h>

#include <QApplication>

#include "batch/qt/form5_view.h"
#include "support/fake_dialogs.h"
#include "support/qt_keys.h"

namespace medravolix::batch::qt {
namespace {

// Dialogs that note the colour of "Depth of simulation/cm:" as each message box opens.
class DialogsQueMiran : public medravolix::testing::FakeDialogs {
 public:
  QLabel* etiqueta = nullptr;
  std::vector<QColor> colores;
  void messageBox(const std::string& text, ui::Icon icon) override {
    colores.push_back(etiqueta->palette().color(QPalette::WindowText));
    FakeDialogs::messageBox(text, icon);
  }
};

struct Ventana {
  DialogsQueMiran dialogs;
  AjustesBatch ajustes;
  Form5View view{Form5::Entorno{
      dialogs, ajustes, [](const AjustesBatch&) { return ResultadoOperacion{}; }, {}, {}, {}}};
  Ventana() { dialogs.etiqueta = view.Label1(2); }
};

TEST(Form5View, DeleteEditsTheFieldsAndBackspaceIsRefusedWithABeep) {
  Ventana v;
  QLineEdit* campo = v.view.Text1(1);
  campo->setCursorPosition(0);
  medravolix::testing::pressKey(campo, Qt::Key_Delete, QString(QChar(0x7F)));  // as X11 sends it
  EXPECT_EQ(campo->text(), "5");
  medravolix::testing::pressKey(campo, Qt::Key_Delete, QString(QChar(0x7F)));
  EXPECT_EQ(campo->text(), "");
  EXPECT_EQ(v.dialogs.beeps, 0);
  medravolix::testing::typeText(campo, "42");
  medravolix::testing::pressKey(campo, Qt::Key_Backspace, QString(QChar(8)));
  EXPECT_EQ(campo->text(), "42");
  EXPECT_EQ(v.dialogs.beeps, 1);
  EXPECT_EQ(v.view.controller().Text1(1), "42");
}

TEST(Form5View, TheEmptyFieldsLabelIsRedWhenTheMessageOpens) {
  Ventana v;
  v.view.Text1(2)->clear();
  v.view.Command1()->click();
  ASSERT_EQ(v.dialogs.colores.size(), 1u);
  EXPECT_EQ(v.dialogs.colores[0], QColor(255, 0, 0));
  EXPECT_EQ(v.dialogs.messages[0].text, Form5::kMensajeVacio);
}

}  // namespace
}  // namespace medravolix::batch::qt
