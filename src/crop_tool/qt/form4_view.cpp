#include "crop_tool/qt/form4_view.h"

#include <algorithm>
#include <vector>

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QSignalBlocker>

#include "crop_tool/form4_controles.h"
#include "ui/qt/geometry.h"

namespace medravolix::crop_tool::qt {

namespace c = controles;

namespace {

QString qtext(const std::string& t) {
  return QString::fromStdString(t);
}

QFont comicFont(double size_pt, bool bold = false) {
  return ui::qt::windowFont(QString::fromUtf8(c::kFuenteComic), size_pt, bold);
}

QFont windowFontOf(double size_pt) {
  return ui::qt::windowFont(QString::fromUtf8(c::kFuenteVentana), size_pt);
}

// Room a grid cell leaves beside its text (the cell's margins and its grid line), in pixels; and
// the smallest font the grid's texts shrink to.
constexpr int kGridTextMargin = 8;
constexpr double kGridSmallestFont = 6.0;

}  // namespace

Form4View::Form4View(ui::Dialogs& dialogs, std::function<workbook::Workbook*()> bound_workbook,
                     DatosForm4& datos, QWidget* parent)
    : QWidget(parent) {
  setWindowTitle(QString::fromUtf8(c::kCaption));
  setFixedSize(ui::qt::sizeFromTwips(c::kAnchoCliente, c::kAltoCliente));
  setFont(windowFontOf(8.25));
  setMouseTracking(true);
  picture1_ = new ui::qt::PictureBox(c::kPicture1.width, c::kPicture1.height, ui::kWhite, this);
  picture2_ = new ui::qt::PictureBox(c::kPicture2.width, c::kPicture2.height, ui::kWhite, this);
  controller_ = std::make_unique<Form4>(Form4::Entorno{
      dialogs, std::move(bound_workbook), datos, *picture1_, *picture2_, [this] { unload(); }});
  createControls();
  controller_->Form_Load();
  refresh();
}

void Form4View::createControls() {
  auto* heading = new QLabel(qtext(c::kLabel3.caption), this);
  heading->setFont(comicFont(15.75, true));
  ui::qt::placeLabelAt(heading, c::kLabel3.lugar);
  frame1_ = new QGroupBox(qtext(c::kFrame1.caption), this);
  frame1_->setFont(comicFont(12));
  ui::qt::placeAt(frame1_, c::kFrame1.lugar);
  for (int i = 0; i <= 1; ++i) {
    option1_[i] = new QRadioButton(qtext(c::kOption1[i].caption), frame1_);
    option1_[i]->setAutoExclusive(false);
    option1_[i]->setFont(comicFont(9.75));
    ui::qt::placeAt(option1_[i], c::kOption1[i].lugar);
    connect(option1_[i], &QRadioButton::clicked, this, [this, i] {
      controller_->Option1_Click(i);
      refresh();
    });
  }
  for (int i = 0; i <= 5; ++i) {
    label1_[i] = new QLabel(qtext(c::kLabel1[i].caption), this);
    label1_[i]->setFont(comicFont(12));
    ui::qt::placeLabelAt(label1_[i], c::kLabel1[i].lugar);
  }
  ui::qt::placeAt(picture1_, c::kPicture1);
  picture1_->setMouseTracking(true);
  picture1_->installEventFilter(this);
  ui::qt::placeAt(picture2_, c::kPicture2);
  text1_ = new QLineEdit(this);
  text1_->setReadOnly(true);
  text1_->setFocusPolicy(Qt::NoFocus);
  text1_->setAttribute(Qt::WA_TransparentForMouseEvents);
  text1_->setFont(windowFontOf(9.75));
  ui::qt::placeAt(text1_, c::kText1);
  createListsAndGrid();
  createButtons();
}

void Form4View::createListsAndGrid() {
  combo1_ = new QComboBox(this);
  combo2_ = new QComboBox(this);
  for (QComboBox* combo : {combo1_, combo2_}) combo->setFont(comicFont(12));
  ui::qt::placeAt(combo1_, c::kCombo1);
  ui::qt::placeAt(combo2_, c::kCombo2);
  connect(combo1_, &QComboBox::activated, this, [this](int i) {
    controller_->Combo1_Click(i);
    refresh();
  });
  connect(combo2_, &QComboBox::activated, this, [this](int i) {
    controller_->Combo2_Click(i);
    refresh();
  });
  grid_ = new ui::qt::GridTable(this);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setFont(windowFontOf(8.25));
  ui::qt::placeAt(grid_, c::kGrid);
  list1_ = new QListWidget(this);
  list1_->setFont(comicFont(9));
  list1_->setSelectionMode(QAbstractItemView::NoSelection);
  ui::qt::placeAt(list1_, c::kList1);
}

void Form4View::createButtons() {
  for (int i = 1; i <= 3; ++i) {
    command_[i] = new QPushButton(qtext(c::kCommand[i].caption), this);
    command_[i]->setFont(comicFont(12));
    ui::qt::placeAt(command_[i], c::kCommand[i].lugar);
  }
  connect(command_[1], &QPushButton::clicked, this, [this] {
    controller_->Command1_Click();
    refresh();
  });
  connect(command_[2], &QPushButton::clicked, this, [this] {
    controller_->Command2_Click();
    refresh();
  });
  connect(command_[3], &QPushButton::clicked, this, [this] { controller_->Command3_Click(); });
}

void Form4View::refresh() {
  const Form4& f = *controller_;
  for (int i = 0; i <= 1; ++i) option1_[i]->setChecked(f.Option1(i));
  for (int i = 0; i <= 5; ++i) label1_[i]->setEnabled(f.Label1_Enabled(i));
  refreshCombo(combo1_, f.Combo1_List(), f.Combo1_ListIndex(), f.Combo1_Enabled());
  refreshCombo(combo2_, f.Combo2_List(), f.Combo2_ListIndex(), f.Combo2_Enabled());
  refreshGrid();
  picture1_->setEnabled(f.Picture1_Enabled());
  refreshTip();
  list1_->clear();
  for (const std::string& line : f.List1()) list1_->addItem(qtext(line));
}

void Form4View::revisarLibro() {
  controller_->revisarLibro();
  refresh();
}

// The date tip: its text, width and place follow the pointer.
void Form4View::refreshTip() {
  const Form4& f = *controller_;
  text1_->setEnabled(f.Text1_Enabled());
  text1_->setText(qtext(f.Text1_Text()));
  ui::qt::placeAt(text1_, f.Text1_Left(), c::kText1.top, f.Text1_Width(), c::kText1.height);
  text1_->setVisible(f.Text1_Visible());
  text1_->raise();
}

void Form4View::refreshCombo(QComboBox* combo, const std::vector<std::string>& list, int index,
                             bool enabled) {
  const QSignalBlocker blocker(combo);
  QStringList texts;
  for (const std::string& t : list) texts << qtext(t);
  QStringList current;
  for (int i = 0; i < combo->count(); ++i) current << combo->itemText(i);
  if (current != texts) {
    combo->clear();
    combo->addItems(texts);
  }
  combo->setCurrentIndex(index);
  combo->setEnabled(enabled);
}

// Widens the columns whose texts do not fit (a coefficient of four decimals in a month's narrow
// column), taking the width from the columns with room to spare; when the grid's width cannot
// hold every text whole, the grid's font shrinks until it does.
void Form4View::fitGridColumns() {
  const int cols = grid_->columnCount();
  const int available = grid_->viewport()->width();
  QFont font = windowFontOf(8.25);
  for (;;) {
    grid_->setFont(font);
    const QFontMetrics metrics(font);
    std::vector<int> need(static_cast<std::size_t>(cols), 0);
    int total_need = 0;
    bool fits = true;
    for (int col = 0; col < cols; ++col) {
      for (int r = 0; r < grid_->rowCount(); ++r) {
        if (const QTableWidgetItem* cell = grid_->item(r, col)) {
          need[col] =
              std::max(need[col], metrics.horizontalAdvance(cell->text()) + kGridTextMargin);
        }
      }
      total_need += need[col];
      fits = fits && grid_->columnWidth(col) >= need[col];
    }
    if (fits) return;
    if (total_need <= available || font.pointSizeF() <= kGridSmallestFont) {
      // Every column gets what its texts need and an equal part of what is left.
      const int spare = std::max(0, available - total_need) / std::max(1, cols);
      for (int col = 0; col < cols; ++col) grid_->setColumnWidth(col, need[col] + spare);
      return;
    }
    font.setPointSizeF(font.pointSizeF() - 0.5);
  }
}

// Row 0 and column 0 are the grid's fixed cells, shaded like headings; the rows share the
// grid's height.
void Form4View::refreshGrid() {
  const Form4& f = *controller_;
  grid_->setVisible(f.Grid_Visible());
  grid_->showGrid(f.Grid());
  fitGridColumns();
  const int rows = f.Grid_Rows();
  for (int r = 0; r < rows; ++r) {
    grid_->setRowHeight(r, grid_->contentsRect().height() / rows);
    if (QTableWidgetItem* cell = grid_->item(r, 0)) {
      cell->setBackground(palette().brush(QPalette::Button));
    }
    for (int col = 0; col < f.Grid_Cols(); ++col) {
      if (QTableWidgetItem* cell = grid_->item(r, col)) cell->setTextAlignment(Qt::AlignCenter);
    }
  }
}

bool Form4View::eventFilter(QObject* watched, QEvent* event) {
  if (watched == picture1_) {
    if (event->type() == QEvent::MouseMove) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      controller_->Picture1_MouseMove(
          static_cast<float>(mouse->position().x() * ui::kTwipsPerPixel));
      refreshTip();
      return true;  // not passed on to the window, whose own moves hide the tip
    } else if (event->type() == QEvent::MouseButtonPress) {
      controller_->Picture1_MouseDown();
      refresh();
      return true;
    } else if (event->type() == QEvent::Leave) {
      controller_->Form_MouseMove();
      refreshTip();
    }
  }
  return QWidget::eventFilter(watched, event);
}

void Form4View::mouseMoveEvent(QMouseEvent* event) {
  controller_->Form_MouseMove();
  refreshTip();
  QWidget::mouseMoveEvent(event);
}

void Form4View::unload() {
  QWidget* window = parentWidget() ? parentWidget() : this;
  window->close();
}

}  // namespace medravolix::crop_tool::qt
