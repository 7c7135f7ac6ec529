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
#include <vector>

#include "batch/form11.h"
#include "batch/form5.h"
#include "batch/qt/form11_view.h"
#include "batch/qt/form5_view.h"
#include "shell/form10.h"
#include "shell/mdi_form1.h"
#include "shell/qt/form10_view.h"
#include "shell/qt/mdi_form1_view.h"
#include "ui/qt/qt_dialogs.h"

namespace {

using namespace medravolix;

// The boxes of the program, with the file dialog answered by the copy of the sample workbook.
class DialogosDeFoto : public ui::qt::QtDialogs {
 public:
  explicit DialogosDeFoto(std::string libro) : libro_(std::move(libro)) {}
  std::string openFileDialog(const std::string&, const std::string&) override { return libro_; }

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
QImage conMarco(QWidget& ventana) {
  const QPixmap cliente = ventana.grab();
  const int barra = 26;
  QImage foto(cliente.width() + 2, cliente.height() + barra + 1, QImage::Format_RGB32);
  foto.fill(QColor(70, 80, 100));
  QPainter p(&foto);
  p.drawPixmap(1, barra, cliente);
  p.setPen(Qt::white);
  QFont letra = p.font();
  letra.setPixelSize(14);
  letra.setBold(true);
  p.setFont(letra);
  p.drawText(QRect(10, 0, foto.width() - 20, barra), Qt::AlignVCenter | Qt::AlignLeft,
             ventana.windowTitle());
  return foto;
}

// The main window after the sample workbook was chosen with "File" > "Workbook".
QImage ventanaPrincipal(const Contexto& ctx) {
  DialogosDeFoto dialogos(ctx.libro);
  shell::MDIForm1 controlador(dialogos, {ctx.carpeta_programa, ctx.carpeta_programa, {}, {}});
  shell::qt::MDIForm1View ventana(controlador, dialogos);
  dialogos.setParent(&ventana);
  ventana.MDIForm_Load(1);
  ventana.findChild<QAction*>(QStringLiteral("mnuFileOpen"))->trigger();
  asentar();
  return conMarco(ventana);
}

// The splash window that shows while the program starts.
QImage presentacion(const Contexto&) {
  shell::Form10 controlador(60000);
  shell::qt::Form10View ventana(controlador);
  ventana.show();
  esperar([&] { return ventana.isVisible(); });
  return conMarco(ventana);
}

// The batch settings dialog as it opens, with its defaults.
QImage ajustesBatch(const Contexto&) {
  ui::qt::QtDialogs dialogos;
  batch::AjustesBatch ajustes;
  batch::Form5::Entorno entorno{
      dialogos,
      ajustes,
      [](const batch::AjustesBatch&) { return batch::ResultadoOperacion{}; },
      {}};
  batch::qt::Form5View ventana(std::move(entorno));
  ventana.show();
  esperar([&] { return ventana.isVisible(); });
  return conMarco(ventana);
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
    {"main_window", ventanaPrincipal}, {"splash", presentacion},
    {"batch_settings", ajustesBatch},  {"busy_window", ventanaOcupada},
    {"message_box", mensajeFinal},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_window_pictures <output folder> <sample.xlsx>\n");
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 1);  // the same pictures on every machine
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
