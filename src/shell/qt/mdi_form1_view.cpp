#include "shell/qt/mdi_form1_view.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QUrl>

#include "batch/form11.h"
#include "batch/form5.h"
#include "batch/qt/form11_view.h"
#include "batch/qt/form5_view.h"
#include "crop_tool/form4_controles.h"
#include "crop_tool/qt/form4_view.h"
#include "eto_tool/qt/form2_view.h"
#include "shell/form10.h"
#include "shell/qt/area_mdi.h"
#include "shell/qt/form10_view.h"
#include "ui/qt/geometry.h"

namespace medravolix::shell::qt {

namespace {
constexpr double kAnchoCliente = 15300;  // twips
constexpr double kAltoCliente = 10755;   // twips
}  // namespace

MDIForm1View::MDIForm1View(MDIForm1& controller, ui::Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent),
      controller_(controller),
      dialogs_(dialogs),
      area_(new AreaMdi(this)),
      abrir_documento_([](const std::filesystem::path& documento) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(documento.string())));
      }) {
  setWindowTitle(QString::fromUtf8(MDIForm1::Caption));
  setCentralWidget(area_);
  crearMenus();
  const QSize cliente = ui::qt::sizeFromTwips(kAnchoCliente, kAltoCliente);
  resize(cliente.width(), cliente.height() + menuBar()->sizeHint().height());
}

void MDIForm1View::crearMenus() {
  auto accion = [this](QMenu* menu, const char* nombre, const char* caption) {
    QAction* a = menu->addAction(QString::fromUtf8(caption));
    a->setObjectName(QString::fromUtf8(nombre));
    return a;
  };
  QMenu* mnuFile = menuBar()->addMenu(QStringLiteral("File"));
  mnuFile->setObjectName(QStringLiteral("mnuFile"));
  connect(accion(mnuFile, "mnuFileOpen", "Workbook"), &QAction::triggered, this,
          &MDIForm1View::mnuFileOpen_Click);
  connect(accion(mnuFile, "mnuFileExit", "Exit"), &QAction::triggered, qApp,
          &QCoreApplication::quit);
  QMenu* mnuSim = menuBar()->addMenu(QStringLiteral("Simulations"));
  mnuSim->setObjectName(QStringLiteral("mnuSim"));
  mnuSimBatch_ = accion(mnuSim, "mnuSimBatch", "Batch runs");
  connect(mnuSimBatch_, &QAction::triggered, this, &MDIForm1View::mnuSimBatch_Click);
  QMenu* mnuTool = menuBar()->addMenu(QStringLiteral("Tools"));
  mnuTool->setObjectName(QStringLiteral("mnuTool"));
  mnuSimKcb_ = accion(mnuTool, "mnuSimKcb", "Crop parameters");
  connect(mnuSimKcb_, &QAction::triggered, this, &MDIForm1View::mnuSimKcb_Click);
  mnuSimETo_ = accion(mnuTool, "mnuSimETo", "Reference Evapotranspiration");
  connect(mnuSimETo_, &QAction::triggered, this, &MDIForm1View::mnuSimETo_Click);
  QAction* mnuHelp = menuBar()->addAction(QStringLiteral("Help"));
  mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
  connect(mnuHelp, &QAction::triggered, this, &MDIForm1View::mnuHelp_Click);
  refrescarMenus();
}

void MDIForm1View::refrescarMenus() {
  mnuSimBatch_->setEnabled(controller_.mnuSimBatch_Enabled());
  mnuSimKcb_->setEnabled(controller_.mnuSimKcb_Enabled());
  mnuSimETo_->setEnabled(controller_.mnuSimETo_Enabled());
}

void MDIForm1View::MDIForm_Load(int splash_interval_ms) {
  move(0, 0);
  Form10 form10(splash_interval_ms);
  Form10View splash(form10);
  splash.exec();
  controller_.MDIForm_Load();
  refrescarMenus();
  show();
}

void MDIForm1View::mnuFileOpen_Click() {
  controller_.mnuFileOpen_Click();
  refrescarMenus();
  // The open tools read their lists again when the workbook bound now is another one (or was
  // read again); otherwise they change nothing.
  if (auto* form2 = this->form2()) form2->revisarLibro();
  if (auto* form4 = this->form4()) form4->revisarLibro();
}

// Showing a window that is open again brings it forward, back to its normal size when it was
// minimised.
void MDIForm1View::mostrarDeNuevo(QMdiSubWindow* ventana) {
  if (ventana->isMinimized()) ventana->showNormal();
  area_->setActiveSubWindow(ventana);
}

void MDIForm1View::mnuSimBatch_Click() {
  if (form5_window_) {
    mostrarDeNuevo(form5_window_);
    return;
  }
  batch::Form5::Entorno entorno{
      dialogs_,
      controller_.ajustes(),
      [this](const batch::AjustesBatch& ajustes) { return mostrarForm11(ajustes); },
      {},
      [this] {
        const workbook::Workbook* libro = controller_.LIBRO();
        return libro ? libro->path() : std::filesystem::path();
      },
      {}};
  auto* view = new batch::qt::Form5View(std::move(entorno));
  form5_window_ = area_->agregarHija(view, QString::fromUtf8(batch::Form5::Caption));
  form5_window_->show();
}

void MDIForm1View::mnuSimKcb_Click() {
  if (form4_window_) {
    mostrarDeNuevo(form4_window_);
    if (auto* form4 = this->form4()) form4->revisarLibro();
    return;
  }
  auto* view = new crop_tool::qt::Form4View(
      dialogs_, [this] { return controller_.LIBRO(); }, datos_form4_);
  form4_window_ = area_->agregarHija(view, QString::fromUtf8(crop_tool::controles::kCaption));
  form4_window_->show();
}

void MDIForm1View::mnuSimETo_Click() {
  if (form2_window_) {
    mostrarDeNuevo(form2_window_);
    if (auto* form2 = this->form2()) form2->revisarLibro();
    return;
  }
  auto* view = new eto_tool::qt::Form2View(
      dialogs_, [this] { return controller_.LIBRO(); }, datos_form2_);
  form2_window_ = area_->agregarHija(view, QString::fromUtf8(eto_tool::Form2::Caption));
  form2_window_->show();
}

batch::ResultadoOperacion MDIForm1View::mostrarForm11(const batch::AjustesBatch& ajustes) {
  batch::Form11 form11([this, ajustes](const batch::Progreso& progreso) {
    return controller_.ejecutarBatch(ajustes, progreso);
  });
  batch::qt::Form11View view(form11, this);
  view.exec();
  return form11.resultado();
}

void MDIForm1View::mnuHelp_Click() {
  // Nothing is shown when the manual is not there, as when the desktop cannot open it.
  if (const auto manual = controller_.mnuHelp_Click()) abrir_documento_(*manual);
}

batch::qt::Form5View* MDIForm1View::form5() const {
  if (!form5_window_) return nullptr;
  return qobject_cast<batch::qt::Form5View*>(form5_window_->widget());
}

crop_tool::qt::Form4View* MDIForm1View::form4() const {
  if (!form4_window_) return nullptr;
  return qobject_cast<crop_tool::qt::Form4View*>(form4_window_->widget());
}

eto_tool::qt::Form2View* MDIForm1View::form2() const {
  if (!form2_window_) return nullptr;
  return qobject_cast<eto_tool::qt::Form2View*>(form2_window_->widget());
}

}  // namespace medravolix::shell::qt
