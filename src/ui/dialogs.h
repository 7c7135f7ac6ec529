// The boxes a window shows to the user: message box, input box, beep and the file-open dialog.
// Controllers reach them through this interface, so tests can answer them with a fake; the Qt
// program shows the real ones (ui/qt/qt_dialogs.h). Texts are UTF-8; a message may hold CR LF
// line breaks.
#pragma once

#include <string>

namespace medravolix::ui {

// The title of every message box and input box of the program.
inline constexpr const char* kTitle = "MEDRAVOLIX";

// The icon of a message box.
enum class Icon { Critical, Exclamation, Information, Question };

// The buttons of a question box, and the answer the user gave (closing the box is Cancel when
// it has a Cancel button, No otherwise).
enum class Buttons { YesNo, YesNoCancel };
enum class Answer { Yes, No, Cancel };

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A message box with the icon, an OK button and the title "MEDRAVOLIX"; returns when the user
  // has closed it.
  virtual void messageBox(const std::string& text, Icon icon) = 0;

  // A question box with the icon, the buttons and the title "MEDRAVOLIX"; returns the answer.
  virtual Answer questionBox(const std::string& text, Buttons buttons, Icon icon) = 0;

  // An input box titled "MEDRAVOLIX" with the prompt and a default answer; returns the text the
  // user entered, or the empty text when the user cancelled.
  virtual std::string inputBox(const std::string& prompt, const std::string& default_text) = 0;

  // The system beep.
  virtual void beep() = 0;

  // The file-open dialog. `filter` lists description and pattern pairs separated by vertical
  // bars ("Archivos de Excel (*.xlsx)|*.xlsx"); the dialog starts in `start_folder`. Returns
  // the full path of the chosen file, or the empty text when the user cancelled.
  virtual std::string openFileDialog(const std::string& filter,
                                     const std::string& start_folder) = 0;
};

}  // namespace medravolix::ui
