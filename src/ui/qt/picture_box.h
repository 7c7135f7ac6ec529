// The picture box: a control that is drawn on through ui::Canvas in twips. It keeps the calls
// and replays them on every paint at 15 twips to a pixel, so a covered window redraws itself.
// Text is drawn unscaled, in its point size, at the converted position.
#pragma once

#include <QColor>
#include <QPainter>
#include <QWidget>
#include <vector>

#include "ui/canvas.h"
#include "ui/recording_canvas.h"

namespace medravolix::ui::qt {

class PictureBox : public QWidget, public Canvas {
  Q_OBJECT
 public:
  // A picture box of the size in twips, showing `background` until the first clear.
  PictureBox(double width_twips, double height_twips, Rgb background, QWidget* parent = nullptr);

  void clear(Rgb background) override;
  void setPenWidth(int width_px) override;
  void setFont(const std::string& family, double size_pt, bool bold) override;
  void setTextColor(Rgb color) override;
  void line(double x1, double y1, double x2, double y2, Rgb color) override;
  void box(double x1, double y1, double x2, double y2, Rgb color, bool filled) override;
  void setCurrentPosition(double x, double y) override;
  void print(const std::string& text) override;

  const RecordingCanvas& drawing() const { return drawing_; }

  // Draws the calls with the painter at 15 twips to a pixel.
  static void replay(QPainter& painter, const std::vector<CanvasCall>& calls);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  RecordingCanvas drawing_;
  Rgb background_;
};

QColor toQColor(Rgb color);

}  // namespace medravolix::ui::qt
