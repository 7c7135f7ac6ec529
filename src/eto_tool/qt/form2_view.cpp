#include "eto_tool/qt/form2_view.h"

#include <QAbstractItemView>
#include <QSignalBlocker>

#include "eto_tool/climograma.h"
#include "ui/qt/geometry.h"

namespace medravolix::eto_tool::qt {

namespace {
const QString kComic = QStringLiteral("Comic Sans MS");
}  // namespace

Form2View::Form2View(ui::Dialogs& dialogs, std::function<workbook::Workbook*()> libro,
                     DatosForm2& datos, QWidget* parent)
    : QWidget(parent),
      picture2_(new ui::qt::PictureBox(kAnchoClimograma, kAltoClimograma, ui::kWhite, this)),
      controller_({dialogs, std::move(libro), datos, *picture2_, [this] { unload(); }}) {
  setWindowTitle(QString::fromUtf8(Form2::Caption));
  setFixedSize(ui::qt::sizeFromTwips(Form2::kAnchoCliente, Form2::kAltoCliente));
  createControls();
  controller_.Form_Load();
  refresh();
}

void Form2View::revisarLibro() {
  controller_.revisarLibro();
  refresh();
}

// The list's entries, when the controller read another list.
void Form2View::refreshList() {
  QStringList entries;
  for (const std::string& entry : controller_.Combo1_List()) {
    entries << QString::fromStdString(entry);
  }
  QStringList shown;
  for (int i = 0; i < combo1_->count(); ++i) shown << combo1_->itemText(i);
  if (shown == entries) return;
  const QSignalBlocker blocker(combo1_);
  combo1_->clear();
  combo1_->addItems(entries);
  // The list opens as wide as its longest entry, which the closed box may cut.
  combo1_->view()->setMinimumWidth(combo1_->view()->sizeHintForColumn(0) + 24);
}

void Form2View::createControls() {
  auto* Label2 = new QLabel(QString::fromUtf8(Form2::Label2_Caption()), this);
  Label2->setFont(ui::qt::windowFont(kComic, 15.75, true));
  ui::qt::placeLabelAt(Label2, Form2::Label2_Place());
  for (int i = 0; i <= 1; ++i) {
    auto* Label1 = new QLabel(QString::fromUtf8(Form2::Label1_Caption(i)), this);
    Label1->setFont(ui::qt::windowFont(kComic, 12));
    ui::qt::placeLabelAt(Label1, Form2::Label1_Place(i));
  }
  combo1_ = new QComboBox(this);
  combo1_->setFont(ui::qt::windowFont(kComic, 12));
  ui::qt::placeAt(combo1_, Form2::Combo1_Place());
  connect(combo1_, &QComboBox::activated, this, [this](int k) {
    controller_.Combo1_Click(k);
    refresh();
  });
  grid_ = new ui::qt::GridTable(this);
  grid_->setFont(ui::qt::windowFont(kComic, 12));
  ui::qt::placeAt(grid_, Form2::MSHFlexGrid1_Place());
  ui::qt::placeAt(picture2_, Form2::Picture2_Place());
  createOptions();
  command1_ = new QPushButton(QString::fromUtf8(Form2::Command_Caption(1)), this);
  command2_ = new QPushButton(QString::fromUtf8(Form2::Command_Caption(2)), this);
  for (int c = 1; c <= 2; ++c) {
    QPushButton* button = c == 1 ? command1_ : command2_;
    button->setFont(ui::qt::windowFont(kComic, 12));
    ui::qt::placeAt(button, Form2::Command_Place(c));
  }
  connect(command1_, &QPushButton::clicked, this, [this] {
    controller_.Command1_Click();
    refresh();
  });
  connect(command2_, &QPushButton::clicked, this, [this] { controller_.Command2_Click(); });
}

// The options are one group whose selection the controller keeps; it may select none of them,
// which an exclusive Qt group would not allow.
void Form2View::createOptions() {
  frame1_ = new QGroupBox(QString::fromUtf8(Form2::Frame1_Caption()), this);
  frame1_->setFont(ui::qt::windowFont(kComic, 12));
  ui::qt::placeAt(frame1_, Form2::Frame1_Place());
  for (int i = 0; i <= 4; ++i) {
    option1_[i] = new QRadioButton(QString::fromUtf8(Form2::Option1_Caption(i)), frame1_);
    option1_[i]->setAutoExclusive(false);
    option1_[i]->setFont(ui::qt::windowFont(kComic, 11.25));
    ui::qt::placeAt(option1_[i], Form2::Option1_Place(i));
    connect(option1_[i], &QRadioButton::clicked, this, [this, i] {
      controller_.Option1_Click(i);
      refresh();
    });
  }
}

void Form2View::refresh() {
  refreshList();
  combo1_->setCurrentIndex(controller_.Combo1_ListIndex());
  grid_->showGrid(controller_.MSHFlexGrid1());
  frame1_->setEnabled(controller_.Frame1_Enabled());
  for (int i = 0; i <= 4; ++i) {
    option1_[i]->setEnabled(controller_.Option1_Enabled(i));
    option1_[i]->setChecked(controller_.Option1(i));
  }
}

void Form2View::unload() {
  QWidget* window = parentWidget() ? parentWidget() : this;
  window->close();
}

}  // namespace medravolix::eto_tool::qt
