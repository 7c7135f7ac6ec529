// The climogram of the reference-evapotranspiration tool: a temperature axis of 0 to 100 degrees
// Celsius on the left, a rainfall axis in mm a month on the right whose top follows the data,
// the monthly mean temperatures in red, the rainfall in blue, and the ETo curve in green on the
// rainfall axis. Drawn in twips on the 5100 x 6200 picture box.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/series.h"
#include "ui/canvas.h"

namespace medravolix::eto_tool {

inline constexpr double kAnchoClimograma = 5100;  // twips
inline constexpr double kAltoClimograma = 6200;   // twips
inline constexpr ui::Rgb kGrisRejilla{200, 200, 200};
inline constexpr const char* kFuenteClimograma = "Comic Sans MS";
inline constexpr double kPuntosClimograma = 8.25;
// The rainfall labels start here, right of the frame, and end at least kMargenDerecho short of
// the picture's right side.
inline constexpr double kXEtiquetaLluvia = 4650;  // twips
inline constexpr double kMargenDerecho = 30;      // twips
inline constexpr double kTwipsPorPunto = 20;

// The picture box measures no text, so the labels are fitted on an estimate kept on the wide side:
// a digit or letter 0.65 em (Comic Sans MS's digits are 0.6 em, DejaVu Sans's, where the
// font is missing, 0.64 em), a blank or a point 0.35 em.
inline constexpr double kEmCaracter = 0.65;
inline constexpr double kEmEspacio = 0.35;
double anchoEstimadoTexto(const std::string& texto, double puntos);

// The 21 labels of the rainfall axis, top first, the size in points that lets the widest fit
// before the right side, and their x. Each is its value's digits after one blank; from an axis
// top of a million mm on, three significant figures with an exponent ("1.25e6"), so that no scale
// makes them run off the picture. While they fit, 8.25 points at kXEtiquetaLluvia; beyond, a
// smaller size whose figures start where the full size's do, clear of the grid lines.
struct EtiquetasLluvia {
  std::array<std::string, 21> textos;
  double puntos = kPuntosClimograma;
  double x = kXEtiquetaLluvia;
};
EtiquetasLluvia etiquetasLluvia(double j);

// The largest monthly rainfall or ETo (mm); 0 when none is above 0.
double TERMINO_MAX_CLIMOGRAMA(const Mensual& PRECIPITACION, const Mensual& ETO_MENSUAL);

// The rainfall scale index j: the smallest whole number from 0 up with 100 j + 200 above the
// maximum. The right axis then reaches 100 j + 200 mm in 20 steps of 5 j + 10 mm. Kept in a
// double, so no rainfall is too large for it.
double escalaClimograma(double MAXIMO_CLIMOGRAMA);

// The temperature label of the left axis: the value's digits after one blank, padded with blanks
// to 4 characters (" 95 ", " 5  ", " 100"), and the x where it is printed.
std::string ETIQUETA_EJE(int valor);
double xEtiquetaEje(int valor);

// Clears the picture and draws the frame, grid, labels, temperature and rainfall lines, the scale
// covering rainfall and ETo. Returns the scale index j for GRAFICAR_EVT.
double CLIMOGRAMA(ui::Canvas& Picture2, const Mensual& TMEDIA, const Mensual& PRECIPITACION,
                  const Mensual& ETO_MENSUAL, int16_t IDIOMA);

// Adds the ETo line on the scale j of the climogram just drawn.
void GRAFICAR_EVT(ui::Canvas& Picture2, const Mensual& ETO_MENSUAL, double CONTADOR2);

}  // namespace medravolix::eto_tool
