// A drawing surface in the picture box's own terms: coordinates in twips from the top-left
// corner, y growing downwards; colours as RGB; a pen width in pixels; lines, boxes and text
// printed with its top-left corner at the current position. The Qt picture box
// (ui/qt/picture_box.h) draws it at 15 twips to a pixel; tests record the calls
// (ui/recording_canvas.h).
#pragma once

#include <cstdint>
#include <string>

namespace medravolix::ui {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr Rgb kBlue{0, 0, 255};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Wipes the drawing and fills the surface with the background colour.
  virtual void clear(Rgb background) = 0;
  // Width of the lines drawn from now on, in pixels (1 is the thinnest line).
  virtual void setPenWidth(int width_px) = 0;
  // Font and colour of the text printed from now on.
  virtual void setFont(const std::string& family, double size_pt, bool bold) = 0;
  virtual void setTextColor(Rgb color) = 0;

  // A straight line from (x1, y1) to (x2, y2), in twips.
  virtual void line(double x1, double y1, double x2, double y2, Rgb color) = 0;
  // A rectangle with opposite corners (x1, y1) and (x2, y2), in twips: outlined or filled.
  virtual void box(double x1, double y1, double x2, double y2, Rgb color, bool filled) = 0;

  // The current position (twips) where the next text is printed.
  virtual void setCurrentPosition(double x, double y) = 0;
  // Prints the text with its top-left corner at the current position, in the current font and
  // text colour, unscaled. The current position is left where it was.
  virtual void print(const std::string& text) = 0;
};

}  // namespace medravolix::ui
