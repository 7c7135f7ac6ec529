// The two pictures of the program, drawn on a canvas in twips: the main window's background (a
// field above its soil profile) and the splash picture.
#pragma once

#include "ui/canvas.h"

namespace medravolix::shell {

// The background picture of the main window: 15300 x 10770 twips (1020 x 718 pixels).
inline constexpr double kFondoAncho = 15300;
inline constexpr double kFondoAlto = 10770;
void dibujarFondo(ui::Canvas& canvas);

// The splash picture: 8190 x 8190 twips (546 x 546 pixels).
inline constexpr double kPresentacionLado = 8190;
void dibujarPresentacion(ui::Canvas& canvas);

}  // namespace medravolix::shell
