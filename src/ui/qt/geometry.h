// Placing Qt controls at positions given in twips (15 twips to a pixel), and the fonts of the
// windows with a fallback where a font is not installed.
#pragma once

#include <QFont>
#include <QSize>
#include <QWidget>

#include "ui/twips.h"

namespace medravolix::ui::qt {

// Puts the control at left, top, width, height (twips) inside its parent.
void placeAt(QWidget* control, const TwipsRect& place);
void placeAt(QWidget* control, double left, double top, double width, double height);

// Puts a label at its place, widened to show its whole caption where the font in use is wider
// than the one the layout was made for.
void placeLabelAt(QWidget* label, const TwipsRect& place);

// A size given in twips, in pixels.
QSize sizeFromTwips(double width, double height);

// The font `family` at `size_pt` points; where it is missing, the nearest of a few similar
// informal sans-serif faces, then the system's sans-serif face.
QFont windowFont(const QString& family, double size_pt, bool bold = false);

}  // namespace medravolix::ui::qt
