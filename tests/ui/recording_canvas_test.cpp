#include "ui/recording_canvas.h"

#include <gtest/gtest.h>

#include "ui/twips.h"

namespace medravolix::ui {
namespace {

TEST(RecordingCanvas, KeepsEachCallWithThePenFontAndPositionInForce) {
  RecordingCanvas canvas;
  canvas.line(0, 0, 10, 10, kBlack);
  canvas.clear(kWhite);  // wipes what came before
  canvas.setPenWidth(2);
  canvas.line(400, 500, 4600, 500, {200, 200, 200});
  canvas.box(10, 20, 30, 40, kGreen, true);
  canvas.setFont("Comic Sans MS", 8.25, false);
  canvas.setTextColor(kBlue);
  canvas.setCurrentPosition(100, 50);
  canvas.print("T/ºC");

  const auto& calls = canvas.calls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].kind, CanvasCall::Kind::Clear);
  EXPECT_EQ(calls[0].color, kWhite);
  EXPECT_EQ(calls[1].kind, CanvasCall::Kind::Line);
  EXPECT_EQ(calls[1].pen_width_px, 2);
  EXPECT_EQ(calls[1].x2, 4600);
  EXPECT_EQ(calls[1].color, (Rgb{200, 200, 200}));
  EXPECT_EQ(calls[2].kind, CanvasCall::Kind::Box);
  EXPECT_TRUE(calls[2].filled);
  EXPECT_EQ(calls[2].y2, 40);
  EXPECT_EQ(calls[3].kind, CanvasCall::Kind::Text);
  EXPECT_EQ(calls[3].text, "T/ºC");
  EXPECT_EQ(calls[3].x1, 100);
  EXPECT_EQ(calls[3].y1, 50);
  EXPECT_EQ(calls[3].color, kBlue);
  EXPECT_EQ(calls[3].font_family, "Comic Sans MS");
  EXPECT_EQ(calls[3].font_size_pt, 8.25);
  EXPECT_EQ(canvas.currentX(), 100);
}

TEST(Twips, FifteenTwipsMakeAPixel) {
  EXPECT_EQ(twipsToPixels(15300), 1020);
  EXPECT_EQ(twipsToPixels(4695), 313);
  EXPECT_EQ(twipsToPixels(1549.35), 103);
  EXPECT_EQ(twipsToPixels(7), 0);
  EXPECT_EQ(twipsToPixels(8), 1);
}

}  // namespace
}  // namespace medravolix::ui
