// The busy window: shown modally while the batch runs on a thread of its own; it shows the
// progress the batch reports, stays responsive, ignores requests to close it, and closes when the
// batch has ended and the workbook is saved.
#pragma once

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <thread>

#include "batch/form11.h"

namespace medravolix::batch::qt {

class Form11View : public QDialog {
  Q_OBJECT
 public:
  explicit Form11View(Form11& controller, QWidget* parent = nullptr);
  ~Form11View() override;

  QGroupBox* Frame1() const { return frame1_; }
  QLabel* Label1() const { return label1_; }

 public slots:
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Form_Activate();
  void Form_Terminado();
  void refrescar();

  Form11& controller_;
  QGroupBox* frame1_;
  QLabel* label1_;
  std::thread lote_;
  bool activado_ = false;
};

}  // namespace medravolix::batch::qt
