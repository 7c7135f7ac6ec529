// The main window: menu bar, the client area with its picture, and the child windows inside it.
#pragma once

#include <QAction>
#include <QMainWindow>
#include <QPointer>
#include <filesystem>
#include <functional>

#include "batch/ejecutar_batch.h"
#include "crop_tool/form4.h"
#include "eto_tool/form2.h"
#include "shell/mdi_form1.h"
#include "ui/dialogs.h"

class QMdiSubWindow;

namespace medravolix::batch::qt {
class Form5View;
}
namespace medravolix::crop_tool::qt {
class Form4View;
}
namespace medravolix::eto_tool::qt {
class Form2View;
}

namespace medravolix::shell::qt {

class AreaMdi;

class MDIForm1View : public QMainWindow {
  Q_OBJECT
 public:
  MDIForm1View(MDIForm1& controller, ui::Dialogs& dialogs, QWidget* parent = nullptr);

  // Start-up: the window goes to the top-left corner of the screen, the splash shows for its
  // interval, then the window appears with the entries that need a workbook disabled.
  void MDIForm_Load(int splash_interval_ms);

  // Hands a document to the desktop's default program for it (the manual, for "Help"); the
  // program uses QDesktopServices, tests a fake.
  using AbrirDocumento = std::function<void(const std::filesystem::path&)>;
  void setAbrirDocumento(AbrirDocumento abrir) { abrir_documento_ = std::move(abrir); }

  // The settings dialog while it is open (tests).
  batch::qt::Form5View* form5() const;
  // The crop tool while it is open (tests).
  crop_tool::qt::Form4View* form4() const;
  // The reference-evapotranspiration tool while it is open (tests).
  eto_tool::qt::Form2View* form2() const;

 private:
  void crearMenus();
  void refrescarMenus();
  void mnuFileOpen_Click();
  void mnuSimBatch_Click();
  void mnuSimKcb_Click();
  void mnuSimETo_Click();
  void mnuHelp_Click();
  void mostrarDeNuevo(QMdiSubWindow* ventana);
  batch::ResultadoOperacion mostrarForm11(const batch::AjustesBatch& ajustes);

  MDIForm1& controller_;
  ui::Dialogs& dialogs_;
  AreaMdi* area_;
  QAction* mnuSimBatch_ = nullptr;
  QAction* mnuSimKcb_ = nullptr;
  QAction* mnuSimETo_ = nullptr;
  QPointer<QMdiSubWindow> form5_window_;
  QPointer<QMdiSubWindow> form4_window_;
  QPointer<QMdiSubWindow> form2_window_;
  // The crop tool's crop type and series, kept while its window is closed.
  crop_tool::DatosForm4 datos_form4_;
  // The evapotranspiration tool's station and series, kept while its window is closed.
  eto_tool::DatosForm2 datos_form2_;
  AbrirDocumento abrir_documento_;
};

}  // namespace medravolix::shell::qt
