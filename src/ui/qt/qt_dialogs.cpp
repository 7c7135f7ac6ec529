#include "ui/qt/qt_dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStringList>
#include <QStyle>

namespace medravolix::ui::qt {

QString qtFileFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    // Patterns are listed "*.xlsx;*.xlsm" in the filter and "*.xlsx *.xlsm" in Qt's.
    const QString description = parts[i].trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
    const QString pattern = parts[i + 1].trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
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

namespace {

// A message too long for the screen (a batch may list thousands of simulations): the same icon,
// title and OK button, with the text in a scrolling, selectable field.
void longMessageBox(QMessageBox::Icon icon, const QString& text, QWidget* parent) {
  QDialog box(parent);
  box.setWindowTitle(QString::fromUtf8(kTitle));
  auto* layout = new QGridLayout(&box);
  auto* icon_label = new QLabel(&box);
  const int side = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
  QStyle::StandardPixmap pixmap = QStyle::SP_MessageBoxInformation;
  if (icon == QMessageBox::Critical) pixmap = QStyle::SP_MessageBoxCritical;
  if (icon == QMessageBox::Warning) pixmap = QStyle::SP_MessageBoxWarning;
  icon_label->setPixmap(box.style()->standardIcon(pixmap, nullptr, &box).pixmap(side, side));
  layout->addWidget(icon_label, 0, 0, Qt::AlignTop);
  auto* field = new QPlainTextEdit(text, &box);
  field->setReadOnly(true);
  field->setMinimumSize(480, 360);
  layout->addWidget(field, 0, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
  layout->addWidget(buttons, 1, 0, 1, 2);
  box.exec();
}

constexpr qsizetype kMaxLinesInABox = 25;

}  // namespace

namespace {

QMessageBox::Icon qtIcon(Icon icon) {
  switch (icon) {
    case Icon::Critical:
      return QMessageBox::Critical;
    case Icon::Exclamation:
      return QMessageBox::Warning;
    case Icon::Question:
      return QMessageBox::Question;
    case Icon::Information:
      break;
  }
  return QMessageBox::Information;
}

}  // namespace

void QtDialogs::messageBox(const std::string& text, Icon icon) {
  const QMessageBox::Icon qt_icon = qtIcon(icon);
  const QString shown = displayText(text);
  if (shown.count(QLatin1Char('\n')) >= kMaxLinesInABox) {
    longMessageBox(qt_icon, shown, parent_.data());
    return;
  }
  QMessageBox box(qt_icon, QString::fromUtf8(kTitle), shown, QMessageBox::Ok, parent_.data());
  box.exec();
}

Answer QtDialogs::questionBox(const std::string& text, Buttons buttons, Icon icon) {
  QMessageBox::StandardButtons shown = QMessageBox::Yes | QMessageBox::No;
  if (buttons == Buttons::YesNoCancel) shown |= QMessageBox::Cancel;
  QMessageBox box(qtIcon(icon), QString::fromUtf8(kTitle), displayText(text), shown,
                  parent_.data());
  box.setEscapeButton(buttons == Buttons::YesNoCancel ? QMessageBox::Cancel : QMessageBox::No);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::Cancel:
      return Answer::Cancel;
    default:
      return buttons == Buttons::YesNoCancel && box.clickedButton() == nullptr ? Answer::Cancel
                                                                               : Answer::No;
  }
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
