#include "ui/recording_canvas.h"

#include <algorithm>

namespace medravolix::ui {

void RecordingCanvas::clear(Rgb background) {
  calls_.clear();
  CanvasCall call;
  call.kind = CanvasCall::Kind::Clear;
  call.color = background;
  calls_.push_back(call);
}

void RecordingCanvas::setPenWidth(int width_px) {
  pen_width_px_ = std::max(1, width_px);
}

void RecordingCanvas::setFont(const std::string& family, double size_pt, bool bold) {
  font_family_ = family;
  font_size_pt_ = size_pt;
  bold_ = bold;
}

void RecordingCanvas::setTextColor(Rgb color) {
  text_color_ = color;
}

void RecordingCanvas::line(double x1, double y1, double x2, double y2, Rgb color) {
  CanvasCall call;
  call.kind = CanvasCall::Kind::Line;
  call.x1 = x1;
  call.y1 = y1;
  call.x2 = x2;
  call.y2 = y2;
  call.color = color;
  call.pen_width_px = pen_width_px_;
  calls_.push_back(call);
}

void RecordingCanvas::box(double x1, double y1, double x2, double y2, Rgb color, bool filled) {
  line(x1, y1, x2, y2, color);
  calls_.back().kind = CanvasCall::Kind::Box;
  calls_.back().filled = filled;
}

void RecordingCanvas::setCurrentPosition(double x, double y) {
  x_ = x;
  y_ = y;
}

void RecordingCanvas::print(const std::string& text) {
  CanvasCall call;
  call.kind = CanvasCall::Kind::Text;
  call.x1 = x_;
  call.y1 = y_;
  call.color = text_color_;
  call.text = text;
  call.font_family = font_family_;
  call.font_size_pt = font_size_pt_;
  call.bold = bold_;
  calls_.push_back(call);
}

}  // namespace medravolix::ui
