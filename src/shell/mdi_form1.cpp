#include "shell/mdi_form1.h"

#include <exception>

#include "shell/ubicaciones.h"

namespace medravolix::shell {

MDIForm1::MDIForm1(ui::Dialogs& dialogs, Entorno entorno)
    : dialogs_(dialogs), entorno_(std::move(entorno)), carpeta_dialogo_(entorno_.carpeta_ejemplo) {
  if (!entorno_.abrir_libro) entorno_.abrir_libro = &workbook::Workbook::open;
  if (!entorno_.ejecutar_batch) {
    entorno_.ejecutar_batch = [](workbook::Workbook& libro, const batch::AjustesBatch& ajustes,
                                 const batch::Progreso& progreso) {
      return batch::ejecutarYGuardar(libro, ajustes, 0, progreso);
    };
  }
}

void MDIForm1::MDIForm_Load() {
  libro_entries_enabled_ = false;
}

void MDIForm1::mnuFileOpen_Click() {
  const std::string ruta = dialogs_.openFileDialog(kFiltroLibro, carpeta_dialogo_.string());
  if (ruta.empty()) return;
  ABRIR_LIBRO(ruta);
}

// Binds the chosen file as the workbook. A file that cannot be loaded leaves the workbook bound
// before (and the menus) as they were and tells the user why.
void MDIForm1::ABRIR_LIBRO(const std::string& ruta) {
  try {
    libro_ = std::make_unique<workbook::Workbook>(entorno_.abrir_libro(ruta));
  } catch (const std::exception& error) {
    std::string texto =
        "MEDRAVOLIX cannot use this file as its workbook:\r\n" + ruta + "\r\n\r\n" + error.what();
    if (libro_) texto += "\r\n\r\nThe workbook in use is still " + libro_->path().string() + ".";
    dialogs_.messageBox(texto, ui::Icon::Critical);
    return;
  }
  carpeta_dialogo_ = std::filesystem::path(ruta).parent_path();
  libro_entries_enabled_ = true;
}

std::optional<std::filesystem::path> MDIForm1::mnuHelp_Click() const {
  return archivoCompartido(entorno_.carpeta_programa, kManual);
}

batch::ResultadoOperacion MDIForm1::ejecutarBatch(const batch::AjustesBatch& ajustes,
                                                  const batch::Progreso& progreso) {
  if (!libro_) {
    batch::ResultadoOperacion resultado;
    resultado.estado = batch::EstadoOperacion::Rechazado;
    resultado.motivo = "No workbook is open: choose one with File > Workbook.";
    return resultado;
  }
  return entorno_.ejecutar_batch(*libro_, ajustes, progreso);
}

}  // namespace medravolix::shell
