// The climogram's calls on a recording canvas: the scale chosen from rainfall and ETo, the axis
// labels and where they stand, the colours and pen widths of the lines.
#include "eto_tool/climograma.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/recording_canvas.h"

namespace medravolix::eto_tool {
namespace {

using ui::CanvasCall;

std::vector<CanvasCall> llamadas(const ui::RecordingCanvas& c, CanvasCall::Kind kind) {
  std::vector<CanvasCall> out;
  for (const CanvasCall& call : c.calls()) {
    if (call.kind == kind) out.push_back(call);
  }
  return out;
}

Mensual serie(double v) {
  Mensual s{};
  for (int m = 1; m <= 12; ++m) s[m] = v;
  return s;
}

TEST(Climogram, ScaleIndexFollowsTheLargestRainfallOrEto) {
  struct Caso {
    double lluvia, eto, j;
  };
  for (const Caso& k :
       {Caso{199.9, 0, 0}, Caso{200, 0, 1}, Caso{250, 0, 1}, Caso{0, 300, 2}, Caso{-5, -1, 0},
        Caso{32699.9, 0, 325}, Caso{32700, 0, 326}, Caso{1e6, 0, 9999}, Caso{1e6 + 0.5, 0, 9999}}) {
    Mensual lluvia = serie(1), eto = serie(0);
    lluvia[7] = k.lluvia;
    eto[3] = k.eto;
    EXPECT_EQ(escalaClimograma(TERMINO_MAX_CLIMOGRAMA(lluvia, eto)), k.j)
        << k.lluvia << " " << k.eto;
  }
}

TEST(Climogram, LabelsOfBothAxesAtTheirPlaces) {
  ui::RecordingCanvas c;
  Mensual lluvia = serie(20);
  lluvia[1] = 250;  // j = 1: 0 to 300 in steps of 15
  const double j = CLIMOGRAMA(c, serie(15), lluvia, serie(0), 1);
  EXPECT_EQ(j, 1);
  const auto textos = llamadas(c, CanvasCall::Kind::Text);
  ASSERT_EQ(textos.size(), 12u + 2 + 42);
  EXPECT_EQ(textos[0].text, "Jan");
  EXPECT_EQ(textos[0].x1, 450);
  EXPECT_EQ(textos[11].text, "Dec");
  EXPECT_EQ(textos[11].y1, 5700);
  EXPECT_EQ(textos[12].text, "T/ºC");
  EXPECT_EQ(textos[13].text, "mm");
  EXPECT_EQ(textos[13].x1, 4500);
  struct Etiqueta {
    int i;
    const char* izquierda;
    double x;
    const char* derecha;
  };
  for (const Etiqueta& e : {Etiqueta{0, " 100", -50, " 300"}, Etiqueta{1, " 95 ", 50, " 285"},
                            Etiqueta{18, " 10 ", 50, " 30"}, Etiqueta{19, " 5  ", 150, " 15"},
                            Etiqueta{20, " 0  ", 150, " 0"}}) {
    const CanvasCall& izq = textos[14 + 2 * e.i];
    const CanvasCall& der = textos[15 + 2 * e.i];
    EXPECT_EQ(izq.text, e.izquierda);
    EXPECT_EQ(izq.x1, e.x);
    EXPECT_EQ(izq.y1, 390 + 255 * e.i);
    EXPECT_EQ(der.text, e.derecha);
    EXPECT_EQ(der.x1, 4650);
    EXPECT_EQ(der.font_family, "Comic Sans MS");
    EXPECT_EQ(der.font_size_pt, 8.25);
  }
}

TEST(Climogram, FrameGridAndCurvesWithTheirColoursAndPens) {
  ui::RecordingCanvas c;
  Mensual t = serie(10), lluvia = serie(50), eto = serie(0);
  t[2] = -4;
  eto[6] = 150;
  const double j = CLIMOGRAMA(c, t, lluvia, eto, 1);
  GRAFICAR_EVT(c, eto, j);
  ASSERT_EQ(c.calls().front().kind, CanvasCall::Kind::Clear);
  EXPECT_EQ(c.calls().front().color, ui::kWhite);
  const auto lineas = llamadas(c, CanvasCall::Kind::Line);
  ASSERT_EQ(lineas.size(), 4u + 11 + 20 + 22 + 11);
  EXPECT_EQ((std::vector<double>{lineas[0].x1, lineas[0].y1, lineas[3].x2, lineas[3].y2}),
            (std::vector<double>{400, 500, 400, 500}));
  EXPECT_EQ(lineas[4].y1, 5650);  // first month tick at x = 750
  EXPECT_EQ(lineas[4].x1, 750);
  const CanvasCall& arriba = lineas[14 + 20];  // the grid's top line over the frame's top side
  EXPECT_EQ(arriba.y1, 500);
  EXPECT_EQ(arriba.color, kGrisRejilla);
  EXPECT_EQ(arriba.x1, 350);
  EXPECT_EQ(arriba.x2, 4700);
  const CanvasCall& temp = lineas[35];  // January to February, red, 2 pixels
  EXPECT_EQ(temp.color, ui::kRed);
  EXPECT_EQ(temp.pen_width_px, 2);
  EXPECT_EQ(temp.x1, 600);
  EXPECT_EQ(temp.y1, 5600 - 510);
  EXPECT_EQ(temp.y2, 5600 + 204);  // below freezing, below the frame
  const CanvasCall& lluvia1 = lineas[36];
  EXPECT_EQ(lluvia1.color, ui::kBlue);
  EXPECT_EQ(lluvia1.y1, 5600 - 255 * 50 / 10.0);
  const CanvasCall& eto5 = lineas[57 + 4];  // May to June on the same scale
  EXPECT_EQ(eto5.color, ui::kGreen);
  EXPECT_EQ(eto5.pen_width_px, 2);
  EXPECT_EQ(eto5.x2, 2350);
  EXPECT_EQ(eto5.y2, 5600 - 255 * 150 / 10.0);
  EXPECT_EQ(lineas[3].pen_width_px, 1);
}

}  // namespace
}  // namespace medravolix::eto_tool
