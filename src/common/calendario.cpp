#include "common/calendario.h"

#include <array>
#include <cmath>
#include <stdexcept>

namespace medravolix {

namespace {

constexpr std::array<int16_t, 13> kDiasMes = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

constexpr std::array<const char*, 13> kMesesEs = {"",    "Ene", "Feb", "Mar", "Abr", "May", "Jun",
                                                  "Jul", "Ago", "Sep", "Oct", "Nov", "Dic"};
constexpr std::array<const char*, 13> kMesesEn = {"",    "Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

void checkMonth(int16_t mes, int16_t ultimo, const char* procedimiento) {
  if (mes < 1 || mes > ultimo) {
    throw std::out_of_range(std::string(procedimiento) + ": month " + std::to_string(mes) +
                            " is outside 1.." + std::to_string(ultimo));
  }
}

}  // namespace

double REDONDEAR(double x, int16_t n) {
  const double f = std::pow(10.0, n);
  const double y = x * f;
  // The nearest 32-bit integer, halves to even (the default rounding mode of the FPU).
  const double k = std::nearbyint(y);
  if (!(k >= -2147483648.0 && k <= 2147483647.0)) {
    throw std::out_of_range("REDONDEAR: " + std::to_string(x) + " times 10^" + std::to_string(n) +
                            " does not fit a 32-bit integer");
  }
  return static_cast<double>(static_cast<int32_t>(k)) / f;
}

std::string NOMBRE_MES(int16_t mes, int16_t idioma) {
  if (idioma != 0 && idioma != 1) return "";
  checkMonth(mes, 12, "NOMBRE_MES");
  return idioma == 0 ? kMesesEs[mes] : kMesesEn[mes];
}

int16_t DIAS_MES(int16_t mes) {
  checkMonth(mes, 12, "DIAS_MES");
  return kDiasMes[mes];
}

int16_t DIA_JULIANO(int16_t dia, int16_t mes) {
  if (mes > 13) checkMonth(mes, 13, "DIA_JULIANO");
  int dias = dia;
  for (int m = 1; m <= mes - 1; ++m) dias += kDiasMes[m];
  return static_cast<int16_t>(dias);
}

}  // namespace medravolix
