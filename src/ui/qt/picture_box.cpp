#include "ui/qt/picture_box.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPen>
#include <QRectF>

#include "ui/qt/geometry.h"
#include "ui/twips.h"

namespace medravolix::ui::qt {

namespace {

QPointF toPixels(double x, double y) {
  return QPointF(x / kTwipsPerPixel, y / kTwipsPerPixel);
}

void drawLineOrBox(QPainter& painter, const CanvasCall& call) {
  const QColor color = toQColor(call.color);
  QPen pen(color, call.pen_width_px);
  pen.setCapStyle(Qt::SquareCap);
  painter.setPen(pen);
  const QPointF a = toPixels(call.x1, call.y1);
  const QPointF b = toPixels(call.x2, call.y2);
  if (call.kind == CanvasCall::Kind::Line) {
    painter.drawLine(QLineF(a, b));
  } else if (call.filled) {
    painter.fillRect(QRectF(a, b).normalized(), color);
  } else {
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(a, b).normalized());
  }
}

void drawText(QPainter& painter, const CanvasCall& call) {
  const QFont font =
      windowFont(QString::fromStdString(call.font_family), call.font_size_pt, call.bold);
  painter.setFont(font);
  painter.setPen(toQColor(call.color));
  const QPointF corner = toPixels(call.x1, call.y1);
  painter.drawText(corner + QPointF(0, QFontMetricsF(font).ascent()),
                   QString::fromStdString(call.text));
}

}  // namespace

QColor toQColor(Rgb color) {
  return QColor(color.r, color.g, color.b);
}

PictureBox::PictureBox(double width_twips, double height_twips, Rgb background, QWidget* parent)
    : QWidget(parent), background_(background) {
  setFixedSize(sizeFromTwips(width_twips, height_twips));
}

void PictureBox::clear(Rgb background) {
  background_ = background;
  drawing_.clear(background);
  update();
}

void PictureBox::setPenWidth(int width_px) {
  drawing_.setPenWidth(width_px);
}

void PictureBox::setFont(const std::string& family, double size_pt, bool bold) {
  drawing_.setFont(family, size_pt, bold);
}

void PictureBox::setTextColor(Rgb color) {
  drawing_.setTextColor(color);
}

void PictureBox::line(double x1, double y1, double x2, double y2, Rgb color) {
  drawing_.line(x1, y1, x2, y2, color);
  update();
}

void PictureBox::box(double x1, double y1, double x2, double y2, Rgb color, bool filled) {
  drawing_.box(x1, y1, x2, y2, color, filled);
  update();
}

void PictureBox::setCurrentPosition(double x, double y) {
  drawing_.setCurrentPosition(x, y);
}

void PictureBox::print(const std::string& text) {
  drawing_.print(text);
  update();
}

void PictureBox::replay(QPainter& painter, const std::vector<CanvasCall>& calls) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  for (const CanvasCall& call : calls) {
    switch (call.kind) {
      case CanvasCall::Kind::Clear:
        painter.fillRect(painter.window(), toQColor(call.color));
        break;
      case CanvasCall::Kind::Line:
      case CanvasCall::Kind::Box:
        drawLineOrBox(painter, call);
        break;
      case CanvasCall::Kind::Text:
        drawText(painter, call);
        break;
    }
  }
  painter.restore();
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), toQColor(background_));
  replay(painter, drawing_.calls());
}

}  // namespace medravolix::ui::qt
