#include "shell/qt/area_mdi.h"

#include <QPainter>

#include "shell/imagenes.h"
#include "ui/qt/geometry.h"
#include "ui/qt/picture_box.h"
#include "ui/recording_canvas.h"

namespace medravolix::shell::qt {

AreaMdi::AreaMdi(QWidget* parent) : QMdiArea(parent) {
  ui::RecordingCanvas canvas;
  dibujarFondo(canvas);
  picture_ = QPixmap(ui::qt::sizeFromTwips(kFondoAncho, kFondoAlto));
  QPainter painter(&picture_);
  ui::qt::PictureBox::replay(painter, canvas.calls());
}

QMdiSubWindow* AreaMdi::agregarHija(QWidget* view, const QString& caption) {
  QMdiSubWindow* hija =
      addSubWindow(view, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                             Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                             Qt::WindowCloseButtonHint);
  hija->setAttribute(Qt::WA_DeleteOnClose);
  hija->setWindowTitle(caption);
  hija->move(0, 0);
  return hija;
}

void AreaMdi::paintEvent(QPaintEvent* event) {
  QMdiArea::paintEvent(event);
  QPainter painter(viewport());
  painter.drawPixmap(0, 0, picture_);
}

}  // namespace medravolix::shell::qt
