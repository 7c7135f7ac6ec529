#include "batch/qt/form11_view.h"

#include <QCloseEvent>
#include <QMetaObject>
#include <QPalette>
#include <algorithm>

#include "ui/qt/geometry.h"
#include "ui/qt/picture_box.h"
#include "ui/twips.h"

namespace medravolix::batch::qt {

namespace {
const QString kComic = QStringLiteral("Comic Sans MS");
}

Form11View::Form11View(Form11& controller, QWidget* parent)
    : QDialog(parent), controller_(controller) {
  setWindowTitle(QString::fromUtf8(Form11::Caption));
  setModal(true);
  setFixedSize(ui::qt::sizeFromTwips(Form11::kAnchoCliente, Form11::kAltoCliente));
  auto* Label2 = new QLabel(QString::fromUtf8(Form11::Label2_Caption), this);
  Label2->setFont(ui::qt::windowFont(kComic, 12));
  ui::qt::placeLabelAt(Label2, Form11::Label2_Place);
  frame1_ = new QGroupBox(this);
  frame1_->setFont(ui::qt::windowFont(kComic, 10));
  ui::qt::placeAt(frame1_, Form11::Frame1_Place);
  label1_ = new QLabel(frame1_);
  label1_->setAutoFillBackground(true);
  QPalette paleta = label1_->palette();
  paleta.setColor(QPalette::Window, ui::qt::toQColor(Form11::Label1_BackColor));
  label1_->setPalette(paleta);
  refrescar();
}

Form11View::~Form11View() {
  if (lote_.joinable()) lote_.join();
}

void Form11View::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (activado_) return;
  activado_ = true;
  QMetaObject::invokeMethod(this, &Form11View::Form_Activate, Qt::QueuedConnection);
}

// The batch runs on its own thread; its progress and its end come back to this window's thread.
void Form11View::Form_Activate() {
  controller_.Form_Activate();
  lote_ = std::thread([this] {
    controller_.ejecutar([this](double p) {
      QMetaObject::invokeMethod(
          this,
          [this, p] {
            controller_.MOSTRAR_PROGRESO(p);
            refrescar();
          },
          Qt::QueuedConnection);
    });
    QMetaObject::invokeMethod(this, &Form11View::Form_Terminado, Qt::QueuedConnection);
  });
}

void Form11View::Form_Terminado() {
  lote_.join();
  controller_.Form_Terminado();
  accept();
}

void Form11View::refrescar() {
  frame1_->setTitle(QString::fromStdString(controller_.Frame1_Caption()));
  const int ancho_px = std::max(1, ui::twipsToPixels(controller_.Label1_Width()));
  label1_->setGeometry(ui::twipsToPixels(Form11::kLabel1_Left),
                       ui::twipsToPixels(Form11::kLabel1_Top), ancho_px,
                       ui::twipsToPixels(Form11::kLabel1_Height));
  update();
}

void Form11View::closeEvent(QCloseEvent* event) {
  if (controller_.QueryUnload()) {
    QDialog::closeEvent(event);
  } else {
    event->ignore();
  }
}

// Escape closes a dialog through reject(): ignored while the batch runs.
void Form11View::reject() {
  if (controller_.QueryUnload()) QDialog::reject();
}

}  // namespace medravolix::batch::qt
