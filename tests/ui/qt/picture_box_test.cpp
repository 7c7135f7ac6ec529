#include "ui/qt/picture_box.h"

#include <gtest/gtest.h>

#include <QImage>

#include "ui/qt/qt_dialogs.h"

namespace medravolix::ui::qt {
namespace {

QColor pixel(const QImage& image, int x, int y) {
  return image.pixelColor(x, y);
}

TEST(PictureBox, DrawsTwipsAtFifteenToAPixelAndRedrawsOnEveryPaint) {
  PictureBox box(1500, 1500, kWhite);  // 100 x 100 pixels
  ASSERT_EQ(box.size(), QSize(100, 100));
  box.clear(kWhite);
  box.line(150, 300, 1350, 300, kRed);
  box.box(300, 600, 600, 900, kBlue, true);
  box.box(900, 600, 1200, 900, kGreen, false);
  box.setFont("Comic Sans MS", 12, false);
  box.setCurrentPosition(150, 1050);
  box.print("MW");

  for (int pass = 0; pass < 2; ++pass) {  // a second paint shows the same picture
    const QImage image = box.grab().toImage();
    EXPECT_EQ(pixel(image, 50, 20), QColor(Qt::red));
    EXPECT_EQ(pixel(image, 5, 20), QColor(Qt::white));
    EXPECT_EQ(pixel(image, 30, 50), QColor(Qt::blue));
    EXPECT_EQ(pixel(image, 60, 50), QColor(Qt::green));  // the outline
    EXPECT_EQ(pixel(image, 70, 50), QColor(Qt::white));  // not filled
    // The text is drawn in its own size (12 pt, about 16 pixels), not shrunk by 15.
    int top = -1, bottom = -1;
    for (int y = 60; y < 100; ++y) {
      for (int x = 5; x < 60; ++x) {
        if (pixel(image, x, y).lightness() < 128) {
          if (top < 0) top = y;
          bottom = y;
        }
      }
    }
    EXPECT_GE(top, 70);
    EXPECT_GE(bottom - top, 8);
  }
  box.clear(kGreen);
  EXPECT_EQ(pixel(box.grab().toImage(), 50, 20), QColor(Qt::green));
}

TEST(QtDialogs, FileFiltersAndLineBreaksAsQtShowsThem) {
  EXPECT_EQ(qtFileFilter("Archivos de Excel (*.xlsx)|*.xlsx"), "Archivos de Excel (*.xlsx)");
  EXPECT_EQ(qtFileFilter("Workbooks|*.xlsx|All files|*"), "Workbooks (*.xlsx);;All files (*)");
  EXPECT_EQ(displayText("a: \r\n\r\n2, \r\n5, "), "a: \n\n2, \n5, ");
}

}  // namespace
}  // namespace medravolix::ui::qt
