#include "shell/imagenes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "ui/twips.h"

namespace medravolix::shell {

namespace {

constexpr double kPx = ui::kTwipsPerPixel;

ui::Rgb mezcla(ui::Rgb a, ui::Rgb b, double t) {
  auto canal = [t](uint8_t x, uint8_t y) {
    return static_cast<uint8_t>(std::lround(x + (static_cast<double>(y) - x) * t));
  };
  return {canal(a.r, b.r), canal(a.g, b.g), canal(a.b, b.b)};
}

// Horizontal bands one pixel high from `arriba` (colour at y0) to `abajo` (colour at y1).
void degradado(ui::Canvas& c, double x0, double x1, double y0, double y1, ui::Rgb arriba,
               ui::Rgb abajo) {
  const int bandas = std::max(1, static_cast<int>(std::ceil((y1 - y0) / kPx)));
  for (int i = 0; i < bandas; ++i) {
    const double y = y0 + i * kPx;
    c.box(x0, y, x1, std::min(y + kPx, y1), mezcla(arriba, abajo, static_cast<double>(i) / bandas),
          true);
  }
}

// A filled disc, one pixel row at a time.
void disco(ui::Canvas& c, double cx, double cy, double radio, ui::Rgb color) {
  for (double dy = -radio; dy <= radio; dy += kPx) {
    const double medio = std::sqrt(std::max(0.0, radio * radio - dy * dy));
    c.box(cx - medio, cy + dy, cx + medio, cy + dy + kPx, color, true);
  }
}

struct Horizonte {
  double techo, base;  // twips
  ui::Rgb arriba, abajo;
};

// A soil profile from `techo` down to `base`, in four horizons, with calcite specks in the
// third and a few roots in the first two.
void perfilSuelo(ui::Canvas& c, double ancho, double techo, double base) {
  const double h = base - techo;
  const Horizonte horizontes[] = {
      {techo, techo + 0.22 * h, {92, 64, 42}, {110, 78, 50}},
      {techo + 0.22 * h, techo + 0.5 * h, {128, 90, 56}, {150, 108, 66}},
      {techo + 0.5 * h, techo + 0.78 * h, {176, 138, 92}, {192, 156, 110}},
      {techo + 0.78 * h, base, {206, 180, 140}, {218, 196, 160}},
  };
  for (const Horizonte& z : horizontes) degradado(c, 0, ancho, z.techo, z.base, z.arriba, z.abajo);
  // Calcite specks, scattered by a fixed sequence so the picture is always the same.
  const Horizonte& calizo = horizontes[2];
  uint32_t semilla = 12345;
  auto siguiente = [&semilla] {
    semilla = semilla * 1103515245u + 12345u;
    return static_cast<double>((semilla >> 8) % 10000) / 10000.0;
  };
  for (int i = 0; i < 160; ++i) {
    const double x = siguiente() * (ancho - 2 * kPx);
    const double y = calizo.techo + siguiente() * (calizo.base - calizo.techo - 2 * kPx);
    c.box(x, y, x + 2 * kPx, y + 2 * kPx, {236, 230, 214}, true);
  }
}

// Roots of a plant standing at x, reaching down to `fondo`.
void raices(ui::Canvas& c, double x, double suelo, double fondo, ui::Rgb color) {
  c.setPenWidth(2);
  c.line(x, suelo, x, fondo, color);
  for (int k = 1; k <= 4; ++k) {
    const double y = suelo + (fondo - suelo) * k / 5.0;
    const double brazo = (fondo - suelo) * (5 - k) / 12.0;
    c.line(x, y - brazo / 2, x - brazo, y + brazo / 3, color);
    c.line(x, y - brazo / 2, x + brazo, y + brazo / 3, color);
  }
  c.setPenWidth(1);
}

// A young tree: trunk and a round crown.
void arbol(ui::Canvas& c, double x, double suelo, double alto) {
  c.box(x - alto * 0.04, suelo - alto * 0.45, x + alto * 0.04, suelo, {96, 70, 44}, true);
  disco(c, x, suelo - alto * 0.65, alto * 0.32, {58, 128, 52});
  disco(c, x - alto * 0.1, suelo - alto * 0.72, alto * 0.16, {84, 156, 70});
}

}  // namespace

void dibujarFondo(ui::Canvas& c) {
  const double suelo = 4200;
  c.clear({171, 205, 232});
  degradado(c, 0, kFondoAncho, 0, suelo - 300, {150, 190, 226}, {226, 238, 244});
  degradado(c, 0, kFondoAncho, suelo - 300, suelo, {122, 170, 88}, {96, 146, 66});
  for (double x = 9600; x <= 14100; x += 1500) arbol(c, x, suelo, 2000);
  perfilSuelo(c, kFondoAncho, suelo, kFondoAlto);
  for (double x = 9600; x <= 14100; x += 1500) raices(c, x, suelo, 7200, {70, 48, 30});
  // A measuring tape down the profile.
  c.box(150, suelo, 1200, kFondoAlto, {244, 238, 222}, true);
  c.setTextColor({40, 28, 18});
  c.setFont("Comic Sans MS", 9, false);
  for (int cm = 0; cm <= 90; cm += 10) {
    const double y = suelo + 15 + cm * 70.0;
    c.line(150, y, cm % 30 == 0 ? 500 : 350, y, {40, 28, 18});
    if (cm % 30 != 0) continue;
    c.setCurrentPosition(560, cm == 0 ? y : y - 120);
    c.print(std::to_string(cm) + " cm");
  }
  c.setFont("Comic Sans MS", 30, true);
  c.setTextColor({88, 58, 34});
  c.setCurrentPosition(10080, 9300);
  c.print("MEDRAVOLIX");
}

void dibujarPresentacion(ui::Canvas& c) {
  const double suelo = 4300;
  c.clear({150, 190, 226});
  degradado(c, 0, kPresentacionLado, 0, suelo - 240, {92, 146, 206}, {222, 236, 244});
  disco(c, 6500, 1500, 600, {255, 214, 90});
  degradado(c, 0, kPresentacionLado, suelo - 240, suelo, {122, 170, 88}, {96, 146, 66});
  arbol(c, 2200, suelo, 2000);
  arbol(c, 5200, suelo, 1700);
  perfilSuelo(c, kPresentacionLado, suelo, kPresentacionLado);
  raices(c, 2200, suelo, 6600, {70, 48, 30});
  raices(c, 5200, suelo, 6200, {70, 48, 30});
  c.setFont("Comic Sans MS", 30, true);
  c.setTextColor({24, 52, 96});
  c.setCurrentPosition(1650, 300);
  c.print("MEDRAVOLIX");
}

}  // namespace medravolix::shell
