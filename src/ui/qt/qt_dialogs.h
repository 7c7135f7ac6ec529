// The real boxes on Qt: QMessageBox, QInputDialog, QApplication::beep and QFileDialog.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "ui/dialogs.h"

namespace medravolix::ui::qt {

// "Archivos de Excel (*.xlsx)|*.xlsx" (description and pattern pairs separated by vertical bars)
// as a Qt name filter list: "Archivos de Excel (*.xlsx)". A description that does not already
// show its pattern in parentheses gets it appended.
QString qtFileFilter(const std::string& filter);

// Message texts keep CR LF line breaks; Qt shows plain line feeds.
QString displayText(const std::string& text);

class QtDialogs : public Dialogs {
 public:
  // The boxes are centred on (and modal to) `parent`, which may change later.
  explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }

  void messageBox(const std::string& text, Icon icon) override;
  Answer questionBox(const std::string& text, Buttons buttons, Icon icon) override;
  std::string inputBox(const std::string& prompt, const std::string& default_text) override;
  void beep() override;
  std::string openFileDialog(const std::string& filter, const std::string& start_folder) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace medravolix::ui::qt
