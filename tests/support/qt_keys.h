// Key presses sent to a Qt control as the keyboard would, through its event filters.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace medravolix::testing {

inline void pressKey(QWidget* control, int key, const QString& text,
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(control, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QApplication::sendEvent(control, &release);
}

// Types printable characters one by one.
inline void typeText(QWidget* control, const QString& characters) {
  for (QChar c : characters) {
    const int key = c.isLetter() ? static_cast<int>(c.toUpper().unicode()) : c.unicode();
    pressKey(control, key, QString(c));
  }
}

}  // namespace medravolix::testing
