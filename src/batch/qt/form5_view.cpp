#include "batch/qt/form5_view.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QPalette>

#include "ui/qt/geometry.h"
#include "ui/qt/picture_box.h"

namespace medravolix::batch::qt {

namespace {

const QString kComic = QStringLiteral("Comic Sans MS");

// The character code a key press produces, or -1 for keys that produce none (Delete, the
// arrows, Tab, modifiers). Control shortcuts give their control character (Ctrl+V is 22).
int codigoCaracter(const QKeyEvent* tecla) {
  const int key = tecla->key();
  // Delete produces no character, though X11 gives it the text "\x7f".
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Delete) return -1;
  if (key == Qt::Key_Backspace) return 8;
  if (key == Qt::Key_Return || key == Qt::Key_Enter) return 13;
  if (key == Qt::Key_Escape) return 27;
  if ((tecla->modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z) {
    return key - Qt::Key_A + 1;
  }
  const QString texto = tecla->text();
  if (texto.isEmpty()) return -1;
  return static_cast<int>(texto.at(0).unicode());
}

}  // namespace

Form5View::Form5View(Form5::Entorno entorno, QWidget* parent)
    : QWidget(parent), controller_([this, entorno]() mutable {
        entorno.descargar = [this] { descargar(); };
        entorno.mostrar = [this] { refrescar(); };
        return entorno;
      }()) {
  setWindowTitle(QString::fromUtf8(Form5::Caption));
  setFixedSize(ui::qt::sizeFromTwips(Form5::kAnchoCliente, Form5::kAltoCliente));
  crearControles();
  controller_.Form_Load();
  for (int i = 1; i <= 3; ++i) text1_[i]->setText(QString::fromStdString(controller_.Text1(i)));
  refrescar();
}

void Form5View::crearControles() {
  auto* Label2 = new QLabel(QString::fromUtf8(Form5::Label2_Caption()), this);
  Label2->setFont(ui::qt::windowFont(kComic, 15.75, true));
  ui::qt::placeLabelAt(Label2, Form5::Label2_Place());
  for (int i = 1; i <= 3; ++i) {
    label1_[i] = new QLabel(QString::fromUtf8(Form5::Label1_Caption(i)), this);
    label1_[i]->setFont(ui::qt::windowFont(kComic, 12));
    ui::qt::placeLabelAt(label1_[i], Form5::Label1_Place(i));
    text1_[i] = new QLineEdit(this);
    text1_[i]->setFont(ui::qt::windowFont(kComic, 12));
    ui::qt::placeAt(text1_[i], Form5::Text1_Place(i));
    text1_[i]->installEventFilter(this);
    connect(text1_[i], &QLineEdit::textChanged, this,
            [this, i](const QString& texto) { controller_.Text1_Change(i, texto.toStdString()); });
  }
  for (int f = 0; f <= 1; ++f) {
    frame1_[f] = new QGroupBox(QString::fromUtf8(Form5::Frame1_Caption(f)), this);
    frame1_[f]->setFont(ui::qt::windowFont(kComic, 12));
    ui::qt::placeAt(frame1_[f], Form5::Frame1_Place(f));
  }
  for (int i = 0; i <= 4; ++i) {
    option1_[i] = new QRadioButton(QString::fromUtf8(Form5::Option1_Caption(i)),
                                   frame1_[Form5::frameOfOption(i)]);
    option1_[i]->setFont(ui::qt::windowFont(kComic, 11.25));
    ui::qt::placeAt(option1_[i], Form5::Option1_Place(i));
    connect(option1_[i], &QRadioButton::clicked, this, [this, i] {
      controller_.Option1_Click(i);
      refrescar();
    });
  }
  command1_ = new QPushButton(QString::fromUtf8(Form5::Command_Caption(1)), this);
  command2_ = new QPushButton(QString::fromUtf8(Form5::Command_Caption(2)), this);
  for (int c = 1; c <= 2; ++c) {
    QPushButton* boton = c == 1 ? command1_ : command2_;
    boton->setFont(ui::qt::windowFont(kComic, 12));
    ui::qt::placeAt(boton, Form5::Command_Place(c));
  }
  connect(command1_, &QPushButton::clicked, this, &Form5View::Command1_Click);
  connect(command2_, &QPushButton::clicked, this, &Form5View::Command2_Click);
}

void Form5View::refrescar() {
  for (int i = 1; i <= 3; ++i) {
    QPalette paleta = label1_[i]->palette();
    const auto color = controller_.Label1_ForeColor(i);
    paleta.setColor(QPalette::WindowText,
                    color ? ui::qt::toQColor(*color) : palette().color(QPalette::WindowText));
    label1_[i]->setPalette(paleta);
  }
  for (int i = 0; i <= 4; ++i) option1_[i]->setChecked(controller_.Option1(i));
}

bool Form5View::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  for (int i = 1; i <= 3; ++i) {
    if (watched != text1_[i]) continue;
    int codigo = codigoCaracter(static_cast<QKeyEvent*>(event));
    if (codigo < 0) return false;
    return !controller_.Text1_KeyPress(i, codigo);
  }
  return QWidget::eventFilter(watched, event);
}

void Form5View::Command1_Click() {
  controller_.Command1_Click();
  if (controller_.descargado()) {
    cerrarSiDescargado();
    return;
  }
  refrescar();
}

void Form5View::Command2_Click() {
  controller_.Command2_Click();
  cerrarSiDescargado();
}

// The controller unloads the dialog before the batch starts: it disappears at once, and is
// destroyed once the click that unloaded it has been handled.
void Form5View::descargar() {
  QWidget* ventana = parentWidget() ? parentWidget() : this;
  ventana->hide();
}

void Form5View::cerrarSiDescargado() {
  QWidget* ventana = parentWidget() ? parentWidget() : this;
  ventana->close();
}

}  // namespace medravolix::batch::qt
