// "Tools" > "Reference Evapotranspiration": the tool opens once, as a child window at the
// top-left corner, works on the bound workbook, and keeps its station while closed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "eto_tool/qt/form2_view.h"
#include "shell/qt/mdi_form1_view.h"
#include "shell/ubicaciones.h"
#include "support/fake_dialogs.h"
#include "support/test_support.h"
#include "workbook/workbook.h"

namespace medravolix::shell::qt {
namespace {

using medravolix::testing::BinaryDir;

TEST(HerramientaEto, OpensOnceAtTheTopLeftAndStartsAgainWithoutAStation) {
  medravolix::testing::ScratchDir dir;
  const auto copia = medravolix::testing::CopyOfSample(dir);
  medravolix::testing::FakeDialogs dialogs;
  MDIForm1 controller(dialogs, {BinaryDir(), carpetaEjemplo(BinaryDir()), {}, {}});
  MDIForm1View window(controller, dialogs);
  window.show();
  dialogs.file_answers = {copia.string()};
  window.findChild<QAction*>("mnuFileOpen")->trigger();
  QAction* herramienta = window.findChild<QAction*>("mnuSimETo");
  herramienta->trigger();
  herramienta->trigger();
  auto* area = qobject_cast<QMdiArea*>(window.centralWidget());
  ASSERT_EQ(area->subWindowList().size(), 1);
  EXPECT_EQ(area->subWindowList()[0]->pos(), QPoint(0, 0));
  EXPECT_EQ(area->subWindowList()[0]->windowTitle(), "MEDRAVOLIX");
  EXPECT_FALSE(area->subWindowList()[0]->windowFlags() & Qt::WindowMaximizeButtonHint);
  ASSERT_NE(window.form2(), nullptr);
  EXPECT_EQ(window.form2()->Combo1()->count(), 6);  // the stations of the bound workbook
  window.form2()->Combo1()->activated(2);

  window.form2()->Command2()->click();  // "Close"
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window.form2(), nullptr);
  herramienta->trigger();
  ASSERT_NE(window.form2(), nullptr);
  EXPECT_EQ(window.form2()->Combo1()->currentIndex(), -1);
  EXPECT_FALSE(window.form2()->Frame1()->isEnabled());
  EXPECT_EQ(window.form2()->controller().datos().ESTACION.NOMBRE_ESTACION, "Zaragoza Aeropuerto");
  EXPECT_TRUE(dialogs.messages.empty());
}

// Choosing a tool again while its window is minimised brings it back to its normal size and
// forward; binding another workbook while it is open fills its list from that workbook.
TEST(HerramientaEto, ChoosingAMinimisedToolAgainRestoresItAndItFollowsANewWorkbook) {
  medravolix::testing::ScratchDir dir;
  const auto copia = medravolix::testing::CopyOfSample(dir);
  const auto otra = medravolix::testing::CopyOfSample(dir, "otra.xlsx");
  {
    workbook::Workbook libro = workbook::Workbook::open(otra);
    libro.setCell("Clim_WS", 2, 1, workbook::CellValue::text("Otra"));
    libro.save();
  }
  medravolix::testing::FakeDialogs dialogs;
  MDIForm1 controller(dialogs, {BinaryDir(), carpetaEjemplo(BinaryDir()), {}, {}});
  MDIForm1View window(controller, dialogs);
  window.show();
  dialogs.file_answers = {copia.string()};
  window.findChild<QAction*>("mnuFileOpen")->trigger();
  auto* area = qobject_cast<QMdiArea*>(window.centralWidget());
  for (const char* entrada : {"mnuSimETo", "mnuSimKcb"}) {
    QAction* herramienta = window.findChild<QAction*>(entrada);
    herramienta->trigger();
    QMdiSubWindow* hija = area->currentSubWindow();
    ASSERT_NE(hija, nullptr) << entrada;
    hija->showMinimized();
    ASSERT_TRUE(hija->isMinimized()) << entrada;
    area->activateNextSubWindow();
    herramienta->trigger();
    EXPECT_FALSE(hija->isMinimized()) << entrada;
    EXPECT_EQ(area->currentSubWindow(), hija) << entrada;
  }
  EXPECT_EQ(area->subWindowList().size(), 2);

  ASSERT_NE(window.form2(), nullptr);
  EXPECT_FALSE(window.form2()->Combo1()->itemText(0).startsWith("Otra"));
  dialogs.file_answers = {otra.string()};
  window.findChild<QAction*>("mnuFileOpen")->trigger();
  EXPECT_TRUE(window.form2()->Combo1()->itemText(0).startsWith("Otra"));
  EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace medravolix::shell::qt
