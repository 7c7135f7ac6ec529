// tool_table eto: see tool_table.cpp. Drives the reference-evapotranspiration tool's controller
// (Form2) on the workbook, with a recording canvas for its climogram and scripted dialog answers:
// the input box answers the id of an "annotate=ID" event, every question is answered Yes.
#include <charconv>
#include <exception>
#include <iostream>
#include <optional>

#include "eto_tool/form2.h"
#include "tool_table_dialogs.h"
#include "tool_table_json.h"
#include "tool_table_modes.h"
#include "ui/recording_canvas.h"

namespace medravolix::tooltable {

namespace {

struct Herramienta {
  workbook::Workbook libro;
  DialogosGuion dialogos;
  ui::RecordingCanvas canvas;
  eto_tool::DatosForm2 datos;
  eto_tool::Form2 form{{dialogos, [this] { return &libro; }, datos, canvas, {}}};

  explicit Herramienta(const std::string& ruta) : libro(workbook::Workbook::open(ruta)) {}

  std::string habilitados() const {
    std::vector<std::string> items;
    for (int i = 0; i < 5; ++i) items.push_back(jsonBool(form.Option1_Enabled(i)));
    return jsonArray(items);
  }
};

std::optional<int> entero(const std::string& texto) {
  int valor = 0;
  const auto r = std::from_chars(texto.data(), texto.data() + texto.size(), valor);
  if (r.ec != std::errc() || r.ptr != texto.data() + texto.size()) return std::nullopt;
  return valor;
}

// The station's line: its summary, sources, options and the twelve values of each method. A
// station that cannot be loaded leaves the window on the station shown before, which is not this
// one: its line has empty texts, no sources, every option disabled and the load's message only.
std::string lineaEstacion(Herramienta& h, int k) {
  h.dialogos.mensajes.clear();
  h.form.Combo1_Click(k);
  const bool cargada = h.form.Combo1_ListIndex() == k;
  std::vector<std::string> eto;
  std::vector<std::string> habilitados;
  for (int i = 0; i < 5; ++i) {
    const bool habilitado = cargada && h.form.Option1_Enabled(i);
    habilitados.push_back(jsonBool(habilitado));
    if (!habilitado) {
      eto.push_back("null");
      continue;
    }
    h.form.Option1_Click(i);
    eto.push_back(jsonMonths(h.datos.ETO_MENSUAL));
  }
  const auto fuente = [cargada](int16_t opcion) { return jsonNumber(cargada ? opcion : 0); };
  return jsonObject({{"k", jsonNumber(k)},
                     {"entry", jsonString(h.form.Combo1_List()[k])},
                     {"summary", jsonStrings(cargada ? h.form.MSHFlexGrid1().rowTexts(1)
                                                     : std::vector<std::string>(7))},
                     {"humidity_source", fuente(h.datos.fuentes.OPCION_HUMEDAD)},
                     {"radiation_source", fuente(h.datos.fuentes.OPCION_RADIACION)},
                     {"enabled", jsonArray(habilitados)},
                     {"eto", jsonArray(eto)},
                     {"messages", jsonStrings(h.dialogos.mensajes)}});
}

// Runs one event; returns why it could not run, or nothing.
std::optional<std::string> ejecutarEvento(Herramienta& h, const std::string& evento) {
  if (evento == kEventoEspera) {
    esperarLinea();
    return std::nullopt;
  }
  const auto igual = evento.find('=');
  const std::string nombre = evento.substr(0, igual);
  const std::string valor = igual == std::string::npos ? "" : evento.substr(igual + 1);
  if (igual == std::string::npos) return "the event '" + evento + "' has no '='";
  if (nombre == "annotate") {
    h.dialogos.respuesta = valor;
    h.form.Command1_Click();
    return std::nullopt;
  }
  const auto n = entero(valor);
  if (nombre == "station") {
    if (!n || *n < 0 || *n >= static_cast<int>(h.form.Combo1_List().size())) {
      return "the list has no station " + valor;
    }
    h.form.Combo1_Click(*n);
    return std::nullopt;
  }
  if (nombre != "method") return "unknown event '" + evento + "'";
  if (!n || *n < 0 || *n > 4) return "there is no method option " + valor;
  if (!h.form.Frame1_Enabled() || !h.form.Option1_Enabled(*n)) {
    return "the method option " + valor + " is disabled";
  }
  h.form.Option1_Click(*n);
  return std::nullopt;
}

int listarEstaciones(Herramienta& h) {
  int estado = 0;
  for (int k = 0; k < static_cast<int>(h.form.Combo1_List().size()); ++k) {
    std::cout << lineaEstacion(h, k) << '\n';
    if (h.form.Combo1_ListIndex() != k) {
      std::cerr << "tool_table: station " << k << " could not be loaded\n";
      estado = 1;
    }
  }
  return estado;
}

int ejecutarEventos(Herramienta& h, const std::vector<std::string>& eventos) {
  for (const std::string& evento : eventos) {
    h.dialogos.mensajes.clear();
    if (const auto problema = ejecutarEvento(h, evento)) {
      std::cerr << "tool_table: " << evento << ": " << *problema << '\n';
      return 1;
    }
    std::cout << jsonObject({{"event", jsonString(evento)},
                             {"messages", jsonStrings(h.dialogos.mensajes)},
                             {"enabled", h.habilitados()},
                             {"eto", jsonMonths(h.datos.ETO_MENSUAL)}})
              << std::endl;  // flushed: a script may be waiting for it
  }
  return 0;
}

}  // namespace

int runEto(const std::string& workbook, const std::vector<std::string>& events) {
  try {
    Herramienta h(workbook);
    h.form.Form_Load();
    if (!h.dialogos.mensajes.empty()) {
      for (const auto& m : h.dialogos.mensajes) std::cerr << "tool_table: " << m << '\n';
      return 1;
    }
    return events.empty() ? listarEstaciones(h) : ejecutarEventos(h, events);
  } catch (const std::exception& error) {
    std::cerr << "tool_table: " << error.what() << '\n';
    return 1;
  }
}

}  // namespace medravolix::tooltable
