#include "crop_tool/dibujos_cultivos.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

#include "balance/etc_mensual.h"
#include "common/calendario.h"
#include "crops/fechas.h"

namespace medravolix::crop_tool {

namespace {

// x of the end of month m (0..12) on the calendar: 30 times the day of its last day.
double finDeMes(int m) {
  if (m == 0) return 0;
  if (m == 12) return kAnchoAnio;
  return std::lround(DIA_JULIANO(0, static_cast<int16_t>(m + 1)) * kAnchoAnio / 365.0);
}

ui::Rgb colorDelCultivo(int n_cultivos, ui::Rgb anterior) {
  switch (n_cultivos) {
    case 1:
      return ui::kGreen;
    case 2:
      return ui::kBlue;
    case 3:
      return kMagenta;
    case 4:
      return kAmarillo;
    default:
      return anterior;
  }
}

constexpr double kIzquierda = 400, kDerecha = 5596, kArriba = 300, kAbajo = 3150;
constexpr double kColumnaMes = 433, kBanda = 237.5;

void marcoYRejilla(ui::Canvas& g) {
  g.line(kIzquierda, kArriba, kDerecha, kArriba, ui::kBlack);
  g.line(kDerecha, kArriba, kDerecha, kAbajo, ui::kBlack);
  g.line(kDerecha, kAbajo, kIzquierda, kAbajo, ui::kBlack);
  g.line(kIzquierda, kAbajo, kIzquierda, kArriba, ui::kBlack);
  for (int c = 1; c <= 11; ++c) {
    const double x = kColumnaMes * c + kIzquierda;
    g.line(x, 3100, x, 3200, ui::kBlack);
  }
  for (int c = 1; c <= 11; ++c) {
    const double y = kBanda * c + kArriba;
    g.line(kIzquierda, y, kDerecha, y, kGris);
  }
}

}  // namespace

// Fifteen significant digits, trailing zeros dropped, whatever the user's locale.
std::string textoEscala(double valor) {
  std::array<char, 64> texto{};
  const auto r = std::to_chars(texto.data(), texto.data() + texto.size(), valor,
                               std::chars_format::general, 15);
  return std::string(texto.data(), r.ptr);
}

void CALENDARIO(ui::Canvas& calendario, int16_t IDIOMA) {
  calendario.setFont(kFuenteCalendario, 12, false);
  calendario.setTextColor(ui::kBlack);
  for (int m = 1; m <= 12; ++m) {
    calendario.line(finDeMes(m), 0, finDeMes(m), kAltoCalendario, ui::kBlack);
    calendario.setCurrentPosition((finDeMes(m - 1) + finDeMes(m) - 350) / 2, 10);
    calendario.print(NOMBRE_MES(static_cast<int16_t>(m), IDIOMA));
  }
}

void DIBUJAR_CULTIVO(ui::Canvas& calendario, int N_CULTIVOS, float X_RATON, int16_t DURACION_CICLO,
                     ui::Rgb& COLOR_CULTIVO, int16_t IDIOMA) {
  COLOR_CULTIVO = colorDelCultivo(N_CULTIVOS, COLOR_CULTIVO);
  const int s = crops::ENTERO_SUPERIOR(static_cast<double>(X_RATON) / 30);
  // Whole twips in 32 bits: a season of any length is drawn (the picture cuts what lies beyond
  // its right edge).
  const long x1 = (s - 1) * 30L;
  const long w = DURACION_CICLO * 30L;
  const auto e = static_cast<float>(x1 + w);
  if (e <= kAnchoAnio) {
    calendario.box(x1, 0, x1 + w, kAltoCalendario, COLOR_CULTIVO, true);
  } else {
    calendario.box(x1, 0, x1 + kAnchoAnio, kAltoCalendario, COLOR_CULTIVO, true);
    calendario.box(0, 0, e - kAnchoAnio, kAltoCalendario, COLOR_CULTIVO, true);
  }
  CALENDARIO(calendario, IDIOMA);
}

int16_t COEFIGRAMA(ui::Canvas& grafico, const Mensual& KCB_MENSUAL, int16_t IDIOMA) {
  grafico.clear(ui::kWhite);
  grafico.setPenWidth(1);
  grafico.setFont(kFuenteGrafico, 8.25, false);
  grafico.setTextColor(ui::kBlack);
  marcoYRejilla(grafico);
  const double KCB_MAXIMO = MAXIMO_KCB_MENSUAL(KCB_MENSUAL);
  int16_t k = 0;
  while (!(0.6 * k + 1.2 > KCB_MAXIMO)) {
    if (k == INT16_MAX) break;  // a coefficient beyond any scale: the largest one
    ++k;
  }
  for (int c = 0; c <= 12; ++c) {
    grafico.setCurrentPosition(50, kBanda * c + 200);
    grafico.print(textoEscala((0.5 * k + 1) * (12 - c) / 10));
  }
  for (int c = 0; c <= 11; ++c) {
    grafico.setCurrentPosition(kColumnaMes * c + 500, 3250);
    grafico.print(NOMBRE_MES(static_cast<int16_t>(c + 1), IDIOMA));
  }
  return k;
}

void GRAFICAR_COEFICIENTES(ui::Canvas& grafico, const Mensual& KCB_MENSUAL, int16_t k) {
  const double T = 0.6 * k + 1.2;
  auto x = [](int m) { return static_cast<double>(static_cast<int16_t>(433 * m + 200)); };
  auto y = [&](int m) {
    return static_cast<double>(static_cast<float>(3150 - (2850 / T) * KCB_MENSUAL[m]));
  };
  grafico.setPenWidth(2);
  for (int m = 1; m <= 11; ++m) grafico.line(x(m), y(m), x(m + 1), y(m + 1), ui::kGreen);
}

}  // namespace medravolix::crop_tool
