// Rotations for the crop tests: crops built from a sowing day and a season as the crop tool
// builds them, and the days of a month in each period as a readable line.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "crops/fechas.h"
#include "crops/registro_cultivo.h"
#include "crops/reparto_mes_etapa.h"

namespace medravolix::crops::prueba {

// A crop sown on day `siembra` of the year with the season and the stage shares given; stage
// coefficients, depths and numbers as given (all zero by default).
inline REGISTRO_CULTIVO cultivo(int siembra, int duracion, std::array<double, 4> fracciones,
                                std::array<double, 4> kcb = {}, std::array<double, 4> riego = {},
                                std::array<double, 4> nriegos = {}) {
  REGISTRO_CULTIVO c;
  c.NOMBRE = "crop sown on day " + std::to_string(siembra);
  c.DURACION = static_cast<int16_t>(duracion);
  int16_t d = static_cast<int16_t>(siembra);
  c.FECHA_SIEMBRA = FECHA_DDMM(d);
  int16_t fin = static_cast<int16_t>(d + duracion);
  c.FECHA_COSECHA = FECHA_DDMM(fin);
  c.DIA_SIEMBRA = static_cast<int16_t>(std::stoi(c.FECHA_SIEMBRA.substr(0, 2)));
  c.MES_SIEMBRA = static_cast<int16_t>(std::stoi(c.FECHA_SIEMBRA.substr(2, 2)));
  for (int s = 1; s <= 4; ++s) {
    c.OCUPA_PERIODO[s] = 1;
    c.FRACCION_ETAPA[s] = fracciones[s - 1];
    c.KCB_PERIODO[s] = kcb[s - 1];
    c.RIEGO_PERIODO[s] = riego[s - 1];
    c.NRIEGOS_PERIODO[s] = nriegos[s - 1];
  }
  return c;
}

inline constexpr std::array<double, 4> kCuartos = {0.25, 0.25, 0.25, 0.25};

inline Rotacion rotacion(const std::vector<REGISTRO_CULTIVO>& cultivos) {
  Rotacion r;
  for (const auto& c : cultivos) r.agregar(c);
  REPARTO_MES_ETAPA(r);
  return r;
}

// "15 16 . . ." : the days of month m in periods 1 to 5 of crop I, "." for none.
inline std::string diasMes(const Rotacion& r, int m, int I = 1) {
  std::string texto;
  for (int p = 1; p <= 5; ++p) {
    const int d = r.dias(m, p, I);
    texto += (p > 1 ? " " : "") + (d == 0 ? std::string(".") : std::to_string(d));
  }
  return texto;
}

}  // namespace medravolix::crops::prueba
