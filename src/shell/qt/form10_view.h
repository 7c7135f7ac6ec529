// The splash window: its picture, shown modally until its timer closes it.
#pragma once

#include <QDialog>

#include "shell/form10.h"

namespace medravolix::shell::qt {

class Form10View : public QDialog {
  Q_OBJECT
 public:
  explicit Form10View(Form10& controller, QWidget* parent = nullptr);

 private:
  void Timer1_Timer();

  Form10& controller_;
};

}  // namespace medravolix::shell::qt
