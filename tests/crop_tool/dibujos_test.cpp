// The calendar, the season bars and the Kcb graph on a recording canvas.
#include "crop_tool/dibujos_cultivos.h"

#include <gtest/gtest.h>

#include "support/test_support.h"
#include "ui/recording_canvas.h"

namespace medravolix::crop_tool {
namespace {

using Kind = ui::CanvasCall::Kind;

std::vector<ui::CanvasCall> deTipo(const ui::RecordingCanvas& canvas, Kind kind) {
  std::vector<ui::CanvasCall> calls;
  for (const auto& c : canvas.calls()) {
    if (c.kind == kind) calls.push_back(c);
  }
  return calls;
}

constexpr double kFines[] = {930,  1770, 2700, 3600, 4530,  5430,
                             6360, 7290, 8190, 9120, 10020, 10950};

TEST(Dibujos, SeasonBarsInTheColourOfTheirPlaceWrappingAtTheYearsEnd) {
  struct Caso {
    int n_cultivos;
    int dia;
    int duracion;
    std::vector<std::array<double, 2>> cajas;  // x1, x2 of each box
    ui::Rgb color;
  };
  const Caso casos[] = {{1, 300, 150, {{8970, 8970 + 10950}, {0, 2520}}, ui::kGreen},
                        {2, 266, 100, {{7950, 10950}}, ui::kBlue},  // ends on 31 December
                        {3, 1, 30, {{0, 900}}, kMagenta},
                        {4, 100, 10, {{2970, 3270}}, kAmarillo},
                        {9, 366, 10, {{10950, 21900}, {0, 300}}, kAmarillo}};
  ui::Rgb color = ui::kBlack;
  for (const Caso& caso : casos) {
    ui::RecordingCanvas canvas;
    DIBUJAR_CULTIVO(canvas, caso.n_cultivos, static_cast<float>(caso.dia * 30 - 10),
                    static_cast<int16_t>(caso.duracion), color, 1);
    const auto cajas = deTipo(canvas, Kind::Box);
    ASSERT_EQ(cajas.size(), caso.cajas.size()) << caso.n_cultivos;
    for (std::size_t i = 0; i < cajas.size(); ++i) {
      EXPECT_EQ(std::make_tuple(cajas[i].x1, cajas[i].y1, cajas[i].x2, cajas[i].y2),
                std::make_tuple(caso.cajas[i][0], 0.0, caso.cajas[i][1], 400.0));
      EXPECT_TRUE(cajas[i].filled && cajas[i].color == caso.color);
    }
    EXPECT_EQ(color, caso.color);
    // The calendar again, over the bar: the month lines at the months' ends and the names.
    const auto lineas = deTipo(canvas, Kind::Line);
    const auto textos = deTipo(canvas, Kind::Text);
    ASSERT_EQ(lineas.size(), 12u);
    for (int m = 0; m < 12; ++m) {
      EXPECT_EQ(std::make_tuple(lineas[m].x1, lineas[m].y1, lineas[m].x2, lineas[m].y2),
                std::make_tuple(kFines[m], 0.0, kFines[m], 400.0));
    }
    EXPECT_EQ(std::make_tuple(textos.at(0).text, textos[0].x1, textos[0].y1, textos[1].x1),
              std::make_tuple(std::string("Jan"), 290.0, 10.0, 1175.0));
  }
}

TEST(Dibujos, TheGraphsScaleFollowsTheLargestCoefficient) {
  struct Caso {
    double maximo;
    int k;
    std::vector<std::string> etiquetas;  // the first three and the last two
  };
  const Caso casos[] = {{1.15, 0, {"1.2", "1.1", "1", "0.1", "0"}},
                        {1.2, 1, {"1.8", "1.65", "1.5", "0.15", "0"}},
                        {1.8, 2, {"2.4", "2.2", "2", "0.2", "0"}},
                        {2.5, 3, {"3", "2.75", "2.5", "0.25", "0"}}};
  for (const Caso& caso : casos) {
    Mensual kcb{};
    kcb[5] = caso.maximo;
    ui::RecordingCanvas canvas;
    EXPECT_EQ(COEFIGRAMA(canvas, kcb, 1), caso.k) << caso.maximo;
    const auto textos = deTipo(canvas, Kind::Text);
    ASSERT_EQ(textos.size(), 25u);
    const std::vector<std::string> etiquetas{textos[0].text, textos[1].text, textos[2].text,
                                             textos[11].text, textos[12].text};
    EXPECT_EQ(etiquetas, caso.etiquetas) << caso.maximo;
  }
  ui::RecordingCanvas canvas;
  EXPECT_EQ(COEFIGRAMA(canvas, Mensual{}, 1), 0);
  EXPECT_EQ(canvas.calls().front().kind, Kind::Clear);
  const auto textos = deTipo(canvas, Kind::Text);
  EXPECT_EQ(std::make_tuple(textos[12].x1, textos[12].y1, textos[13].text, textos[13].x1,
                            textos[13].y1, textos[24].x1),
            std::make_tuple(50.0, 3050.0, std::string("Jan"), 500.0, 3250.0, 433.0 * 11 + 500));
  const auto lineas = deTipo(canvas, Kind::Line);
  ASSERT_EQ(lineas.size(), 4u + 11 + 11);
  EXPECT_EQ(std::make_tuple(lineas[0].x1, lineas[0].y1, lineas[0].x2, lineas[0].y2),
            std::make_tuple(400.0, 300.0, 5596.0, 300.0));
  EXPECT_EQ(std::make_tuple(lineas[4].x1, lineas[4].y1, lineas[4].y2),
            std::make_tuple(833.0, 3100.0, 3200.0));
  EXPECT_EQ(std::make_tuple(lineas[15].y1, lineas[15].color), std::make_tuple(537.5, kGris));
}

TEST(Dibujos, TheCurveJoinsTheTwelveMonthsOnTheScaleHandedOver) {
  Mensual kcb{};
  for (int m = 1; m <= 12; ++m) kcb[m] = 0.1 * m;
  kcb[1] = 30.4 / 31;  // January of the worked rotation
  ui::RecordingCanvas canvas;
  GRAFICAR_COEFICIENTES(canvas, kcb, 0);
  const auto lineas = deTipo(canvas, Kind::Line);
  ASSERT_EQ(lineas.size(), 11u);
  EXPECT_EQ(lineas[0].x1, 633);
  EXPECT_TRUE(testing::Near(820.97, lineas[0].y1, 0.005));
  EXPECT_EQ(std::make_tuple(lineas[10].x2, lineas[0].color, lineas[0].pen_width_px),
            std::make_tuple(433.0 * 12 + 200, ui::kGreen, 2));
  // With k = 1 the top is 1.8: a coefficient of 1.2 lies two thirds up the frame.
  ui::RecordingCanvas escala;
  GRAFICAR_COEFICIENTES(escala, kcb, 1);
  EXPECT_TRUE(testing::Near(3150 - 2850 / 1.8 * 1.2, deTipo(escala, Kind::Line)[10].y2, 1e-3));
}

}  // namespace
}  // namespace medravolix::crop_tool
