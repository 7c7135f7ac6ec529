#include "shell/imagenes.h"

#include <gtest/gtest.h>

#include "ui/recording_canvas.h"

namespace medravolix::shell {
namespace {

// A picture starts from a cleared surface, draws within its own size and names the program.
void expectPicture(void (*draw)(ui::Canvas&), double width, double height) {
  ui::RecordingCanvas canvas;
  draw(canvas);
  const auto& calls = canvas.calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front().kind, ui::CanvasCall::Kind::Clear);
  bool named = false;
  for (const auto& call : calls) {
    EXPECT_GE(std::min(call.x1, call.x2), -1) << call.text;
    EXPECT_GE(std::min(call.y1, call.y2), -1) << call.text;
    EXPECT_LE(std::max(call.x1, call.x2), width + 15) << call.text;
    EXPECT_LE(std::max(call.y1, call.y2), height + 15) << call.text;
    named = named || call.text == "MEDRAVOLIX";
  }
  EXPECT_TRUE(named);
}

TEST(Imagenes, BothPicturesStayInsideTheirSizeAndNameTheProgram) {
  expectPicture(&dibujarFondo, kFondoAncho, kFondoAlto);
  expectPicture(&dibujarPresentacion, kPresentacionLado, kPresentacionLado);
}

}  // namespace
}  // namespace medravolix::shell
