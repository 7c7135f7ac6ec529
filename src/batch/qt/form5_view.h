// The batch settings dialog: its fields, labels, options and buttons, drawn from the controller
// and forwarding the user's keys and clicks to it.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <array>

#include "batch/form5.h"

namespace medravolix::batch::qt {

class Form5View : public QWidget {
  Q_OBJECT
 public:
  explicit Form5View(Form5::Entorno entorno, QWidget* parent = nullptr);

  const Form5& controller() const { return controller_; }
  QLineEdit* Text1(int index) const { return text1_.at(index); }
  QLabel* Label1(int index) const { return label1_.at(index); }
  QRadioButton* Option1(int index) const { return option1_.at(index); }
  QPushButton* Command1() const { return command1_; }
  QPushButton* Command2() const { return command2_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void crearControles();
  void refrescar();
  void Command1_Click();
  void Command2_Click();
  void descargar();
  void cerrarSiDescargado();

  Form5 controller_;
  std::array<QLineEdit*, 4> text1_{};
  std::array<QLabel*, 4> label1_{};
  std::array<QGroupBox*, 2> frame1_{};
  std::array<QRadioButton*, 5> option1_{};
  QPushButton* command1_ = nullptr;
  QPushButton* command2_ = nullptr;
};

}  // namespace medravolix::batch::qt
