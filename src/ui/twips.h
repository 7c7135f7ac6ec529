// Window geometry in twips, the unit in which the windows' layouts are given: 15 twips make a
// pixel on a display of 96 dots per inch (1440 twips to the inch).
#pragma once

#include <cmath>

namespace medravolix::ui {

inline constexpr double kTwipsPerPixel = 15.0;

// The nearest whole pixel to a length or position in twips (halves away from zero).
inline int twipsToPixels(double twips) {
  return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

// A control's place: left, top, width and height in twips.
struct TwipsRect {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
};

}  // namespace medravolix::ui
