// The climogram's calls on a recording canvas: the scale chosen from rainfall and ETo, the axis
// labels, the colours and pen widths of the lines and where they stand.
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

// On the scale j = 1 (0 to 300 mm, 17 twips a mm): the labels of both axes, the temperature in red
// dipping below the frame under freezing, the rain in blue and ETo in green on the rain's scale.
TEST(Climogram, LabelsAndCurvesWithTheirColoursPensAndPlaces) {
  ui::RecordingCanvas c;
  Mensual t = serie(10), lluvia = serie(50), eto = serie(0);
  t[2] = -4;
  lluvia[1] = 250;
  eto[6] = 150;
  const double j = CLIMOGRAMA(c, t, lluvia, eto, 1);
  EXPECT_EQ(j, 1);
  GRAFICAR_EVT(c, eto, j);
  const auto textos = llamadas(c, CanvasCall::Kind::Text);
  ASSERT_EQ(textos.size(), 12u + 2 + 42);
  EXPECT_EQ(std::make_tuple(textos[0].text, textos[0].x1, textos[11].text, textos[11].y1),
            std::make_tuple(std::string("Jan"), 450.0, std::string("Dec"), 5700.0));
  struct Etiqueta {
    int i;
    const char* izquierda;
    double x;
    const char* derecha;
  };
  for (const Etiqueta& e : {Etiqueta{0, " 100", -50, " 300"}, Etiqueta{1, " 95 ", 50, " 285"},
                            Etiqueta{19, " 5  ", 150, " 15"}, Etiqueta{20, " 0  ", 150, " 0"}}) {
    const CanvasCall& izq = textos[14 + 2 * e.i];
    const CanvasCall& der = textos[15 + 2 * e.i];
    EXPECT_EQ(std::make_tuple(izq.text, izq.x1, izq.y1),
              std::make_tuple(std::string(e.izquierda), e.x, 390 + 255.0 * e.i));
    EXPECT_EQ(std::make_tuple(der.text, der.x1), std::make_tuple(std::string(e.derecha), 4650.0));
  }
  const auto lineas = llamadas(c, CanvasCall::Kind::Line);
  ASSERT_EQ(lineas.size(), 4u + 11 + 20 + 22 + 11);
  EXPECT_EQ(std::make_tuple(lineas[34].y1, lineas[34].color), std::make_tuple(500.0, kGrisRejilla));
  struct Linea {
    int i;
    ui::Rgb color;
    double x1, y1, x2, y2;
  };
  for (const Linea& l : {Linea{35, ui::kRed, 600, 5600 - 510, 950, 5600 + 204},
                         Linea{36, ui::kBlue, 600, 5600 - 17 * 250, 950, 5600 - 17 * 50},
                         Linea{61, ui::kGreen, 2000, 5600, 2350, 5600 - 17 * 150}}) {
    EXPECT_EQ(std::make_tuple(lineas[l.i].color, lineas[l.i].pen_width_px, lineas[l.i].x1,
                              lineas[l.i].y1, lineas[l.i].x2, lineas[l.i].y2),
              std::make_tuple(l.color, 2, l.x1, l.y1, l.x2, l.y2))
        << l.i;
  }
  EXPECT_EQ(lineas[3].pen_width_px, 1);
}

// The rainfall labels right of the frame end inside the picture whatever the scale: up to three
// digits in the window's 8.25 points where they always stood; wider ones in a smaller size whose
// middle stays level with the grid line; from a million mm on, three figures and an exponent.
TEST(Climogram, RainfallLabelsFitInsideThePictureOnEveryScale) {
  struct Caso {
    double maximo;
    const char* arriba;
    const char* segunda;
  };
  for (const Caso& k : {Caso{150, " 200", " 190"}, Caso{880, " 900", " 855"},
                        Caso{9850, " 9900", " 9405"}, Caso{40000, " 40100", " 38095"},
                        Caso{123456, " 123500", " 117325"}, Caso{999000, " 999100", " 949145"},
                        Caso{1.2e6, " 1.20e6", " 1.14e6"}, Caso{3e300, " 3.00e300", " 2.85e300"}}) {
    ui::RecordingCanvas c;
    Mensual lluvia = serie(10);
    lluvia[4] = k.maximo;
    CLIMOGRAMA(c, serie(10), lluvia, serie(0), 1);
    std::vector<CanvasCall> derecha;
    for (const CanvasCall& t : llamadas(c, CanvasCall::Kind::Text)) {
      if (t.x1 >= 4600 && t.y1 > 300) derecha.push_back(t);
    }
    ASSERT_EQ(derecha.size(), 21u) << k.maximo;
    EXPECT_EQ(derecha[0].text, k.arriba) << k.maximo;
    EXPECT_EQ(derecha[1].text, k.segunda) << k.maximo;
    EXPECT_EQ(derecha[20].text, " 0") << k.maximo;
    for (int i = 0; i <= 20; ++i) {
      const CanvasCall& t = derecha[i];
      // The figures start no further left than in the full size, clear of the grid's ends.
      EXPECT_GE(t.x1 + anchoEstimadoTexto(" ", t.font_size_pt),
                4650 + anchoEstimadoTexto(" ", 8.25) - 1e-9);
      EXPECT_LE(t.x1 + anchoEstimadoTexto(t.text, t.font_size_pt), kAnchoClimograma - 30)
          << k.maximo << " " << t.text << " at " << t.font_size_pt << " pt";
      EXPECT_GE(t.font_size_pt, 3.5) << k.maximo;
      EXPECT_EQ(t.font_family, "Comic Sans MS");
      const double medio = t.y1 + t.font_size_pt * 20 * 2 / 3;  // level with the grid line
      EXPECT_NEAR(medio, 500 + 255.0 * i, 1e-9) << k.maximo << " " << i;
      if (k.maximo < 900) {
        EXPECT_EQ(std::make_pair(t.font_size_pt, t.x1), std::make_pair(8.25, 4650.0));
      }
    }
    // The temperature labels keep their size.
    for (const CanvasCall& t : llamadas(c, CanvasCall::Kind::Text)) {
      if (t.x1 < 4600) {
        EXPECT_EQ(t.font_size_pt, 8.25) << t.text;
      }
    }
  }
}

}  // namespace
}  // namespace medravolix::eto_tool
