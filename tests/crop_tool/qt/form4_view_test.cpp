// The crop tool window on a copy of the sample workbook, opened from the main window's menu and
// driven as a user would: a rotation of three crops built by clicks on the calendar (one crossing
// the year's end) and annotated, then a tree crop.
#include "crop_tool/qt/form4_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>

#include "crop_tool/libro_cultivos.h"
#include "shell/qt/mdi_form1_view.h"

#include "support/fake_dialogs.h"
#include "support/test_support.h"

namespace medravolix::crop_tool::qt {
namespace {

// The pointer moved to day d of the calendar and, when asked, a click there.
void pointerOnDay(Form4View& v, int dia, bool clic) {
  const QPointF punto((30.0 * dia - 15) / 15.0, 10);
  QMouseEvent mover(QEvent::MouseMove, punto, v.Picture1()->mapToGlobal(punto), Qt::NoButton,
                    Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(v.Picture1(), &mover);
  if (!clic) return;
  QMouseEvent pulsar(QEvent::MouseButtonPress, punto, v.Picture1()->mapToGlobal(punto),
                     Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(v.Picture1(), &pulsar);
}

QColor colourOnDay(Form4View& v, int dia) {
  return v.Picture1()->grab().toImage().pixelColor(static_cast<int>((30.0 * dia - 15) / 15), 22);
}

TEST(Form4View, FromTheMenuARotationOfThreeCropsAndATreeCrop) {
  testing::ScratchDir dir;
  const auto archivo = testing::CopyOfSample(dir, "sample copy.xlsx");
  testing::FakeDialogs dialogs;
  shell::MDIForm1 principal(dialogs, {testing::BinaryDir(), {}, {}, {}});
  shell::qt::MDIForm1View ventana(principal, dialogs);
  ventana.show();
  dialogs.file_answers = {archivo.string()};
  ventana.findChild<QAction*>("mnuFileOpen")->trigger();
  ventana.findChild<QAction*>("mnuSimKcb")->trigger();
  ventana.findChild<QAction*>("mnuSimKcb")->trigger();  // the window exists once
  auto* area = qobject_cast<QMdiArea*>(ventana.centralWidget());
  ASSERT_EQ(area->subWindowList().size(), 1);
  EXPECT_EQ(area->subWindowList()[0]->pos(), QPoint(0, 0));
  ASSERT_NE(ventana.form4(), nullptr);
  Form4View& v = *ventana.form4();
  EXPECT_FALSE(v.Picture1()->isEnabled() || v.Grid()->isVisible());
  v.Option1(0)->click();
  EXPECT_EQ(v.Combo1()->count(), 10);
  // Sweet melon from 10 May, lettuce from 12 September, potato from 27 December into May.
  const std::pair<int, int> cultivos[] = {{6, 130}, {7, 255}, {5, 361}};
  for (const auto& [k, dia] : cultivos) {
    emit v.Combo1()->activated(k);
    pointerOnDay(v, dia, true);
  }
  EXPECT_TRUE(dialogs.messages.empty());
  ASSERT_EQ(v.List1()->count(), 3);
  EXPECT_EQ(v.List1()->item(2)->text(), "Potato: December 27th-May 6th");
  EXPECT_EQ(colourOnDay(v, 150), QColor(Qt::green));
  EXPECT_EQ(colourOnDay(v, 300), QColor(Qt::blue));
  EXPECT_EQ(colourOnDay(v, 20), QColor(Qt::magenta));  // the potato's second box
  EXPECT_EQ(colourOnDay(v, 128), QColor(Qt::white));
  pointerOnDay(v, 200, false);
  EXPECT_TRUE(v.Text1()->isVisible());
  EXPECT_EQ(v.Text1()->text(), "July 19th");
  dialogs.input_answers = {"three crops"};
  v.Command(1)->click();
  EXPECT_EQ(workbook::Workbook::open(archivo).cell("Crop_batch", 122, 1).toDisplayText(),
            "three crops");

  v.Option1(1)->click();
  emit v.Combo1()->activated(2);  // almond
  EXPECT_FALSE(v.Picture1()->isEnabled());
  EXPECT_EQ(colourOnDay(v, 150), QColor(Qt::green));
  EXPECT_EQ(v.List1()->item(0)->text(), "Almond");
  EXPECT_EQ(v.Grid()->item(1, 6)->text(), "1.417");  // June: 0.85 over a cover of 0.6
  v.Command(3)->click();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(ventana.form4(), nullptr);
}

// Published tree coefficients of three and four decimals show whole in the month columns, and
// the grid's columns stay inside its width.
TEST(Form4View, TheTreeCropGridShowsEveryCoefficientWhole) {
  auto libro = std::make_unique<workbook::Workbook>(prueba::libroCultivos());
  const double kcb[] = {0.6375, 0.625, 0.1234, 0.9875, 1.0625, 0.5125,
                        0.6375, 0.625, 0.7125, 0.8375, 0.4625, 0.6375};
  for (int m = 1; m <= 12; ++m) libro->setCell("Tree_crops", 2, m + 2, prueba::N(kcb[m - 1]));
  testing::FakeDialogs dialogs;
  DatosForm4 datos;
  Form4View v(
      dialogs, [&] { return libro.get(); }, datos);
  v.show();
  v.Option1(1)->click();
  emit v.Combo1()->activated(0);
  ASSERT_TRUE(dialogs.messages.empty());
  ui::qt::GridTable& grid = *v.Grid();
  const QFontMetrics metrics(grid.font());
  int ancho = 0;
  for (int c = 0; c < grid.columnCount(); ++c) {
    ancho += grid.columnWidth(c);
    for (int r = 0; r < grid.rowCount(); ++r) {
      const QString texto = grid.item(r, c)->text();
      // The cell's text area is its width less a margin of 3 pixels on either side.
      EXPECT_LE(metrics.horizontalAdvance(texto) + 6, grid.columnWidth(c)) << texto.toStdString();
    }
  }
  EXPECT_EQ(grid.item(1, 1)->text(), "0.6375");
  EXPECT_LE(ancho, grid.viewport()->width());
}

}  // namespace
}  // namespace medravolix::crop_tool::qt
