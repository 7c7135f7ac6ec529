#include "shell/qt/form10_view.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include "shell/imagenes.h"
#include "ui/qt/geometry.h"
#include "ui/qt/picture_box.h"

namespace medravolix::shell::qt {

Form10View::Form10View(Form10& controller, QWidget* parent)
    : QDialog(parent), controller_(controller) {
  setWindowTitle(QString::fromUtf8(Form10::Caption));
  setFixedSize(ui::qt::sizeFromTwips(Form10::kAnchoCliente, Form10::kAltoCliente));
  auto* Image1 = new ui::qt::PictureBox(kPresentacionLado, kPresentacionLado, ui::kWhite, this);
  Image1->move(0, 0);
  dibujarPresentacion(*Image1);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect area(QPoint(0, 0), size());
    area.moveCenter(screen->availableGeometry().center());
    move(area.topLeft());
  }
  // The timer runs from the moment the window is loaded.
  auto* Timer1 = new QTimer(this);
  Timer1->setSingleShot(true);
  Timer1->setInterval(controller_.Timer1_Interval());
  connect(Timer1, &QTimer::timeout, this, &Form10View::Timer1_Timer);
  Timer1->start();
}

void Form10View::Timer1_Timer() {
  controller_.Timer1_Timer();
  if (controller_.descargado()) accept();
}

}  // namespace medravolix::shell::qt
