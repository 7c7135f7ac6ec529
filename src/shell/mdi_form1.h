// The main window's controller: the menu entries and their enabled states, the bound workbook
// (LIBRO), the batch settings that outlive the settings dialog, and the handlers of its menus.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "batch/ejecutar_batch.h"
#include "ui/dialogs.h"
#include "workbook/workbook.h"

namespace medravolix::shell {

class MDIForm1 {
 public:
  static constexpr const char* Caption = "MEDRAVOLIX";
  // The filter of the workbook dialog: description and patterns (macro-enabled workbooks too).
  static constexpr const char* kFiltroLibro = "Archivos de Excel (*.xlsx;*.xlsm)|*.xlsx;*.xlsm";
  static constexpr const char* kManual = "MEDRAVOLIX_users_manual_ENG_SPA.pdf";

  using AbrirLibro = std::function<workbook::Workbook(const std::filesystem::path&)>;
  using EjecutarBatch = std::function<batch::ResultadoOperacion(
      workbook::Workbook&, const batch::AjustesBatch&, const batch::Progreso&)>;

  struct Entorno {
    std::filesystem::path carpeta_programa;  // where the program and its manual are
    std::filesystem::path carpeta_ejemplo;   // where the sample workbook is
    AbrirLibro abrir_libro;                  // loads a workbook file (Workbook::open)
    EjecutarBatch ejecutar_batch;            // runs a batch on LIBRO and saves it
  };

  MDIForm1(ui::Dialogs& dialogs, Entorno entorno);

  // Start-up, once the splash has closed: the three entries that need a workbook are disabled.
  void MDIForm_Load();
  // "File" > "Workbook": choose a file and bind it as LIBRO.
  void mnuFileOpen_Click();
  // "Help": the user manual to hand to the desktop, or nothing when it is not there.
  std::optional<std::filesystem::path> mnuHelp_Click() const;

  bool mnuSimBatch_Enabled() const { return libro_entries_enabled_; }
  bool mnuSimKcb_Enabled() const { return libro_entries_enabled_; }
  bool mnuSimETo_Enabled() const { return libro_entries_enabled_; }

  // The bound workbook, or nullptr before one is chosen.
  workbook::Workbook* LIBRO() { return libro_.get(); }
  // The five batch settings, as the settings dialog last stored them.
  batch::AjustesBatch& ajustes() { return ajustes_; }
  // Runs a batch with these settings on LIBRO and saves it (on the caller's thread).
  batch::ResultadoOperacion ejecutarBatch(const batch::AjustesBatch& ajustes,
                                          const batch::Progreso& progreso);

  // The folder the workbook dialog opens in: the sample's at first, then the last choice's.
  const std::filesystem::path& carpetaDialogo() const { return carpeta_dialogo_; }

 private:
  void ABRIR_LIBRO(const std::string& ruta);

  ui::Dialogs& dialogs_;
  Entorno entorno_;
  std::unique_ptr<workbook::Workbook> libro_;
  batch::AjustesBatch ajustes_;
  std::filesystem::path carpeta_dialogo_;
  bool libro_entries_enabled_ = true;
};

}  // namespace medravolix::shell
