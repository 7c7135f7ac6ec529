// The climogram of the reference-evapotranspiration tool: a temperature axis of 0 to 100 degrees
// Celsius on the left, a rainfall axis in mm a month on the right whose top follows the data,
// the monthly mean temperatures in red, the rainfall in blue, and the ETo curve in green on the
// rainfall axis. Drawn in twips on the 5100 x 6200 picture box.
#pragma once

#include <cstdint>
#include <string>

#include "common/series.h"
#include "ui/canvas.h"

namespace medravolix::eto_tool {

inline constexpr double kAnchoClimograma = 5100;  // twips
inline constexpr double kAltoClimograma = 6200;   // twips
inline constexpr ui::Rgb kGrisRejilla{200, 200, 200};

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
