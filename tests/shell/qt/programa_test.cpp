// The user's road through the real windows: the splash, then the main window with its menus;
// bind a copy of the sample workbook through the file dialog, run a batch from the menu, and
// find the results saved in the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <QApplication>
#include <QFont>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include "batch/hojas_batch.h"
#include "batch/qt/form5_view.h"
#include "shell/qt/form10_view.h"
#include "shell/qt/mdi_form1_view.h"
#include "shell/ubicaciones.h"
#include "support/fake_dialogs.h"
#include "support/test_support.h"

namespace medravolix::shell::qt {
namespace {

using medravolix::testing::BinaryDir;

// "File: Workbook+ Exit+ | ...": each menu with its entries, "+" for enabled and "-" disabled.
QString menus(QMenuBar* bar) {
  QString text;
  for (QAction* menu : bar->actions()) {
    text += (text.isEmpty() ? "" : " | ") + menu->text() + ":";
    for (QAction* a : menu->menu() ? menu->menu()->actions() : QList<QAction*>{menu}) {
      text += " " + a->text() + (a->isEnabled() ? "+" : "-");
    }
  }
  return text;
}

TEST(Programa, StartsBindsTheSampleRunsABatchFromTheMenuAndSavesTheResults) {
  medravolix::testing::ScratchDir dir;
  const auto copia = medravolix::testing::CopyOfSample(dir, "mis datos.xlsx");
  medravolix::testing::FakeDialogs dialogs;
  MDIForm1 controller(dialogs, {BinaryDir(), carpetaEjemplo(BinaryDir()), {}, {}});
  MDIForm1View window(controller, dialogs);
  bool splash_first = false;
  QTimer::singleShot(0, [&] {
    splash_first = !window.isVisible() &&
                   qobject_cast<Form10View*>(QApplication::activeModalWidget()) != nullptr;
  });
  window.MDIForm_Load(30);
  EXPECT_TRUE(splash_first);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.windowTitle(), "MEDRAVOLIX");
  EXPECT_EQ(window.centralWidget()->size(), QSize(1020, 717));  // the client area, 15 twips a pixel
  EXPECT_EQ(menus(window.menuBar()),
            "File: Workbook+ Exit+ | Simulations: Batch runs- | Tools: Crop parameters- "
            "Reference Evapotranspiration- | Help: Help+");

  dialogs.file_answers = {copia.string()};
  window.findChild<QAction*>("mnuFileOpen")->trigger();
  EXPECT_EQ(dialogs.start_folders.at(0), (BinaryDir() / "share/medravolix").string());
  ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messages[0].text;
  EXPECT_FALSE(menus(window.menuBar()).contains("-"));  // every entry enabled
  window.findChild<QAction*>("mnuSimBatch")->trigger();
  window.findChild<QAction*>("mnuSimBatch")->trigger();  // the dialog exists once
  auto* area = qobject_cast<QMdiArea*>(window.centralWidget());
  ASSERT_EQ(area->subWindowList().size(), 1);
  EXPECT_EQ(area->subWindowList()[0]->pos(), QPoint(0, 0));
  // The dialog keeps its fixed size: it cannot be maximised.
  const Qt::WindowFlags flags = area->subWindowList()[0]->windowFlags();
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  ASSERT_NE(window.form5(), nullptr);
  window.form5()->Command1()->click();  // the batch runs in the busy window until it is saved
  ASSERT_GE(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages.front().text,
            "Can't find input data for these simulations: \r\n\r\nS14, ");
  EXPECT_EQ(dialogs.messages.back().text, "The batch is completed");
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window.form5(), nullptr);
  EXPECT_TRUE(area->subWindowList().isEmpty());

  const workbook::Workbook guardado = workbook::Workbook::open(copia);
  EXPECT_EQ(guardado.number(batch::kHojaSimulaciones, 2, 9), 64);  // NUM_CAPAS of simulation 1
  for (int columna = 12; columna <= 21; ++columna)
    EXPECT_TRUE(guardado.cell(batch::kHojaSolucion, 2, columna).isNumber()) << columna;
  for (int mes = 1; mes <= 12; ++mes)
    EXPECT_TRUE(guardado.cell(batch::kHojaBalance, batch::filaBalance(1, mes), 2).isNumber());
}

// The window is sized around its client area: however tall the style makes the menu bar, the
// client area keeps its design size of 15300 x 10755 twips.
TEST(Programa, TheClientAreaKeepsItsSizeWhateverTheMenuBarsHeight) {
  const QFont usual = QApplication::font("QMenuBar");
  std::vector<int> menu_heights;
  for (const int point_size : {0, 3 * std::max(usual.pointSize(), 10)}) {
    QFont font = usual;
    if (point_size > 0) font.setPointSize(point_size);
    QApplication::setFont(font, "QMenuBar");
    medravolix::testing::FakeDialogs dialogs;
    MDIForm1 controller(dialogs, {BinaryDir(), carpetaEjemplo(BinaryDir()), {}, {}});
    MDIForm1View window(controller, dialogs);
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(window.centralWidget()->size(), QSize(1020, 717)) << "menu font " << point_size;
    menu_heights.push_back(window.menuBar()->height());
  }
  QApplication::setFont(usual, "QMenuBar");
  EXPECT_GT(menu_heights[1], menu_heights[0]);  // the larger font made the menu bar taller
}

}  // namespace
}  // namespace medravolix::shell::qt
