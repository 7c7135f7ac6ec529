#include "ui/qt/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>

namespace medravolix::ui::qt {
namespace {

// Closes the box that the program shows next, noting its title and text.
struct BoxWatcher {
  QString title, text;
  bool scrolls = false;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  BoxWatcher() {
    QTimer::singleShot(0, [this] {
      auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!box) return;
      title = box->windowTitle();
      if (auto* message = qobject_cast<QMessageBox*>(box)) {
        text = message->text();
        icon = message->icon();
      } else if (auto* field = box->findChild<QPlainTextEdit*>()) {
        text = field->toPlainText();
        scrolls = true;
      }
      box->accept();
    });
  }
};

TEST(QtDialogs, MessagesAreTitledWithTheProgramAndShowPlainLineBreaks) {
  QtDialogs dialogs;
  BoxWatcher watcher;
  dialogs.messageBox("Can't find input data for these simulations: \r\n\r\n7, ", Icon::Exclamation);
  EXPECT_EQ(watcher.title, "MEDRAVOLIX");
  EXPECT_EQ(watcher.text, "Can't find input data for these simulations: \n\n7, ");
  EXPECT_EQ(watcher.icon, QMessageBox::Warning);
}

TEST(QtDialogs, AMessageTooLongForTheScreenScrollsAndKeepsEveryLine) {
  std::string text = "Can't find input data for these simulations: \r\n";
  for (int i = 1; i <= 2729; ++i) text += "\r\nS" + std::to_string(i) + ", ";
  QtDialogs dialogs;
  BoxWatcher watcher;
  dialogs.messageBox(text, Icon::Exclamation);
  EXPECT_EQ(watcher.title, "MEDRAVOLIX");
  EXPECT_TRUE(watcher.scrolls);
  EXPECT_EQ(watcher.text, displayText(text));
}

}  // namespace
}  // namespace medravolix::ui::qt
