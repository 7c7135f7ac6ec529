#include "ui/qt/picture_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTimer>

#include "ui/qt/qt_dialogs.h"

namespace medravolix::ui::qt {
namespace {

TEST(PictureBox, DrawsTwipsAtFifteenToAPixelAndRedrawsOnEveryPaint) {
  PictureBox box(1500, 1500, kWhite);  // 100 x 100 pixels
  ASSERT_EQ(box.size(), QSize(100, 100));
  box.line(0, 0, 1500, 1500, kBlack);
  box.clear(kWhite);  // what came before is gone
  box.setPenWidth(3);
  box.line(150, 300, 1350, 300, kRed);  // 3 pixels wide at y = 20
  box.setPenWidth(1);
  box.box(300, 600, 600, 900, kBlue, true);
  box.box(900, 600, 1200, 900, kGreen, false);
  box.setFont("Comic Sans MS", 12, false);
  box.setTextColor(kBlue);
  box.setCurrentPosition(150, 1050);
  box.print("MW");
  for (int pass = 0; pass < 2; ++pass) {  // a second paint shows the same picture
    const QImage image = box.grab().toImage();
    // The thick line and beside it, the filled box, the outline and inside it (not filled).
    for (const auto& [x, y, color] : {std::tuple{50, 19, Qt::red},
                                      {50, 21, Qt::red},
                                      {5, 20, Qt::white},
                                      {30, 30, Qt::white},
                                      {30, 50, Qt::blue},
                                      {60, 50, Qt::green},
                                      {70, 50, Qt::white}}) {
      EXPECT_EQ(image.pixelColor(x, y), QColor(color)) << x << "," << y;
    }
    // The text, in its colour and its own size (12 pt, about 16 pixels), not shrunk by 15.
    int top = -1, bottom = -1;
    for (int y = 60; y < 100; ++y) {
      for (int x = 5; x < 60; ++x) {
        if (image.pixelColor(x, y) == QColor(Qt::blue)) bottom = y, top = top < 0 ? y : top;
      }
    }
    EXPECT_GE(top, 70);
    EXPECT_GE(bottom - top, 8);
  }
}

TEST(QtDialogs, TitledWithTheProgramWithPlainLineBreaksAndLongTextsScrolling) {
  std::string list = "Can't find input data for these simulations: \r\n";
  for (int i = 1; i <= 2729; ++i) list += "\r\nS" + std::to_string(i) + ", ";
  for (const std::string& text : {std::string("Missing: \r\n\r\n7, "), list}) {
    QString title, shown;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QImage drawn_icon, warning, information;  // the long box draws its icon as a picture
    bool scrolls = false;
    QTimer::singleShot(0, [&] {  // closes the box the program shows, noting what it shows
      auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      title = box->windowTitle();
      if (auto* message = qobject_cast<QMessageBox*>(box)) {
        shown = message->text();
        icon = message->icon();
      }
      if (auto* field = box->findChild<QPlainTextEdit*>())
        shown = field->toPlainText(), scrolls = true;
      for (const QLabel* label : box->findChildren<QLabel*>()) {
        if (!label->pixmap().isNull()) drawn_icon = label->pixmap().toImage();
      }
      const int side = box->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, box);
      const auto standard = [&](QStyle::StandardPixmap which) {
        return box->style()->standardIcon(which, nullptr, box).pixmap(side, side).toImage();
      };
      warning = standard(QStyle::SP_MessageBoxWarning);
      information = standard(QStyle::SP_MessageBoxInformation);
      box->accept();
    });
    QtDialogs().messageBox(text, Icon::Exclamation);
    EXPECT_EQ(title, "MEDRAVOLIX");
    EXPECT_EQ(shown, text == list ? displayText(list) : "Missing: \n\n7, ");
    EXPECT_EQ(scrolls, text == list);
    if (text == list) {
      ASSERT_NE(warning, information);  // the style's icons can be told apart
      EXPECT_EQ(drawn_icon, warning) << "the long box shows the exclamation icon";
    } else {
      EXPECT_EQ(icon, QMessageBox::Warning);
    }
  }
  EXPECT_EQ(qtFileFilter("Archivos de Excel (*.xlsx)|*.xlsx"), "Archivos de Excel (*.xlsx)");
  EXPECT_EQ(qtFileFilter("Workbooks|*.xlsx|All files|*"), "Workbooks (*.xlsx);;All files (*)");
  EXPECT_EQ(qtFileFilter("Archivos de Excel (*.xlsx;*.xlsm)|*.xlsx;*.xlsm"),
            "Archivos de Excel (*.xlsx *.xlsm)");
}

}  // namespace
}  // namespace medravolix::ui::qt
