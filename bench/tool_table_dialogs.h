// The dialogs of tool_table: message boxes are recorded, the input box gives the scripted answer,
// a question gets the answer set for it (Yes unless an event says otherwise, and Yes again after
// it), and nothing else is ever shown.
#pragma once

#include <string>
#include <vector>

#include "ui/dialogs.h"

namespace medravolix::tooltable {

class DialogosGuion : public ui::Dialogs {
 public:
  void messageBox(const std::string& text, ui::Icon) override { mensajes.push_back(text); }
  ui::Answer questionBox(const std::string&, ui::Buttons, ui::Icon) override {
    const ui::Answer r = respuesta_pregunta;
    respuesta_pregunta = ui::Answer::Yes;
    return r;
  }
  std::string inputBox(const std::string&, const std::string&) override { return respuesta; }
  void beep() override {}
  std::string openFileDialog(const std::string&, const std::string&) override { return ""; }

  std::vector<std::string> mensajes;
  std::string respuesta;
  ui::Answer respuesta_pregunta = ui::Answer::Yes;  // the next question's answer
};

}  // namespace medravolix::tooltable
