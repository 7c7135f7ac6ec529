#include "ui/qt/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

namespace medravolix::ui::qt {

QString qtFileFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    const QString pattern = parts[i + 1].trimmed();
    if (description.contains(QLatin1Char('(') + pattern + QLatin1Char(')'))) {
      entries << description;
    } else {
      entries << description + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
  }
  return entries.join(QStringLiteral(";;"));
}

QString displayText(const std::string& text) {
  return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void QtDialogs::messageBox(const std::string& text, Icon icon) {
  QMessageBox::Icon qt_icon = QMessageBox::Information;
  if (icon == Icon::Critical) qt_icon = QMessageBox::Critical;
  if (icon == Icon::Exclamation) qt_icon = QMessageBox::Warning;
  QMessageBox box(qt_icon, QString::fromUtf8(kTitle), displayText(text), QMessageBox::Ok,
                  parent_.data());
  box.exec();
}

std::string QtDialogs::inputBox(const std::string& prompt, const std::string& default_text) {
  bool ok = false;
  const QString answer =
      QInputDialog::getText(parent_.data(), QString::fromUtf8(kTitle), displayText(prompt),
                            QLineEdit::Normal, QString::fromStdString(default_text), &ok);
  return ok ? answer.toStdString() : std::string();
}

void QtDialogs::beep() {
  QApplication::beep();
}

std::string QtDialogs::openFileDialog(const std::string& filter, const std::string& start_folder) {
  return QFileDialog::getOpenFileName(parent_.data(), QString(),
                                      QString::fromStdString(start_folder), qtFileFilter(filter))
      .toStdString();
}

}  // namespace medravolix::ui::qt
