// The main window's client area: the child windows over the background picture, which sits at
// the top-left corner on the workspace colour.
#pragma once

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>

namespace medravolix::shell::qt {

class AreaMdi : public QMdiArea {
  Q_OBJECT
 public:
  explicit AreaMdi(QWidget* parent = nullptr);

  // Shows `view` as a child window at the top-left corner of the client area, deleted when it
  // closes. A child window keeps its fixed size: it has no maximise button, and neither a
  // double click on its title nor its system menu maximises it.
  QMdiSubWindow* agregarHija(QWidget* view, const QString& caption);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap picture_;
};

}  // namespace medravolix::shell::qt
