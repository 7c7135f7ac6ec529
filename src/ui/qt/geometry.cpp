#include "ui/qt/geometry.h"

#include <QStringList>

namespace medravolix::ui::qt {

void placeAt(QWidget* control, const TwipsRect& place) {
  placeAt(control, place.left, place.top, place.width, place.height);
}

void placeAt(QWidget* control, double left, double top, double width, double height) {
  control->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                       twipsToPixels(height));
}

void placeLabelAt(QWidget* label, const TwipsRect& place) {
  placeAt(label, place);
  const int needed = label->sizeHint().width();
  if (needed > label->width()) label->resize(needed, label->height());
}

QSize sizeFromTwips(double width, double height) {
  return QSize(twipsToPixels(width), twipsToPixels(height));
}

QFont windowFont(const QString& family, double size_pt, bool bold) {
  QFont font(family);
  QStringList families{family};
  if (family == QStringLiteral("Comic Sans MS")) {
    families << QStringLiteral("Comic Neue") << QStringLiteral("Comic Relief");
  }
  families << QStringLiteral("DejaVu Sans") << QStringLiteral("Noto Sans")
           << QStringLiteral("Liberation Sans");
  font.setFamilies(families);
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(size_pt);
  font.setBold(bold);
  return font;
}

}  // namespace medravolix::ui::qt
