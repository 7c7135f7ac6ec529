// Draws the program's windows for the user's manual. Each window is built with its own controller,
// as the program builds it, on a copy of the sample workbook, rendered offscreen and saved as a
// PNG picture with a plain title bar, so the manual always shows the windows as they are.
//
// usage: make_window_pictures <output folder> <sample.xlsx>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <utility>
#include <vector>

#include "batch/form11.h"
#include "batch/form5.h"
#include "batch/qt/form11_view.h"
#include "batch/qt/form5_view.h"
#include "crop_tool/qt/form4_view.h"
#include "eto_tool/qt/form2_view.h"
#include "shell/form10.h"
#include "shell/mdi_form1.h"
#include "shell/qt/form10_view.h"
#include "shell/qt/mdi_form1_view.h"
#include "ui/qt/qt_dialogs.h"

namespace {

using namespace medravolix;

constexpr double kPuntoPantalla = 96.0;  // a screen's pixels per inch

// The boxes of the program, with the file dialog answered by the copy of the sample workbook.
class DialogosDeFoto : public ui::qt::QtDialogs {
 public:
  explicit DialogosDeFoto(std::string libro) : libro_(std::move(libro)) {}
  std::string openFileDialog(const std::string&, const std::string&) override { return libro_; }
  // "Would you like to add this crop?": yes.
  ui::Answer questionBox(const std::string&, ui::Buttons, ui::Icon) override {
    return ui::Answer::Yes;
  }

 private:
  std::string libro_;
};

struct Contexto {
  std::filesystem::path carpeta_programa;  // where the sample workbook was built
  std::string libro;                       // the copy of the sample workbook
};

// Runs the event loop until `hecho` holds, or five seconds have passed; returns whether it holds.
bool esperar(const std::function<bool()>& hecho) {
  QElapsedTimer reloj;
  reloj.start();
  while (!hecho() && reloj.elapsed() < 5000) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(2);
  }
  return hecho();
}

// Runs the event loop for a while, so that what was posted is drawn.
void asentar() {
  QElapsedTimer reloj;
  reloj.start();
  esperar([&] { return reloj.elapsed() >= 100; });
}

// The window as the user sees it: a plain title bar with its caption above its client area.
// The windows are drawn at twice a screen's pixels, so that their smallest labels still read
// when the manual prints them smaller than on a screen; the picture's own resolution says so.
QImage conMarco(QWidget& ventana) {
  const QPixmap cliente = ventana.grab();
  const qreal escala = cliente.devicePixelRatio();
  const QSizeF tamano = cliente.deviceIndependentSize();
  const int barra = 26;
  QImage foto((QSizeF(tamano.width() + 2, tamano.height() + barra + 1) * escala).toSize(),
              QImage::Format_RGB32);
  foto.setDevicePixelRatio(escala);
  foto.fill(QColor(70, 80, 100));
  QPainter p(&foto);
  p.drawPixmap(QPointF(1, barra), cliente);
  p.setPen(Qt::white);
  QFont letra = p.font();
  letra.setPixelSize(14);
  letra.setBold(true);
  p.setFont(letra);
  p.drawText(QRectF(10, 0, tamano.width() - 18, barra), Qt::AlignVCenter | Qt::AlignLeft,
             ventana.windowTitle());
  p.end();
  const int puntos_por_metro = qRound(kPuntoPantalla * escala / 0.0254);
  foto.setDotsPerMeterX(puntos_por_metro);
  foto.setDotsPerMeterY(puntos_por_metro);
  return foto;
}

// The main window, with the copy of the sample workbook chosen through "File" > "Workbook".
struct Principal {
  explicit Principal(const Contexto& ctx)
      : dialogos(ctx.libro),
        controlador(dialogos, {ctx.carpeta_programa, ctx.carpeta_programa, {}, {}}),
        ventana(controlador, dialogos) {
    dialogos.setParent(&ventana);
    ventana.MDIForm_Load(1);
    ventana.findChild<QAction*>(QStringLiteral("mnuFileOpen"))->trigger();
    asentar();
  }
  void menu(const char* entrada) {
    ventana.findChild<QAction*>(QString::fromLatin1(entrada))->trigger();
    asentar();
  }
  DialogosDeFoto dialogos;
  shell::MDIForm1 controlador;
  shell::qt::MDIForm1View ventana;
};

// The main window made smaller, as a user may make it, so that its menus read in the manual: the
// manual prints a picture at most as wide as its text (642 screen pixels) and two fifths of a
// page high (392), so this one prints at 0.93 of its size on a screen, its menus' 9-point letters
// at more than 8 points. It shows the window's top left corner: the menus above the sky, the
// first tree and the top of the soil.
QImage ventanaPrincipal(const Contexto& ctx) {
  Principal principal(ctx);
  principal.ventana.resize(690, 395);
  asentar();
  return conMarco(principal.ventana);
}

// The user's pointer over a widget (a position in pixels), and a click there.
void raton(QWidget* donde, QPointF en, bool pulsar) {
  QMouseEvent mover(QEvent::MouseMove, en, donde->mapToGlobal(en), Qt::NoButton, Qt::NoButton,
                    Qt::NoModifier);
  QApplication::sendEvent(donde, &mover);
  if (!pulsar) return;
  QMouseEvent pulsa(QEvent::MouseButtonPress, en, donde->mapToGlobal(en), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(donde, &pulsa);
}

// The reference-evapotranspiration tool: a station chosen and its Penman-Monteith ETo drawn.
QImage herramientaEto(const Contexto& ctx) {
  Principal principal(ctx);
  principal.menu("mnuSimETo");
  eto_tool::qt::Form2View* v = principal.ventana.form2();
  if (!v) return {};
  const int estacion = v->Combo1()->findText(QStringLiteral("Maricopa"), Qt::MatchStartsWith);
  v->Combo1()->setCurrentIndex(estacion);
  emit v->Combo1()->activated(estacion);
  asentar();
  if (!v->Option1(1)->isEnabled()) return {};
  v->Option1(1)->click();
  asentar();
  return conMarco(*v);
}

// The crop tool: a rotation of two annual crops placed on the calendar by clicks, as the user
// places them, and the pointer over the calendar with its date.
QImage herramientaCultivos(const Contexto& ctx) {
  Principal principal(ctx);
  principal.menu("mnuSimKcb");
  crop_tool::qt::Form4View* v = principal.ventana.form4();
  if (!v) return {};
  v->Option1(0)->click();
  asentar();
  // A day of the year d lies under the calendar's pixel 2d - 1 (30 twips a day).
  const std::pair<const char*, int> rotacion[] = {{"Sweet melon", 121}, {"Lettuce", 319}};
  for (const auto& [cultivo, dia] : rotacion) {
    const int k = v->Combo1()->findText(QString::fromLatin1(cultivo));
    if (k < 0) return {};
    v->Combo1()->setCurrentIndex(k);
    emit v->Combo1()->activated(k);
    raton(v->Picture1(), QPointF(2 * dia - 1, 10), true);
    asentar();
  }
  if (v->List1()->count() != 2) return {};  // both crops are in the rotation
  raton(v->Picture1(), QPointF(2 * 196 - 1, 10), false);
  asentar();
  return conMarco(*v);
}

// The splash window that shows while the program starts.
QImage presentacion(const Contexto&) {
  shell::Form10 controlador(60000);
  shell::qt::Form10View ventana(controlador);
  ventana.show();
  esperar([&] { return ventana.isVisible(); });
  return conMarco(ventana);
}

// The batch settings dialog as "Simulations" > "Batch runs" opens it, with its defaults.
QImage ajustesBatch(const Contexto& ctx) {
  Principal principal(ctx);
  principal.menu("mnuSimBatch");
  batch::qt::Form5View* v = principal.ventana.form5();
  return v ? conMarco(*v) : QImage();
}

// The busy window two thirds of the way through a batch.
QImage ventanaOcupada(const Contexto&) {
  std::promise<void> soltar;
  std::shared_future<void> suelto = soltar.get_future().share();
  batch::Form11 controlador([suelto](const batch::Progreso& progreso) {
    progreso(67);
    suelto.wait();
    return batch::ResultadoOperacion{};
  });
  batch::qt::Form11View ventana(controlador);
  ventana.show();
  const bool a_medias = esperar([&] { return controlador.Frame1_Caption() == "67%"; });
  asentar();
  const QImage foto = a_medias ? conMarco(ventana) : QImage();  // none: the build stops
  soltar.set_value();
  esperar([&] { return !ventana.isVisible(); });
  return foto;
}

// A message box of the program: the one that ends a batch.
QImage mensajeFinal(const Contexto&) {
  ui::qt::QtDialogs dialogos;
  QImage foto;
  QTimer::singleShot(200, [&] {
    if (QWidget* caja = QApplication::activeModalWidget()) {
      foto = conMarco(*caja);
      caja->close();
    }
  });
  dialogos.messageBox(batch::Form5::kMensajeCompletado, ui::Icon::Information);
  return foto;
}

struct Foto {
  const char* nombre;
  QImage (*hacer)(const Contexto&);
};

const std::vector<Foto> kFotos = {
    {"main_window", ventanaPrincipal},  {"splash", presentacion},
    {"batch_settings", ajustesBatch},   {"busy_window", ventanaOcupada},
    {"message_box", mensajeFinal},      {"eto_tool", herramientaEto},
    {"crop_tool", herramientaCultivos},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_window_pictures <output folder> <sample.xlsx>\n");
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 1);  // the same pictures on every machine
  setenv("QT_SCALE_FACTOR", "2", 1);          // each window pixel drawn as 2 x 2
  QApplication app(argc, argv);
  QTemporaryDir tmp;
  const QString copia = tmp.filePath(QStringLiteral("sample.xlsx"));
  if (!tmp.isValid() || !QFile::copy(QString::fromLocal8Bit(argv[2]), copia)) {
    std::fprintf(stderr, "make_window_pictures: cannot copy %s\n", argv[2]);
    return 1;
  }
  const Contexto ctx{std::filesystem::path(argv[2]).parent_path(), copia.toStdString()};
  const QDir salida(QString::fromLocal8Bit(argv[1]));
  QDir().mkpath(salida.path());
  for (const Foto& foto : kFotos) {
    const QImage imagen = foto.hacer(ctx);
    const QString archivo = salida.filePath(QString::fromLatin1(foto.nombre) + ".png");
    if (imagen.isNull() || !imagen.save(archivo)) {
      std::fprintf(stderr, "make_window_pictures: cannot draw %s\n", foto.nombre);
      return 1;
    }
  }
  return 0;
}
