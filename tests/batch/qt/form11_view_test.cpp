#include "batch/qt/form11_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "support/qt_keys.h"

namespace medravolix::batch::qt {
namespace {

// The batch waits after its first simulation until the test lets it go on: meanwhile the window
// shows "33%", repaints, and refuses to close by its frame or by Escape.
TEST(Form11View, RunsTheBatchOffTheWindowThreadAndClosesOnlyWhenItHasEnded) {
  std::atomic<bool> go_on{false};
  std::thread::id batch_thread;
  Form11 form([&](const Progreso& progreso) {
    batch_thread = std::this_thread::get_id();
    progreso(33);
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!go_on && std::chrono::steady_clock::now() < limit) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    progreso(67);
    progreso(100);
    ResultadoOperacion r;
    r.estado = EstadoOperacion::Completado;
    return r;
  });
  Form11View view(form);
  EXPECT_EQ(view.windowTitle(), "MEDRAVOLIX");
  EXPECT_EQ(view.size(), QSize(441, 177));
  EXPECT_EQ(view.Label1()->width(), 1);  // 15 twips before the first update

  bool stayed_open = false;
  QString caption_while_running;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (go_on || view.Frame1()->title() != "33%") return;
    caption_while_running = view.Frame1()->title();
    EXPECT_EQ(view.Label1()->width(), 103);
    view.close();
    testing::pressKey(&view, Qt::Key_Escape, QString(QChar(27)));
    QApplication::processEvents();
    stayed_open = view.isVisible();
    go_on = true;
  });
  poll.start(5);
  view.exec();

  EXPECT_EQ(caption_while_running, "33%");
  EXPECT_TRUE(stayed_open);
  EXPECT_NE(batch_thread, std::this_thread::get_id());
  EXPECT_FALSE(view.isVisible());
  EXPECT_EQ(view.Frame1()->title(), "100% finishing");
  EXPECT_EQ(view.Label1()->width(), 313);
  EXPECT_EQ(form.resultado().estado, EstadoOperacion::Completado);
}

}  // namespace
}  // namespace medravolix::batch::qt
