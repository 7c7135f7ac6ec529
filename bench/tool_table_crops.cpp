// tool_table crops: see tool_table.cpp. Drives the crop tool's controller (Form4) on the
// workbook, with recording canvases for its calendar and graph and scripted dialog answers: a
// click's question is answered as the event says, the input box answers the id of an
// "annotate=ID" event, and every other question is answered Yes.
#include <charconv>
#include <exception>
#include <iostream>
#include <optional>

#include "crop_tool/form4.h"
#include "tool_table_dialogs.h"
#include "tool_table_json.h"
#include "tool_table_modes.h"
#include "ui/recording_canvas.h"

namespace medravolix::tooltable {

namespace {

struct Herramienta {
  workbook::Workbook libro;
  DialogosGuion dialogos;
  ui::RecordingCanvas calendario, grafico;
  crop_tool::DatosForm4 datos;
  crop_tool::Form4 form{{dialogos, [this] { return &libro; }, datos, calendario, grafico, {}}};

  explicit Herramienta(const std::string& ruta) : libro(workbook::Workbook::open(ruta)) {}
};

std::optional<int> entero(const std::string& texto) {
  int valor = 0;
  const auto r = std::from_chars(texto.data(), texto.data() + texto.size(), valor);
  if (r.ec != std::errc() || r.ptr != texto.data() + texto.size()) return std::nullopt;
  return valor;
}

std::optional<double> numero(const std::string& texto) {
  double valor = 0;
  const auto r = std::from_chars(texto.data(), texto.data() + texto.size(), valor);
  if (r.ec != std::errc() || r.ptr != texto.data() + texto.size()) return std::nullopt;
  return valor;
}

std::optional<std::string> elegirCultivo(crop_tool::Form4& f, const std::string& valor) {
  const auto k = entero(valor);
  if (!f.Combo1_Enabled()) return "no crop type is chosen";
  if (!k || *k < 0 || *k >= static_cast<int>(f.Combo1_List().size())) {
    return "the crop list has no entry " + valor;
  }
  f.Combo1_Click(*k);
  return std::nullopt;
}

// The entry of the season-length list that reads N days.
std::optional<std::string> elegirDuracion(crop_tool::Form4& f, const std::string& valor) {
  if (!f.Combo2_Enabled()) return "the season-length list is disabled";
  const auto& lista = f.Combo2_List();
  for (std::size_t i = 0; i < lista.size(); ++i) {
    if (lista[i] == valor) {
      f.Combo2_Click(static_cast<int>(i));
      return std::nullopt;
    }
  }
  return "the season-length list has no entry " + valor;
}

std::optional<std::string> clic(Herramienta& h, const std::string& valor) {
  if (!h.form.Picture1_Enabled()) return "the calendar takes no clicks";
  if (valor == "yes") {
    h.dialogos.respuesta_pregunta = ui::Answer::Yes;
  } else if (valor == "no") {
    h.dialogos.respuesta_pregunta = ui::Answer::No;
  } else if (valor == "cancel") {
    h.dialogos.respuesta_pregunta = ui::Answer::Cancel;
  } else {
    return "a click is answered yes, no or cancel";
  }
  h.form.Picture1_MouseDown();
  h.dialogos.respuesta_pregunta = ui::Answer::Yes;
  return std::nullopt;
}

// Runs one event; returns why it could not run, or nothing.
std::optional<std::string> ejecutarEvento(Herramienta& h, const std::string& evento) {
  if (evento == kEventoEspera) {
    esperarLinea();
    return std::nullopt;
  }
  if (evento == "clear") {
    h.form.Command2_Click();
    return std::nullopt;
  }
  const auto igual = evento.find('=');
  if (igual == std::string::npos) return "unknown event '" + evento + "'";
  const std::string nombre = evento.substr(0, igual);
  const std::string valor = evento.substr(igual + 1);
  if (nombre == "type") {
    if (valor != "annual" && valor != "tree") return "the crop type is annual or tree";
    h.form.Option1_Click(valor == "annual" ? 0 : 1);
    return std::nullopt;
  }
  if (nombre == "crop") return elegirCultivo(h.form, valor);
  if (nombre == "length") return elegirDuracion(h.form, valor);
  if (nombre == "click") return clic(h, valor);
  if (nombre == "annotate") {
    h.dialogos.respuesta = valor;
    h.form.Command1_Click();
    return std::nullopt;
  }
  if (nombre != "move") return "unknown event '" + evento + "'";
  const auto x = numero(valor);
  if (!x || *x < 0 || *x > 10995) return "the calendar has no position " + valor;
  if (!h.form.Picture1_Enabled()) return "the calendar takes no pointer";
  h.form.Picture1_MouseMove(static_cast<float>(*x));
  return std::nullopt;
}

std::string grid(const crop_tool::Form4& f) {
  std::vector<std::string> filas;
  for (int r = 0; r < f.Grid_Rows(); ++r) filas.push_back(jsonStrings(f.Grid().rowTexts(r)));
  return jsonArray(filas);
}

std::string duraciones(const crop_tool::Form4& f) {
  const auto& lista = f.Combo2_List();
  if (lista.empty()) return "null";
  const int i = f.Combo2_ListIndex();
  return jsonObject(
      {{"first", lista.front()}, {"last", lista.back()}, {"selected", i < 0 ? "null" : lista[i]}});
}

std::string series(const crop_tool::Form4& f) {
  return jsonObject({{"KCB_MENSUAL", jsonMonths(f.KCB_MENSUAL())},
                     {"RAIZ_MENSUAL", jsonMonths(f.RAIZ_MENSUAL())},
                     {"COBERTURA_MENSUAL", jsonMonths(f.COBERTURA_MENSUAL())},
                     {"RIEGO_MENSUAL", jsonMonths(f.DATOS_RIEGO().RIEGO_MENSUAL)},
                     {"NRIEGOS_MENSUAL", jsonMonths(f.DATOS_RIEGO().NRIEGOS_MENSUAL)},
                     {"OCUPACION_MENSUAL", jsonMonths(f.OCUPACION_MENSUAL())}});
}

std::string linea(const Herramienta& h, const std::string& evento) {
  const crop_tool::Form4& f = h.form;
  return jsonObject({{"event", jsonString(evento)},
                     {"messages", jsonStrings(h.dialogos.mensajes)},
                     {"list", jsonStrings(f.List1())},
                     {"grid", grid(f)},
                     {"lengths", duraciones(f)},
                     {"tip", f.Text1_Visible() ? jsonString(f.Text1_Text()) : "null"},
                     {"series", series(f)}});
}

}  // namespace

int runCrops(const std::string& workbook, const std::vector<std::string>& events) {
  try {
    Herramienta h(workbook);
    h.form.Form_Load();
    for (const std::string& evento : events) {
      h.dialogos.mensajes.clear();
      if (const auto problema = ejecutarEvento(h, evento)) {
        std::cerr << "tool_table: " << evento << ": " << *problema << '\n';
        return 1;
      }
      std::cout << linea(h, evento) << std::endl;  // flushed: a script may be waiting for it
    }
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "tool_table: " << error.what() << '\n';
    return 1;
  }
}

}  // namespace medravolix::tooltable
