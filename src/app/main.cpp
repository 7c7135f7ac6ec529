// MEDRAVOLIX: the main window, after the splash; the user chooses the workbook and runs batches.
#include <QApplication>
#include <filesystem>

#include "shell/form10.h"
#include "shell/mdi_form1.h"
#include "shell/qt/mdi_form1_view.h"
#include "shell/ubicaciones.h"
#include "ui/qt/qt_dialogs.h"

int main(int argc, char** argv) {
  using namespace medravolix;
  QApplication app(argc, argv);
  const std::filesystem::path carpeta_programa =
      QCoreApplication::applicationDirPath().toStdString();
  ui::qt::QtDialogs dialogs;
  shell::MDIForm1 controller(dialogs,
                             {carpeta_programa, shell::carpetaEjemplo(carpeta_programa), {}, {}});
  shell::qt::MDIForm1View window(controller, dialogs);
  dialogs.setParent(&window);
  window.MDIForm_Load(shell::Form10::kIntervalo_ms);
  return app.exec();
}
