// The main window's client area: the child windows over the background picture, which sits at
// the top-left corner on the workspace colour.
#pragma once

#include <QMdiArea>
#include <QPixmap>

namespace medravolix::shell::qt {

class AreaMdi : public QMdiArea {
  Q_OBJECT
 public:
  explicit AreaMdi(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap picture_;
};

}  // namespace medravolix::shell::qt
