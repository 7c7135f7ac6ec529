#include "shell/qt/mdi_form1_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include "batch/qt/form5_view.h"
#include "shell/qt/form10_view.h"
#include "support/fake_dialogs.h"

namespace medravolix::shell::qt {
namespace {

QStringList captions(const QList<QAction*>& actions) {
  QStringList texts;
  for (const QAction* a : actions) texts << a->text();
  return texts;
}

// The main window with workbooks made in memory and a batch that reports three simulations.
struct Program {
  medravolix::testing::FakeDialogs dialogs;
  std::vector<batch::AjustesBatch> batches;
  MDIForm1 controller{dialogs,
                      {"/nonexistent/bin", "/nonexistent/sample",
                       [](const std::filesystem::path& path) {
                         return workbook::Workbook::create({path.stem().string()});
                       },
                       [this](workbook::Workbook&, const batch::AjustesBatch& ajustes,
                              const batch::Progreso& progreso) {
                         batches.push_back(ajustes);
                         for (double p : {33.0, 67.0, 100.0}) progreso(p);
                         batch::ResultadoOperacion r;
                         r.estado = batch::EstadoOperacion::Completado;
                         return r;
                       }}};
  MDIForm1View window{controller, dialogs};

  QAction* action(const char* name) { return window.findChild<QAction*>(name); }
};

TEST(MDIForm1View, TheSplashComesFirstThenTheMainWindowWithItsMenus) {
  Program p;
  bool main_hidden_during_splash = false;
  bool splash_was_modal = false;
  QTimer::singleShot(0, [&] {
    main_hidden_during_splash = !p.window.isVisible();
    splash_was_modal = qobject_cast<Form10View*>(QApplication::activeModalWidget()) != nullptr;
  });
  p.window.MDIForm_Load(30);
  EXPECT_TRUE(main_hidden_during_splash);
  EXPECT_TRUE(splash_was_modal);
  EXPECT_TRUE(p.window.isVisible());
  EXPECT_EQ(p.window.windowTitle(), "MEDRAVOLIX");
  EXPECT_EQ(p.window.centralWidget()->size(), QSize(1020, 717));

  QMenuBar* bar = p.window.menuBar();
  EXPECT_EQ(captions(bar->actions()), (QStringList{"File", "Simulations", "Tools", "Help"}));
  EXPECT_EQ(captions(bar->actions()[0]->menu()->actions()), (QStringList{"Workbook", "Exit"}));
  EXPECT_EQ(captions(bar->actions()[1]->menu()->actions()), (QStringList{"Batch runs"}));
  EXPECT_EQ(captions(bar->actions()[2]->menu()->actions()),
            (QStringList{"Crop parameters", "Reference Evapotranspiration"}));
  EXPECT_EQ(bar->actions()[3]->menu(), nullptr);
  for (const char* name : {"mnuSimBatch", "mnuSimKcb", "mnuSimETo"}) {
    EXPECT_FALSE(p.action(name)->isEnabled()) << name;
  }
  for (const char* name : {"mnuFileOpen", "mnuFileExit", "mnuHelp"}) {
    EXPECT_TRUE(p.action(name)->isEnabled()) << name;
  }
  p.action("mnuHelp")->trigger();  // no manual beside the program: nothing happens
  EXPECT_TRUE(p.dialogs.messages.empty());
}

TEST(MDIForm1View, AWorkbookEnablesTheEntriesAndABatchRunsFromTheMenu) {
  Program p;
  p.window.MDIForm_Load(1);
  p.dialogs.file_answers = {"/data/mine.xlsx"};
  p.action("mnuFileOpen")->trigger();
  EXPECT_EQ(p.dialogs.start_folders.at(0), "/nonexistent/sample");
  for (const char* name : {"mnuSimBatch", "mnuSimKcb", "mnuSimETo"}) {
    EXPECT_TRUE(p.action(name)->isEnabled()) << name;
  }

  p.action("mnuSimBatch")->trigger();
  p.action("mnuSimBatch")->trigger();  // the dialog exists once
  auto* area = qobject_cast<QMdiArea*>(p.window.centralWidget());
  ASSERT_EQ(area->subWindowList().size(), 1);
  EXPECT_EQ(area->subWindowList()[0]->pos(), QPoint(0, 0));
  batch::qt::Form5View* form5 = p.window.form5();
  ASSERT_NE(form5, nullptr);

  form5->Command1()->click();  // the batch runs in the busy window until it is saved
  ASSERT_EQ(p.batches.size(), 1u);
  EXPECT_EQ(p.batches[0].OPCION_SOLUCION, "saturación");
  ASSERT_EQ(p.dialogs.messages.size(), 1u);
  EXPECT_EQ(p.dialogs.messages[0].text, "The batch is completed");
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(p.window.form5(), nullptr);
  EXPECT_TRUE(area->subWindowList().isEmpty());
}

}  // namespace
}  // namespace medravolix::shell::qt
