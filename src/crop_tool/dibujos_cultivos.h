// The crop tool's drawings: the one-year crop calendar with the crops' season bars (30 twips a
// day, 365 days = 10950 twips, 400 high) and the graph of the monthly basal crop coefficient
// (6000 x 3750 twips, plot frame from x 400 to 5596 and y 300 to 3150).
#pragma once

#include <cstdint>

#include "common/series.h"
#include "ui/canvas.h"

namespace medravolix::crop_tool {

inline constexpr double kAnchoAnio = 10950;  // twips: 365 days of 30 twips
inline constexpr double kAltoCalendario = 400;
inline constexpr const char* kFuenteCalendario = "MS Reference Sans Serif";
inline constexpr const char* kFuenteGrafico = "Comic Sans MS";
inline constexpr ui::Rgb kGris{200, 200, 200};
inline constexpr ui::Rgb kMagenta{255, 0, 255};
inline constexpr ui::Rgb kAmarillo{255, 255, 0};

// The month lines and names over the calendar's current background (nothing is cleared).
void CALENDARIO(ui::Canvas& calendario, int16_t IDIOMA);

// The season bar of the crop just added (N_CULTIVOS counts it), sown on the day under X_RATON,
// filled with the colour of its place in the rotation (green, blue, magenta, yellow; yellow for
// a fifth and later); a season crossing the year's end gets a second box from the left edge.
// COLOR_CULTIVO keeps the colour of the last bar drawn. Then the month lines again, over it.
void DIBUJAR_CULTIVO(ui::Canvas& calendario, int N_CULTIVOS, float X_RATON, int16_t DURACION_CICLO,
                     ui::Rgb& COLOR_CULTIVO, int16_t IDIOMA);

// Clears the graph and draws its frame, grid, scale and month names; returns the scale index k
// (the scale's top is 1.2 + 0.6 k, the smallest such value above the largest coefficient).
int16_t COEFIGRAMA(ui::Canvas& grafico, const Mensual& KCB_MENSUAL, int16_t IDIOMA);

// The twelve monthly coefficients as a green line on the frame drawn with scale index k.
void GRAFICAR_COEFICIENTES(ui::Canvas& grafico, const Mensual& KCB_MENSUAL, int16_t k);

// A scale label as the general number format writes it, with a point: 1.2, 1.65, 1, 0.
std::string textoEscala(double valor);

}  // namespace medravolix::crop_tool
