// The reference-evapotranspiration tool window: the station list, the summary grid, the
// climogram's picture box, the method options and the two buttons, drawn from the controller and
// forwarding the user's choices and clicks to it.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <array>
#include <functional>

#include "eto_tool/form2.h"
#include "ui/qt/grid_table.h"
#include "ui/qt/picture_box.h"

namespace medravolix::eto_tool::qt {

class Form2View : public QWidget {
  Q_OBJECT
 public:
  Form2View(ui::Dialogs& dialogs, std::function<workbook::Workbook*()> libro, DatosForm2& datos,
            QWidget* parent = nullptr);

  const Form2& controller() const { return controller_; }
  QComboBox* Combo1() const { return combo1_; }
  ui::qt::GridTable* MSHFlexGrid1() const { return grid_; }
  ui::qt::PictureBox* Picture2() const { return picture2_; }
  QGroupBox* Frame1() const { return frame1_; }
  QRadioButton* Option1(int index) const { return option1_.at(index); }
  QPushButton* Command1() const { return command1_; }
  QPushButton* Command2() const { return command2_; }

  // The bound workbook was replaced or read again: the list follows it (see Form2::revisarLibro).
  void revisarLibro();

 private:
  void createControls();
  void createOptions();
  void refresh();
  void refreshList();
  void unload();

  ui::qt::PictureBox* picture2_;
  Form2 controller_;
  QComboBox* combo1_ = nullptr;
  ui::qt::GridTable* grid_ = nullptr;
  QGroupBox* frame1_ = nullptr;
  std::array<QRadioButton*, 5> option1_{};
  QPushButton* command1_ = nullptr;
  QPushButton* command2_ = nullptr;
};

}  // namespace medravolix::eto_tool::qt
