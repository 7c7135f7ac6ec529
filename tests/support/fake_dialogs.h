// Dialogs that record what the program shows and answer from a script, for controller tests and
// the Qt window tests.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ui/dialogs.h"

namespace medravolix::testing {

class FakeDialogs : public ui::Dialogs {
 public:
  struct Message {
    std::string text;
    ui::Icon icon;
  };

  void messageBox(const std::string& text, ui::Icon icon) override {
    messages.push_back({text, icon});
  }
  ui::Answer questionBox(const std::string& text, ui::Buttons, ui::Icon icon) override {
    questions.push_back({text, icon});
    if (while_question_open) while_question_open();
    if (question_answers.empty()) return ui::Answer::Yes;
    const ui::Answer answer = question_answers.front();
    question_answers.pop_front();
    return answer;
  }
  std::string inputBox(const std::string& prompt, const std::string&) override {
    prompts.push_back(prompt);
    return next(input_answers);
  }
  void beep() override { ++beeps; }
  std::string openFileDialog(const std::string& filter, const std::string& start_folder) override {
    filters.push_back(filter);
    start_folders.push_back(start_folder);
    return next(file_answers);
  }

  // Answers given in turn; an empty answer (or none left) is a cancelled box.
  std::deque<std::string> file_answers;
  std::deque<std::string> input_answers;
  // Answers to question boxes in turn; Yes when none is left.
  std::deque<ui::Answer> question_answers;
  // Run while each question box is open, before it is answered (the user saving the workbook
  // from a spreadsheet program meanwhile).
  std::function<void()> while_question_open;

  std::vector<Message> messages;
  std::vector<Message> questions;
  std::vector<std::string> prompts;
  std::vector<std::string> filters;
  std::vector<std::string> start_folders;
  int beeps = 0;

 private:
  static std::string next(std::deque<std::string>& answers) {
    if (answers.empty()) return "";
    std::string answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace medravolix::testing
