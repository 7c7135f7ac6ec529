// The crop tool window: crop type, crop and season-length lists, the crop's grid, the calendar
// with its date tip, the Kcb graph, the list of selected crops and the three buttons, drawn from
// the controller and forwarding the user's clicks and pointer moves to it.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "crop_tool/form4.h"
#include "ui/qt/grid_table.h"
#include "ui/qt/picture_box.h"

namespace medravolix::crop_tool::qt {

class Form4View : public QWidget {
  Q_OBJECT
 public:
  Form4View(ui::Dialogs& dialogs, std::function<workbook::Workbook*()> bound_workbook,
            DatosForm4& datos, QWidget* parent = nullptr);

  Form4& controller() { return *controller_; }
  QRadioButton* Option1(int index) const { return option1_.at(index); }
  QComboBox* Combo1() const { return combo1_; }
  QComboBox* Combo2() const { return combo2_; }
  ui::qt::GridTable* Grid() const { return grid_; }
  ui::qt::PictureBox* Picture1() const { return picture1_; }
  ui::qt::PictureBox* Picture2() const { return picture2_; }
  QLineEdit* Text1() const { return text1_; }
  QListWidget* List1() const { return list1_; }
  QLabel* Label1(int index) const { return label1_.at(index); }
  QPushButton* Command(int index) const { return command_.at(index); }

  // Brings the controls up to the controller's state.
  void refresh();
  // The bound workbook was replaced or read again: the window follows it (see
  // Form4::revisarLibro).
  void revisarLibro();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void createControls();
  void createListsAndGrid();
  void createButtons();
  void refreshCombo(QComboBox* combo, const std::vector<std::string>& list, int index,
                    bool enabled);
  void refreshGrid();
  void fitGridColumns();
  void refreshTip();
  void unload();

  ui::qt::PictureBox* picture1_ = nullptr;
  ui::qt::PictureBox* picture2_ = nullptr;
  std::unique_ptr<Form4> controller_;
  QGroupBox* frame1_ = nullptr;
  std::array<QRadioButton*, 2> option1_{};
  std::array<QLabel*, 6> label1_{};
  QComboBox* combo1_ = nullptr;
  QComboBox* combo2_ = nullptr;
  ui::qt::GridTable* grid_ = nullptr;
  QLineEdit* text1_ = nullptr;
  QListWidget* list1_ = nullptr;
  std::array<QPushButton*, 4> command_{};
};

}  // namespace medravolix::crop_tool::qt
