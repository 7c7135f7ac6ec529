// A canvas that keeps what was drawn as a list of calls, each with the pen width, font, text
// colour and position in force when it was made. Tests check coordinates and colours on it; the
// Qt picture box keeps one and replays it whenever the window is painted.
#pragma once

#include <string>
#include <vector>

#include "ui/canvas.h"

namespace medravolix::ui {

struct CanvasCall {
  enum class Kind { Clear, Line, Box, Text };
  Kind kind = Kind::Clear;
  // Line and Box: the two points; Text: x1, y1 is the top-left corner of the text.
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  Rgb color;  // Clear: the background; Line and Box: the line's colour; Text: the text colour
  bool filled = false;
  int pen_width_px = 1;
  std::string text;
  std::string font_family;
  double font_size_pt = 0;
  bool bold = false;
};

class RecordingCanvas : public Canvas {
 public:
  void clear(Rgb background) override;
  void setPenWidth(int width_px) override;
  void setFont(const std::string& family, double size_pt, bool bold) override;
  void setTextColor(Rgb color) override;
  void line(double x1, double y1, double x2, double y2, Rgb color) override;
  void box(double x1, double y1, double x2, double y2, Rgb color, bool filled) override;
  void setCurrentPosition(double x, double y) override;
  void print(const std::string& text) override;

  // Everything drawn since the last clear (which is the first call, if there was one).
  const std::vector<CanvasCall>& calls() const { return calls_; }
  double currentX() const { return x_; }
  double currentY() const { return y_; }

 private:
  std::vector<CanvasCall> calls_;
  int pen_width_px_ = 1;
  std::string font_family_ = "MS Sans Serif";
  double font_size_pt_ = 8.25;
  bool bold_ = false;
  Rgb text_color_ = kBlack;
  double x_ = 0, y_ = 0;
};

}  // namespace medravolix::ui
